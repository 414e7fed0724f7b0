// The image list and the checkable keyed tree, as real widgets.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "menu/arbol.h"
#include "menu/lista_imagenes.h"
#include "menu/rt_iconoslst.h"
#include "platform/vb/error.h"
#include "tests/support/numero_error.h"

namespace {

using prueba::numeroDeError;

QIcon icono(const char* nombre) { return Rt_IconosLst::iconoRecurso(QString::fromLatin1(nombre)); }

TEST(ListaImagenes, OrdenTagsTamanoYNoSeVaciaMientrasUnArbolLaUsa) {
  ListaImagenes lista(nullptr, 32);
  EXPECT_EQ(lista.Add(icono("MAESTROS"), QStringLiteral("Maestros")), 1);
  EXPECT_EQ(lista.Add(icono("SALIR"), QStringLiteral("Salir")), 2);
  EXPECT_EQ(lista.Tag(2), QStringLiteral("Salir"));
  EXPECT_EQ(lista.Picture(1).availableSizes().value(0), QSize(32, 32));
  EXPECT_EQ(numeroDeError([&] { lista.Tag(3); }), ListaImagenes::kErrorIndiceFuera);
  EXPECT_EQ(numeroDeError([&] { lista.Add(QIcon(), QStringLiteral("x")); }), vb::kInvalidPicture);
  EXPECT_EQ(numeroDeError([&] { lista.setImageHeight(16); }), ListaImagenes::kErrorLecturaConImagenes);
  EXPECT_EQ(lista.Count(), 2);
  {
    Arbol arbol;
    arbol.setImageList(&lista);
    EXPECT_EQ(numeroDeError([&] { lista.Clear(); }), ListaImagenes::kErrorEnlazada);
    EXPECT_EQ(lista.Count(), 2);
  }
  // The tree is gone, and with it the binding.
  lista.Clear();
  EXPECT_EQ(numeroDeError([&] { lista.setImageWidth(24); }), vb::kInvalidPropertyValue);
  lista.setImageWidth(16);
  EXPECT_EQ(lista.ImageHeight(), 16);
}

class ArbolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lista.Add(icono("MAESTROS"), QStringLiteral("Maestros"));
    lista.Add(icono("STOCK"), QStringLiteral("Stock"));
    arbol.setImageList(&lista);
  }
  // Keys of the rows the view shows under `padre` (the top level when null), in order.
  QStringList clavesVistas(const Nodo* padre) {
    QStringList r;
    const QModelIndex p = padre ? arbol.indice(*padre) : QModelIndex();
    for (int i = 0; i < arbol.model()->rowCount(p); ++i) r << arbol.nodo(arbol.model()->index(i, 0, p))->Key();
    return r;
  }
  int filasVistas(const Nodo* padre) { return arbol.model()->rowCount(padre ? arbol.indice(*padre) : QModelIndex()); }
  // The same keys walked through Child/Next, as the form walks them.
  QStringList clavesEnlazadas(Nodo* primero) {
    QStringList r;
    for (Nodo* n = primero; n; n = n->Next()) r << n->Key();
    return r;
  }
  ListaImagenes lista;
  Arbol arbol;
};

