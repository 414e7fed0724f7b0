// The rows behind the list: the prefix search, linear or binary after a
// sort, must find what a plain walk of the list finds.
#include <gtest/gtest.h>

#include <QStringList>
#include <random>

#include "lookup/lib_frmcons3.h"

namespace {

// The first row in list order whose trimmed cell begins with the trimmed
// text, ignoring case, walked one by one.
int aMano(const ModeloConsulta& m, int columna, const QString& valor) {
  const QString v = valor.trimmed();
  for (int i = 0; i < m.filas(); ++i)
    if (m.celda(i, columna).trimmed().startsWith(v, Qt::CaseInsensitive)) return i;
  return -1;
}

TEST(ModeloConsulta, BusquedaIgualALaDeRecorrerLaLista) {
  ModeloConsulta m;
  m.reiniciar({QStringLiteral("CODIGO"), QStringLiteral("NOMBRE")});
  std::mt19937 azar(7);
  const QStringList silabas = {"ca", "Ca", "ÑA", "ña", "ó", "Ó", "b", "B", " ", "ba", "z", "1", "10", "𝔸"};
  QStringList buscados = {"", "c", "CA", "ña", "Ñ", "ó", "  ba ", "z", "1", "10", "x", "𝔸", "CAC"};
  for (int i = 0; i < 3000; ++i) {
    QString nombre;
    const int n = 1 + static_cast<int>(azar() % 4);
    for (int k = 0; k < n; ++k) nombre += silabas[static_cast<int>(azar() % silabas.size())];
    if (i % 97 == 0) nombre = QStringLiteral("  ") + nombre;  // a cell not trimmed
    m.agregar(QStringList{QString::number(azar() % 500), nombre}, false);
    if (i % 300 == 0) buscados << nombre.left(3);
  }
  m.terminarCarga();
  auto comprobar = [&](const char* como) {
    for (int c = 0; c < 2; ++c)
      for (const QString& b : buscados)
        ASSERT_EQ(m.buscar(c, b), aMano(m, c, b)) << como << " " << c << " [" << b.toStdString() << "]";
  };
  comprobar("sin ordenar");
  m.ordenar(1, Qt::AscendingOrder);
  comprobar("ascendente");
  for (int i = 1; i < m.filas(); ++i)
    ASSERT_LE(m.celda(i - 1, 1).trimmed().toCaseFolded(), m.celda(i, 1).trimmed().toCaseFolded());
  m.ordenar(1, Qt::DescendingOrder);
  comprobar("descendente");
  // A cell changed after the sort: the list keeps its order, and the search
  // still finds the first row as listed.
  m.setCelda(5, 1, QStringLiteral("aaa cambiado"));
  m.setCelda(m.filas() - 3, 1, QStringLiteral("zzz cambiado"));
  buscados << QStringLiteral("aaa") << QStringLiteral("zzz");
  comprobar("cambiada");
  EXPECT_EQ(m.buscar(1, QStringLiteral("AAA")), 5);
  m.ordenar(0, Qt::AscendingOrder);
  comprobar("por codigo");
  EXPECT_EQ(m.buscar(2, QStringLiteral("a")), -1);  // no such column
}

TEST(ModeloConsulta, OrdenarConservaMarcasColoresYSeleccion) {
  ModeloConsulta m;
  m.reiniciar({QStringLiteral("A")});
  m.setCheckable(true);
  m.agregar(QStringList{QStringLiteral("c")}, true, 0x0000FF);
  m.agregar(QStringList{QStringLiteral("a")}, false);
  m.agregar(QStringList{QStringLiteral("B")}, true, 0x00FF00);
  m.terminarCarga();
  const QPersistentModelIndex c = m.index(0, 0);
  m.ordenar(0, Qt::AscendingOrder);
  EXPECT_EQ(m.celda(0, 0), QStringLiteral("a"));
  EXPECT_EQ(m.celda(1, 0), QStringLiteral("B"));
  EXPECT_TRUE(m.marcada(1));
  EXPECT_EQ(m.color(1), 0x00FF00);
  EXPECT_EQ(m.color(0), -1);
  EXPECT_EQ(c.row(), 2);  // the view's selection follows its row
  EXPECT_EQ(m.data(m.index(2, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
}

}  // namespace
