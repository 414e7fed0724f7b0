// Connections and providers: opening the program's connection on a server
// (with the access dialog and the retry box) or on a local database file.
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <array>
#include <functional>

#include "data/db_dll.h"
#include "data/frm_acceso.h"
#include "data/traza.h"
#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/vb/convert.h"
#include "platform/vb/manejo.h"
#include "platform/vb/strings.h"

namespace {

const QString kProveedorOracle = QStringLiteral("OraOLEDB.Oracle.1");
const QChar kCR(u'\r');

QString textoErrorConexion(const ado::Error& e) {
  return QStringLiteral(" Estado de Sql: ") + e.SQLState() + kCR + QStringLiteral("Numero de Error: ") +
         QString::number(e.Number()) + kCR + QStringLiteral("Descripcion: ") + e.Description() + kCR +
         QStringLiteral("Codigo Nativo: ") + QString::number(e.NativeError()) + kCR +
         QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
}

// Empty, Null or anything that is not a truth value counts as False.
bool esVerdadero(const vb::Variant& v) {
  if (v.isEmpty() || v.isNull()) return false;
  bool r = false;
  return !vb::intentar([&] { r = vb::CBool(v); }) && r;
}

}  // namespace

DB_Dll::DB_Dll() = default;

DB_Dll& db() { return ctx::actual().instancia<DB_Dll>(); }

bool DB_Dll::PideDatosConexion() {
  frmAcceso& f = accesoDialogo();
  f.Load();
  f.TxtDbName->setText(gDBName);
  f.TxtServidor->setText(gServidor);
  f.TxtUserId->setText(gUsuario);
  f.TxtUserPassword->setText(gUserPassWord);
  f.CboPlataformaDB->setCurrentIndex(0);
  ui::servicio().MostrarModal(f);
  if (f.Aceptar) {
    gOpenFlag = true;
    gDBName = f.TxtDbName->text();
    gServidor = f.TxtServidor->text();
    gUsuario = f.TxtUserId->text();
    gUserPassWord = f.TxtUserPassword->text();
    if (f.CboPlataformaDB->currentIndex() > 0) {
      gProveedor = kProveedorOracle;
      if (!gServidor.contains(QLatin1Char('#'))) gServidor += QLatin1Char('#');
    } else {
      gProveedor = pSQLOLEDB();
    }
  } else {
    gOpenFlag = false;
  }
  f.Unload();
  return gOpenFlag;
}

void DB_Dll::ArmaCadenaConexion() {
  if (gServidor.contains(QLatin1Char('#'))) {
    // Oracle names its data source; the server name is only the marker.
    gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + gDBName + QStringLiteral(";User Id=") +
                  gUsuario + QStringLiteral(";Password=") + gUserPassWord + QStringLiteral(";");
    return;
  }
  gConnString = QStringLiteral("PROVIDER=") + pSQLOLEDB() + QStringLiteral(";") + QStringLiteral("Server=") +
                gServidor + QStringLiteral(";") + QStringLiteral("Database =") + gDBName + QStringLiteral(";") +
                QStringLiteral("UId=") + gUsuario + QStringLiteral(";") + QStringLiteral("Pwd=") + gUserPassWord +
                QStringLiteral(";") + gExtended;
}

