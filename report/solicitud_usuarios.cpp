#include "report/solicitud_usuarios.h"

#include <vector>

#include "platform/vb/strings.h"
#include "services/arma_formula.h"

namespace rp_usuarios {

using vb::Trim;

QString reporteDeAgrupamiento(int agrupamiento) {
  switch (agrupamiento) {
    case 0: return QStringLiteral("RP_Usuarios_Grupos");
    case 1: return QStringLiteral("RP_Usuarios_UNEG");
    case 2: return QStringLiteral("RP_Usuarios_TAREAS");
    default: return {};
  }
}

QString constanteFormula(const QString& valor) {
  return QString(valor).replace(QLatin1Char('\''), QStringLiteral("''"));
}

namespace {

// Closes an " AND (... OR ...) " piece and appends it; an empty piece adds
// no condition at all. Without an earlier condition the leading " AND" goes.
void cerrarPieza(QString& formula, QString pieza) {
  if (Trim(pieza).isEmpty()) return;
  pieza += QStringLiteral(") ");
  if (Trim(formula).isEmpty()) pieza = pieza.mid(4);
  formula += pieza;
}

}  // namespace

Solicitud ArmarSolicitud(const Eleccion& e) {
  Solicitud s;

  // The user-name range; entry 2 stays empty and adds nothing.
  std::vector<ModGlobal::FiltroRango> rangos(2);
  rangos[0].Campo = QStringLiteral("{Ta_usuarios.nombre}");
  rangos[0].Desde = Trim(e.usuarioDesde);
  rangos[0].Hasta = Trim(e.usuarioHasta);
  rangos[0].Tipo = 129;

  QString formula, mensaje;
  ModGlobal::ArmaFormula(rangos, formula, &mensaje);
  // A refused range would otherwise report every user without a word.
  if (!mensaje.isEmpty()) throw RangoInvalido(mensaje);

  formula +=
      (Trim(formula).isEmpty() ? QString() : QStringLiteral(" AND ")) + QStringLiteral("{Ta_usuarios.esgrupo}=FALSE");

  // Business units: the code is the entry's first four characters, as the
  // list is filled; a shorter entry gives a shorter code, never trimmed: the
  // suite's codes are padded ("   1"), and the table holds them so.
  // A piece is blank only until its first condition, so emptiness is tested
  // without trimming a text that grows with every unit or task.
  QString pieza;
  for (const QString& entrada : e.unidades) {
    const QString codigo = entrada.left(4);
    const QString entreComillas = constanteFormula(codigo);
    if (pieza.isEmpty()) {
      s.unidades = QStringLiteral(" U.Neg.:") + codigo;
      pieza = QStringLiteral(" AND ({") + e.tablaReporte + QStringLiteral(".UNEGOCIO} = '") + entreComillas +
              QStringLiteral("' ");
    } else {
      pieza += QStringLiteral(" OR {") + e.tablaReporte + QStringLiteral(".UNEGOCIO} = '") + entreComillas +
               QStringLiteral("' ");
      s.unidades += QStringLiteral("-") + codigo;
    }
  }
  cerrarPieza(formula, pieza);

  // Menu tasks count only for the report grouped by task.
  if (e.agrupamiento == 2) {
    pieza.clear();
    for (const QString& clave : e.tareas) {
      const QString condicion = QStringLiteral("{TA_MENU.CLAVE} = '") + constanteFormula(clave) + QStringLiteral("' ");
      pieza += (pieza.isEmpty() ? QStringLiteral(" AND (") : QStringLiteral(" OR ")) + condicion;
    }
    cerrarPieza(formula, pieza);
  }

  s.formula = formula;
  s.formulas[0] = QStringLiteral("Parametros = '") + constanteFormula(s.unidades) + QStringLiteral("'");
  s.reporte = reporteDeAgrupamiento(e.agrupamiento);
  return s;
}

}  // namespace rp_usuarios
