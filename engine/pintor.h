#pragma once
// Paints laid-out pages to any QPainter device, and writes whole documents
// to a PDF file or a printer.
#include <QString>
#include <functional>

#include "engine/documento.h"

class QPainter;
class QPrinter;

namespace engine {

// Called while a long job runs: pages done, pages in all; false cancels.
using Avance = std::function<bool(long hechas, long total)>;

// Paints one page with the painter's origin at the paper's top-left corner
// and `escala` device units per decipoint. `total` < 0: count not known yet.
void pintarPagina(QPainter& p, const Documento& doc, const Pagina& pagina, double escala, int total);

// Writes the document to a PDF file, replacing it only when the whole file
// was written; returns false when cancelled (the old file, if any, stays).
// Failure raises vb::Error naming the file.
bool escribirPdf(const Documento& doc, const QString& ruta, const Avance& avance = {});

// Prints the document on a printer already set up, the pages of its range
// when it has one (the print dialog's); false when cancelled. A printer of
// the system that cannot take the job raises vb::Error saying why.
bool imprimirDocumento(const Documento& doc, QPrinter& impresora, const Avance& avance = {});

}  // namespace engine
