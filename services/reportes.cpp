#include "services/reportes.h"

#include "data/db_dll.h"
#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/vb/archivos.h"
#include "platform/vb/manejo.h"
#include "platform/vb/strings.h"
#include "services/traza.h"
#include "suite/estacion.h"
#include "suite/util_general.h"

namespace ModGlobal {

namespace {

using vb::Trim;

QString carpetaReportes() { return ZepaKit2::util().CarpetaConBarra(ctx::actual().carpetaPrograma()); }

// The file at the path, found ignoring letter case in the name and in the
// folders below the report folder (TA_REPORTES was written for a file system
// that ignores it); an installed program that has no such file of the user's
// own there takes the one it was shipped with. Empty when there is none.
QString existente(const QString& ruta, const QString& carpeta) {
  if (QString hallado = vb::buscarSinCaso(ruta, carpeta); !hallado.isEmpty()) return hallado;
  const QString instalados = ctx::actual().carpetaReportesInstalados();
  if (instalados.isEmpty() || !ruta.startsWith(carpeta)) return {};
  return vb::buscarSinCaso(instalados + ruta.mid(carpeta.size()), instalados);
}

// Voucher types of the purchasing system share one report file.
bool esDeCompras(const QString& codigo) {
  const vb::Variant sistema = db().DatosTabla(QStringLiteral("V_TA_CPTE"), codigo, QStringLiteral("SISTEMA"),
                                              QStringLiteral("Codigo"), 8, QString(), true);
  return vb::igualesTexto(sistema.toText(), QStringLiteral("Compras"));
}

// The shared file of a report whose own file is missing, or an empty text.
QString archivoCompartido(const QString& reporte, const QString& carpeta, vb::Seguir& seguir) {
  QString valor;
  const long largo = vb::Len(reporte);
  auto prefijo = [&](long n) { valor = existente(carpeta + vb::Left(reporte, n) + QStringLiteral(".RPT"), carpeta); };
  seguir([&] {
    if (largo == 4 && vb::Mid(reporte, 3, 1) == QStringLiteral("-"))
      prefijo(2);
    else if (largo == 5 && vb::Mid(reporte, 4, 1) == QStringLiteral("-"))
      prefijo(3);
    else if (largo == 6 && vb::Mid(reporte, 5, 1) == QStringLiteral("-"))
      prefijo(4);
    else
      valor = esDeCompras(reporte) ? carpeta + QStringLiteral("CpteCompras.RPT") : QString();
  });
  seguir([&] {
    if (!valor.isEmpty()) return;
    const long guion = vb::InStr(reporte, QStringLiteral("-"));
    const QString codigo = guion > 0 ? vb::Left(reporte, guion - 1) : reporte;
    valor = esDeCompras(codigo) ? carpeta + QStringLiteral("CpteCompras.RPT") : QString();
  });
  return valor;
}

}  // namespace

QString RutaReporte(const QString& archivo, const QString& reporte) {
  vb::Seguir seguir({traza::services(), "RutaReporte"});
  QString valor = archivo;
  QString carpeta;
  seguir([&] { carpeta = carpetaReportes(); });
  seguir([&] {
    if (!valor.isEmpty()) return;
    valor = existente(carpeta + reporte + QStringLiteral(".rpt"), carpeta);
    if (valor.isEmpty()) valor = archivoCompartido(reporte, carpeta, seguir);
  });
  seguir([&] {
    if (vb::UCase(vb::Right(Trim(valor), 4)) != QStringLiteral(".RPT"))
      valor = carpeta + valor + QStringLiteral(".rpt");
  });
  seguir([&] {
    const QString hallado = existente(valor, carpeta);
    if (!hallado.isEmpty())
      valor = hallado;
    else
      ui::servicio().MsgBox(QStringLiteral("No se encuentra el Archivo ") + valor + QStringLiteral(" (") + reporte +
                                QStringLiteral(")") +
                                QStringLiteral(" por favor verifique la configuración de Reportes"),
                            ui::vbCritical, QStringLiteral("Aviso al Operador"));
  });
  return valor;
}

QString NombreReporte(const QString& reporte, const QString& sinEstacion, std::array<QString, 4>* archivos) {
  auto& d = db();
  auto& u = ZepaKit2::util();
  vb::Pasos pasos({traza::services(), "NombreReporte"}, [&](const vb::Error& e) {
    return u.DialogoError(e, std::nullopt, QStringLiteral("NombreReporte$"));
  });
  ado::Recordset rs;
  QString resultado;
  bool hallado = false;

  auto buscar = [&](const QString& sql) {
    return pasos.run([&] {
      d.AbrirRecordset(sql, rs);
      hallado = !rs.EOF();
    });
  };
  auto porNombre = [](const QString& nombre) {
    return QStringLiteral("SELECT * FROM TA_REPORTES WHERE NOMBRE = '") + Trim(nombre) + QStringLiteral("'");
  };

  auto terminar = [&] {
    vb::omitir({traza::services(), "NombreReporte"}, [&] { d.CierraRecordset(rs); });
    return resultado;
  };

  if (Trim(sinEstacion).isEmpty()) {
    QString propio;
    if (!pasos.run([&] {
          const auto& e = ZepaKit2::estacion();
          propio = e.Identidad1() + QStringLiteral("|") + e.Identidad2() + QStringLiteral("|") + reporte;
        }))
      return terminar();
    if (!buscar(porNombre(propio))) return terminar();
  }
  if (!hallado && !buscar(porNombre(reporte))) return terminar();
  if (!hallado && vb::igualesTexto(reporte, QStringLiteral("LiqOpg")) &&
      !buscar(QStringLiteral("SELECT * FROM TA_REPORTES WHERE NOMBRE = 'OPG-X' OR NOMBRE = 'PG-X' ")))
    return terminar();

  static const char* const kColumnas[] = {"Archivo", "Archivo2", "Archivo3", "Archivo4"};
  if (hallado) {
    if (!pasos.run([&] { resultado = RutaReporte(u.ValorCampo(rs.Fields("Archivo")), reporte); })) return terminar();
    if (archivos) {
      for (int i = 0; i < 4; ++i) {
        if (!pasos.run([&] { (*archivos)[i] = RutaReporte(u.ValorCampo(rs.Fields(kColumnas[i])), reporte); }))
          return terminar();
      }
    }
  } else {
    if (!pasos.run([&] { resultado = RutaReporte(QString(), reporte); })) return terminar();
    if (archivos) {
      for (int i = 0; i < 4; ++i) {
        if (!pasos.run([&] { (*archivos)[i] = RutaReporte(QString(), reporte); })) return terminar();
      }
    }
  }
  pasos.run([&] { d.CierraRecordset(rs); });
  return resultado;
}

}  // namespace ModGlobal
