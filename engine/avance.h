#pragma once
// What a long run of the engine reports as it goes, and how a person stops it.
#include <functional>

namespace ui {
class Progreso;
}

namespace engine {

enum class Fase {
  Consulta,   // the database works on the query
  Maquetado,  // pages are laid out: `hechas` rows so far
  Salida,     // pages go to the PDF file or the printer: `hechas` of `total`
};

// Called often during a long run; false cancels it.
using Avance = std::function<bool(Fase fase, long hechas, long total)>;

// The UI service's progress window as an Avance, with the engine's texts.
Avance avanceDe(ui::Progreso& ventana);

}  // namespace engine