TEST_F(ArbolTest, NodosConClaveUnicaContadosDesdeUno) {
  Nodo& a = arbol.Nodes().Add({}, tvwLast, QStringLiteral("A"), QStringLiteral("Alfa"), 1);
  arbol.Nodes().Add(QStringLiteral("A"), tvwChild, QStringLiteral("A1"), QStringLiteral("Uno"), 2).setTag("P1");
  EXPECT_EQ(arbol.Nodes().Count(), 2);
  EXPECT_EQ(&arbol.Nodes()(1), &a);
  EXPECT_EQ(arbol.Nodes()(2).Key(), QStringLiteral("A1"));
  EXPECT_EQ(arbol.Nodes()(QStringLiteral("A1")).Tag(), QStringLiteral("P1"));
  EXPECT_EQ(arbol.Nodes()(QStringLiteral("A1")).Parent(), &a);
  EXPECT_FALSE(arbol.icono(arbol.Nodes()(QStringLiteral("A1"))).isNull());

  EXPECT_EQ(numeroDeError([&] { arbol.Nodes().Add({}, tvwLast, QStringLiteral("A1"), QStringLiteral("Otro")); }),
            vb::kKeyNotUnique);
  try {
    arbol.Nodes().Add(QStringLiteral("ZZ"), tvwChild, QStringLiteral("B"), QStringLiteral("B"));
    ADD_FAILURE() << "sin error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), vb::kElementNotFound);
    EXPECT_EQ(e.Description(), QStringLiteral("Elemento no encontrado"));
  }
  EXPECT_EQ(numeroDeError([&] { arbol.Nodes().Add({}, tvwLast, QStringLiteral("C"), QString(), 3); }),
            ListaImagenes::kErrorIndiceFuera);
  // No failed Add leaves anything behind, in the collection or in the view.
  EXPECT_EQ(arbol.Nodes().Count(), 2);
  EXPECT_EQ(filasVistas(nullptr), 1);
  EXPECT_EQ(filasVistas(&a), 1);
  EXPECT_FALSE(arbol.Nodes().contiene(QStringLiteral("B")));
  EXPECT_EQ(numeroDeError([&] { arbol.Nodes()(3); }), ListaImagenes::kErrorIndiceFuera);
  EXPECT_EQ(numeroDeError([&] { arbol.Nodes()(QStringLiteral("a1")); }), vb::kElementNotFound);  // keys keep case

  arbol.Nodes().Clear();
  EXPECT_EQ(arbol.Nodes().Count(), 0);
  EXPECT_EQ(filasVistas(nullptr), 0);
  arbol.Nodes().Add({}, tvwLast, QStringLiteral("A"), QStringLiteral("De nuevo"));
}

TEST_F(ArbolTest, RelacionesColocanElNodoYLosEnlacesSiguenAlWidget) {
  Nodo& p = arbol.Nodes().Add({}, tvwLast, QStringLiteral("P"), QStringLiteral("P"));
  arbol.Nodes().Add(QStringLiteral("P"), tvwChild, QStringLiteral("B"), QStringLiteral("B"));
  arbol.Nodes().Add(QStringLiteral("B"), tvwFirst, QStringLiteral("A"), QStringLiteral("A"));
  arbol.Nodes().Add(QStringLiteral("B"), tvwLast, QStringLiteral("D"), QStringLiteral("D"));
  arbol.Nodes().Add(QStringLiteral("B"), tvwNext, QStringLiteral("C"), QStringLiteral("C"));
  arbol.Nodes().Add(QStringLiteral("A"), tvwPrevious, QStringLiteral("0"), QStringLiteral("0"));
  arbol.Nodes().Add(QStringLiteral("P"), tvwNext, QStringLiteral("Q"), QStringLiteral("Q"));
  arbol.Nodes().Add(QStringLiteral("P"), tvwFirst, QStringLiteral("O"), QStringLiteral("O"));

  const QStringList hijos = {"0", "A", "B", "C", "D"};
  EXPECT_EQ(clavesVistas(&p), hijos);
  EXPECT_EQ(clavesEnlazadas(p.Child()), hijos);
  EXPECT_EQ(p.Children(), 5);
  EXPECT_EQ(arbol.Nodes()(QStringLiteral("D")).Previous()->Key(), QStringLiteral("C"));
  EXPECT_EQ(arbol.Nodes()(QStringLiteral("C")).Parent(), &p);
  EXPECT_EQ(clavesVistas(nullptr), QStringList({"O", "P", "Q"}));
  EXPECT_EQ(clavesEnlazadas(&arbol.Nodes()(QStringLiteral("O"))), QStringList({"O", "P", "Q"}));
  // Index stays the order of addition, not the order shown.
  EXPECT_EQ(arbol.Nodes()(QStringLiteral("O")).Index(), 8);
}

