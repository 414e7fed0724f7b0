#include "services/configuracion.h"

#include <functional>

#include "data/db_dll.h"
#include "platform/vb/convert.h"
#include "platform/vb/manejo.h"
#include "platform/vb/strings.h"
#include "services/sesion.h"
#include "services/traza.h"
#include "suite/util_general.h"

namespace ModGlobal {

namespace {

using vb::Trim;

QString tablaConfiguracion() { return sesion().TablaConfiguracion; }

}  // namespace

QString Cfg(const QString& clave, QString& valorAux) {
  auto& u = ZepaKit2::util();
  auto& d = db();
  // Only Ignore carries on; Retry leaves like Cancel, as the suite's Cfg always did.
  vb::Pasos pasos({traza::services(), "Cfg"}, [&](const vb::Error& e) {
    const int r = u.DialogoError(e, std::nullopt, QStringLiteral("Cfg"));
    return r == vb::Pasos::kIgnorar ? r : 0;
  });
  ado::Recordset rs;
  QString resultado, sql;
  auto salir = [&] {
    d.CierraRecordset(rs);
    return QString();
  };

  if (!pasos.run([&] {
        if (Trim(tablaConfiguracion()).isEmpty()) sesion().TablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
      }))
    return salir();
  if (!pasos.run([&] {
        sql = QStringLiteral("SELECT VALOR, valoraux FROM ") + tablaConfiguracion() +
              QStringLiteral(" WHERE CLAVE = '") + Trim(clave) + QStringLiteral("'");
      }))
    return salir();
  if (!pasos.run([&] {
        const QString k = Trim(clave);
        if (vb::igualesTexto(k, QStringLiteral("[FECHA DESDE]")) ||
            vb::igualesTexto(k, QStringLiteral("[FECHA HASTA]")))
          sql = vb::UCase(sql);
      }))
    return salir();
  if (!pasos.run([&] { d.AbrirRecordset(sql, rs); })) return salir();
  if (!pasos.run([&] {
        if (rs.EOF()) {
          resultado = QStringLiteral(" ");
          valorAux = QString();
        } else {
          resultado = u.ValorCampo(rs.Fields("Valor"));
          valorAux = u.ValorCampo(rs.Fields("ValorAux"));
        }
      }))
    return salir();
  if (!pasos.run([&] { d.CierraRecordset(rs); })) return salir();
  return resultado;
}

QString Cfg(const QString& clave) {
  QString aux;
  return Cfg(clave, aux);
}

void GrabaDfg(const QString& clave, const vb::Variant& valor, const QString& valorAux, bool politicaNegocio,
              const QString& grupo) {
  auto& d = db();
  vb::Pasos pasos({traza::services(), "GrabaDfg"}, [](const vb::Error& e) {
    return ZepaKit2::util().DialogoError(e, std::nullopt, QStringLiteral("GrabaDfg"));
  });
  ado::Recordset rs;
  QString sql;

  // The row is looked up by the key as it is written: looked up untrimmed, a
  // key with blanks around it never found its own row and added another one
  // on every write.
  auto abrir = [&] { d.AbrirRecordset(sql, rs, &d.gCnn, ado::adOpenDynamic, ado::adLockOptimistic, -1, true); };
  auto situar = [&] {
    if (rs.EOF())
      rs.AddNew();
    else
      rs.MoveFirst();
  };
  // The values in the order they are put on the row; `puesto` marks those
  // that got there (one the user chose to ignore stays out on a retry too).
  struct Asignacion {
    std::function<void()> poner;
    bool puesto = false;
  };
  Asignacion asignaciones[] = {
      {[&] { rs.Fields("Grupo") = vb::Variant(grupo); }},
      {[&] { rs.Fields("Clave") = vb::Variant(vb::UCase(Trim(clave))); }},
      {[&] { rs.Fields("Valor") = vb::Variant(Trim(vb::CStr(valor))); }},
      {[&] { rs.Fields("PoliticaNegocio") = vb::Variant(politicaNegocio); }},
      {[&] {
        if (!valorAux.isEmpty()) rs.Fields("ValorAux") = vb::Variant(Trim(valorAux));
      }},
  };

  // After another user changed the row, saving again would fail the same way
  // for ever: a retry reads the row anew and puts the values on it again.
  bool releer = false;
  auto guardar = [&] {
    if (releer) {
      if (rs.State() != ado::adStateClosed && rs.EditMode() != 0) rs.CancelUpdate();
      abrir();
      situar();
      for (auto& a : asignaciones)
        if (a.puesto) a.poner();
      releer = false;
    }
    try {
      rs.Update();
    } catch (const vb::Error& e) {
      if (e.Number() == ado::kErrorFilaCambiada) releer = true;
      throw;
    }
  };

  bool completo = pasos.run([&] {
    sql = QStringLiteral("SELECT * FROM ") + tablaConfiguracion() + QStringLiteral(" WHERE CLAVE = '") + Trim(clave) +
          QStringLiteral("'");
  });
  completo = completo && pasos.run(abrir) && pasos.run(situar);
  for (auto& a : asignaciones) {
    completo = completo && pasos.run([&] {
      a.poner();
      a.puesto = true;
    });
  }
  completo = completo && pasos.run(guardar);
  if (!completo && rs.State() != ado::adStateClosed && rs.EditMode() != 0) {
    // Leaving without saving: the pending change must not reach the
    // database when the recordset is closed.
    vb::omitir({traza::services(), "GrabaDfg"}, [&] { rs.CancelUpdate(); });
  }
  d.CierraRecordset(rs);
}

}  // namespace ModGlobal
