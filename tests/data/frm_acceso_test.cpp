// The access dialog, driven offscreen as a person would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "data/frm_acceso.h"
#include "platform/ui/servicio.h"
#include "tests/support/guion_ui.h"

namespace {

// Shows the dialog through the UI service, as the caller does, with a script.
void mostrar(frmAcceso& f, prueba::GuionUi::Guion guion) {
  prueba::guion().esperarModal(std::move(guion), QStringLiteral("frmAcceso"));
  f.Load();
  ui::servicio().MostrarModal(f);
  f.Unload();
}

}  // namespace

TEST(Acceso, ControlesYTextos) {
  frmAcceso& f = accesoDialogo();
  EXPECT_EQ(f.windowTitle(), "Control de Acceso");
  EXPECT_EQ(f.lbUsuario->text(), "&Usuario");
  EXPECT_EQ(f.lbcontrasena->text(), "&Contraseña");
  EXPECT_EQ(f.Label1->text(), "&Base de Datos");
  EXPECT_EQ(f.Label2->text(), "&Servidor");
  ASSERT_EQ(f.CboPlataformaDB->count(), 2);
  EXPECT_EQ(f.CboPlataformaDB->itemText(0), "SQL Server");
  EXPECT_EQ(f.CboPlataformaDB->itemText(1), "ORACLE");
  EXPECT_EQ(f.bcAceptar->text(), "Aceptar");
  EXPECT_EQ(f.bcCancelar->text(), "Cancelar");
  EXPECT_TRUE(f.bcAceptar->isDefault());
  EXPECT_FALSE(f.Aceptar);
  // Tab order as the form lays it out.
  const std::vector<QWidget*> orden = {f.TxtUserId,       f.TxtUserPassword, f.TxtDbName, f.TxtServidor,
                                       f.CboPlataformaDB, f.bcAceptar,       f.bcCancelar};
  const auto siguiente = [](QWidget* w) {
    do w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
  };
  for (size_t i = 0; i + 1 < orden.size(); ++i) EXPECT_EQ(siguiente(orden[i]), orden[i + 1]) << i;
  EXPECT_EQ(&accesoDialogo(), &f);  // one dialog for the whole run
}

TEST(Acceso, CentradoEnLaPantalla) {
  frmAcceso& f = accesoDialogo();
  prueba::guion().setPantalla(QSize(1024, 768));
  f.Load();
  EXPECT_EQ(f.pos(), QPoint(512 - f.width() / 2, 384 - f.height() / 2));
  // A screen smaller than the dialog leaves it partly off screen.
  prueba::guion().setPantalla(QSize(100, 80));
  f.Load();
  EXPECT_LT(f.x(), 0);
  EXPECT_LT(f.y(), 0);
  EXPECT_EQ(f.pos(), QPoint(50 - f.width() / 2, 40 - f.height() / 2));
}

TEST(Acceso, LoTecleadoSeLeeDeVueltaYEnterAcepta) {
  frmAcceso& f = accesoDialogo();
  mostrar(f, [&](QDialog&) {
    QTest::keyClicks(f.TxtUserId, "ana");
    QTest::keyClick(f.TxtUserId, Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "s3cr");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "EMPRESA");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "SRV01");
    EXPECT_EQ(f.TxtUserPassword->displayText(), "****");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(f.isVisible());
  });
  EXPECT_TRUE(f.Aceptar);
  EXPECT_EQ(f.TxtUserId->text(), "ana");
  EXPECT_EQ(f.TxtUserPassword->text(), "s3cr");
  EXPECT_EQ(f.TxtDbName->text(), "EMPRESA");
  EXPECT_EQ(f.TxtServidor->text(), "SRV01");
}

TEST(Acceso, EscEsCancelar) {
  frmAcceso& f = accesoDialogo();
  f.Aceptar = true;
  mostrar(f, [&](QDialog&) { QTest::keyClick(f.TxtDbName, Qt::Key_Escape); });
  EXPECT_FALSE(f.Aceptar);
}

TEST(Acceso, LosAceleradoresLlevanASuCampo) {
  frmAcceso& f = accesoDialogo();
  mostrar(f, [&](QDialog& d) {
    d.activateWindow();
    const std::vector<std::pair<Qt::Key, QWidget*>> teclas = {
        {Qt::Key_B, f.TxtDbName}, {Qt::Key_S, f.TxtServidor}, {Qt::Key_C, f.TxtUserPassword}, {Qt::Key_U, f.TxtUserId}};
    for (const auto& [tecla, campo] : teclas) {
      QTest::keyClick(&d, tecla, Qt::AltModifier);
      EXPECT_EQ(QApplication::focusWidget(), campo) << campo->objectName().toStdString();
    }
    prueba::pulsar(d, QStringLiteral("Cancelar"));
  });
}

TEST(Acceso, AceptarConTodoVacioYLuegoLaCruzDeCierre) {
  frmAcceso& f = accesoDialogo();
  mostrar(f, [](QDialog& d) { prueba::pulsar(d, QStringLiteral("Aceptar")); });
  EXPECT_TRUE(f.Aceptar);  // checking the values is the caller's task
  // The close box leaves the value of the previous showing.
  mostrar(f, [](QDialog& d) { d.close(); });
  EXPECT_TRUE(f.Aceptar);
  mostrar(f, [](QDialog& d) { prueba::pulsar(d, QStringLiteral("Cancelar")); });
  EXPECT_FALSE(f.Aceptar);
  mostrar(f, [](QDialog& d) { d.close(); });
  EXPECT_FALSE(f.Aceptar);
}
