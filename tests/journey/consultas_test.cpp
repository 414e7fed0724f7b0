// The list lookup as a person opens it from the command line, on a small and
// a large screen: it lies wholly on the screen, and Escape cancels it.
#include "tests/journey/recorrido.h"
#include "tests/report/lote_apoyo.h"

namespace {

class ConsultaEnPantalla : public ::testing::TestWithParam<QSize> {};

std::string nombreTamano(const ::testing::TestParamInfo<QSize>& i) {
  return std::to_string(i.param.width()) + "x" + std::to_string(i.param.height());
}

INSTANTIATE_TEST_SUITE_P(Recorrido, ConsultaEnPantalla, ::testing::Values(QSize(1024, 768), QSize(1920, 1080)),
                         nombreTamano);

TEST_P(ConsultaEnPantalla, ListaEnteraEnLaPantallaYEscapeCancela) {
  recorrido::PantallaX pantalla(GetParam());
  ASSERT_TRUE(pantalla.lista());
  prueba::EmpresaDemo empresa;
  // The users: nine columns, some short (CHAR(4), BIT), one of 60 characters.
  recorrido::Programa p(
      pantalla, {prueba::kParametrosDemo, QStringLiteral("--consulta"), QStringLiteral("TA_USUARIOS")}, &empresa);
  const auto v = p.esperarVentana(QStringLiteral("Consulta..."));
  ASSERT_TRUE(v);
  p.captura(*v, QStringLiteral("consulta"));
  p.captura(pantalla.raiz(), QStringLiteral("pantalla"));
  EXPECT_TRUE(pantalla.rect().contains(v->geometria))
      << v->geometria.x() << "," << v->geometria.y() << " " << v->geometria.width() << "x" << v->geometria.height();

  p.teclas(*v, QStringLiteral("Escape"));
  EXPECT_EQ(p.esperarFin(), 1);  // cancelled
  EXPECT_EQ(p.salida(), QStringLiteral("ValorDevuelto=\n"));
}

}  // namespace
