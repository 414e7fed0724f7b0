#include "engine/pintor.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>

#include "engine/archivo_salida.h"
#include "engine/errores.h"
#include "engine/impresion.h"

namespace engine {

void pintarPagina(QPainter& p, const Documento& doc, const Pagina& pagina, double escala, int total) {
  p.save();
  p.scale(escala, escala);
  QPen lapiz(Qt::black);
  lapiz.setWidthF(4);  // 0.4 pt
  p.setPen(lapiz);
  const QString textoTotal = total >= 0 ? QString::number(total) : QStringLiteral("?");
  int letra = -1;
  for (const Primitiva& e : pagina.elementos) {
    if (e.clase == Primitiva::Clase::Linea) {
      p.drawLine(e.origen, e.fin);
      continue;
    }
    if (e.letra != letra) {
      letra = e.letra;
      p.setFont(doc.letras.fuente(letra));
    }
    if (e.conTotal) p.drawText(e.origen, QString(e.texto).replace(QChar(kMarcaTotal), textoTotal));
    else p.drawText(e.origen, e.texto);
  }
  p.restore();
}

namespace {

// Pages desde to hasta (0-based, hasta excluded) of the document.
bool pintarTodo(QPagedPaintDevice& dispositivo, QPainter& p, const Documento& doc, double escala, const Avance& avance,
                long desde, long hasta) {
  const long total = long(doc.paginas.size());
  for (long i = desde; i < hasta; ++i) {
    if (avance && !avance(i - desde, hasta - desde)) return false;
    if (i > desde && !dispositivo.newPage())
      lanzar(kErrorSalida, QStringLiteral("No se pudo comenzar la página %1 del reporte").arg(i + 1));
    pintarPagina(p, doc, doc.paginas[size_t(i)], escala, int(total));
  }
  if (avance) avance(hasta - desde, hasta - desde);
  return true;
}

// The pages the print dialog's range asks for, as pintarTodo takes them.
std::pair<long, long> paginasPedidas(const QPrinter& impresora, long total) {
  if (impresora.printRange() != QPrinter::PageRange || impresora.fromPage() < 1) return {0, total};
  const long desde = impresora.fromPage();
  if (desde > total)
    lanzar(kErrorSalida,
           QStringLiteral("El reporte tiene %1 páginas: no hay una página %2 que imprimir").arg(total).arg(desde));
  const long hasta = impresora.toPage() < desde ? total : std::min<long>(impresora.toPage(), total);
  return {desde - 1, hasta};
}

QPageLayout disposicion(const Documento& doc) {
  const QSizeF puntos = doc.tamano / 10.0;
  const QPageSize tamano(puntos, QPageSize::Point, QString(), QPageSize::FuzzyOrientationMatch);
  const auto orient = puntos.width() > puntos.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
  return QPageLayout(tamano, orient, QMarginsF(0, 0, 0, 0));
}

}  // namespace

bool escribirPdf(const Documento& doc, const QString& ruta, const Avance& avance) {
  if (ruta.trimmed().isEmpty()) lanzar(kErrorSalida, QStringLiteral("No se indicó el archivo PDF del reporte"));
  // QSaveFile would write through a link to wherever it points.
  comprobarArchivoSalida(ruta, QStringLiteral("el PDF"));
  // Written beside itself and renamed over the old file at the end.
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly))
    lanzar(kErrorSalida, QStringLiteral("No se puede escribir el archivo PDF %1: %2").arg(ruta, archivo.errorString()));
  bool completo = false;
  {
    QPdfWriter pdf(&archivo);
    pdf.setResolution(720);
    pdf.setTitle(doc.titulo);
    pdf.setCreator(QStringLiteral("Rp_Usuarios"));
    pdf.setPageLayout(disposicion(doc));
    QPainter p;
    if (!p.begin(&pdf)) {
      archivo.cancelWriting();
      lanzar(kErrorSalida, QStringLiteral("No se puede escribir el archivo PDF %1").arg(ruta));
    }
    try {
      completo = pintarTodo(pdf, p, doc, pdf.resolution() / kUnidadesPorPulgada, avance, 0, long(doc.paginas.size()));
    } catch (...) {
      p.end();
      archivo.cancelWriting();
      throw;
    }
    p.end();
  }
  if (!completo) {
    archivo.cancelWriting();
    return false;
  }
  if (!archivo.commit())
    lanzar(kErrorSalida, QStringLiteral("No se pudo guardar el archivo PDF %1: %2").arg(ruta, archivo.errorString()));
  return true;
}

bool imprimirDocumento(const Documento& doc, QPrinter& impresora, const Avance& avance) {
  // A printer of the system, not a file of Qt's own.
  const bool alServicio = impresora.outputFormat() == QPrinter::NativeFormat;
  if (alServicio) comprobarServicioImpresion();
  const auto [desde, hasta] = paginasPedidas(impresora, long(doc.paginas.size()));
  impresora.setFullPage(true);
  impresora.setPageLayout(disposicion(doc));
  if (impresora.docName().isEmpty()) impresora.setDocName(doc.titulo);
  QPainter p;
  if (!p.begin(&impresora))
    lanzar(kErrorSalida, QStringLiteral("No se puede imprimir en la impresora %1").arg(impresora.printerName()));
  bool completo = false;
  try {
    completo = pintarTodo(impresora, p, doc, impresora.resolution() / kUnidadesPorPulgada, avance, desde, hasta);
  } catch (...) {
    impresora.abort();
    p.end();
    throw;
  }
  if (!completo) impresora.abort();
  p.end();
  if (completo && alServicio) comprobarTrabajoAceptado(impresora);
  return completo;
}

}  // namespace engine
