#include "platform/vb/manejo.h"

#include <new>
#include <stdexcept>
#include <system_error>

#include "platform/vb/archivos.h"

namespace vb {

Error comoError(const std::exception& e) {
  if (const auto* v = dynamic_cast<const Error*>(&e)) return *v;
  if (dynamic_cast<const std::bad_alloc*>(&e)) return Error(kOutOfMemory);
  if (dynamic_cast<const std::out_of_range*>(&e)) return Error(kSubscriptOutOfRange);
  if (dynamic_cast<const std::invalid_argument*>(&e) || dynamic_cast<const std::domain_error*>(&e))
    return Error(kInvalidProcedureCall);
  if (dynamic_cast<const std::overflow_error*>(&e) || dynamic_cast<const std::range_error*>(&e))
    return Error(kOverflow);
  if (dynamic_cast<const std::length_error*>(&e)) return Error(kOutOfStringSpace);
  if (const auto* s = dynamic_cast<const std::system_error*>(&e)) {
    if (s->code().category() == std::generic_category() || s->code().category() == std::system_category())
      return errorDeSistema(s->code().value());
  }
  const QString texto = QString::fromUtf8(e.what()).trimmed();
  QString descripcion = descripcionError(kInternalError);
  if (!texto.isEmpty()) descripcion += QStringLiteral(": ") + texto;
  return Error(kInternalError, descripcion);
}

void Pasos::registrarRespuesta(const Error& e, int respuesta) const {
  const QString como = respuesta == kReintentar ? QStringLiteral("respuesta 4: se reintenta")
                       : respuesta == kIgnorar  ? QStringLiteral("respuesta 5: se sigue con el paso siguiente")
                                                : QStringLiteral("respuesta %1: se deja la rutina").arg(respuesta);
  registrar(rutina_, e, como);
}

}  // namespace vb
