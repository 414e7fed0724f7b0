// The users report form, loaded on a real database and driven offscreen as
// a person drives it: keys, clicks and focus.
#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <cstring>

#include "menu/rt_iconoslst.h"
#include "services/sesion.h"
#include "suite/estacion.h"
#include "suite/tbarrep.h"
#include "suite/util_general.h"
#include "tests/report/form_apoyo.h"

namespace {

using prueba::FormPrueba;

QStringList entradas(const QListWidget& l) {
  QStringList r;
  for (int i = 0; i < l.count(); ++i) r << l.item(i)->text();
  return r;
}

QList<int> seleccionadas(const QListWidget& l) {
  QList<int> r;
  for (int i = 0; i < l.count(); ++i)
    if (l.item(i)->isSelected()) r << i;
  return r;
}

QImage imagen(const QIcon& i) { return i.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32); }

TEST_F(FormPrueba, LaCargaArmaLaVentanaDesdeLaBase) {
  cargar();
  EXPECT_EQ(form->objectName(), QStringLiteral("frmRp_Usuarios"));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Reporte de Usuarios"));
  // By code; the Null code is left out; a short code is padded to four.
  EXPECT_EQ(entradas(*form->LstUNeg()),
            QStringList({"0001 - Casa Central", "0002 - ", "0003 - Depósito", "7    - Sucursal"}));
  EXPECT_EQ(form->LstUNeg()->selectionMode(), QAbstractItemView::MultiSelection);
  // The enabled ZEPA tasks, with the suite's icons.
  Arbol& t = *form->TreeView1();
  ASSERT_EQ(t.Nodes().Count(), 6);
  EXPECT_EQ(t.Nodes()(3).Key(), QStringLiteral("D101010"));
  EXPECT_EQ(t.Nodes()(QStringLiteral("D1020")).Image(), 13);  // "ReporteUsuarios"
  EXPECT_TRUE(t.Nodes()(QStringLiteral("D10")).Expanded());
  // Tab 0 in front, tasks unavailable, grouping by user group.
  EXPECT_EQ(form->SSTab1()->currentIndex(), 0);
  EXPECT_EQ(form->SSTab1()->tabText(0), QStringLiteral("U.Negocio"));
  EXPECT_EQ(form->SSTab1()->tabText(1), QStringLiteral("Tareas"));
  EXPECT_FALSE(form->SSTab1()->isTabEnabled(1));
  EXPECT_TRUE(form->OptTipoReporte(0)->isChecked());
  EXPECT_EQ(form->OptTipoReporte(2)->text(), QStringLiteral("Tareas del Menú"));
  EXPECT_FALSE(form->TBarRep1()->HabilitaConsulta());
  // The suite look and the library's list of open forms.
  EXPECT_EQ(imagen(form->windowIcon()), imagen(Rt_IconosLst::iconoRecurso(QStringLiteral("ICONKORVANE"))));
  EXPECT_TRUE(ZepaKit2::util().FormsAbiertos().contains(form.get()));
  EXPECT_TRUE(prueba::guion().mostradas().empty());
}

TEST_F(FormPrueba, SinEstiloEnElIniLaBarraQuedaPlanaConCeroEnLaEstacion) {
  const QString seccion =
      ZepaKit2::estacion().Identidad1().toUpper() + QStringLiteral("|") + ZepaKit2::estacion().Identidad2().toUpper();
  base.agregarIni(QStringLiteral("[") + seccion + QStringLiteral("]\nFlatToolbars=0"));
  cargar();
  EXPECT_EQ(form->TBarRep1()->StyleBar(), 0);
  EXPECT_TRUE(form->TBarRep1()->boton(ToolsRep::TBarRep::kPantalla)->autoRaise());
}

