#pragma once
// The embedded engine: SQLite files through SQLite's C API.
#include <memory>

#include "platform/ado/proveedor.h"

namespace ado::detalle {

// A database of a server alias "sqlite:<folder>": the file <folder>/<base>.db.
// A missing file is the server's "cannot open database" failure; it is never created.
std::unique_ptr<Enlace> abrirSqliteCarpeta(Errors& errores, const QString& carpeta, const QString& base);

// A local database file of the Jet providers. A missing file reports SQL
// state "3024", a folder that does not exist "3044". A file with a database
// password (a row in its table ADO_CLAVE_BASE, see docs/servidores.md) opens
// only when `clave` is that password; otherwise it reports "3031", as the
// provider does for a wrong password.
std::unique_ptr<Enlace> abrirSqliteArchivo(Errors& errores, const QString& ruta, const QString& proveedor,
                                           const QString& clave = {});

// The RESUMEN of a database password with its SAL, as ADO_CLAVE_BASE keeps it:
// lower-case hex of SHA3-256 of the salt followed by the password (UTF-8).
QString resumenClave(const QString& sal, const QString& clave);

}  // namespace ado::detalle
