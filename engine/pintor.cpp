#include "engine/pintor.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <optional>

#include "engine/errores.h"
#include "platform/vb/archivos.h"

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

bool pintarTodo(QPagedPaintDevice& dispositivo, QPainter& p, const Documento& doc, double escala, const Avance& avance) {
  const long total = long(doc.paginas.size());
  for (long i = 0; i < total; ++i) {
    if (avance && !avance(i, total)) return false;
    if (i > 0 && !dispositivo.newPage())
      lanzar(kErrorSalida, QStringLiteral("No se pudo comenzar la página %1 del reporte").arg(i + 1));
    pintarPagina(p, doc, doc.paginas[size_t(i)], escala, int(total));
  }
  if (avance) avance(total, total);
  return true;
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
    lanzar(kErrorSalida, QStringLiteral("No se puede escribir el archivo PDF %1: %2")
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
      completo = pintarTodo(pdf, p, doc, pdf.resolution() / kUnidadesPorPulgada, avance);
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

bool imprimirDocumento(const Documento& doc, QPrinter& impresora, const Avance& avance) {
  impresora.setFullPage(true);
  impresora.setPageLayout(disposicion(doc));
  if (impresora.docName().isEmpty()) impresora.setDocName(doc.titulo);
  QPainter p;
  if (!p.begin(&impresora))
    lanzar(kErrorSalida, QStringLiteral("No se puede imprimir en la impresora %1").arg(impresora.printerName()));
  bool completo = false;
  try {
    completo = pintarTodo(impresora, p, doc, impresora.resolution() / kUnidadesPorPulgada, avance);
  } catch (...) {
    impresora.abort();
    p.end();
    throw;
  }
  if (!completo) impresora.abort();
  p.end();
  return completo;
}

}  // namespace engine