TEST_F(FormPrueba, EnterEnDesdeCopiaEnHastaYLoSelecciona) {
  cargar();
  mostrar();
  QLineEdit* desde = form->txtfields(14);
  QLineEdit* hasta = form->txtfields(15);
  desde->setFocus();
  QTest::keyClicks(desde, QStringLiteral("ana"));
  QTest::keyClick(desde, Qt::Key_Return);
  EXPECT_EQ(hasta->text(), QStringLiteral("ana"));
  EXPECT_EQ(hasta->selectedText(), QStringLiteral("ana"));
  EXPECT_EQ(hasta->selectionStart(), 0);
  EXPECT_EQ(QApplication::focusWidget(), hasta);  // Enter moves on, as Tab does

  // Enter in "Usuario Hasta" copies nothing anywhere.
  QTest::keyClicks(hasta, QStringLiteral("zeta"));
  EXPECT_EQ(hasta->text(), QStringLiteral("zeta"));
  QTest::keyClick(hasta, Qt::Key_Return);
  EXPECT_EQ(desde->text(), QStringLiteral("ana"));
  EXPECT_EQ(hasta->text(), QStringLiteral("zeta"));
}

TEST_F(FormPrueba, ElFocoPintaConLosColoresDeLaSesionYAlSalirBlancoYNegro) {
  cargar();
  // After the load, which set them from the configuration.
  auto& s = ModGlobal::sesion();
  s.gColorFondoFoco = 0x00FFFF;  // &HBBGGRR: yellow
  s.gColorLetraFoco = 0xFF0000;  // blue
  mostrar();
  QLineEdit* desde = form->txtfields(14);
  QLineEdit* hasta = form->txtfields(15);
  // The first field of the tab order has the focus when the window opens.
  ASSERT_EQ(QApplication::focusWidget(), desde);
  EXPECT_EQ(desde->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_EQ(desde->palette().color(QPalette::Text), QColor(0, 0, 255));
  EXPECT_EQ(form->IndiceActual(), 14);
  // Tab order: "Desde", then "Hasta".
  QTest::keyClick(desde, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), hasta);
  EXPECT_EQ(form->IndiceActual(), 15);
  EXPECT_EQ(hasta->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_EQ(desde->palette().color(QPalette::Base), QColor(Qt::white));
  EXPECT_EQ(desde->palette().color(QPalette::Text), QColor(Qt::black));
  // The fields carry no tag: the lookup stays off and a right click does nothing.
  EXPECT_FALSE(form->TBarRep1()->HabilitaConsulta());
  desde->setText(QStringLiteral("ana"));
  QTest::mouseClick(desde, Qt::RightButton);
  EXPECT_EQ(form->IndiceActual(), 14);
  EXPECT_EQ(desde->text(), QStringLiteral("ana"));
  EXPECT_TRUE(motor->pedidos.empty());
}

TEST_F(FormPrueba, LasPestanasSiguenAlAgrupamiento) {
  cargar();
  mostrar();
  QTabWidget* tab = form->SSTab1();
  QTest::mouseClick(form->OptTipoReporte(2), Qt::LeftButton);
  EXPECT_TRUE(tab->isTabEnabled(1));
  EXPECT_EQ(tab->currentIndex(), 0);  // available, not brought to the front
  tab->setCurrentIndex(1);
  QTest::mouseClick(form->OptTipoReporte(1), Qt::LeftButton);
  EXPECT_FALSE(tab->isTabEnabled(1));
  EXPECT_EQ(tab->currentIndex(), 0);
  QTest::mouseClick(form->OptTipoReporte(2), Qt::LeftButton);
  EXPECT_TRUE(tab->isTabEnabled(1));
  EXPECT_EQ(tab->currentIndex(), 0);
  QTest::mouseClick(form->OptTipoReporte(0), Qt::LeftButton);
  EXPECT_FALSE(tab->isTabEnabled(1));
}

TEST_F(FormPrueba, MarcarUnNodoMarcaSoloASusHijos) {
  cargar();
  mostrar();
  Arbol& t = *form->TreeView1();
  Nodo& raiz = t.Nodes()(QStringLiteral("D10"));
  // The user ticks the node: space on the current node, as the view takes it.
  form->SSTab1()->setTabEnabled(1, true);
  form->SSTab1()->setCurrentIndex(1);
  t.setFocus();
  t.setCurrentIndex(t.indice(raiz));
  QTest::keyClick(t.viewport(), Qt::Key_Space);
  ASSERT_TRUE(raiz.Checked());
  EXPECT_TRUE(t.Nodes()(QStringLiteral("D1010")).Checked());
  EXPECT_TRUE(t.Nodes()(QStringLiteral("D1020")).Checked());
  EXPECT_FALSE(t.Nodes()(QStringLiteral("D101010")).Checked());  // a grandchild keeps its state
  EXPECT_FALSE(t.Nodes()(QStringLiteral("D2010")).Checked());
  // A grandchild ticked by hand stays ticked when its grandparent is cleared.
  // (through the model, as a click on the box sets it)
  t.model()->setData(t.indice(t.Nodes()(QStringLiteral("D101010"))), Qt::Checked, Qt::CheckStateRole);
  t.model()->setData(t.indice(raiz), Qt::Unchecked, Qt::CheckStateRole);
  EXPECT_FALSE(t.Nodes()(QStringLiteral("D1010")).Checked());
  EXPECT_FALSE(t.Nodes()(QStringLiteral("D1020")).Checked());
  EXPECT_TRUE(t.Nodes()(QStringLiteral("D101010")).Checked());

  // "+" and "-" tick and clear every node, at every level.
  QTest::mouseClick(form->findChild<QAbstractButton*>(QStringLiteral("cmdTodo2")), Qt::LeftButton);
  for (int i = 1; i <= t.Nodes().Count(); ++i) EXPECT_TRUE(t.Nodes()(i).Checked()) << i;
  QTest::mouseClick(form->findChild<QAbstractButton*>(QStringLiteral("cmdNada2")), Qt::LeftButton);
  for (int i = 1; i <= t.Nodes().Count(); ++i) EXPECT_FALSE(t.Nodes()(i).Checked()) << i;
}

TEST_F(FormPrueba, MasYMenosSeleccionanTodoSinMoverLaEntradaActual) {
  cargar();
  mostrar();
  QListWidget* l = form->LstUNeg();
  auto* todo = form->findChild<QAbstractButton*>(QStringLiteral("cmdTodo"));
  auto* nada = form->findChild<QAbstractButton*>(QStringLiteral("cmdNada"));
  ASSERT_TRUE(todo && nada);
  EXPECT_EQ(todo->text(), QStringLiteral("+"));
  EXPECT_EQ(todo->toolTip(), QStringLiteral("Seleccionar Todo"));
  EXPECT_EQ(nada->toolTip(), QStringLiteral("Deseleccionar Todo"));
  l->setCurrentRow(2);
  l->item(2)->setSelected(false);
  QTest::mouseClick(todo, Qt::LeftButton);
  EXPECT_EQ(seleccionadas(*l), QList<int>({0, 1, 2, 3}));
  EXPECT_EQ(l->currentRow(), 2);
  QTest::mouseClick(nada, Qt::LeftButton);
  EXPECT_TRUE(seleccionadas(*l).isEmpty());
  EXPECT_EQ(l->currentRow(), 2);
}

class FormSinUnidades : public FormPrueba {
 protected:
  FormSinUnidades() : FormPrueba(false) {}
};

TEST_F(FormSinUnidades, ListaVaciaYLosBotonesNoHacenNada) {
  cargar();
  mostrar();
  EXPECT_EQ(form->LstUNeg()->count(), 0);
  QTest::mouseClick(form->findChild<QAbstractButton*>(QStringLiteral("cmdTodo")), Qt::LeftButton);
  QTest::mouseClick(form->findChild<QAbstractButton*>(QStringLiteral("cmdNada")), Qt::LeftButton);
  EXPECT_EQ(form->LstUNeg()->count(), 0);
  EXPECT_EQ(form->LstUNeg()->currentRow(), -1);
  // And the request has no unit condition.
  ASSERT_TRUE(form->TBarRep1_BotonPulsado(QStringLiteral("PANTALLA")));
  ASSERT_EQ(motor->pedidos.size(), 1u);
  EXPECT_EQ(motor->pedidos[0].formulaSeleccion, QStringLiteral("{Ta_usuarios.esgrupo}=FALSE"));
}

TEST_F(FormPrueba, TeclasDeLaBarraDesdeLosCamposDeUsuario) {
  cargar();
  mostrar();
  QLineEdit* desde = form->txtfields(14);
  desde->setFocus();
  // F5 in a user-name field is the screen button.
  QTest::keyClick(desde, Qt::Key_F5);
  ASSERT_EQ(motor->pedidos.size(), 1u);
  EXPECT_EQ(motor->pedidos[0].destino, ZepaKit2::Lanzador::DestinoPantalla());
  // Down moves to the next field and types nothing.
  QTest::keyClick(desde, Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), form->txtfields(15));
  EXPECT_TRUE(desde->text().isEmpty());
  // Esc closes the form, which ends the program.
  QTest::keyClick(form->txtfields(15), Qt::Key_Escape);
  EXPECT_TRUE(prueba::guion().terminado());
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(ZepaKit2::util().FormsAbiertos().contains(form.get()));
}

