#pragma once
// Paints composed pages to any QPainter device, and writes whole reports to
// a PDF file or a printer a page at a time, each page composed as it goes.
#include <QString>
#include <vector>

#include "engine/avance.h"
#include "engine/documento.h"

class QPrintDialog;
class QPainter;
class QPrinter;

namespace engine {

// Paints one page with the painter's origin at the paper's top-left corner
// and `escala` device units per decipoint. `total` < 0: count not known yet.
void pintarPagina(QPainter& p, const Letras& letras, const Pagina& pagina, double escala, int total);

// Writes every page of a complete document to a PDF file, replacing it only
// when the whole file was written; returns false when cancelled (the old
// file, if any, stays). Failure raises vb::Error naming the file.
bool escribirPdf(const Documento& doc, const QString& ruta, const Avance& avance = {});

// The pages (0-based) a printer set up by the print dialog is to print, in
// the order they go: its page range, the page `actual` (1-based) when it
// asks for the current page, else all of `paginas`; each as many times as it
// asks for copies, collated or not, unless the printing system makes the
// copies itself.
std::vector<int> paginasAImprimir(const QPrinter& impresora, int paginas, int actual = 1);

// Lets the print dialog offer a page range of the report's pages, and the
// current page where there is one (the preview).
void ofrecerPaginas(QPrintDialog& dialogo, int paginas, bool conActual);

// Prints a complete document on a printer already set up, as
// paginasAImprimir says; false when cancelled. A printer of the system that
// cannot take the job raises vb::Error saying why.
bool imprimirDocumento(const Documento& doc, QPrinter& impresora, const Avance& avance = {}, int actual = 1);

}  // namespace engine
