// The preview as a person drives it, offscreen: keys, the wheel, the page
// box, finding a text, and the zooms that follow the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "engine/vista_previa.h"
#include "tests/engine/caso_usuarios.h"

namespace {

using namespace engine;
using prueba::Caso;

void mostrar(VistaPrevia& v) {
  v.show();
  v.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
}

TEST(VistaPreviaUso, TeclasRuedaYCajaDePaginaPasanLasPaginas) {
  Caso c(400);
  SolicitudReporte s = c.solicitud();
  s.ajuste = 100;
  VistaPrevia v(ReportePreparado::preparar(s), s);
  mostrar(v);
  QTRY_VERIFY_WITH_TIMEOUT(v.completo(), 30000);
  const int n = v.paginasMaquetadas();
  ASSERT_GT(n, 3);
  QScrollBar* barra = v.findChild<QScrollArea*>("area")->verticalScrollBar();
  ASSERT_GT(barra->maximum(), 0);  // at 100 % the page is taller than the window

  // PgDn scrolls down this page, and only at its end turns to the next one.
  int pulsadas = 0;
  while (v.paginaActual() == 1 && pulsadas < 50) {
    EXPECT_TRUE(pulsadas == 0 || barra->value() > 0);
    QTest::keyClick(&v, Qt::Key_PageDown);
    ++pulsadas;
  }
  EXPECT_GT(pulsadas, 1);
  EXPECT_EQ(v.paginaActual(), 2);
  EXPECT_EQ(barra->value(), 0);
  // PgUp at the top goes back to the end of the page before.
  QTest::keyClick(&v, Qt::Key_PageUp);
  EXPECT_EQ(v.paginaActual(), 1);
  EXPECT_EQ(barra->value(), barra->maximum());
  // The wheel turns it too, past the end.
  QWheelEvent rueda(QPointF(50, 50), QPointF(50, 50), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(v.findChild<QScrollArea*>("area")->viewport(), &rueda);
  EXPECT_EQ(v.paginaActual(), 2);

  QTest::keyClick(&v, Qt::Key_End);
  EXPECT_EQ(v.paginaActual(), n);
  QTest::keyClick(&v, Qt::Key_Home);
  EXPECT_EQ(v.paginaActual(), 1);
  auto* caja = v.findChild<QLineEdit*>("txtPagina");
  caja->setFocus();
  caja->selectAll();
  QTest::keyClicks(caja, "3");
  QTest::keyClick(caja, Qt::Key_Return);
  EXPECT_EQ(v.paginaActual(), 3);
  EXPECT_EQ(caja->text(), "3");
  EXPECT_EQ(v.findChild<QLabel*>("lblPagina")->text(), QString("de %1").arg(n));
}

TEST(VistaPreviaUso, BuscarRecorreCadaAparicionYVuelveAlPrincipio) {
  Caso c(400);
  SolicitudReporte s = c.solicitud();
  VistaPrevia v(ReportePreparado::preparar(s), s);
  mostrar(v);
  QTRY_VERIFY_WITH_TIMEOUT(v.completo(), 30000);
  // The group footers, as the PDF of the same report holds them.
  ASSERT_TRUE(v.exportarPdf(c.carpeta.archivo("grupos.pdf")));
  const int pies = int(prueba::textoPdf(c.carpeta.archivo("grupos.pdf")).count("Usuarios del grupo"));
  ASSERT_GT(pies, 3);

  QTest::keyClick(&v, Qt::Key_F, Qt::ControlModifier);
  auto* caja = v.findChild<QLineEdit*>("txtBuscar");
  ASSERT_TRUE(caja->hasFocus());
  QTest::keyClicks(caja, "USUARIOS DEL GRUPO");  // case folded
  std::vector<int> paginas;
  for (int i = 0; i <= pies; ++i) {
    QTest::keyClick(caja, Qt::Key_Return);
    paginas.push_back(v.paginaActual());
  }
  EXPECT_TRUE(std::is_sorted(paginas.begin(), paginas.end() - 1));
  EXPECT_GT(paginas[pies - 1], paginas[0]);
  EXPECT_EQ(paginas[pies], paginas[0]);  // around the end, back to the first
  // The hit is painted highlighted.
  const QImage hoja = v.findChild<QWidget*>("hoja")->grab().toImage();
  bool marcada = false;
  for (int y = 0; y < hoja.height() && !marcada; y += 2)
    for (int x = 0; x < hoja.width() && !marcada; x += 2) marcada = hoja.pixelColor(x, y) == QColor(255, 150, 40);
  EXPECT_TRUE(marcada);
  // Backwards from the first goes to the last one.
  EXPECT_TRUE(v.buscar("usuarios del grupo", false));
  EXPECT_EQ(v.paginaActual(), paginas[pies - 1]);
  EXPECT_FALSE(v.buscar("no está en el reporte"));
}

TEST(VistaPreviaUso, AnchoYPaginaCompletaSiguenALaVentanaYElZoomSeAvisa) {
  Caso c;  // seven rows: one page
  SolicitudReporte s = c.solicitud();
  s.ajuste = 20;
  std::vector<int> elegidos;
  s.alElegirZoom = [&](int z) { elegidos.push_back(z); };
  VistaPrevia v(ReportePreparado::preparar(s), s);
  mostrar(v);
  QTRY_VERIFY(v.completo());
  EXPECT_EQ(v.findChild<QLabel*>("lblEstado")->text(), "7 registros, 1 página");
  auto* area = v.findChild<QScrollArea*>("area");
  auto* hoja = v.findChild<QWidget*>("hoja");
  for (QSize tamano : {QSize(900, 700), QSize(1300, 900), QSize(520, 400)}) {
    v.resize(tamano);
    QTRY_COMPARE(v.size(), tamano);
    // The scroll area settles its bars once the resize has gone through.
    QTRY_VERIFY(area->verticalScrollBar()->isVisible() && !area->horizontalScrollBar()->isVisible());
    const int libre = area->viewport()->width() - hoja->width();
    EXPECT_GE(libre, 0) << tamano.width();
    EXPECT_LE(libre, 16) << tamano.width();
  }
  auto* zoom = v.findChild<QComboBox*>("cboZoom");
  zoom->setFocus();
  QTest::keyClick(zoom, Qt::Key_Down);
  EXPECT_EQ(v.zoom(), kZoomPagina);
  for (QSize tamano : {QSize(900, 700), QSize(700, 1000)}) {
    v.resize(tamano);
    QTRY_COMPARE(v.size(), tamano);
    QTRY_VERIFY(!area->verticalScrollBar()->isVisible() && !area->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(area->viewport()->rect().contains(hoja->geometry())) << tamano.width();
  }
  // Ctrl+plus steps up from the size the page has; Ctrl+minus down.
  const double antes = v.escala();
  QTest::keyClick(&v, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_GT(v.escala(), antes);
  QTest::keyClick(&v, Qt::Key_Minus, Qt::ControlModifier);
  ASSERT_EQ(elegidos.size(), 3u);
  EXPECT_EQ(elegidos[0], kZoomPagina);
  EXPECT_GT(elegidos[1], elegidos[2]);
  EXPECT_GT(elegidos[2], 0);
}

}  // namespace
