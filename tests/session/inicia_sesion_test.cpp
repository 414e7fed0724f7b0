// Session start-up on real settings files and a real SQLite database
// reached through a server alias, with the scripted UI.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "lookup/lib_clscons3.h"
#include "platform/vb/archivos.h"
#include "services/sesion.h"
#include "session/inicia_sesion.h"
#include "suite/estacion.h"
#include "suite/lanzador.h"
#include "suite/util_general.h"
#include "tests/services/base_prueba.h"

using ModGlobal::IniciaSesion;
using ModGlobal::sesion;

namespace {

class IniciaSesionPrueba : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx::actual().setCarpetaPrograma(programa.ruta());
    ctx::actual().setArgumentos({});
  }

  // Runs the start-up as the main form does; true when the program ended.
  bool iniciar(QString parametros, bool desdeIni = false) {
    conn.clear();
    try {
      IniciaSesion(desdeIni, parametros, conn, 3);
    } catch (const ui::FinPrograma&) {
      usado = parametros;
      return true;
    }
    usado = parametros;
    return false;
  }

  QString tipo(QDialog& d, const char* campo) { return d.findChild<QLineEdit*>(QString::fromLatin1(campo))->text(); }

  prueba::CarpetaTemporal programa;
  prueba::BasePrueba base;
  QString conn, usado;
};

QString mascaras(const prueba::CarpetaTemporal& c) { return c.archivo(QStringLiteral("consultas.qzx")); }

}  // namespace

TEST_F(IniciaSesionPrueba, SinParametrosElAccesoCanceladoTerminaSinMensaje) {
  QStringList campos;
  prueba::guion().esperarModal(
      [&](QDialog& d) {
        for (const char* c : {"TxtServidor", "TxtDbName", "TxtUserId", "TxtUserPassword"}) campos << tipo(d, c);
        prueba::pulsar(d, QStringLiteral("bcCancelar"));
      },
      QStringLiteral("frmAcceso"));
  EXPECT_TRUE(iniciar(QString()));
  EXPECT_TRUE(prueba::guion().terminado());
  EXPECT_EQ(campos, (QStringList{QString(), QString(), QString(), QString()}));
  ASSERT_EQ(prueba::guion().mostradas().size(), 1u);  // the dialog, no message
  EXPECT_EQ(sesion().gCaja, QStringLiteral("1"));
  EXPECT_TRUE(sesion().gUsuarioLogeado.isEmpty());
  EXPECT_FALSE(vb::FileExists(mascaras(programa)));
}

