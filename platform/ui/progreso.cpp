#include "platform/ui/progreso.h"

namespace ui {

bool Progreso::avanzar(const QString& texto, long hechas, long total) {
  if (cancelado_) return false;
  const qint64 t = reloj_.elapsed();
  if (t < kDemoraMs || t - ultima_ < kIntervaloMs) return true;
  ultima_ = t;
  cancelado_ = !mostrar(texto, hechas, total);
  return !cancelado_;
}

}  // namespace ui
