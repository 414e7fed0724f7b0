#pragma once
// Where the engine writes a file the user named (a PDF, a spreadsheet): the
// file is written beside and renamed into place, which would put it in place
// of a link or a device; the person who named the file meant neither.
#include <QString>

namespace engine {

// Raises kErrorSalida, naming `que` ("el PDF", "la planilla") and the path,
// when something other than a regular file is where the file should go.
void comprobarArchivoSalida(const QString& ruta, const QString& que);

}  // namespace engine
