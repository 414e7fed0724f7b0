// Opening the program's connection: the strings built, the access dialog,
// the administrator check and the connection-error box on real failures.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include "data/db_dll.h"
#include "data/frm_acceso.h"
#include "tests/data/base_prueba.h"
#include "tests/support/guion_ui.h"

namespace {

// The dialog's script: type the four texts, pick the platform, accept.
prueba::GuionUi::Guion teclearAcceso(QString usuario, QString clave, QString base, QString servidor,
                                     int plataforma = 0) {
  return [=](QDialog& d) {
    prueba::teclear(d, QStringLiteral("TxtUserId"), usuario);
    prueba::teclear(d, QStringLiteral("TxtUserPassword"), clave);
    prueba::teclear(d, QStringLiteral("TxtDbName"), base);
    prueba::teclear(d, QStringLiteral("TxtServidor"), servidor);
    accesoDialogo().CboPlataformaDB->setCurrentIndex(plataforma);
    prueba::pulsar(d, QStringLiteral("Aceptar"));
  };
}

QString cajaConexion(const ado::Error& e) {
  return QStringLiteral(
             " Estado de Sql: %1\rNumero de Error: %2\rDescripcion: %3\rCodigo Nativo: %4\r"
             " - Desea Intentarlo Nuevamente??? ")
      .arg(e.SQLState())
      .arg(e.Number())
      .arg(e.Description())
      .arg(e.NativeError());
}

}  // namespace

TEST(Conexion, NombresDeProveedores) {
  DB_Dll d;
  EXPECT_EQ(d.pJETOLEDB40(), "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(d.pJETOLEDB35(), "Microsoft.Jet.OLEDB.3.51");
  EXPECT_EQ(d.pSQLOLEDB(), "SQLOLEDB");
  EXPECT_FALSE(d.gOpenFlag);
  EXPECT_TRUE(d.gServidor.isEmpty());
}

TEST(Conexion, CadenaSqlServerConstruida) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gExtended = QStringLiteral("App=Rp_Usuarios;");
  base.conectar(d, QStringLiteral("USR1"));
  EXPECT_EQ(d.gConnString, "PROVIDER=SQLOLEDB;Server=LOCAL;Database =EMPRESA;UId=USR1;Pwd=clave;App=Rp_Usuarios;");
  EXPECT_EQ(d.gProveedor, "SQLOLEDB");
  EXPECT_EQ(d.gCnn.CursorLocation(), ado::adUseClient);
}

TEST(Conexion, CadenaDadaSeUsaTalCualYUnaEnBlancoSeConstruye) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gServidor = QStringLiteral("LOCAL");
  d.gDBName = QStringLiteral("EMPRESA");
  d.gUsuario = QStringLiteral("U2");
  const QString dada = QStringLiteral("  PROVIDER=SQLOLEDB;Server=LOCAL;Database =EMPRESA;  ");
  d.OpenServerADODB(false, 2, dada, false);
  EXPECT_TRUE(d.gOpenFlag);
  EXPECT_EQ(d.gConnString, dada);
  EXPECT_EQ(d.gProveedor, "SQLOLEDB");
  EXPECT_TRUE(d.gEsAdmin);  // no check asked: taken as administrator
  d.gCnn.Close();

  d.OpenServerADODB(false, 3, QStringLiteral("   "), true);
  EXPECT_TRUE(d.gOpenFlag);
  EXPECT_EQ(d.gConnString, "PROVIDER=SQLOLEDB;Server=LOCAL;Database =EMPRESA;UId=U2;Pwd=;");
}

TEST(Conexion, ComprobacionDeAdministrador) {
  prueba::BaseSuite base;
  for (const auto& [usuario, esperado] :
       std::vector<std::pair<QString, bool>>{{"U1", true}, {"U2", false}, {"U3", false}, {"NADIE", false}}) {
    DB_Dll& d = db();
    d.gEsAdmin = !esperado;
    base.conectar(d, usuario);
    EXPECT_EQ(d.gEsAdmin, esperado) << usuario.toStdString();
    d.gCnn.Close();
  }
}

TEST(Conexion, SinTablaDeUsuariosElAdministradorNoCambia) {
  prueba::BaseSuite base;
  base.ejecutar(QStringLiteral("OTRA"), "CREATE TABLE T (A INT);");
  base.nombre = QStringLiteral("OTRA");
  DB_Dll& d = db();
  d.gEsAdmin = true;
  base.conectar(d, QStringLiteral("U2"));
  EXPECT_TRUE(d.gEsAdmin);
}

