// A 100,000-row grouped report to PDF through the whole engine (query on a
// SQLite file, layout, painting), against painting the same cells as text
// with a bare QPainter on QPdfWriter. Also: the preview's first page against
// the whole PDF.

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/common/bench_common.h"
#include "bench/common/usuarios.h"
#include "engine/motor.h"
#include "engine/vista_previa.h"
#include "platform/vb/dates.h"

using namespace engine;

namespace {

constexpr int kFilas = 100000;

}  // namespace

int main(int argc, char** argv) {
  // The report's dates are read as the program reads them.
  vb::fijarZonaHoraria();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const QString base = dir.filePath("bench.db");
  banco::crearUsuarios(base, kFilas);
  const QString rpt = dir.filePath("bench.rpt");
  {
    QFile f(rpt);
    f.open(QIODevice::WriteOnly);
    f.write(banco::kReporteUsuarios);
  }
  ado::Connection cn;
  cn.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + base + ";");

  SolicitudReporte s;
  s.archivo = rpt;
  s.formula = "{Ta_usuarios.esgrupo}=FALSE";
  s.conexion = "BENCH";
  s.conexionAbierta = cn;
  s.asignaciones = {"Parametros = ' U.Neg.:0001-0003'"};
  s.destino = Destino::Pdf;
  s.archivoPdf = dir.filePath("ours.pdf");
  s.opcionC = false;

  const double nuestro = banco::mejorTiempo([&] { EmitirReporte(s); }, 3);

  // The reference paints exactly the cells our layout produced, each as a
  // plain text at its place, with nothing else of the engine in the way.
  auto preparado = ReportePreparado::preparar(s);
  preparado->completar();
  const Documento& doc = preparado->documento();
  std::vector<std::vector<std::pair<QPointF, QString>>> celdas;
  long cantidad = 0;
  Pagina p;
  for (int i = 0; i < doc.paginas(); ++i) {
    doc.componer(i, p);
    auto& c = celdas.emplace_back();
    for (const Primitiva& e : p.elementos)
      if (e.clase == Primitiva::Clase::Texto) c.emplace_back(e.origen, e.texto);
    cantidad += long(c.size());
  }
  const QFont letra = doc.letras.fuente(kNormal);
  const double referencia = banco::mejorTiempo(
      [&] {
        QPdfWriter pdf(dir.filePath("reference.pdf"));
        pdf.setResolution(720);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&pdf);
        p.scale(pdf.resolution() / kUnidadesPorPulgada, pdf.resolution() / kUnidadesPorPulgada);
        p.setFont(letra);
        for (size_t i = 0; i < celdas.size(); ++i) {
          if (i > 0) pdf.newPage();
          for (const auto& [punto, texto] : celdas[i]) p.drawText(punto, texto);
        }
      },
      3);
  std::printf("render: %d rows, %zu pages, %ld cells\n", kFilas, size_t(doc.paginas()), cantidad);

  // The preview: from the request to page one on screen.
  SolicitudReporte pantalla = s;
  pantalla.destino = Destino::Pantalla;
  const double primera = banco::mejorTiempo(
      [&] {
        VistaPrevia v(ReportePreparado::preparar(pantalla), pantalla);
        v.show();
        v.grab();
      },
      3);
  const double parte = primera / nuestro;
  std::printf("render: preview first page=%.6fs whole pdf=%.6fs fraction=%.3f limit=0.100\n", primera, nuestro, parte);
  const int estado = banco::informar("render", nuestro, referencia, 1.5);
  return estado != 0 ? estado : (parte <= 0.1 ? 0 : 1);
}