TEST_F(ArbolTest, SoloLaMarcaDelUsuarioAvisaYElFormularioPropagaUnNivel) {
  Nodo& p = arbol.Nodes().Add({}, tvwLast, QStringLiteral("P"), QStringLiteral("Padre"));
  arbol.Nodes().Add(QStringLiteral("P"), tvwChild, QStringLiteral("H1"), QStringLiteral("Hijo 1"));
  arbol.Nodes().Add(QStringLiteral("P"), tvwChild, QStringLiteral("H2"), QStringLiteral("Hijo 2"));
  arbol.Nodes().Add(QStringLiteral("H1"), tvwChild, QStringLiteral("N1"), QStringLiteral("Nieto"));
  // What the report form does with the event: one level, to direct children.
  QObject::connect(&arbol, &Arbol::nodeCheck, &arbol, [](Nodo* n) {
    for (Nodo* h = n->Child(); h; h = h->Next()) h->setChecked(n->Checked());
  });
  QSignalSpy avisos(&arbol, &Arbol::nodeCheck);
  arbol.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&arbol));
  p.setExpanded(true);
  arbol.setCurrentIndex(arbol.indice(p));
  // The space bar ticks the current node, as a click on its box does.
  QTest::keyClick(&arbol, Qt::Key_Space);
  ASSERT_TRUE(p.Checked());
  EXPECT_EQ(avisos.count(), 1);
  EXPECT_TRUE(arbol.Nodes()(QStringLiteral("H1")).Checked());
  EXPECT_TRUE(arbol.Nodes()(QStringLiteral("H2")).Checked());
  EXPECT_FALSE(arbol.Nodes()(QStringLiteral("N1")).Checked());

  arbol.marcarTodos(false);
  for (int i = 1; i <= arbol.Nodes().Count(); ++i) EXPECT_FALSE(arbol.Nodes()(i).Checked());
  arbol.marcarTodos(true);
  for (int i = 1; i <= arbol.Nodes().Count(); ++i) EXPECT_TRUE(arbol.Nodes()(i).Checked());
  arbol.Nodes()(QStringLiteral("N1")).setChecked(false);
  EXPECT_EQ(avisos.count(), 1);
  // A change of text is not a check.
  p.setText(QStringLiteral("Otro"));
  EXPECT_EQ(avisos.count(), 1);
}

