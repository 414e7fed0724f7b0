#pragma once
// The session settings: suite-wide values read once from the configuration
// table into the session (sesion.h).
#include <QString>

namespace ModGlobal {

// Loads every setting in its fixed order. `carpetaPrograma` ends with a path
// separator. A setting whose step fails keeps its value; nothing is shown
// here (Cfg shows its own failures).
void CargarConfiguracion(const QString& carpetaPrograma);

}  // namespace ModGlobal
