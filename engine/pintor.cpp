#include "engine/pintor.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <optional>

#include "engine/errores.h"
#include "engine/impresion.h"
#include "platform/vb/archivos.h"

namespace engine {

void pintarPagina(QPainter& p, const Letras& letras, const Pagina& pagina, double escala, int total) {
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
      p.setFont(letras.fuente(letra));
    }
    if (e.conTotal)
      p.drawText(e.origen, QString(e.texto).replace(QChar(kMarcaTotal), textoTotal));
    else
      p.drawText(e.origen, e.texto);
  }
  p.restore();
}

namespace {

bool pintarTodo(QPagedPaintDevice& dispositivo, QPainter& p, const Documento& doc, const std::vector<int>& indices,
                double escala, const Avance& avance) {
  const long total = long(indices.size());
  Pagina pagina;  // one page at a time, whatever the report's length
  for (long i = 0; i < total; ++i) {
    if (avance && !avance(Fase::Salida, i, total)) return false;
    if (i > 0 && !dispositivo.newPage())
      lanzar(kErrorSalida, QStringLiteral("No se pudo comenzar la página %1 del reporte").arg(i + 1));
    doc.componer(indices[size_t(i)], pagina);
    pintarPagina(p, doc.letras, pagina, escala, doc.paginas());
  }
  if (avance) avance(Fase::Salida, total, total);
  return true;
}

std::vector<int> todas(const Documento& doc) {
  std::vector<int> r(size_t(doc.paginas()));
  for (size_t i = 0; i < r.size(); ++i) r[i] = int(i);
  return r;
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
  const auto noSeEscribe = [&](const vb::Error& e) {
    lanzar(kErrorSalida,
           QStringLiteral("No se puede escribir el archivo PDF %1: %2")
               .arg(ruta, e.Description().isEmpty() ? vb::descripcionError(e.Number()) : e.Description()));
  };
  // Written beside itself and renamed over the old file at the end; only a
  // regular file is replaced.
  std::optional<vb::SalidaArchivo> archivo;
  try {
    archivo.emplace(ruta);
  } catch (const vb::Error& e) {
    noSeEscribe(e);
  }
  bool completo = false;
  {
    QPdfWriter pdf(&*archivo);
    pdf.setResolution(720);
    pdf.setTitle(doc.titulo);
    pdf.setCreator(QStringLiteral("Rp_Usuarios"));
    pdf.setPageLayout(disposicion(doc));
    QPainter p;
    if (!p.begin(&pdf)) lanzar(kErrorSalida, QStringLiteral("No se puede escribir el archivo PDF %1").arg(ruta));
    try {
      completo = pintarTodo(pdf, p, doc, todas(doc), pdf.resolution() / kUnidadesPorPulgada, avance);
    } catch (...) {
      p.end();
      throw;
    }
    p.end();
  }
  // Not confirmed, the device leaves the old file as it was.
  if (!completo) return false;
  try {
    archivo->confirmar();
  } catch (const vb::Error& e) {
    noSeEscribe(e);
  }
  return true;
}

std::vector<int> paginasAImprimir(const QPrinter& impresora, int paginas, int actual) {
  int desde = 1, hasta = paginas;
  if (impresora.printRange() == QPrinter::PageRange && impresora.fromPage() > 0) {
    desde = impresora.fromPage();
    hasta = std::min(paginas, std::max(desde, impresora.toPage()));
  } else if (impresora.printRange() == QPrinter::CurrentPage) {
    desde = hasta = std::clamp(actual, 1, std::max(1, paginas));
  }
  // CUPS makes the copies itself; a PDF file or a printer without it needs them painted.
  const int copias = impresora.supportsMultipleCopies() ? 1 : std::max(1, impresora.copyCount());
  std::vector<int> r;
  if (impresora.collateCopies()) {
    for (int c = 0; c < copias; ++c)
      for (int i = desde; i <= hasta; ++i) r.push_back(i - 1);
  } else {
    for (int i = desde; i <= hasta; ++i)
      for (int c = 0; c < copias; ++c) r.push_back(i - 1);
  }
  return r;
}

void ofrecerPaginas(QPrintDialog& dialogo, int paginas, bool conActual) {
  dialogo.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialogo.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
  dialogo.setOption(QAbstractPrintDialog::PrintCurrentPage, conActual);
  dialogo.setMinMax(1, std::max(1, paginas));
}

bool imprimirDocumento(const Documento& doc, QPrinter& impresora, const Avance& avance, int actual) {
  // A printer of the system, not a file of Qt's own.
  const bool alServicio = impresora.outputFormat() == QPrinter::NativeFormat;
  if (alServicio) comprobarServicioImpresion();
  const std::vector<int> indices = paginasAImprimir(impresora, doc.paginas(), actual);
  if (indices.empty())
    lanzar(kErrorSalida, QStringLiteral("Las páginas pedidas (%1 a %2) no están en el reporte, que tiene %3")
                             .arg(impresora.fromPage())
                             .arg(impresora.toPage())
                             .arg(doc.paginas()));
  impresora.setFullPage(true);
  impresora.setPageLayout(disposicion(doc));
  if (impresora.docName().isEmpty()) impresora.setDocName(doc.titulo);
  QPainter p;
  if (!p.begin(&impresora))
    lanzar(kErrorSalida, QStringLiteral("No se puede imprimir en la impresora %1").arg(impresora.printerName()));
  bool completo = false;
  try {
    completo = pintarTodo(impresora, p, doc, indices, impresora.resolution() / kUnidadesPorPulgada, avance);
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