TEST(Conexion, ElDialogoPideLosDatosYAbre) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gUsuario = QStringLiteral("previo");
  prueba::guion().esperarModal(
      [](QDialog& dlg) {
        // Filled with the current values, SQL Server chosen.
        EXPECT_EQ(accesoDialogo().TxtUserId->text(), "previo");
        EXPECT_EQ(accesoDialogo().CboPlataformaDB->currentIndex(), 0);
        teclearAcceso("U1", "pw", "EMPRESA", "LOCAL")(dlg);
      },
      QStringLiteral("frmAcceso"));
  d.OpenServerADODB(true, 3, QStringLiteral("PROVIDER=SQLOLEDB;Server=NINGUNO;"));
  EXPECT_TRUE(d.gOpenFlag);
  // The confirmed data win over the string given.
  EXPECT_EQ(d.gConnString, "PROVIDER=SQLOLEDB;Server=LOCAL;Database =EMPRESA;UId=U1;Pwd=pw;");
  EXPECT_TRUE(d.gEsAdmin);
  EXPECT_EQ(d.gCnn.State(), ado::adStateOpen);
}

TEST(Conexion, CancelarElDialogoNoAbre) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  prueba::guion().esperarModal([](QDialog& dlg) { prueba::pulsar(dlg, QStringLiteral("Cancelar")); });
  d.OpenServerADODB(true);
  EXPECT_FALSE(d.gOpenFlag);
  EXPECT_EQ(d.gCnn.State(), ado::adStateClosed);
}

TEST(Conexion, OracleMarcaElServidor) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  prueba::guion().esperarModal(teclearAcceso("U", "P", "ORCL", "SRV01", 1));
  // No Oracle here: the open fails and the user gives up.
  prueba::guion().esperarMensaje(ui::vbNo, {}, QStringLiteral(" Error de Conexion a Base de Datos"));
  d.OpenServerADODB(true);
  EXPECT_EQ(d.gServidor, "SRV01#");
  EXPECT_EQ(d.gProveedor, "OraOLEDB.Oracle.1");
  EXPECT_EQ(d.gConnString, "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=U;Password=P;");
  EXPECT_FALSE(d.gOpenFlag);

  // A server that already has its mark keeps it as it is.
  prueba::guion().esperarModal(teclearAcceso("U", "P", "ORCL", "S#RV", 1));
  prueba::guion().esperarMensaje(ui::vbNo);
  d.OpenServerADODB(true);
  EXPECT_EQ(d.gServidor, "S#RV");
}

TEST(Conexion, BaseQueNoSePuedeAbrir_SiVuelveAlDialogo) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gServidor = QStringLiteral("LOCAL");
  d.gDBName = QStringLiteral("NOEXISTE");
  d.gUsuario = QStringLiteral("U1");
  QString texto;
  prueba::guion().esperarMensaje(ui::vbYes, {}, QStringLiteral(" Error de Conexion a Base de Datos"));
  prueba::guion().esperarModal([&](QDialog& dlg) {
    // The box showed the first error of the collection, cleared since.
    texto = prueba::guion().mostradas().front().texto;
    EXPECT_EQ(accesoDialogo().TxtDbName->text(), "NOEXISTE");
    teclearAcceso("U1", "", "EMPRESA", "LOCAL")(dlg);
  });
  d.OpenServerADODB();
  EXPECT_TRUE(d.gOpenFlag);
  EXPECT_EQ(d.gCnn.State(), ado::adStateOpen);
  EXPECT_TRUE(texto.startsWith(" Estado de Sql: 42000\rNumero de Error: -2147467259\rDescripcion: ") ||
              texto.startsWith(" Estado de Sql: 42000\rNumero de Error: -2147217900\rDescripcion: "))
      << texto.toStdString();
  EXPECT_TRUE(texto.endsWith("\rCodigo Nativo: 4060\r - Desea Intentarlo Nuevamente??? ")) << texto.toStdString();
  EXPECT_EQ(prueba::guion().mostradas().front().botones, ui::vbYesNo | ui::vbCritical);
}

TEST(Conexion, BaseQueNoSePuedeAbrir_NoDejaLaBanderaEnFalso) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gServidor = QStringLiteral("LOCAL");
  d.gDBName = QStringLiteral("NOEXISTE");
  prueba::guion().esperarMensaje(ui::vbNo);
  d.OpenServerADODB();
  EXPECT_FALSE(d.gOpenFlag);
  EXPECT_EQ(d.gCnn.State(), ado::adStateClosed);
  // Nothing cleared the collection: the box showed its first entry, exactly.
  ASSERT_GT(d.gCnn.Errors().Count(), 0);
  EXPECT_EQ(prueba::guion().mostradas().front().texto, cajaConexion(d.gCnn.Errors().Item(0L)));
}

