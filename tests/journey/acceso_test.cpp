// Started by hand without a connection, the program asks for one in
// "Control de Acceso"; a person who clicks Cancelar sees the program end.
#include "tests/journey/recorrido.h"
#include "tests/report/lote_apoyo.h"

namespace {

TEST(Recorrido, CancelarElControlDeAcceso) {
  recorrido::PantallaX pantalla({1024, 768});
  ASSERT_TRUE(pantalla.lista());
  prueba::EmpresaDemo empresa;  // a settings folder with no stored connection
  recorrido::Programa p(pantalla, {}, &empresa);
  const auto v = p.esperarVentana(QStringLiteral("Control de Acceso"));
  ASSERT_TRUE(v);
  p.captura(*v, QStringLiteral("control_de_acceso"));
  EXPECT_TRUE(pantalla.rect().contains(v->geometria));

  // The middle of Cancelar (1575 x 405 twips at 3000, 2640).
  p.clic(*v, QPoint((3000 + 1575 / 2) / 15, (2640 + 405 / 2) / 15));
  const auto fin = p.esperarFin();
  ASSERT_TRUE(fin);  // it ends by itself, without a crash
  // No connection: the program ends at once, the form never shown.
  EXPECT_TRUE(*fin == 0 || *fin == 1) << *fin;
}

}  // namespace
