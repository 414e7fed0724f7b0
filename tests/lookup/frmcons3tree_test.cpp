// The tree dialog: parents by longest prefix, check propagation, search, F5
// and the translation of the chosen codes.
#include <QLabel>
#include <QTreeWidget>

#include "lookup/lib_frmcons3tree.h"
#include "tests/lookup/apoyo.h"

using prueba::Consultas;

namespace {

const QString kPlan = QStringLiteral("SELECT CODIGO, DESCRIPCION FROM PLAN ORDER BY CODIGO");

QString padre(Lib_FrmCons3Tree& t, const QString& codigo) {
  QTreeWidgetItem* n = t.nodo(codigo);
  if (!n) return QStringLiteral("<ninguno>");
  return n->parent() ? n->parent()->data(0, Qt::UserRole).toString() : QStringLiteral("<raiz>");
}

TEST_F(Consultas, ArbolPorPrefijoMasLargo) {
  base.ejecutar("INSERT INTO PLAN VALUES ('1', 'Activo'), ('11', 'Caja'), ('111', 'Caja chica'), ('12', 'Bancos')");
  Lib_FrmCons3Tree t;
  t.SQL = kPlan;
  mostrar(t, [&] {
    EXPECT_EQ(t.arbol()->topLevelItem(0)->text(0), QStringLiteral("Consulta..."));
    EXPECT_EQ(padre(t, "1"), QStringLiteral("A"));
    EXPECT_EQ(padre(t, "11"), QStringLiteral("A1"));
    EXPECT_EQ(padre(t, "12"), QStringLiteral("A1"));
    EXPECT_EQ(padre(t, "111"), QStringLiteral("A11"));
    EXPECT_EQ(t.nodo("111")->text(0), QStringLiteral("111 - Caja chica"));
    QTest::keyClicks(t.cajaBusqueda(), "caj");
    EXPECT_EQ(t.arbol()->currentItem(), t.nodo("11"));
    QTest::keyClick(t.cajaBusqueda(), Qt::Key_Down);
    EXPECT_TRUE(t.arbol()->hasFocus());
    QTest::keyClick(t.arbol(), Qt::Key_Escape);  // Escape is Cancelar
  });
  EXPECT_FALSE(t.isVisible());
  EXPECT_FALSE(t.Valores.has_value());
  EXPECT_TRUE(t.ValorDevuelto.toText().isEmpty());
}

TEST_F(Consultas, ArbolPadreQueLlegaDespues) {
  base.ejecutar("INSERT INTO PLAN VALUES ('2', 'Pasivo'), ('211', 'Nieto'), ('21', 'Hijo'), ('2111', 'Bisnieto')");
  Lib_FrmCons3Tree t;
  t.SQL = QStringLiteral("SELECT CODIGO, DESCRIPCION FROM PLAN");
  mostrar(t, [&] {
    EXPECT_EQ(padre(t, "211"), QStringLiteral("A2"));  // 21 was not there yet
    EXPECT_EQ(padre(t, "2111"), QStringLiteral("A211"));
    prueba::pulsar(t, QStringLiteral("Cancelar"));
  });
}

// Searches and checks go by the order the rows came in, not the tree's:
// 1, 2, 11 gives 1, 2, 11 (the tree reads 1, 11, 2).
TEST_F(Consultas, ArbolEnElOrdenDeLasFilas) {
  base.ejecutar("INSERT INTO PLAN VALUES ('1', 'Activo'), ('2', 'Caja'), ('11', 'Caja chica')");
  Lib_FrmCons3Tree t;
  t.SQL = QStringLiteral("SELECT CODIGO, DESCRIPCION FROM PLAN");
  t.CheckBoxes = true;
  t.CampoDevuelto = QStringLiteral("CODIGO");
  mostrar(t, [&] {
    QTest::keyClicks(t.cajaBusqueda(), "caj");
    EXPECT_EQ(t.arbol()->currentItem(), t.nodo("2"));
    t.nodo("1")->setCheckState(0, Qt::Checked);  // and 11 below it
    t.nodo("2")->setCheckState(0, Qt::Checked);
    prueba::pulsar(t, QStringLiteral("Aceptar"));
  });
  EXPECT_EQ(t.Valores, (QStringList{"1", "2", "11"}));
}

TEST_F(Consultas, ChecksBajanSeisNiveles) {
  base.ejecutar(
      "INSERT INTO PLAN VALUES ('1','a'),('12','b'),('123','c'),('1234','d'),('12345','e'),"
      "('123456','f'),('1234567','g'),('12345678','h')");
  Lib_FrmCons3Tree t;
  t.SQL = kPlan;
  t.CheckBoxes = true;
  t.CampoDevuelto = QStringLiteral("codigo");
  mostrar(t, [&] {
    t.nodo("1")->setCheckState(0, Qt::Checked);
    for (const char* c : {"12", "123", "1234", "12345", "123456", "1234567"})
      EXPECT_EQ(t.nodo(c)->checkState(0), Qt::Checked) << c;
    EXPECT_EQ(t.nodo("12345678")->checkState(0), Qt::Unchecked);  // seven levels below
    t.nodo("123456")->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(t.nodo("1234567")->checkState(0), Qt::Unchecked);
    prueba::pulsar(t, QStringLiteral("Aceptar"));
  });
  EXPECT_EQ(t.Valores, (QStringList{"1", "12", "123", "1234", "12345"}));
}

TEST_F(Consultas, AceptarTraduceLosCodigos) {
  base.ejecutar(
      "INSERT INTO PLAN VALUES ('1', 'Activo'), ('11', 'Caja'), ('12', 'Bancos');"
      "INSERT INTO TA_CCOSTO VALUES ('11', 'Caja');"
      "INSERT INTO MA_CUENTAS VALUES ('12', 'Bancos');"
      "INSERT INTO MA_POSICIONES VALUES ('11', 'Pos once')");
  auto elegir = [&](const QString& campo, const QString& codigo, bool checks = false) {
    Lib_FrmCons3Tree t;
    t.SQL = kPlan;
    t.CampoDevuelto = campo;
    t.CheckBoxes = checks;
    mostrar(t, [&] {
      QTreeWidgetItem* n = codigo.isEmpty() ? t.arbol()->topLevelItem(0) : t.nodo(codigo);
      if (checks) {
        t.nodo("11")->setCheckState(0, Qt::Checked);
        t.nodo("12")->setCheckState(0, Qt::Checked);
      }
      t.arbol()->setCurrentItem(n);
      prueba::pulsar(t, QStringLiteral("Aceptar"));
    });
    return std::make_pair(t.ValorDevuelto.toText(), t.Valores.value_or(QStringList{QStringLiteral("<nada>")}));
  };
  EXPECT_EQ(elegir("CODIGO", "11").first, QStringLiteral("11"));  // from TA_CCOSTO
  EXPECT_EQ(elegir("CODIGO", "12").first, QStringLiteral("12"));  // from MA_CUENTAS
  EXPECT_EQ(elegir("CODIGO", "1").first, QString());              // in neither
  EXPECT_EQ(elegir("CODIGO", "").first, QString());               // the root
  EXPECT_EQ(elegir("IDPOSICION", "11").first, QStringLiteral("11"));
  EXPECT_EQ(elegir("DESCRIPCION", "11").first, QString());  // other fields: left unset
  EXPECT_EQ(elegir("IDPOSICION", "", true).second, QStringList{QStringLiteral("11")});
  EXPECT_EQ(elegir("NOMBRE", "", true).second, QStringList{});
}

TEST_F(Consultas, ArbolF5BuscaEnLaDescripcion) {
  base.ejecutar("INSERT INTO PLAN VALUES ('1', 'Activo'), ('11', 'Caja'), ('111', 'Caja O''Brien'), ('12', 'Bancos')");
  Lib_FrmCons3Tree t;
  t.SQL = QStringLiteral("SELECT CODIGO, DESCRIPCION FROM PLAN");
  auto avisoVacio = [&] { return t.findChild<QLabel*>(QStringLiteral("AvisoVacio"))->isVisible(); };
  mostrar(t, [&] {
    t.cajaBusqueda()->setText(QStringLiteral("aja"));
    QTest::keyClick(t.cajaBusqueda(), Qt::Key_Return);  // Enter searches as F5 does
    EXPECT_EQ(t.SQL, QStringLiteral("SELECT CODIGO, DESCRIPCION FROM PLAN where Descripcion like '%aja%' "));
    EXPECT_EQ(t.cajaBusqueda()->text(), QStringLiteral("aja"));  // what was searched stays in view
    EXPECT_NE(t.nodo("11"), nullptr);
    EXPECT_EQ(t.nodo("12"), nullptr);
    EXPECT_FALSE(avisoVacio());
    t.cajaBusqueda()->setText(QStringLiteral("O'B"));
    QTest::keyClick(t.cajaBusqueda(), Qt::Key_F5);
    EXPECT_EQ(t.nodo("11"), nullptr);
    EXPECT_NE(t.nodo("111"), nullptr);
    t.cajaBusqueda()->setText(QStringLiteral("zzz"));
    QTest::keyClick(t.cajaBusqueda(), Qt::Key_F5);
    EXPECT_TRUE(avisoVacio());  // nothing found says so
    // Nueva Busqueda rebuilds from the statement of the last F5.
    prueba::pulsar(t, QStringLiteral("Nueva Busqueda"));
    EXPECT_EQ(t.nodo("11"), nullptr);
    prueba::pulsar(t, QStringLiteral("Cancelar"));
  });
}

}  // namespace