TEST_F(IniciaSesionPrueba, ParametrosDelMenu) {
  base.ejecutar("INSERT INTO TA_CONFIGURACION (Clave, Valor) VALUES ('CFondo', '255'), ('Top_Default', '50')");
  base.ejecutar("INSERT INTO TA_USUARIOS (Nombre, UNegocio, VerProforma) VALUES ('LogeadoANA', '0004', 1)");
  // "@Usuario" is found inside "@UsuarioLogeado", which comes first.
  EXPECT_FALSE(
      iniciar(QStringLiteral("@ParametroAdicional= XYZ ;@Menu=M1; @server=tcp/SRVPRUEBA:1433; "
                             "@dbname= EMPRESA; @UsuarioLogeado=ANA; @Usuario= PEPE; @Password= p=w; @Caja=12")));
  DB_Dll& d = db();
  auto& s = sesion();
  EXPECT_EQ(d.gServidor, QStringLiteral("SRVPRUEBA"));
  EXPECT_EQ(d.gDBName, QStringLiteral("EMPRESA"));
  EXPECT_EQ(d.gUsuario, QStringLiteral("LogeadoANA"));
  EXPECT_EQ(d.gUserPassWord, QStringLiteral("pw"));
  EXPECT_TRUE(conn.isEmpty());
  EXPECT_EQ(s.gParametroAdicional, QStringLiteral("XYZ"));
  EXPECT_EQ(s.gMenu, QStringLiteral("M1"));
  EXPECT_EQ(s.gCaja, QStringLiteral("12"));
  EXPECT_EQ(s.gUsuarioLogeado, QStringLiteral("LogeadoANA"));
  EXPECT_EQ(s.gDsnReportes, QStringLiteral("DSN=EMPRESA; UID=LogeadoANA; PWD=pw"));
  EXPECT_EQ(s.gFlatToolbars, 1.0);
  // The connection is tuned.
  EXPECT_EQ(d.gCnn.CommandTimeout(), 360);
  EXPECT_EQ(d.gCnn.IsolationLevel(), 256);
  // Launcher and lookup service.
  EXPECT_EQ(ZepaKit2::lanzador().RutaSistema(), programa.ruta());
  EXPECT_EQ(clsCons3().gConnString, d.gConnString);
  EXPECT_TRUE(clsCons3().gUsarMascarasConsultas);
  EXPECT_EQ(clsCons3().gRutaMascaraConsultas, mascaras(programa));
  EXPECT_EQ(vb::FileLen(mascaras(programa)), 7 * 1202);
  // The session settings are loaded, with the program folder.
  EXPECT_EQ(s.TablaConfiguracion, QStringLiteral("ta_configuracion"));
  EXPECT_EQ(s.gColorFondoFoco, 255);
  EXPECT_EQ(s.gColorLetraFoco, 0);
  EXPECT_EQ(s.Top_Default, QStringLiteral("50"));
  EXPECT_EQ(s.UNegocio, QStringLiteral("0004"));
  EXPECT_EQ(s.ArchivoDocTareas, programa.ruta() + QStringLiteral("KVDOCTareas.qzx"));
  EXPECT_TRUE(prueba::guion().mostradas().empty());
}

TEST_F(IniciaSesionPrueba, LineaDeComandosCuandoNoHayTexto) {
  ctx::actual().setArgumentos({QStringLiteral("@server=SRVPRUEBA;"), QStringLiteral("@dbname=EMPRESA;"),
                               QStringLiteral("@usuario=LUIS;@Caja=7")});
  EXPECT_FALSE(iniciar(QString()));
  EXPECT_EQ(usado, QStringLiteral("@server=SRVPRUEBA; @dbname=EMPRESA; @usuario=LUIS;@Caja=7"));
  EXPECT_EQ(db().gUsuario, QStringLiteral("LUIS"));
  EXPECT_EQ(sesion().gCaja, QStringLiteral("7"));
}

