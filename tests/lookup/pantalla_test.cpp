// The list dialog's window: the shortage report on F12, the search boxes'
// focus colours, the arrow keys, the button bar without "Nueva Busqueda",
// and the width file when things go wrong.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>

#include "platform/ui/twips.h"
#include "tests/lookup/apoyo.h"

using prueba::Consultas;

namespace {

const QString kArticulos = QStringLiteral("SELECT IDARTICULO, DESCRIPCION FROM VT_MA_ARTICULOS ORDER BY IDARTICULO");

TEST_F(Consultas, F12InformaElFaltanteDeStock) {
  base.ejecutar("INSERT INTO VT_MA_ARTICULOS VALUES ('ART5', 'Codo 1/2\" O''Ring', 0, 0, 0, 1)");
  Lib_FrmCons3 f;
  f.SQL = kArticulos;
  mostrar(f, [&] {
    // No: nothing is written.
    f.seleccionar(1);
    prueba::guion().esperarMensaje(ui::vbNo,
                                   QStringLiteral("Desea informar el articulo ART2 Tuerca\ncomo un faltante "
                                                  "de stock?"),
                                   QStringLiteral("Atención!"));
    QTest::keyClick(f.lista(), Qt::Key_F12);
    EXPECT_TRUE(base.filas("SELECT * FROM V_MV_FALTANTES").isEmpty());
    // Yes, from the window itself, on a description with quotes in it.
    f.seleccionar(4);
    prueba::guion().esperarMensaje(ui::vbYes, QStringLiteral("ART5 Codo 1/2\" O'Ring"));
    QTest::keyClick(f.botonNueva(), Qt::Key_F12);
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
  const QStringList filas = base.filas("SELECT IdArticulo, Descripcion, Usuario, FechaHora FROM V_MV_FALTANTES");
  ASSERT_EQ(filas.size(), 1);
  EXPECT_TRUE(filas[0].startsWith(QStringLiteral("ART5|Codo 1/2\" O'Ring|ADMIN|"))) << filas[0].toStdString();
  EXPECT_GT(filas[0].section(QLatin1Char('|'), 3).size(), 8);  // the date and time

  // Not an article lookup: F12 asks nothing.
  Lib_FrmCons3 g;
  g.SQL = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES");
  mostrar(g, [&] {
    g.seleccionar(0);
    QTest::keyClick(g.lista(), Qt::Key_F12);
    prueba::pulsar(g, QStringLiteral("Cancelar"));
  });
}

// The colour painted inside a search box, away from its border and text.
QColor fondo(QLineEdit* caja) {
  const QImage img = caja->grab().toImage();
  return img.pixelColor(img.width() - 4, img.height() / 2);
}

TEST_F(Consultas, CajasDeBusquedaSePintanConElFoco) {
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES ORDER BY CODIGO");
  mostrar(f, [&] {
    QApplication::setActiveWindow(&f);
    f.cajaBusqueda(1)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(fondo(f.cajaBusqueda(1)), QColor(0x00, 0xFF, 0xFF));  // &HFFFF00
    EXPECT_EQ(f.indiceBusqueda(), 1);
    f.cajaBusqueda(0)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(fondo(f.cajaBusqueda(1)), QColor(Qt::white));
    EXPECT_EQ(fondo(f.cajaBusqueda(0)), QColor(0x00, 0xFF, 0xFF));
    EXPECT_EQ(f.indiceBusqueda(), 0);
    // Typing in the list goes to the box that had the focus last.
    f.cajaBusqueda(1)->setFocus();
    f.lista()->setFocus();
    QTest::keyClicks(f.lista(), "ca");
    EXPECT_EQ(f.cajaBusqueda(1)->text(), QStringLiteral("ca"));
    EXPECT_EQ(f.modelo().celda(f.filaSeleccionada(), 1), QStringLiteral("Castro"));
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

TEST_F(Consultas, FlechasEnLaCajaLlevanElFocoALaLista) {
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES ORDER BY CODIGO");
  mostrar(f, [&] {
    QApplication::setActiveWindow(&f);
    f.cajaBusqueda(0)->setFocus();
    QTest::keyClicks(f.cajaBusqueda(0), "B");
    EXPECT_EQ(f.filaSeleccionada(), 3);
    QTest::keyClick(f.cajaBusqueda(0), Qt::Key_Down);
    EXPECT_TRUE(f.lista()->hasFocus());
    EXPECT_EQ(f.filaSeleccionada(), 3);  // the selection stays where the search left it
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

// The option menus hide "Nueva Busqueda"; Cancelar then takes its place, or
// both buttons share a bar too narrow for them.
TEST_F(Consultas, BotonesSinNuevaBusqueda) {
  struct Lugar {
    QRect aceptar, cancelar, nueva;
    int barra;
  };
  auto lugares = [&](const QString& titulo) {
    Lugar l;
    prueba::guion().esperarModal([&](QDialog& d) {
      auto boton = [&](const char* n) { return d.findChild<QPushButton*>(QString::fromUtf8(n))->geometry(); };
      l = {boton("CmdAceptar"), boton("CmdCancelar"), boton("CmdNueva"),
           d.findChild<QWidget*>(QStringLiteral("Frame1"))->width()};
      // Another resize must not shrink them further.
      d.resize(d.width() + 1, d.height());
      EXPECT_EQ(boton("CmdAceptar"), l.aceptar);
      prueba::pulsar(d, QStringLiteral("Cancelar"));
    });
    clsCons3().MenuOpciones(titulo, QStringLiteral("x"));
    return l;
  };
  const Lugar ancho = lugares(QString(60, QLatin1Char('T')));  // 7200 twips
  EXPECT_EQ(ancho.aceptar, ui::rectTwips(100, 100, 1500, 400));
  EXPECT_EQ(ancho.cancelar, ui::rectTwips(7200 - 1650, 100, 1500, 400));
  EXPECT_EQ(ancho.barra, ui::twips(7200));

  const Lugar angosto = lugares(QStringLiteral("Formato"));  // 840 twips: no room for two buttons
  EXPECT_EQ(angosto.aceptar, ui::rectTwips(100, 100, 750, 400));
  EXPECT_EQ(angosto.cancelar, ui::rectTwips(840 - 900, 100, 750, 400));
  EXPECT_EQ(angosto.nueva.topLeft(), angosto.cancelar.topLeft());
}

TEST_F(Consultas, ArchivoDeAnchosQueNoSePuedeReescribir) {
  const QByteArray antes = "\"VT_CLIENTES\",\"1500|3000|\"\n\"TA_OTRA\",\"100|\"\n";
  programa.escribir(QStringLiteral("CONSULTASLEN.QZX"), antes);
  // The temporary copy cannot be written: the old widths stay, whole.
  ASSERT_TRUE(QDir(programa.ruta()).mkdir(QStringLiteral("CONSULTASLEN.AUX")));
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES");
  f.GrabarCfg = true;
  mostrar(f, [&] {
    f.setAnchoColumna(0, 900);
    prueba::pulsar(f, QStringLiteral("Aceptar"));
  });
  prueba::guion().esperarMensaje(ui::vbOK, {}, QStringLiteral("Aviso al Operador"));
  f.Descargar();
  EXPECT_EQ(programa.leer(QStringLiteral("CONSULTASLEN.QZX")), antes);
}

TEST_F(Consultas, AnchosCeroNoAchicanLaVentana) {
  programa.escribir(QStringLiteral("CONSULTASLEN.QZX"), "\"VT_CLIENTES\",\"0|0|\"\n");
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES");
  mostrar(f, [&] {
    // The three buttons stand side by side, whole, inside the window.
    auto boton = [&](const char* n) {
      auto* b = f.findChild<QPushButton*>(QString::fromUtf8(n));
      return QRect(b->mapTo(&f, QPoint()), b->size());
    };
    EXPECT_LT(boton("CmdAceptar").right(), boton("CmdCancelar").left());
    EXPECT_LT(boton("CmdCancelar").right(), boton("CmdNueva").left());
    EXPECT_TRUE(f.rect().contains(boton("CmdNueva")));
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

TEST_F(Consultas, AnchosGuardadosParaMenosColumnas) {
  // Saved when the statement had one column: the new column keeps its width.
  programa.escribir(QStringLiteral("CONSULTASLEN.QZX"), "\"VT_CLIENTES\",\"1500|\"\n");
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES");
  mostrar(f, [&] {
    EXPECT_EQ(f.anchoColumna(0), 1500);
    const int x60 = ui::aTwips(QFontMetrics(f.lista()->font()).horizontalAdvance(QString(60, 'X')));
    EXPECT_EQ(f.anchoColumna(1), x60);
    EXPECT_EQ(f.cajaBusqueda(1)->x() - f.cajaBusqueda(0)->x(), ui::twips(1500));
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

}  // namespace
