// The engine's long runs and what is sent: the print dialog's range, current
// page and copies through QPrinter into a PDF file; the progress window for
// long work and none for short, whose Cancelar stops a running query; ">|"
// after "Detener"; a report of 100,000 rows exported whole from the preview.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>

#include "engine/vista_previa.h"
#include "tests/engine/caso_usuarios.h"
#include "tests/support/guion_ui.h"

using namespace engine;
using prueba::Caso;

namespace {

// The page number each page of the PDF shows, in order.
std::vector<int> numerosDePagina(const QString& pdf, int total) {
  std::vector<int> r;
  const QRegularExpression numero(QStringLiteral("Página (\\d+) de (\\d+)"));
  for (const QString& pagina : prueba::textoPdf(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts)) {
    const auto m = numero.match(pagina);
    EXPECT_TRUE(m.hasMatch()) << pagina.left(200).toStdString();
    EXPECT_EQ(m.captured(2).toInt(), total);
    r.push_back(m.captured(1).toInt());
  }
  return r;
}

}  // namespace

TEST(ReporteImpresora, RangoPaginaActualYCopiasComoLosDejaElDialogo) {
  Caso c(600);
  auto r = ReportePreparado::preparar(c.solicitud());
  ASSERT_TRUE(r->completar());
  const int n = r->documento().paginas();
  ASSERT_GE(n, 5);
  // What the print dialog leaves in the printer, printed to a PDF file.
  const auto imprimir = [&](const std::function<void(QPrinter&)>& dialogo, int actual) {
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    const QString ruta = c.carpeta.archivo("impreso.pdf");
    impresora.setOutputFileName(ruta);
    dialogo(impresora);
    EXPECT_TRUE(imprimirDocumento(r->documento(), impresora, {}, actual));
    return numerosDePagina(ruta, n);
  };
  EXPECT_EQ(imprimir(
                [](QPrinter& p) {
                  p.setPrintRange(QPrinter::PageRange);
                  p.setFromTo(2, 3);
                  p.setCopyCount(2);
                  p.setCollateCopies(false);
                },
                1),
            (std::vector<int>{2, 2, 3, 3}));
  EXPECT_EQ(imprimir(
                [n](QPrinter& p) {
                  p.setPrintRange(QPrinter::PageRange);
                  p.setFromTo(n - 1, n + 5);
                  p.setCopyCount(2);
                  p.setCollateCopies(true);
                },
                1),
            (std::vector<int>{n - 1, n, n - 1, n}));
  EXPECT_EQ(imprimir([](QPrinter& p) { p.setPrintRange(QPrinter::CurrentPage); }, 4), std::vector<int>{4});
  std::vector<int> todas(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) todas[size_t(i)] = i + 1;
  EXPECT_EQ(imprimir([](QPrinter&) {}, 4), todas);
}

TEST(ReporteAvance, VentanaParaLoLargoNoParaLoCortoYCancelarDetieneLaConsulta) {
  Caso c;
  SolicitudReporte corta = c.solicitud();
  corta.opcionC = true;
  EXPECT_EQ(EmitirReporte(corta), Resultado::Emitido);
  EXPECT_TRUE(prueba::guion().mostradas().empty());

  // Pantalla on a query whose only row comes after minutes: the window shows
  // within the second, and its Cancelar stops the query; no preview opens.
  SolicitudReporte larga = c.solicitud();
  larga.archivo = c.carpeta.escribir("larga.rpt", R"({
    "consulta": "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000000000) SELECT x AS NUMERO FROM c WHERE x = 1000000000",
    "columnas": [ { "campo": "NUMERO" } ] })");
  larga.destino = Destino::Pantalla;
  larga.opcionC = true;
  prueba::guion().esperarProgreso(true, "Consultando la base de datos", "Reporte");
  QElapsedTimer reloj;
  reloj.start();
  EXPECT_EQ(EmitirReporte(larga), Resultado::Cancelado);
  EXPECT_LT(reloj.elapsed(), 20000);
}

TEST(ReporteVistaPrevia, UltimaTrasDetenerVaALaUltimaMaquetada) {
  Caso c(3000);
  SolicitudReporte s = c.solicitud();
  auto r = ReportePreparado::preparar(s);
  for (int i = 0; i < 5; ++i) r->siguientePagina();
  VistaPrevia v(std::move(r), s);
  QTest::mouseClick(v.findChild<QAbstractButton*>("cmdDetener"), Qt::LeftButton);
  ASSERT_EQ(v.paginasMaquetadas(), 5);
  auto* ultima = v.findChild<QAbstractButton*>("cmdUltima");
  ASSERT_TRUE(ultima->isEnabled());
  QTest::mouseClick(ultima, Qt::LeftButton);
  EXPECT_EQ(v.paginaActual(), 5);
  EXPECT_FALSE(ultima->isEnabled());
  EXPECT_FALSE(v.completo());
}

TEST(ReporteGrande, CienMilFilasExportadasEnterasDesdeLaVistaPrevia) {
  Caso c(100000);
  SolicitudReporte s = c.solicitud();
  s.destino = Destino::Pantalla;
  s.opcionC = true;
  VistaPrevia v(ReportePreparado::preparar(s), s);
  prueba::guion().esperarProgreso(false, {}, "Reporte");
  const QString ruta = c.carpeta.archivo("grande.pdf");
  ASSERT_TRUE(v.exportarPdf(ruta));
  const QStringList paginas = prueba::textoPdf(ruta).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
  const int n = v.paginasMaquetadas();
  ASSERT_EQ(paginas.size(), n);
  EXPECT_TRUE(paginas[n / 2].contains(QString("Página %1 de %2").arg(n / 2 + 1).arg(n)));
  EXPECT_TRUE(paginas.last().contains(QString("Página %1 de %1").arg(n)));
  EXPECT_TRUE(paginas.last().contains("Total de usuarios: 100007"));
  const QString t = paginas.join(QLatin1Char('\n'));
  EXPECT_TRUE(t.contains("u00000"));
  EXPECT_TRUE(t.contains("u99999"));
  EXPECT_EQ(t.count("Usuarios del grupo: 40"), 2500);
}
