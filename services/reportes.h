#pragma once
// Report file resolution: a report name turned into the path of its report
// file, through TA_REPORTES and the report folder (the program folder).
#include <QString>
#include <array>

namespace ModGlobal {

// The path of the report's main file. The entry of this workstation
// ("Identidad1|Identidad2|name") is tried first unless `sinEstacion`,
// trimmed, is not empty; then the plain name; "LiqOpg" then falls back to the
// rows of "OPG-X" or "PG-X". With `archivos`, its four elements get the paths
// of Archivo .. Archivo4. A failure goes to the error dialog: Retry runs the
// failing step again, Ignore goes on, anything else returns the path found
// so far.
QString NombreReporte(const QString& reporte, const QString& sinEstacion = {},
                      std::array<QString, 4>* archivos = nullptr);

// The path for a file value of TA_REPORTES: empty takes the report's own
// file, or a shared file by the naming rules; a value not ending in ".rpt"
// lies in the report folder. A missing file is reported to the operator and
// its path still returned. Errors are ignored step by step.
QString RutaReporte(const QString& archivo, const QString& reporte);

}  // namespace ModGlobal
