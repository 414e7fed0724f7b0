// Keyboard handling on a real form: focus moves, control-array lookups.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "suite/estacion.h"
#include "suite/teclado.h"
#include "suite/util_general.h"

using ZepaKit2::teclado;

namespace {

// Two user-name fields with a disabled field between them, then a button.
class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* capa = new QVBoxLayout(&form);
    desde = new QLineEdit(&form);
    apagado = new QLineEdit(&form);
    hasta = new QLineEdit(&form);
    boton = new QPushButton(QStringLiteral("Aceptar"), &form);
    apagado->setEnabled(false);
    desde->setProperty(ZepaKit2::kPropiedadCampo, QStringLiteral("UsuarioDesde"));
    hasta->setProperty(ZepaKit2::kPropiedadCampo, QStringLiteral("UsuarioHasta"));
    for (QWidget* w : {static_cast<QWidget*>(desde), static_cast<QWidget*>(apagado), static_cast<QWidget*>(hasta),
                       static_cast<QWidget*>(boton)})
      capa->addWidget(w);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    desde->setFocus();
    QApplication::processEvents();
  }
  QWidget form;
  QLineEdit* desde = nullptr;
  QLineEdit* apagado = nullptr;
  QLineEdit* hasta = nullptr;
  QPushButton* boton = nullptr;
};

}  // namespace

TEST_F(FormTest, EnterPasaAlSiguienteControlYDejaElCodigo) {
  ASSERT_TRUE(desde->hasFocus());
  int codigo = ZepaKit2::vbKeyReturn;
  teclado().TeclaPresionada(desde, codigo);
  EXPECT_EQ(codigo, 13);
  EXPECT_TRUE(hasta->hasFocus());  // the disabled field is passed over

  int letra = 'a';
  teclado().TeclaPresionada(hasta, letra);
  EXPECT_EQ(letra, 'a');
  EXPECT_TRUE(hasta->hasFocus());
  EXPECT_THROW(teclado().TeclaPresionada(nullptr, letra), vb::Error);
}

TEST_F(FormTest, FlechasMuevenElFocoYSeConsumen) {
  int codigo = ZepaKit2::vbKeyDown;
  teclado().TeclaAbajo(codigo, 0);
  EXPECT_EQ(codigo, 0);
  EXPECT_TRUE(hasta->hasFocus());
  codigo = ZepaKit2::vbKeyUp;
  teclado().TeclaAbajo(codigo, 0);
  EXPECT_EQ(codigo, 0);
  EXPECT_TRUE(desde->hasFocus());
  // With shift, and for any other key, nothing happens.
  codigo = ZepaKit2::vbKeyDown;
  teclado().TeclaAbajo(codigo, ZepaKit2::vbShiftMask);
  EXPECT_EQ(codigo, ZepaKit2::vbKeyDown);
  codigo = ZepaKit2::vbKeyF5;
  teclado().TeclaAbajo(codigo, 0);
  EXPECT_EQ(codigo, ZepaKit2::vbKeyF5);
  EXPECT_TRUE(desde->hasFocus());
  EXPECT_EQ(ZepaKit2::estadoShift(Qt::ShiftModifier | Qt::AltModifier), 5);
}

TEST_F(FormTest, IndiceControlIgnoraMayusculas) {
  const QList<QWidget*> lista{desde, hasta};
  EXPECT_EQ(teclado().IndiceControl(QStringLiteral("usuarioDesde"), lista), 0);
  EXPECT_EQ(teclado().IndiceControl(QStringLiteral("USUARIOHASTA"), lista), 1);
  // A control array keyed by its elements' indexes, as the form numbers them.
  const QMap<int, QWidget*> txtfields{{14, desde}, {15, hasta}};
  EXPECT_EQ(teclado().IndiceControl(QStringLiteral("usuariohasta"), txtfields), 15);
  EXPECT_EQ(teclado().IndiceControl(QStringLiteral("Otro"), txtfields, -1), -1);
  EXPECT_EQ(teclado().IndiceControl(QString(), QList<QWidget*>{apagado, desde}, -1), -1);
  try {
    teclado().IndiceControl(QStringLiteral("Otro"), lista);
    ADD_FAILURE() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), vb::kControlArrayElementMissing);
  }
}

TEST_F(FormTest, PrepararAbrirYCerrarForm) {
  auto& u = ZepaKit2::util();
  u.PrepararForm(&form, false);
  EXPECT_FALSE(form.windowTitle().isEmpty());
  u.AbrirForm(&form, {});
  u.AbrirForm(&form, {});
  EXPECT_EQ(u.FormsAbiertos(), QList<QWidget*>{&form});
  {
    QWidget pasajero;
    u.AbrirForm(&pasajero);
    EXPECT_EQ(u.FormsAbiertos().size(), 2);
  }
  EXPECT_EQ(u.FormsAbiertos(), QList<QWidget*>{&form});  // a destroyed form is forgotten
  u.CerrarForm(&form, {});
  EXPECT_TRUE(u.FormsAbiertos().isEmpty());
}

TEST(Estacion, LaCuentaVieneDeUserODeLaBaseDeCuentas) {
  const QByteArray usuario = qgetenv("USER");
  qputenv("USER", "ana_prueba");
  EXPECT_EQ(ZepaKit2::estacion().Identidad2(), QStringLiteral("ana_prueba"));
  qunsetenv("USER");
  EXPECT_FALSE(ZepaKit2::estacion().Identidad2().isEmpty());
  if (!usuario.isNull()) qputenv("USER", usuario);
}
