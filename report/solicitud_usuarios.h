#pragma once
// The users report request: the choices of the form turned into the record
// selection, the "Parametros" assignment and the report name. No widgets and
// no database here, so that the request reads the same wherever it is built.
#include <QString>
#include <QStringList>
#include <array>

#include "platform/vb/error.h"

namespace rp_usuarios {

// The users table as the report's formulas name it.
inline const QString kTablaReporte = QStringLiteral("TA_USUARIOS");

// The report of each grouping (OptTipoReporte 0, 1, 2); empty for another index.
QString reporteDeAgrupamiento(int agrupamiento);

// What the user chose on the form.
struct Eleccion {
  QString usuarioDesde;  // as typed; trimmed here
  QString usuarioHasta;
  QStringList unidades;  // the selected entries of LstUNeg, in list order ("0001 - Casa central")
  QStringList tareas;    // the keys of the ticked menu nodes, in node order
  int agrupamiento = 0;  // the selected grouping option; -1 for none
  QString tablaReporte = kTablaReporte;
};

// What goes to the report launcher.
struct Solicitud {
  QString formula;                  // record selection
  QString unidades;                 // " U.Neg.:0001-0003", or empty
  std::array<QString, 5> formulas;  // slot 1 "Parametros = '...'", the others empty
  QString reporte;                  // the report name; empty when no grouping is chosen
};

// A range the builder refuses (a first user name that sorts after the last
// one): the builder's message, and no request.
class RangoInvalido : public vb::Error {
 public:
  explicit RangoInvalido(const QString& mensaje)
      : vb::Error(vb::kInvalidProcedureCall, mensaje, QStringLiteral("GenerarReporte")) {}
};

// Builds the request. Raises RangoInvalido for a refused range, and whatever
// the range builder or the utility library raise.
Solicitud ArmarSolicitud(const Eleccion& eleccion);

// A value as it goes between the quotes of a formula's text constant: a
// quote inside is doubled, which the formula language reads as one.
QString constanteFormula(const QString& valor);

}  // namespace rp_usuarios