void DB_Dll::ValidaAdministrador() {
  if (vb::Trim(gDBName).isEmpty()) return;
  gCnn.setDefaultDatabase(gDBName);
  if (!ExisteTablaDB(QStringLiteral("TA_USUARIOS"))) return;
  // The name goes in as a literal of its own (a type code other than 8 takes
  // the value as written), so that a quote in it cannot change the statement.
  const vb::Variant admin =
      DatosTabla(QStringLiteral("ta_usuarios"), SQLValue(vb::Trim(gUsuario)).toText(), QStringLiteral("Administrador"),
                 QStringLiteral("LTRIM(RTRIM(nombre))"), 200, QString(), true);
  gEsAdmin = vb::Val(admin.toText()) == 1;
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString& ConnString, bool ValidaAdmin) {
  // The steps in order; after a failure the user may correct the data and the
  // failed step runs again, followed by the rest.
  const std::array<std::function<bool()>, 7> pasos = {
      [&] {
        gOpenFlag = true;
        return true;
      },
      [&] {
        if (gProveedor.isEmpty()) gProveedor = QStringLiteral("SQLOLEDB");
        return true;
      },
      [&] {
        if (vb::Trim(ConnString).isEmpty())
          ArmaCadenaConexion();
        else
          gConnString = ConnString;
        return true;
      },
      [&] {
        if (!PideParametrosSQL) return true;
        if (!PideDatosConexion()) return false;
        ArmaCadenaConexion();
        return true;
      },
      [&] {
        gCnn.setCursorLocation(lCursor);
        return true;
      },
      [&] {
        gCnn.Open(gConnString, QString(), QString(), -1);
        return true;
      },
      [&] {
        if (!ValidaAdmin)
          gEsAdmin = true;
        else
          ValidaAdministrador();
        return true;
      },
  };

  std::size_t paso = 0;
  while (paso < pasos.size()) {
    bool seguir = true;
    const auto fallo = vb::intentar([&] { seguir = pasos[paso](); });
    if (!fallo) {
      if (!seguir) return;
      ++paso;
      continue;
    }
    const vb::Rutina rutina{traza::data(), "OpenServerADODB"};
    ado::Errors& errores = gCnn.Errors();
    if (errores.Count() == 0) {
      vb::registrar(rutina, *fallo, u"se avisa y no se abre la conexión");
      ui::servicio().MsgBox(fallo->Description());
      // Start-up reads gOpenFlag to decide whether the program can go on.
      gOpenFlag = gCnn.State() == ado::adStateOpen;
      return;
    }
    const int respuesta = ui::servicio().MsgBox(textoErrorConexion(errores.Item(0L)), ui::vbYesNo | ui::vbCritical,
                                                QStringLiteral(" Error de Conexion a Base de Datos"));
    vb::registrar(rutina, *fallo,
                  respuesta == ui::vbYes ? u"respuesta Sí: se piden los datos otra vez"
                                         : u"respuesta No: no se abre la conexión");
    if (respuesta != ui::vbYes) {
      gOpenFlag = false;
      if (gCnn.State() == ado::adStateOpen) gCnn.Close();
      return;
    }
    errores.Clear();
    if (!PideDatosConexion()) return;
    ArmaCadenaConexion();
  }
}

void DB_Dll::OpenLocalADODB(const QString& ConnString, const QString& CadenaID, const QString& CadenaPWD) {
  QString atributoClave;
  int rechazadas = 0;
  for (;;) {
    QString cadena = ConnString;
    if (ConnString.isEmpty()) {
      cadena = QStringLiteral("PROVIDER=") + gProveedor + QStringLiteral(";") + QStringLiteral("Data Source =") +
               gDBName + QStringLiteral(";") + CadenaID + QStringLiteral("=") + gUsuario + QStringLiteral(";") +
               CadenaPWD + QStringLiteral("=") + gUserPassWord + QStringLiteral(";") + gExtended;
    }
    cadena += atributoClave;
    const auto fallo = vb::intentar([&] { gCnn.Open(cadena, QString(), QString(), -1); });
    if (!fallo) {
      gConnString = cadena;
      return;
    }

    const ado::Errors& errores = gCnn.Errors();
    const QString estado = errores.Count() > 0 ? errores.Item(0L).SQLState() : QString();
    vb::registrar({traza::data(), "OpenLocalADODB"}, *fallo, u"se pide otra base o su contraseña, o se deja la rutina");
    if (errores.Count() > 0 &&
        (estado == QLatin1String("3024") || estado == QLatin1String("3051") || estado == QLatin1String("3044"))) {
      CmdDlg.setTitulo(QStringLiteral("Buscar Base de Datos"));
      CmdDlg.setFiltro(QStringLiteral("Base de Datos de Microsoft Access |*.MDB"));
      CmdDlg.MostrarAbrir();
      if (CmdDlg.Cancelado()) return;
      gDBName = CmdDlg.NombreArchivo();
      continue;
    }
    if (errores.Count() > 0 && estado == QLatin1String("3031")) {
      // A password that was offered and refused; the bound keeps a wrong
      // stored password (or a user who cannot give up) from looping forever.
      if (!atributoClave.isEmpty() && ++rechazadas >= kIntentosClave) {
        ui::servicio().MsgBox(QStringLiteral("La contraseña de la base de datos fue rechazada %1 veces. "
                                             "No se abrirá la base de datos.")
                                  .arg(kIntentosClave),
                              ui::vbExclamation, QStringLiteral("Password Access"));
        return;
      }
      if (esVerdadero(gIgnoraPassWord)) {
        atributoClave = QStringLiteral("Jet OLEDB:Database Password=") + gUserPassWord + QStringLiteral(";");
      } else {
        const QString clave =
            ui::servicio().InputBox(QStringLiteral("ingrese el password:"), QStringLiteral("Password Access"));
        atributoClave = QStringLiteral(" Jet OLEDB:Database Password=") + clave + QStringLiteral(";");
      }
      continue;
    }
    ui::servicio().MsgBox(QString::number(fallo->Number()) + QStringLiteral("  ") + fallo->Description(),
                          ui::vbCritical);
    return;
  }
}
