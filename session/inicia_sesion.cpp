#include "session/inicia_sesion.h"

#include "data/db_dll.h"
#include "lookup/lib_clscons3.h"
#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/vb/archivos.h"
#include "platform/vb/convert.h"
#include "platform/vb/manejo.h"
#include "platform/vb/strings.h"
#include "services/cargar_configuracion.h"
#include "services/mascaras.h"
#include "services/parametros.h"
#include "services/sesion.h"
#include "session/traza.h"
#include "suite/archivo_ini.h"
#include "suite/estacion.h"
#include "suite/lanzador.h"
#include "suite/util_general.h"

namespace ModGlobal {

namespace {

using vb::Trim;

const QString kArchivoIni = QStringLiteral("CN000pr.INI");

QString seccionEstacion() {
  const auto& e = ZepaKit2::estacion();
  return vb::UCase(e.Identidad1()) + QStringLiteral("|") + vb::UCase(e.Identidad2());
}

// The parameter text stored for this workstation, in the form the suite's
// menu passes it.
QString parametrosDesdeIni() {
  const auto& u = ZepaKit2::util();
  const auto& ini = ZepaKit2::archivoIni();
  const QString seccion = seccionEstacion() + QStringLiteral("BaseDeDatos");
  QString servidor = ini.LeerIni(kArchivoIni, seccion, QStringLiteral("Servidor"), QString());
  QString base = ini.LeerIni(kArchivoIni, seccion, QStringLiteral("DbName"), QString());
  QString usuario = u.Decodificar(
      ini.LeerIni(kArchivoIni, seccion, QStringLiteral("Usuario"), u.Codificar(QStringLiteral("Korvane"))));
  QString clave = u.Decodificar(
      ini.LeerIni(kArchivoIni, seccion, QStringLiteral("UserPassWord"), u.Codificar(QStringLiteral("pampero"))));
  const QString barra = QStringLiteral("|");
  servidor = u.QuitarTexto(servidor, barra);
  base = u.QuitarTexto(base, barra);
  usuario = u.QuitarTexto(usuario, barra);
  clave = u.QuitarTexto(clave, barra);
  return QStringLiteral("@server=") + servidor + QStringLiteral("; @dbname= ") + base + QStringLiteral("; @usuario= ") +
         usuario + QStringLiteral("; @Password= ") + clave + QStringLiteral("; @ParametroAdicional=; @Caja=1;zepa@");
}

}  // namespace

void CrearMascarasConsultas() { CrearMascarasConsultas(clsCons3().gRutaMascaraConsultas); }

void IniciaSesion(bool desdeIni, QString& parametros, QString& connString, long lCursor) {
  Sesion& s = sesion();
  DB_Dll& d = db();
  const auto& u = ZepaKit2::util();
  vb::Arranque paso({traza::session(), "IniciaSesion"});

  QString carpeta;
  QString copia;
  QString servidor, base, usuario, clave;

  paso.run([&] { carpeta = u.CarpetaConBarra(ctx::actual().carpetaPrograma()); });
  paso.run([&] {
    s.gColorFondoFoco = 0xFFFFFF;
    s.gColorLetraFoco = 0;
  });
  paso.run([&] {
    if (parametros.isEmpty()) parametros = ctx::actual().argumentos().join(QLatin1Char(' '));
  });
  paso.run([&] {
    if (desdeIni && Trim(parametros).isEmpty()) parametros = parametrosDesdeIni();
  });
  paso.run([&] { copia = parametros; });
  paso.run([&] { s.gSeccionEstacion = seccionEstacion(); });
  paso.run([&] {
    if (vb::Len(Trim(s.gSeccionEstacion)) > 50) s.gSeccionEstacion = vb::Left(s.gSeccionEstacion, 50);
  });
  paso.run([&] {
    s.gFlatToolbars = vb::Val(ZepaKit2::archivoIni().LeerIni(kArchivoIni, s.gSeccionEstacion,
                                                             QStringLiteral("FlatToolbars"), QStringLiteral("1")));
  });

  if (!paso.terminado() && !d.gOpenFlag) {
    paso.run([&] {
      s.gParametroAdicional = ValorParametro(copia, QStringLiteral("@ParametroAdicional"));
      s.gMenu = ValorParametro(copia, QStringLiteral("@Menu"));
      servidor = ValorParametro(copia, QStringLiteral("@Server"));
      base = ValorParametro(copia, QStringLiteral("@DbName"));
      usuario = ValorParametro(copia, QStringLiteral("@Usuario"));
      clave = ValorParametro(copia, QStringLiteral("@Password"));
      // Read like the others; the session takes the connection's user instead.
      (void)ValorParametro(copia, QStringLiteral("@UsuarioLogeado"));
      bool hayCaja = false;
      const QString caja = ValorParametro(copia, QStringLiteral("@Caja"), &hayCaja);
      s.gCaja = hayCaja ? caja : QStringLiteral("1");
    });
    paso.run([&] {
      if (!Trim(servidor).isEmpty() && servidor.startsWith(QLatin1Char('#'))) {
        servidor = vb::Mid(servidor, 2);
        if (connString.isEmpty())
          connString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + base + QStringLiteral(";User Id=") +
                       usuario + QStringLiteral(";Password=") + clave + QStringLiteral(";");
      }
    });
    paso.run([&] {
      d.gUsuario = usuario;
      d.gDBName = base;
      d.gUserPassWord = clave;
      d.gServidor = NombreServidor(servidor);
    });
    paso.run([&] { d.OpenServerADODB(Trim(servidor).isEmpty(), lCursor, connString, true); });
    if (!paso.terminado() && !d.gOpenFlag) ui::servicio().End();
    paso.run([&] { s.gUsuarioLogeado = d.gUsuario; });
    paso.run([&] { d.gCnn.setCommandTimeout(360); });
    paso.run([&] { d.gCnn.setIsolationLevel(ado::adXactReadUncommitted); });
  }

  if (paso.terminado() || d.gDBName.isEmpty()) return;
  paso.run([&] {
    s.gDsnReportes = QStringLiteral("DSN=") + d.gDBName + QStringLiteral("; UID=") + d.gUsuario +
                     QStringLiteral("; PWD=") + d.gUserPassWord;
  });
  paso.run([&] { ZepaKit2::lanzador().setRutaSistema(carpeta); });
  paso.run([&] { d.gCnn.setDefaultDatabase(d.gDBName); });
  paso.run([&] {
    Lib_ClsCons3& consultas = clsCons3();
    consultas.gConnString = d.gConnString;
    consultas.gUsarMascarasConsultas = true;
    consultas.gRutaMascaraConsultas = carpeta + QStringLiteral("consultas.qzx");
  });
  // The presets are a convenience: a program folder that cannot be written
  // must not keep the session settings from loading, so a failure here
  // abandons only this step.
  paso.run([&] {
    if (vb::FileExists(clsCons3().gRutaMascaraConsultas)) return;
    vb::omitir({traza::session(), "IniciaSesion"}, [] { CrearMascarasConsultas(); });
  });
  paso.run([&] { d.gCnn.setDefaultDatabase(d.gDBName); });
  paso.run([&] {
    if (!d.gDBName.isEmpty()) CargarConfiguracion(carpeta);
  });
}

}  // namespace ModGlobal
