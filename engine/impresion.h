#pragma once
// The system's print service (CUPS), which Qt's printer hands every job to.
// Qt says nothing when the service is down or refuses a job; these checks
// put that in words a person can act on.
class QPrinter;

namespace engine {

// Raises kErrorSalida when the print service does not answer.
void comprobarServicioImpresion();

// After a job went to `impresora`: raises kErrorSalida when the service did
// not take it.
void comprobarTrabajoAceptado(const QPrinter& impresora);

}  // namespace engine
