#pragma once
// The embedded engine: SQLite files through SQLite's C API.
#include <memory>

#include "platform/ado/proveedor.h"

namespace ado::detalle {

// A database of a server alias "sqlite:<folder>": the file <folder>/<base>.db.
// A missing file is the server's "cannot open database" failure; it is never created.
std::unique_ptr<Enlace> abrirSqliteCarpeta(Errors& errores, const QString& carpeta, const QString& base);

// A local database file of the Jet providers. A missing file reports SQL
// state "3024", a folder that does not exist "3044".
std::unique_ptr<Enlace> abrirSqliteArchivo(Errors& errores, const QString& ruta, const QString& proveedor);

}  // namespace ado::detalle