TEST(Conexion, FreeTdsAUnPuertoCerrado) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gServidor = QStringLiteral("127.0.0.1,1");
  d.gDBName = QStringLiteral("EMPRESA");
  d.gUsuario = QStringLiteral("sa");
  d.gCnn.setConnectionTimeout(5);
  prueba::guion().esperarMensaje(ui::vbNo, QStringLiteral(" - Desea Intentarlo Nuevamente??? "),
                                 QStringLiteral(" Error de Conexion a Base de Datos"));
  d.OpenServerADODB();
  EXPECT_FALSE(d.gOpenFlag);
  ASSERT_GT(d.gCnn.Errors().Count(), 0);
  EXPECT_EQ(prueba::guion().mostradas().front().texto, cajaConexion(d.gCnn.Errors().Item(0L)));
}

TEST(Conexion, FalloSinColeccionDeErroresDejaLaBanderaEnFalso) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gServidor = QStringLiteral("LOCAL");
  d.gDBName = QStringLiteral("EMPRESA");
  // A cursor location ADO does not know fails before the open, with no driver diagnostics.
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("Los argumentos son del tipo incorrecto"));
  d.OpenServerADODB(false, 1);
  ASSERT_EQ(d.gCnn.Errors().Count(), 0);
  const auto& caja = prueba::guion().mostradas().front();
  EXPECT_EQ(caja.botones, ui::vbOKOnly);
  EXPECT_EQ(caja.titulo, ui::tituloPrograma());
  // Start-up must not take the closed connection for an open one.
  EXPECT_EQ(d.gCnn.State(), ado::adStateClosed);
  EXPECT_FALSE(d.gOpenFlag);
}

TEST(Conexion, FalloSinColeccionConLaConexionAbiertaLaDejaAbierta) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  base.conectar(d);
  d.gCnn.Errors().Clear();
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("abierto"));
  d.OpenServerADODB();
  EXPECT_EQ(d.gCnn.State(), ado::adStateOpen);
  EXPECT_TRUE(d.gOpenFlag);
}

TEST(ConexionLocal, AbreUnArchivo) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gProveedor = d.pJETOLEDB40();
  d.gDBName = base.archivo(QStringLiteral("EMPRESA"));
  d.gUsuario = QStringLiteral("admin");
  d.OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Password"));
  EXPECT_EQ(d.gCnn.State(), ado::adStateOpen);
  EXPECT_EQ(d.gConnString, "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =" + d.gDBName + ";User ID=admin;Password=;");
}

TEST(ConexionLocal, ArchivoQueNoEstaSeBuscaConElDialogo) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gProveedor = d.pJETOLEDB40();
  d.gDBName = base.carpeta.archivo(QStringLiteral("falta.mdb"));
  const QString buena = base.carpeta.archivo(QStringLiteral("EMPRESA.mdb"));
  ASSERT_TRUE(QFile::copy(base.archivo(QStringLiteral("EMPRESA")), buena));
  prueba::guion().esperarModal([&](QDialog& dlg) {
    auto& archivo = static_cast<QFileDialog&>(dlg);
    EXPECT_EQ(archivo.windowTitle(), "Buscar Base de Datos");
    auto* nombre = archivo.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(nombre, nullptr);
    nombre->setText(buena);
    static_cast<QDialog&>(archivo).done(QDialog::Accepted);
  });
  d.OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Password"));
  EXPECT_EQ(d.gDBName, buena);
  EXPECT_EQ(d.gCnn.State(), ado::adStateOpen);
  EXPECT_EQ(d.CmdDlg.Filtro(), "Base de Datos de Microsoft Access |*.MDB");
}

TEST(ConexionLocal, CancelarLaBusquedaTermina) {
  prueba::BaseSuite base;
  DB_Dll& d = db();
  d.gProveedor = d.pJETOLEDB40();
  const QString falta = base.carpeta.archivo(QStringLiteral("falta.mdb"));
  d.gDBName = falta;
  prueba::guion().esperarModal([](QDialog& dlg) { dlg.reject(); });
  d.OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Password"));
  EXPECT_EQ(d.gCnn.State(), ado::adStateClosed);
  EXPECT_EQ(d.gDBName, falta);
}

TEST(ConexionLocal, OtroErrorSeMuestraConSuNumero) {
  DB_Dll& d = db();
  prueba::guion().esperarMensaje(ui::vbOK);
  d.OpenLocalADODB(QStringLiteral("PROVIDER=Nada.Proveedor;Data Source =x;"), QString(), QString());
  const auto& caja = prueba::guion().mostradas().front();
  EXPECT_TRUE(caja.texto.startsWith(QString::number(ado::kErrorProveedor) + "  No se encuentra el proveedor"))
      << caja.texto.toStdString();
  EXPECT_EQ(caja.botones, ui::vbCritical);
  EXPECT_EQ(d.gCnn.State(), ado::adStateClosed);
}