TEST_F(ArbolTest, SoltarLaListaQuitaLosIconosYVolverLosDevuelve) {
  Nodo& n = arbol.Nodes().Add({}, tvwLast, QStringLiteral("A"), QStringLiteral("A"), 2);
  arbol.setImageList(nullptr);
  EXPECT_TRUE(arbol.model()->data(arbol.indice(n), Qt::DecorationRole).isNull());
  arbol.setImageList(&lista);
  EXPECT_FALSE(arbol.model()->data(arbol.indice(n), Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_EQ(numeroDeError([&] { n.setImage(3); }), ListaImagenes::kErrorIndiceFuera);
}

}  // namespace

TEST_F(ArbolTest, UnaHojaGuardaSuExpansionHastaQueTieneHijos) {
  Nodo& hoja = arbol.Nodes().Add({}, tvwLast, QStringLiteral("P"), QStringLiteral("Padre"));
  hoja.setExpanded(true);
  EXPECT_TRUE(hoja.Expanded());
  EXPECT_FALSE(arbol.isExpanded(arbol.indice(hoja)));  // the view is not told about a leaf
  arbol.Nodes().Add(QStringLiteral("P"), tvwChild, QStringLiteral("H"), QStringLiteral("Hijo"));
  EXPECT_TRUE(arbol.isExpanded(arbol.indice(hoja)));  // its first child makes it expanded in the view
  EXPECT_TRUE(hoja.Expanded());
  hoja.setExpanded(false);
  EXPECT_FALSE(arbol.isExpanded(arbol.indice(hoja)));
  Nodo& otra = arbol.Nodes().Add({}, tvwLast, QStringLiteral("Q"), QStringLiteral("Otra"));
  arbol.Nodes().Add(QStringLiteral("Q"), tvwChild, QStringLiteral("Q1"), QStringLiteral("Hijo"));
  EXPECT_FALSE(otra.Expanded());
  // Collapsing from the view is what the node reports.
  otra.setExpanded(true);
  arbol.collapse(arbol.indice(otra));
  EXPECT_FALSE(otra.Expanded());
}

TEST_F(ArbolTest, UnaCargaMuestraLosNodosAlTerminarConSuLugarYSuExpansion) {
  Nodo& antes = arbol.Nodes().Add({}, tvwLast, QStringLiteral("B"), QStringLiteral("Antes"));
  {
    Arbol::Carga carga(arbol);
    Nodo& a = arbol.Nodes().Add(QStringLiteral("B"), tvwFirst, QStringLiteral("A"), QStringLiteral("Primero"), 1);
    a.setExpanded(true);
    arbol.Nodes().Add(QStringLiteral("A"), tvwChild, QStringLiteral("A1"), QStringLiteral("Hijo"));
    arbol.Nodes().Add(QStringLiteral("B"), tvwNext, QStringLiteral("C"), QStringLiteral("Luego"));
    arbol.Nodes().Add(QStringLiteral("B"), tvwChild, QStringLiteral("B1"), QStringLiteral("Hijo de B"));
    // Keys and links are there during the load.
    EXPECT_EQ(arbol.Nodes()(QStringLiteral("A1")).Parent(), &a);
    EXPECT_EQ(clavesEnlazadas(&a), QStringList({"A", "B", "C"}));
  }
  EXPECT_EQ(clavesVistas(nullptr), QStringList({"A", "B", "C"}));
  EXPECT_EQ(clavesVistas(&arbol.Nodes()(QStringLiteral("A"))), QStringList({"A1"}));
  EXPECT_TRUE(arbol.isExpanded(arbol.indice(arbol.Nodes()(QStringLiteral("A")))));
  EXPECT_FALSE(arbol.isExpanded(arbol.indice(antes)));
  EXPECT_EQ(arbol.nodo(arbol.indice(arbol.Nodes()(QStringLiteral("B1")))), &arbol.Nodes()(QStringLiteral("B1")));
}

TEST_F(ArbolTest, MilesDeClavesSeEncuentranYLosTextosDeUnNodoNoSeMezclan) {
  for (int i = 0; i < 3000; ++i)
    arbol.Nodes()
        .Add({}, tvwLast, QStringLiteral("K%1").arg(i), QStringLiteral("Texto %1").arg(i))
        .setTag(QStringLiteral("T%1").arg(i));
  for (int i = 0; i < 3000; i += 7) {
    const Nodo& n = arbol.Nodes()(QStringLiteral("K%1").arg(i));
    EXPECT_EQ(n.Index(), i + 1);
    EXPECT_EQ(n.Text(), QStringLiteral("Texto %1").arg(i));
    EXPECT_EQ(n.Tag(), QStringLiteral("T%1").arg(i));
  }
  EXPECT_FALSE(arbol.Nodes().contiene(QStringLiteral("K3000")));
  EXPECT_EQ(numeroDeError([&] { arbol.Nodes().Add({}, tvwLast, QStringLiteral("K2999")); }), vb::kKeyNotUnique);
  Nodo& n = arbol.Nodes()(QStringLiteral("K10"));
  n.setText(QStringLiteral("Otro texto más largo"));
  n.setTag(QString());
  EXPECT_EQ(n.Key(), QStringLiteral("K10"));
  EXPECT_EQ(n.Text(), QStringLiteral("Otro texto más largo"));
  EXPECT_TRUE(n.Tag().isEmpty());
  EXPECT_EQ(arbol.model()->data(arbol.indice(n)).toString(), QStringLiteral("Otro texto más largo"));
  arbol.Nodes().Clear();
  EXPECT_FALSE(arbol.Nodes().contiene(QStringLiteral("K10")));
  arbol.Nodes().Add({}, tvwLast, QStringLiteral("K10"), QStringLiteral("De nuevo"));
  EXPECT_EQ(arbol.Nodes()(QStringLiteral("K10")).Index(), 1);
}