TEST_F(FormPrueba, CerrarLaVentanaTerminaElPrograma) {
  cargar();
  mostrar();
  form->close();
  EXPECT_TRUE(prueba::guion().terminado());
  EXPECT_FALSE(form->isVisible());
}

}  // namespace

namespace {

// At its natural size every control shows whole, inside the window and
// clear of the others. KV_CAPTURA names a folder for a picture of it.
TEST_F(FormPrueba, ALaMedidaNaturalTodoSeVe) {
  cargar();
  form->LstUNeg()->item(0)->setSelected(true);
  mostrar();
  QApplication::processEvents();
  const QRect ventana = form->rect();
  EXPECT_GE(ventana.width(), form->minimumSizeHint().width());
  std::vector<QWidget*> controles{form->TBarRep1(), form->txtfields(14), form->txtfields(15), form->SSTab1()};
  for (int i = 0; i < 3; ++i) controles.push_back(form->OptTipoReporte(i));
  for (const char* n : {"Label1(0)", "Label1(1)", "Frame4", "frmUneg", "cmdTodo", "cmdNada"})
    controles.push_back(form->findChild<QWidget*>(QString::fromLatin1(n)));
  auto zona = [&](const QWidget* w) { return QRect(w->mapTo(form.get(), QPoint(0, 0)), w->size()); };
  for (QWidget* w : controles) {
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_TRUE(ventana.contains(zona(w))) << w->objectName().toStdString();
    EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
  }
  auto separados = [&](const char* a, const char* b) {
    const QRect ra = zona(form->findChild<QWidget*>(QString::fromLatin1(a)));
    const QRect rb = zona(form->findChild<QWidget*>(QString::fromLatin1(b)));
    EXPECT_FALSE(ra.intersects(rb)) << a << " / " << b;
  };
  for (const char* a : {"txtfields(14)", "txtfields(15)", "Label1(0)", "Label1(1)", "Frame4", "SSTab1"})
    for (const char* b : {"txtfields(14)", "txtfields(15)", "Label1(0)", "Label1(1)", "Frame4", "SSTab1", "TBarRep1"})
      if (std::strcmp(a, b) != 0) separados(a, b);
  const QString carpeta = qEnvironmentVariable("KV_CAPTURA");
  if (carpeta.isEmpty()) return;
  form->grab().save(QDir(carpeta).filePath(QStringLiteral("frmRp_Usuarios.png")), "PNG");
  QTest::mouseClick(form->OptTipoReporte(2), Qt::LeftButton);
  form->SSTab1()->setCurrentIndex(1);
  form->TreeView1()->Nodes()(QStringLiteral("D1010")).setChecked(true);
  QApplication::processEvents();
  form->grab().save(QDir(carpeta).filePath(QStringLiteral("frmRp_Usuarios_tareas.png")), "PNG");
}

}  // namespace
