// The report toolbar as a real widget: clicks, keys, switches and look.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "platform/vb/error.h"
#include "suite/estacion.h"
#include "suite/tbarrep.h"
#include "suite/teclado.h"
#include "tests/support/guion_ui.h"

using ToolsRep::TBarRep;

namespace {

class TBarRepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    barra = new TBarRep(&ventana);
    ventana.addToolBar(barra);
    ventana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  }
  QStringList pulsados(QSignalSpy& espia) {
    QStringList r;
    for (const auto& args : espia) r << args.at(0).toString();
    return r;
  }
  QMainWindow ventana;
  TBarRep* barra = nullptr;
};

}  // namespace

TEST_F(TBarRepTest, CadaBotonDaSuClave) {
  QSignalSpy espia(barra, &TBarRep::BotonPulsado);
  for (const QString& clave : TBarRep::claves()) {
    QToolButton* b = barra->boton(clave);
    ASSERT_NE(b, nullptr) << clave.toStdString();
    EXPECT_TRUE(b->isVisible());
    EXPECT_FALSE(b->icon().isNull()) << clave.toStdString();
    EXPECT_FALSE(b->toolTip().isEmpty());
    QTest::mouseClick(b, Qt::LeftButton);
  }
  EXPECT_EQ(pulsados(espia), TBarRep::claves());
  EXPECT_EQ(barra->boton(QStringLiteral("pantalla")), barra->boton(TBarRep::kPantalla));
  EXPECT_EQ(barra->boton(QStringLiteral("OTRO")), nullptr);
  EXPECT_EQ(barra->boton(TBarRep::kCerrar)->text(), QStringLiteral("Cerrar"));
}

TEST_F(TBarRepTest, HabilitaConsultaApagaElBotonYSuTecla) {
  QSignalSpy espia(barra, &TBarRep::BotonPulsado);
  barra->setHabilitaConsulta(false);
  EXPECT_FALSE(barra->HabilitaConsulta());
  EXPECT_FALSE(barra->boton(TBarRep::kConsultar)->isEnabled());
  QTest::mouseClick(barra->boton(TBarRep::kConsultar), Qt::LeftButton);
  barra->TeclaPulsada(ZepaKit2::vbKeyF3);
  EXPECT_EQ(espia.count(), 0);

  // Set by name, as the forms set it.
  EXPECT_TRUE(barra->setProperty("HabilitaConsulta", true));
  EXPECT_TRUE(barra->boton(TBarRep::kConsultar)->isEnabled());
  barra->TeclaPulsada(ZepaKit2::vbKeyF3);
  EXPECT_EQ(pulsados(espia), QStringList{TBarRep::kConsultar});
}

TEST_F(TBarRepTest, TeclaPulsadaActuaComoElBoton) {
  QSignalSpy espia(barra, &TBarRep::BotonPulsado);
  for (int codigo : {int(ZepaKit2::vbKeyF5), int(ZepaKit2::vbKeyF6), int(ZepaKit2::vbKeyF3), int(ZepaKit2::vbKeyEscape),
                     int(ZepaKit2::vbKeyReturn), int(ZepaKit2::vbKeyA), 0})
    barra->TeclaPulsada(codigo);
  EXPECT_EQ(pulsados(espia), TBarRep::claves());
  EXPECT_EQ(ZepaKit2::codigoTecla(Qt::Key_F5), ZepaKit2::vbKeyF5);
  EXPECT_EQ(ZepaKit2::codigoTecla(Qt::Key_Enter), ZepaKit2::vbKeyReturn);
  EXPECT_EQ(ZepaKit2::codigoTecla(Qt::Key_Q), 81);
}

TEST_F(TBarRepTest, StyleBarEligePlanaOLevantada) {
  EXPECT_TRUE(barra->setProperty("StyleBar", 0.0));  // gFlatToolbars is a double
  EXPECT_EQ(barra->StyleBar(), 0);
  for (const QString& clave : TBarRep::claves()) EXPECT_TRUE(barra->boton(clave)->autoRaise());
  barra->setStyleBar(1);
  for (const QString& clave : TBarRep::claves()) EXPECT_FALSE(barra->boton(clave)->autoRaise());
}

TEST_F(TBarRepTest, UnErrorDelManejadorSeMuestraYNoSaleDelClic) {
  QObject::connect(barra, &TBarRep::BotonPulsado, [](const QString&) {
    throw vb::Error(429, QStringLiteral("No hay un motor de reportes disponible"));
  });
  prueba::guion().esperarMensaje(ui::vbOK, QStringLiteral("No hay un motor de reportes disponible"));
  QTest::mouseClick(barra->boton(TBarRep::kPantalla), Qt::LeftButton);
  // From the form's own code the error goes back to the caller.
  EXPECT_THROW(barra->TeclaPulsada(ZepaKit2::vbKeyF5), vb::Error);
}

TEST_F(TBarRepTest, AjustarBarraFijaLasBarrasDelForm) {
  auto* otra = new QToolBar(&ventana);
  ventana.addToolBar(otra);
  otra->setIconSize(QSize(48, 48));
  ZepaKit2::estacion().AjustarBarra(&ventana);
  for (QToolBar* b : {static_cast<QToolBar*>(barra), otra}) {
    EXPECT_FALSE(b->isMovable());
    EXPECT_FALSE(b->isFloatable());
    EXPECT_EQ(b->iconSize(), ZepaKit2::Estacion::kTamanoIconos);
  }
  EXPECT_THROW(ZepaKit2::estacion().AjustarBarra(nullptr), vb::Error);
}
