#include "engine/avance.h"

#include "platform/ui/progreso.h"

namespace engine {

Avance avanceDe(ui::Progreso& ventana) {
  return [&ventana](Fase fase, long hechas, long total) {
    switch (fase) {
      case Fase::Consulta: return ventana.avanzar(QStringLiteral("Consultando la base de datos..."));
      case Fase::Maquetado: return ventana.avanzar(QStringLiteral("Preparando el reporte: %1 registros").arg(hechas));
      case Fase::Salida:
        return ventana.avanzar(
            QStringLiteral("Enviando la página %1 de %2").arg(std::min(hechas + 1, total)).arg(total), hechas, total);
    }
    return true;
  };
}

}  // namespace engine
