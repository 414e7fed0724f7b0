#pragma once
// Shared by the engine tests: real SQLite files built from SQL scripts and
// opened through platform/ado, and PDF files read back with pdftotext.
#include <QString>

#include "platform/ado/connection.h"
#include "tests/support/base_sqlite.h"

namespace prueba {

// The file opened through ado's SQLite provider.
ado::Connection abrirBase(const QString& ruta);
// The text of a PDF file as pdftotext gives it (pages separated by \f).
QString textoPdf(const QString& ruta, bool disposicion = false);

}  // namespace prueba