TEST_F(IniciaSesionPrueba, ServidorOracleLlenaLaCadenaYNoPideAcceso) {
  // No Oracle here: the open fails, the user declines to retry, the program ends.
  prueba::guion().esperarMensaje(ui::vbNo, QStringLiteral("Desea Intentarlo Nuevamente"),
                                 QStringLiteral("Error de Conexion a Base de Datos"));
  EXPECT_TRUE(iniciar(QStringLiteral("@server=#ORCL; @dbname= XE; @usuario= ADM; @Password= secreto;")));
  EXPECT_EQ(conn, QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=XE;User Id=ADM;Password=secreto;"));
  EXPECT_EQ(db().gServidor, QStringLiteral("ORCL"));
  EXPECT_EQ(db().gConnString, conn);
  for (const auto& caja : prueba::guion().mostradas())
    EXPECT_NE(caja.tipo, prueba::CajaMostrada::Tipo::Modal) << "no access dialog";

  // A connection string given by the caller is kept.
  prueba::guion().esperarMensaje(ui::vbNo, QStringLiteral("Desea Intentarlo Nuevamente"));
  QString parametros = QStringLiteral("@server=#ORCL; @dbname= XE;");
  QString propia = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=OTRA;");
  db().gOpenFlag = false;
  EXPECT_THROW(IniciaSesion(false, parametros, propia, 3), ui::FinPrograma);
  EXPECT_EQ(propia, QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=OTRA;"));
}

TEST_F(IniciaSesionPrueba, SeccionDe60CaracteresSeCortaSoloParaFlatToolbars) {
  const QString host = ZepaKit2::estacion().Identidad1().toUpper();
  const int largo = 60 - host.size() - 1;
  ASSERT_GT(largo, 0);
  const QByteArray usuarioAntes = qgetenv("USER");
  qputenv("USER", QByteArray(largo, 'u'));
  const QString seccion = host + QStringLiteral("|") + QString(largo, QLatin1Char('U'));
  ASSERT_EQ(seccion.size(), 60);
  const auto& u = ZepaKit2::util();
  base.agregarIni(QStringLiteral("[%1]\nFlatToolbars=3\n[%2]\nFlatToolbars=2 planas\n[%3BaseDeDatos]\n"
                                 "Servidor=SRV|PRUEBA\nDbName=EMPRESA\nUsuario=%4\nUserPassWord=%5")
                      .arg(seccion, seccion.left(50), seccion, u.Codificar(QStringLiteral("PE|PE")),
                           u.Codificar(QStringLiteral("pw"))));
  const bool termino = iniciar(QString(), true);
  qputenv("USER", usuarioAntes);

  EXPECT_FALSE(termino);
  EXPECT_EQ(sesion().gSeccionEstacion, seccion.left(50));
  EXPECT_EQ(sesion().gFlatToolbars, 2.0);
  // The text built from the settings file, "|" removed from every value.
  EXPECT_EQ(usado, QStringLiteral("@server=SRVPRUEBA; @dbname= EMPRESA; @usuario= PEPE; @Password= pw; "
                                  "@ParametroAdicional=; @Caja=1;zepa@"));
  EXPECT_EQ(db().gUsuario, QStringLiteral("PEPE"));
  EXPECT_EQ(sesion().gCaja, QStringLiteral("1"));
}

TEST_F(IniciaSesionPrueba, SinSeccionDeBaseLosDefectosDecodificados) {
  QString usuario, clave;
  prueba::guion().esperarModal(
      [&](QDialog& d) {
        usuario = tipo(d, "TxtUserId");
        clave = tipo(d, "TxtUserPassword");
        prueba::pulsar(d, QStringLiteral("bcCancelar"));
      },
      QStringLiteral("frmAcceso"));
  EXPECT_TRUE(iniciar(QString(), true));
  EXPECT_EQ(usuario, QStringLiteral("Korvane"));
  EXPECT_EQ(clave, QStringLiteral("pampero"));
  EXPECT_EQ(sesion().gFlatToolbars, 1.0);
}

TEST_F(IniciaSesionPrueba, UnConsultasQzxExistenteNoSeToca) {
  const QString ruta = programa.escribir(QStringLiteral("consultas.qzx"), "mis mascaras");
  EXPECT_FALSE(iniciar(QStringLiteral("@server=SRVPRUEBA; @dbname=EMPRESA; @usuario=ANA;")));
  EXPECT_EQ(programa.leer(QStringLiteral("consultas.qzx")), QByteArray("mis mascaras"));
  EXPECT_EQ(clsCons3().gRutaMascaraConsultas, ruta);
}

TEST_F(IniciaSesionPrueba, BaseVaciaSaltaElRestoDeLaSesion) {
  EXPECT_FALSE(iniciar(QStringLiteral("@server=SRVPRUEBA; @usuario=ANA;")));
  EXPECT_TRUE(db().gOpenFlag);
  EXPECT_EQ(sesion().gUsuarioLogeado, QStringLiteral("ANA"));
  EXPECT_EQ(db().gCnn.CommandTimeout(), 360);
  EXPECT_TRUE(sesion().gDsnReportes.isEmpty());
  EXPECT_TRUE(ZepaKit2::lanzador().RutaSistema().isEmpty());
  // The lookup service was never prepared (asking for it here would create it).
  EXPECT_FALSE(ctx::actual().tiene<Lib_ClsCons3>());
  EXPECT_FALSE(vb::FileExists(mascaras(programa)));
  EXPECT_TRUE(sesion().TablaConfiguracion.isEmpty());
  EXPECT_TRUE(sesion().Top_Default.isEmpty());
  EXPECT_EQ(sesion().gColorFondoFoco, 0xFFFFFF);
}

TEST_F(IniciaSesionPrueba, ConexionYaAbiertaNoLeeLosParametros) {
  base.conectar();
  EXPECT_FALSE(iniciar(QStringLiteral("@server=OTRO; @dbname=OTRA; @usuario=X; @Caja=5")));
  EXPECT_EQ(db().gServidor, QStringLiteral("SRVPRUEBA"));
  EXPECT_EQ(db().gDBName, QStringLiteral("EMPRESA"));
  EXPECT_TRUE(sesion().gCaja.isEmpty());
  // The rest of the start-up still runs on the open connection.
  EXPECT_EQ(sesion().gDsnReportes, QStringLiteral("DSN=EMPRESA; UID=ADMIN; PWD=x"));
  EXPECT_EQ(vb::FileLen(mascaras(programa)), 7 * 1202);
  EXPECT_EQ(sesion().Top_Default, QStringLiteral("1000"));
}

TEST_F(IniciaSesionPrueba, CarpetaSinEscrituraNoImpideCargarLaConfiguracion) {
  // A program folder where no file can be created (a file stands in its way).
  const QString tapon = programa.escribir(QStringLiteral("tapon"), "x");
  ctx::actual().setCarpetaPrograma(tapon);
  EXPECT_FALSE(iniciar(QStringLiteral("@server=SRVPRUEBA; @dbname=EMPRESA; @usuario=ANA;")));
  EXPECT_FALSE(vb::FileExists(tapon + QStringLiteral("/consultas.qzx")));
  EXPECT_EQ(sesion().TablaConfiguracion, QStringLiteral("ta_configuracion"));
  EXPECT_EQ(sesion().Top_Default, QStringLiteral("1000"));
  EXPECT_EQ(sesion().gColorFondoFoco, 16776960);
}

// The login name is one value in both statements that look the user up: a
// quote in a real name reads that user's record and administrator flag, and
// a name written to widen the statements matches nobody.
TEST_F(IniciaSesionPrueba, ElNombreDelUsuarioEsUnSoloValorEnLasSentencias) {
  base.ejecutar(
      "INSERT INTO TA_USUARIOS (Nombre, UNegocio, VerProforma, Administrador) VALUES "
      "('O''Brien', '0007', 1, 1), ('ADMIN', '0001', 1, 1), ('ANA', '0002', 1, 0)");
  EXPECT_FALSE(iniciar(QStringLiteral("@server=SRVPRUEBA; @dbname=EMPRESA; @usuario=O'Brien; @Password=x")));
  EXPECT_TRUE(db().gEsAdmin);
  EXPECT_EQ(sesion().UNegocio, QStringLiteral("0007"));
  EXPECT_TRUE(prueba::guion().mostradas().empty());  // no error box on the way

  // A fresh start, as another run of the program.
  ctx::actual().instalar<DB_Dll>(std::make_unique<DB_Dll>());
  ctx::actual().instalar<ModGlobal::Sesion>(std::make_unique<ModGlobal::Sesion>());
  EXPECT_FALSE(
      iniciar(QStringLiteral("@server=SRVPRUEBA; @dbname=EMPRESA; "
                             "@usuario=x' OR Administrador>0 OR Nombre LIKE '%; @Password=x")));
  EXPECT_EQ(db().gUsuario, QStringLiteral("x' OR Administrador>0 OR Nombre LIKE '%"));
  EXPECT_FALSE(db().gEsAdmin);
  EXPECT_EQ(sesion().UNegocio, QStringLiteral("   1"));
}
