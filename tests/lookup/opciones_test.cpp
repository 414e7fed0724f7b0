// The option menus: a list of texts without a database.
#include "tests/lookup/apoyo.h"

#include "platform/ui/twips.h"

namespace {

// The service reads its settings at creation, so a database is open.
class Opciones : public prueba::Consultas {};

Lib_FrmCons3& dialogo(QDialog& d) { return dynamic_cast<Lib_FrmCons3&>(d); }

TEST_F(Opciones, MenuDevuelveElTextoElegidoOVacio) {
  prueba::guion().esperarModal([](QDialog& d) {
    auto& f = dialogo(d);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Formato"));
    EXPECT_EQ(f.modelo().encabezado(0), QStringLiteral("Formato"));
    EXPECT_FALSE(f.botonNueva()->isVisibleTo(&f));
    EXPECT_EQ(f.modelo().filas(), 2);
    f.seleccionar(1);
    prueba::pulsar(d, QStringLiteral("Aceptar"));
  });
  EXPECT_EQ(clsCons3().MenuOpciones(QStringLiteral("Formato"), QStringLiteral("Pantalla"), QStringLiteral("Impresora")),
            QStringLiteral("Impresora"));
  prueba::guion().esperarModal([](QDialog& d) { prueba::pulsar(d, QStringLiteral("Cancelar")); });
  EXPECT_EQ(clsCons3().MenuOpciones(QStringLiteral("Formato"), QStringList{"Pantalla", "Impresora"}), QString());
  // A single option.
  prueba::guion().esperarModal([](QDialog& d) {
    dialogo(d).seleccionar(0);
    prueba::pulsar(d, QStringLiteral("Aceptar"));
  });
  EXPECT_EQ(clsCons3().MenuOpciones(QStringLiteral("Uno"), QStringLiteral("Solo")), QStringLiteral("Solo"));
}

TEST_F(Opciones, CheckOpcionesConEstadoInicial) {
  QStringList vistos;
  auto guion = [&](QDialog& d) {
    auto& f = dialogo(d);
    for (int i = 0; i < f.modelo().filas(); ++i) vistos << f.modelo().celda(i, 0) + (f.modelo().marcada(i) ? "+" : "-");
    prueba::pulsar(d, QStringLiteral("Aceptar"));
  };
  prueba::guion().esperarModal(guion);
  EXPECT_EQ(
      clsCons3().CheckOpciones(QStringLiteral("Elegir"), std::nullopt, QStringLiteral("1Uno"), QStringLiteral("0Dos")),
      QString());
  EXPECT_EQ(clsCons3().Valores, QStringList{QStringLiteral("Uno")});
  // One array gives the same dialog as the options one by one.
  prueba::guion().esperarModal(guion);
  clsCons3().CheckOpciones(QStringLiteral("Elegir"), std::nullopt, QStringList{"1Uno", "0Dos"});
  EXPECT_EQ(vistos, (QStringList{"Uno+", "Dos-", "Uno+", "Dos-"}));
  prueba::guion().esperarModal([](QDialog& d) { prueba::pulsar(d, QStringLiteral("Cancelar")); });
  clsCons3().CheckOpciones(QStringLiteral("Elegir"), std::nullopt, QStringList{"1Uno"});
  EXPECT_FALSE(clsCons3().Valores.has_value());
}

TEST_F(Opciones, AnchoPorElTextoMasLargo) {
  prueba::guion().setPantalla(QSize(200, 600));
  int ancho = 0, corto = 0;
  prueba::guion().esperarModal([&](QDialog& d) {
    ancho = dialogo(d).anchoVentana();
    prueba::pulsar(d, QStringLiteral("Cancelar"));
  });
  clsCons3().MenuOpciones(QStringLiteral("T"), QString(40, 'x'));  // 40 x 120 > 3000 twips
  prueba::guion().esperarModal([&](QDialog& d) {
    corto = dialogo(d).anchoVentana();
    prueba::pulsar(d, QStringLiteral("Cancelar"));
  });
  clsCons3().MenuOpciones(QStringLiteral("T"), QStringLiteral("abcdefghij"));
  EXPECT_EQ(ancho, ui::aTwips(200));
  EXPECT_EQ(corto, 1200);
}

}  // namespace
