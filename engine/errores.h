#pragma once
// The run-time errors the report engine raises. Numbers are application
// errors (above the object-error base, as components number theirs); the
// description always names the file, field or position at fault.
#include <QString>

#include "platform/vb/error.h"

namespace engine {

constexpr long kBaseErrores = -2147221504L + 1100;       // object-error base + our offset
constexpr long kErrorArchivoReporte = kBaseErrores + 1;  // unreadable or invalid report file
constexpr long kErrorFormula = kBaseErrores + 2;         // selection formula does not parse or mistypes
constexpr long kErrorCampo = kBaseErrores + 3;           // a field the query lacks
constexpr long kErrorConsulta = kBaseErrores + 4;        // the database rejected the query
constexpr long kErrorSalida = kBaseErrores + 5;          // PDF file or printer could not be written
constexpr long kErrorSolicitud = kBaseErrores + 6;       // malformed request (assignment, destination)

inline const QString& origenMotor() {
  static const QString o = QStringLiteral("Motor de reportes");
  return o;
}

[[noreturn]] inline void lanzar(long numero, const QString& descripcion) {
  throw vb::Error(numero, descripcion, origenMotor());
}

// The same with a long detail (a statement) kept apart from the description.
[[noreturn]] inline void lanzar(long numero, const QString& descripcion, const QString& detalle) {
  vb::Error e(numero, descripcion, origenMotor());
  e.setDetalle(detalle);
  throw e;
}

}  // namespace engine
