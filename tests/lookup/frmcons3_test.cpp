// The list dialog driven offscreen: search, F5, quantities, accept, cancel,
// new search, widths and stock colours, on real tables.
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>

#include "platform/ui/twips.h"

#include "tests/lookup/apoyo.h"

using prueba::Consultas;

namespace {

const QString kClientes = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES ORDER BY CODIGO");

QStringList columna(Lib_FrmCons3& f, int c) {
  QStringList r;
  for (int i = 0; i < f.modelo().filas(); ++i) r << f.modelo().celda(i, c);
  return r;
}

bool avisoVacio(QWidget& f) { return f.findChild<QLabel*>(QStringLiteral("AvisoVacio"))->isVisible(); }

void clicEnEncabezado(Lib_FrmCons3& f, int c) {
  QTest::mouseClick(f.lista()->header()->viewport(), Qt::LeftButton, {},
                    QPoint(f.lista()->header()->sectionViewportPosition(c) + 5, 5));
}

TEST_F(Consultas, CargaColumnasYBusquedaIncremental) {
  Lib_FrmCons3 f;
  f.SQL = kClientes;
  mostrar(f, [&] {
    EXPECT_EQ(columna(f, 0), (QStringList{"A0", "A01", "A02", "B10", "C5", "O1"}));
    EXPECT_EQ(f.cajasVisibles(), 2);
    EXPECT_EQ(f.cajaBusqueda(1)->toolTip(), QStringLiteral("F5 realiza nueva busqueda"));
    EXPECT_EQ(f.tablaConsulta(), QStringLiteral("VT_CLIENTES"));
    // Boxes stand over their columns.
    EXPECT_EQ(f.cajaBusqueda(1)->x() - f.cajaBusqueda(0)->x(), f.lista()->header()->sectionPosition(1));
    // NOMBRE is defined with 200 characters: the width of 60.
    const int x60 = ui::aTwips(QFontMetrics(f.lista()->font()).horizontalAdvance(QString(60, 'X')));
    EXPECT_EQ(f.anchoColumna(1), x60);
    QTest::keyClicks(f.cajaBusqueda(1), "be");
    EXPECT_EQ(f.filaSeleccionada(), 2);  // Benitez, first in list order of two
    QTest::keyClicks(f.cajaBusqueda(1), "x");
    EXPECT_EQ(f.filaSeleccionada(), 2);  // no match: the selection stays
    EXPECT_EQ(f.Busqueda(1, QStringLiteral(" ber ")), 4);
    EXPECT_EQ(f.Busqueda(0, QString()), 1);
    EXPECT_EQ(f.IndiceColumna(QStringLiteral(" nombre ")), 2);
    EXPECT_EQ(f.IndiceColumna(QStringLiteral("ZONA")), 0);
    QTest::keyClick(f.cajaBusqueda(1), Qt::Key_Escape);  // Escape is Cancelar
  });
  EXPECT_TRUE(f.ValorDevuelto.toText().isEmpty());
  EXPECT_FALSE(f.Valores.has_value());
  EXPECT_FALSE(f.CmpsDevueltos.has_value());
}

TEST_F(Consultas, F5ConYSinLikeDosVeces) {
  for (bool like : {false, true}) {
    Lib_FrmCons3 f;
    f.SQL = kClientes;
    f.CfgUsaConsultaLIKE = like;
    mostrar(f, [&] {
      f.cajaBusqueda(0)->setText(like ? QStringLiteral("A") : QStringLiteral("A*"));
      QTest::keyClick(f.cajaBusqueda(0), Qt::Key_F5);
      const QString p1 = like ? QStringLiteral("'%A%'") : QStringLiteral("'A%%'");
      EXPECT_EQ(f.SQL.toStdString(), (QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES  where CODIGO like ") +
                                      p1 + QStringLiteral(" ORDER BY CODIGO  "))
                                         .toStdString());
      EXPECT_EQ(columna(f, 0), (QStringList{"A0", "A01", "A02"}));
      EXPECT_EQ(f.cajaBusqueda(0)->text(), like ? QStringLiteral("A") : QStringLiteral("A%"));  // what was searched
      EXPECT_FALSE(avisoVacio(f));
      // The second narrows the first.
      f.cajaBusqueda(1)->setText(QStringLiteral("ez"));
      QTest::keyClick(f.cajaBusqueda(1), Qt::Key_F5);
      EXPECT_TRUE(f.SQL.contains(QStringLiteral("'  and NOMBRE like ") +
                                 (like ? QStringLiteral("'%ez%'") : QStringLiteral("'ez%'"))))
          << f.SQL.toStdString();
      if (like)
        EXPECT_EQ(columna(f, 1), (QStringList{"Alvarez", "Benitez"}));
      else
        EXPECT_TRUE(columna(f, 1).isEmpty());
      EXPECT_EQ(avisoVacio(f), !like);  // nothing found says so
      // A new search goes back to the first statement.
      prueba::pulsar(f, QStringLiteral("Nueva Busqueda"));
      EXPECT_EQ(f.modelo().filas(), 6);
      EXPECT_FALSE(avisoVacio(f));
      prueba::pulsar(f, QStringLiteral("Cancelar"));
    });
  }
}

TEST_F(Consultas, F5ConApostrofeEncuentraElNombre) {
  Lib_FrmCons3 f;
  f.SQL = kClientes;
  mostrar(f, [&] {
    f.cajaBusqueda(1)->setText(QStringLiteral("O'Br"));
    QTest::keyClick(f.cajaBusqueda(1), Qt::Key_F5);
    EXPECT_EQ(columna(f, 1), QStringList{QStringLiteral("O'Brien")});
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

TEST_F(Consultas, SentenciaRechazadaVaAlDialogoDeError) {
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT NADA FROM NO_EXISTE");
  prueba::guion().esperarModal([&](QDialog&) {
    EXPECT_EQ(f.modelo().filas(), 0);
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
  // The data-access class reports the rejection, then the load, with the
  // database's own words; the dialog opens empty.
  prueba::responderError(QStringLiteral("Cancelar"), QStringLiteral("AbrirRecordset"));
  QString descripcion;
  prueba::responderError(QStringLiteral("Cancelar"), QStringLiteral("FORM_LOAD"), {}, &descripcion);
  ui::servicio().MostrarModal(f);
  EXPECT_TRUE(descripcion.contains(QStringLiteral("NO_EXISTE"))) << descripcion.toStdString();
}

TEST_F(Consultas, OrdenPorEncabezadoSobreviveALaRecarga) {
  Lib_FrmCons3 f;
  f.SQL = kClientes;  // ORDER BY: the list does not sort by itself
  mostrar(f, [&] {
    clicEnEncabezado(f, 1);
    const QStringList porNombre{"O'Brien", "Castro", "Bermudez", "Benitez", "Arce", "Alvarez"};
    EXPECT_EQ(columna(f, 1), porNombre);
    f.cajaBusqueda(0)->setText(QStringLiteral("A"));
    QTest::keyClick(f.cajaBusqueda(0), Qt::Key_F5);
    EXPECT_EQ(columna(f, 1), (QStringList{"Benitez", "Arce", "Alvarez"}));
    prueba::pulsar(f, QStringLiteral("Nueva Busqueda"));
    EXPECT_EQ(columna(f, 1), porNombre);
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

TEST_F(Consultas, ColumnasCortasMuestranSusValores) {
  base.ejecutar(
      "CREATE TABLE CORTAS (UNEGOCIO CHAR(4), ACTIVO BIT, GRUPO VARCHAR(1));"
      "INSERT INTO CORTAS VALUES ('0001', 1, 'M'), ('0003', 0, 'W')");
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT UNEGOCIO, ACTIVO, GRUPO FROM CORTAS");
  f.CheckBoxes = true;  // the first column has its check box beside the text too
  mostrar(f, [&] {
    const QFontMetrics fm(f.lista()->font());
    const int margen = 2 * (f.lista()->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, f.lista()) + 1);
    const int casilla = f.lista()->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, f.lista());
    for (int c = 0; c < 3; ++c)
      for (int r = 0; r < 2; ++r)
        EXPECT_LE(fm.horizontalAdvance(f.modelo().celda(r, c)) + margen + (c == 0 ? casilla : 0),
                  f.lista()->header()->sectionSize(c))
            << f.modelo().celda(r, c).toStdString();
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

TEST_F(Consultas, TeclasDeCantidad) {
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT IDARTICULO, 1.0 AS [**Cantidad**] FROM VT_MA_ARTICULOS ORDER BY IDARTICULO");
  f.UsaCantidades = true;
  f.CheckBoxes = true;
  mostrar(f, [&] {
    f.seleccionar(0);
    QTest::keyClick(f.lista(), Qt::Key_Delete);
    EXPECT_EQ(f.modelo().celda(0, 1), QStringLiteral("0,00"));
    EXPECT_FALSE(f.modelo().marcada(0));
    QTest::keyClick(f.lista(), Qt::Key_Insert);
    EXPECT_EQ(f.modelo().celda(0, 1), QStringLiteral("1,0"));
    EXPECT_TRUE(f.modelo().marcada(0));
    QTest::keyClick(f.lista(), Qt::Key_Insert);
    EXPECT_EQ(f.modelo().celda(0, 1), QStringLiteral("2,0"));
    prueba::guion().esperarEntrada(QStringLiteral("3.5"), QStringLiteral("Ingrese la Cantidad del Articulo..."),
                                   QStringLiteral("Carga de Datos"));
    f.seleccionar(1);
    QTest::keyClick(f.lista(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(f.modelo().celda(1, 1), QStringLiteral("3,50"));
    EXPECT_TRUE(f.modelo().marcada(1));
    prueba::pulsar(f, QStringLiteral("Aceptar"));
  });
  // Checked rows come back by the first column.
  EXPECT_EQ(f.Valores, (QStringList{"ART1", "ART2"}));
  EXPECT_EQ(f.Cantidades, QStringList{});
}

TEST_F(Consultas, CantidadSinColumnaVaAlDialogoDeError) {
  Lib_FrmCons3 f;
  f.SQL = kClientes;
  f.UsaCantidades = true;
  mostrar(f, [&] {
    f.seleccionar(0);
    prueba::responderError(QStringLiteral("Ignorar"), QStringLiteral("ListView1_KeyDown"));
    QTest::keyClick(f.lista(), Qt::Key_Insert);
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

TEST_F(Consultas, TecleoEnLaListaVaALaCajaDeBusqueda) {
  Lib_FrmCons3 f;
  f.SQL = kClientes;
  mostrar(f, [&] {
    QTest::keyClicks(f.lista(), "b1");
    EXPECT_EQ(f.cajaBusqueda(0)->text(), QStringLiteral("b1"));
    EXPECT_EQ(f.filaSeleccionada(), 3);
    QTest::keyClick(f.lista(), Qt::Key_Backspace);
    EXPECT_EQ(f.cajaBusqueda(0)->text(), QStringLiteral("b"));
    QTest::keyClick(f.lista(), Qt::Key_Return);  // Enter accepts
  });
  EXPECT_FALSE(f.isVisible());
}

TEST_F(Consultas, AceptarSimpleConCmpsDevueltos) {
  Lib_FrmCons3 f;
  f.SQL = kClientes;
  f.CmpsDevueltos = QStringList{"CODIGO", "NOMBRE"};
  mostrar(f, [&] {
    QTest::keyClicks(f.cajaBusqueda(0), "B1");
    prueba::pulsar(f, QStringLiteral("Aceptar"));
  });
  EXPECT_EQ(f.Valores, (QStringList{"B10", "Bermudez"}));
  EXPECT_EQ(f.ValorDevuelto.toText(), QStringLiteral("Bermudez"));

  // A header naming no column repeats the value before it; CampoDevuelto wins.
  Lib_FrmCons3 g;
  g.SQL = kClientes;
  g.CmpsDevueltos = QStringList{"NOMBRE", "ZONA"};
  g.CampoDevuelto = QStringLiteral("codigo");
  mostrar(g, [&] {
    QTest::keyClicks(g.cajaBusqueda(0), "A02");
    prueba::pulsar(g, QStringLiteral("Aceptar"));
  });
  EXPECT_EQ(g.Valores, (QStringList{"Benitez", "Benitez"}));
  EXPECT_EQ(g.ValorDevuelto.toText(), QStringLiteral("A02"));
}

TEST_F(Consultas, ChecksConValoresDefaultYOrdenPorColumna) {
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT NOMBRE, CODIGO FROM VT_CLIENTES");
  f.OrdenarPorLwv = true;
  f.CheckBoxes = true;
  f.CampoDevuelto = QStringLiteral("CODIGO");
  f.ValoresDefault = QStringLiteral("A01,a02");
  mostrar(f, [&] {
    EXPECT_EQ(columna(f, 0), (QStringList{"Alvarez", "Arce", "Benitez", "Bermudez", "Castro", "O'Brien"}));
    QStringList marcadas;
    for (int i = 0; i < f.modelo().filas(); ++i)
      if (f.modelo().marcada(i)) marcadas << f.modelo().celda(i, 1);
    EXPECT_EQ(marcadas, (QStringList{"A01", "A0", "A02"}));  // A0 is a substring
    // A header click sorts by that column, flipping the order.
    clicEnEncabezado(f, 1);
    EXPECT_EQ(columna(f, 1).first(), QStringLiteral("O1"));
    // Space toggles the check of the row clicked, in whatever column.
    QTest::mouseClick(f.lista()->viewport(), Qt::LeftButton, {},
                      f.lista()->visualRect(f.modelo().index(0, 1)).center());
    QTest::keyClick(f.lista(), Qt::Key_Space);
    EXPECT_TRUE(f.modelo().marcada(0));
    prueba::pulsar(f, QStringLiteral("Aceptar"));
  });
  EXPECT_EQ(f.Valores, (QStringList{"O1", "A02", "A01", "A0"}));
}

TEST_F(Consultas, ColoresDeStock) {
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT IDARTICULO, PUNTOPEDIDO, Stock FROM VT_MA_ARTICULOS ORDER BY IDARTICULO");
  f.MuestraStock = QStringLiteral("si");
  f.StkNivel1 = 0x0000FF;
  f.StkNivel2 = 0x00FF00;
  f.StkNivel3 = 0xFF0000;
  f.StkNivel4 = 0x808080;
  mostrar(f, [&] {
    EXPECT_EQ(f.modelo().color(0), 0x808080);  // 10 / 10
    EXPECT_EQ(f.modelo().color(1), 0x00FF00);  // 10 / 11
    EXPECT_EQ(f.modelo().color(2), 0xFF0000);  // 10 / 9
    EXPECT_EQ(f.modelo().color(3), 0x0000FF);  // 0 / 5
    const QModelIndex i = f.modelo().index(3, 2);
    EXPECT_EQ(f.modelo().data(i, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_TRUE(f.modelo().data(i, Qt::FontRole).value<QFont>().bold());
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
  // Without the stock fields, and with a blank level: no colour and no error.
  Lib_FrmCons3 g;
  g.SQL = QStringLiteral("SELECT IDARTICULO FROM VT_MA_ARTICULOS");
  g.MuestraStock = QStringLiteral("SI");
  Lib_FrmCons3 h;
  h.SQL = f.SQL;
  h.MuestraStock = QStringLiteral("SI");
  h.StkNivel4 = QStringLiteral(" ");
  mostrar(g, [&] {
    EXPECT_EQ(g.modelo().color(0), -1);
    prueba::pulsar(g, QStringLiteral("Cancelar"));
  });
  mostrar(h, [&] {
    EXPECT_EQ(h.modelo().color(0), -1);
    prueba::pulsar(h, QStringLiteral("Cancelar"));
  });
}

TEST_F(Consultas, EncabezadosDePreciosDeArticulos) {
  cfg(QStringLiteral("NOM_PCLASE1"), QStringLiteral("Lista"));
  base.ejecutar("CREATE VIEW V_MA_ARTICULOS AS SELECT * FROM VT_MA_ARTICULOS");
  Lib_FrmCons3 f;
  f.SQL = QStringLiteral("SELECT IDARTICULO, PRECIO1 FROM V_MA_ARTICULOS");
  mostrar(f, [&] {
    EXPECT_EQ(f.modelo().encabezado(1), QStringLiteral("Lista"));
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

TEST_F(Consultas, ArchivoDeAnchosConservaOtrasTablas) {
  programa.escribir(QStringLiteral("CONSULTASLEN.QZX"),
                    "\"TA_OTRA\",\"100|200|\"\n\"VT_CLIENTES\",\"1500|3000|\"\n\"TA_MAS\",\"5|\"\n");
  Lib_FrmCons3 f;
  f.SQL = kClientes;
  f.GrabarCfg = true;
  mostrar(f, [&] {
    EXPECT_EQ(f.anchoColumna(0), 1500);
    EXPECT_EQ(f.anchoColumna(1), 3000);
    EXPECT_EQ(f.cajaBusqueda(1)->x() - f.cajaBusqueda(0)->x(), ui::twips(1500));
    f.setAnchoColumna(1, 2250);
    prueba::pulsar(f, QStringLiteral("Aceptar"));
  });
  f.Descargar();
  const QString texto = QString::fromUtf8(programa.leer(QStringLiteral("CONSULTASLEN.QZX")));
  EXPECT_EQ(texto, QStringLiteral("\"TA_OTRA\",\"100|200|\"\n\"TA_MAS\",\"5|\"\n\"VT_CLIENTES\",\"1500|2250|\"\n"));
  EXPECT_FALSE(QFile::exists(programa.archivo(QStringLiteral("CONSULTASLEN.AUX"))));
}

TEST_F(Consultas, VentanaMasGrandeQueLaPantalla) {
  prueba::guion().setPantalla(QSize(300, 200));
  for (int i = 0; i < 20; ++i)
    base.ejecutar(QStringLiteral("INSERT INTO VT_CLIENTES VALUES ('X%1', 'Otro', 1, 0)").arg(i));
  Lib_FrmCons3 f;
  f.SQL = kClientes;
  mostrar(f, [&] {
    QApplication::processEvents();
    EXPECT_EQ(f.anchoVentana(), ui::aTwips(300) - 480);
    EXPECT_TRUE(QRect(0, 0, 300, 200).contains(f.frameGeometry())) << f.frameGeometry().height();
    // The list's own scroll bars, both within the window.
    for (QScrollBar* b : {f.lista()->horizontalScrollBar(), f.lista()->verticalScrollBar()}) {
      ASSERT_TRUE(b->isVisibleTo(&f));
      EXPECT_TRUE(f.rect().contains(QRect(b->mapTo(&f, QPoint()), b->size())));
    }
    // The bar moves the columns and their boxes together.
    f.barra()->setValue(f.barra()->maximum());
    QHeaderView* h = f.lista()->header();
    EXPECT_LT(h->sectionViewportPosition(1), h->sectionPosition(1));
    EXPECT_EQ(f.cajaBusqueda(1)->mapTo(&f, QPoint()).x(),
              f.lista()->viewport()->mapTo(&f, QPoint(h->sectionViewportPosition(1), 0)).x());
    prueba::pulsar(f, QStringLiteral("Cancelar"));
  });
}

}  // namespace
