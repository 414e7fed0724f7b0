// The report preview as a person uses it: from the form on the demo
// database, "Pantalla" opens it with the page across the window's width, at
// opening and after the window grows and shrinks; the keyboard turns the
// pages and Escape closes it; Ctrl+S writes a PDF through the real file dialog.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "tests/journey/recorrido.h"
#include "tests/report/lote_apoyo.h"
#include "tests/support/temp_folder.h"

namespace {

const QString kFormulario = QStringLiteral("Reporte de Usuarios");

// Where the page lies across the middle rows of a grab of the preview: the
// first and last columns where the page's white shows.
std::pair<int, int> anchoDeLaPagina(const QImage& imagen) {
  int desde = imagen.width(), hasta = -1;
  for (int y = imagen.height() * 2 / 5; y < imagen.height() * 3 / 5; y += 7)
    for (int x = 0; x < imagen.width(); ++x) {
      const QColor c = imagen.pixelColor(x, y);
      if (c.red() < 250 || c.green() < 250 || c.blue() < 250) continue;
      desde = std::min(desde, x);
      hasta = std::max(hasta, x);
    }
  return {desde, hasta};
}

void llenaElAncho(const QImage& imagen, const char* cuando) {
  ASSERT_FALSE(imagen.isNull());
  const auto [desde, hasta] = anchoDeLaPagina(imagen);
  // The margins, the frame and the vertical scroll bar: a few dozen pixels at most.
  EXPECT_LT(desde, 30) << cuando;
  EXPECT_GT(hasta, imagen.width() - 50) << cuando << ", ventana de " << imagen.width();
}

// Opens the form, picks the grouping by menu task (the longest demo report)
// and presses "Pantalla"; the preview window, or nullopt.
std::optional<recorrido::Ventana> abrirVistaPrevia(recorrido::Programa& p) {
  const auto form = p.esperarVentana(kFormulario);
  if (!form) return std::nullopt;
  // A slow start (the sanitized build on a busy machine) may still be busy
  // when the window is first drawn: the click counts once the option shows
  // its dot, as a person would look before going on.
  const QPoint tareas(30, 219);  // "Tareas del Menú"
  bool marcada = false;
  for (int i = 0; i < 50 && !marcada; ++i) {
    if (i % 10 == 0) p.clic(*form, tareas);
    QThread::msleep(200);
    const QImage imagen = p.captura(*form, QStringLiteral("formulario"));
    marcada = !imagen.isNull() && imagen.pixelColor(tareas - QPoint(1, 0)).lightness() < 128;
  }
  if (!marcada) {
    ADD_FAILURE() << "la opción \"Tareas del Menú\" no quedó marcada";
    return std::nullopt;
  }
  p.clic(*form, QPoint(35, 28));  // "Pantalla"
  return p.esperarVentana(QStringLiteral("Usuarios por Tarea del Menú"));
}

// The page's part of a grab, without the tool bar and the status line.
QImage centro(const QImage& imagen) {
  return imagen.copy(0, imagen.height() / 6, imagen.width(), imagen.height() * 2 / 3);
}

TEST(Recorrido, VistaPreviaLlenaElAnchoYPasaPaginasConElTeclado) {
  recorrido::PantallaX pantalla({1280, 1024});
  ASSERT_TRUE(pantalla.lista());
  prueba::EmpresaDemo empresa;
  recorrido::Programa p(pantalla, {prueba::kParametrosDemo}, &empresa);
  const auto v = abrirVistaPrevia(p);
  ASSERT_TRUE(v);
  const QImage primera = p.captura(*v, QStringLiteral("abierta"));
  llenaElAncho(primera, "al abrir");
  for (QSize tamano : {QSize(1200, 950), QSize(560, 480)}) {
    pantalla.correr(QStringLiteral("xdotool"), {QStringLiteral("windowsize"), QStringLiteral("--sync"), v->id,
                                                QString::number(tamano.width()), QString::number(tamano.height())});
    const auto cambiada = p.esperarVentana(QStringLiteral("Usuarios por Tarea del Menú"));
    ASSERT_TRUE(cambiada);
    EXPECT_EQ(cambiada->geometria.size(), tamano);
    llenaElAncho(p.captura(*cambiada, QStringLiteral("ventana_%1").arg(tamano.width())),
                 tamano.width() > 900 ? "agrandada" : "achicada");
  }
  // Back to the first size: End shows another page, Home the first again.
  pantalla.correr(QStringLiteral("xdotool"), {QStringLiteral("windowsize"), QStringLiteral("--sync"), v->id,
                                              QString::number(primera.width()), QString::number(primera.height())});
  ASSERT_TRUE(p.esperarVentana(QStringLiteral("Usuarios por Tarea del Menú")));
  p.teclas(*v, QStringLiteral("End"));
  EXPECT_NE(centro(p.captura(*v, QStringLiteral("ultima"))), centro(primera));
  p.teclas(*v, QStringLiteral("Next Next Next Home"));
  EXPECT_EQ(centro(p.captura(*v, QStringLiteral("primera_otra_vez"))), centro(primera));
  // Escape closes the preview, back to the form.
  p.teclas(*v, QStringLiteral("Escape"));
  bool abierta = true;
  for (int i = 0; i < 50 && abierta; ++i) {
    QThread::msleep(100);
    abierta = p.hayVentana(QStringLiteral("Usuarios por Tarea del Menú"));
  }
  EXPECT_FALSE(abierta);
  EXPECT_TRUE(p.hayVentana(kFormulario));
}

TEST(Recorrido, VistaPreviaExportaUnPdfPorElDialogoDeArchivos) {
  recorrido::PantallaX pantalla({1280, 1024});
  ASSERT_TRUE(pantalla.lista());
  prueba::EmpresaDemo empresa;
  prueba::CarpetaTemporal salida;
  recorrido::Programa p(pantalla, {prueba::kParametrosDemo}, &empresa);
  const auto v = abrirVistaPrevia(p);
  ASSERT_TRUE(v);
  p.teclas(*v, QStringLiteral("ctrl+s"));
  const auto dialogo = p.esperarVentana(QStringLiteral("Exportar"));
  ASSERT_TRUE(dialogo);
  p.captura(*dialogo, QStringLiteral("dialogo"));
  // The file name field has the focus: a full path there is taken as typed.
  const QString pdf = QDir(salida.ruta()).filePath(QStringLiteral("tareas.pdf"));
  p.escribir(*dialogo, pdf);
  p.teclas(*dialogo, QStringLiteral("Return"));
  for (int i = 0; i < 100 && !QFile::exists(pdf); ++i) QThread::msleep(200);
  ASSERT_TRUE(QFile::exists(pdf));
  // "El reporte se guardó en ..." says so; Enter closes it.
  const auto aviso = p.esperarVentana(QStringLiteral("Exportar"));
  ASSERT_TRUE(aviso);
  p.captura(*aviso, QStringLiteral("aviso"));
  QProcess texto;
  texto.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  ASSERT_TRUE(texto.waitForFinished(30000));
  const QString t = QString::fromUtf8(texto.readAllStandardOutput());
  EXPECT_TRUE(t.contains(QStringLiteral("Usuarios por Tarea del Menú"))) << t.left(400).toStdString();
  EXPECT_TRUE(t.contains(QStringLiteral("Página 1 de"))) << t.left(400).toStdString();
  p.teclas(*aviso, QStringLiteral("Return"));
}

}  // namespace
