// The reading thread on a statement of its own: a counter that gives row
// after row, slower or quicker than the program that takes them.
#include "platform/ado/lectura_adelantada.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using ado::detalle::LecturaAdelantada;
using ado::detalle::ValorCrudo;
using namespace std::chrono_literals;

constexpr int kFilas = 3000;

struct Contador {
  int siguiente = 0;  // the row the next step gives
  std::chrono::microseconds porPaso{};

  bool leer(LecturaAdelantada::Fila& fila) {
    if (siguiente == kFilas) return false;
    if (porPaso.count() > 0) std::this_thread::sleep_for(porPaso);
    fila.poner(0, ValorCrudo{1, siguiente++, 0, nullptr, 0});
    return true;
  }
};

// Rows taken until siguiente() says no; each one must be the next in turn.
int tomarHastaElFin(LecturaAdelantada& lectura, std::chrono::microseconds porFila, int desde = 0) {
  std::optional<ado::Error> fallo;
  int n = desde;
  while (lectura.siguiente(fallo)) {
    EXPECT_EQ(lectura.celda(0).entero, n);
    if (lectura.celda(0).entero != n) return -1;
    ++n;
    if (porFila.count() > 0) std::this_thread::sleep_for(porFila);
  }
  EXPECT_FALSE(fallo.has_value());
  return n;
}

TEST(LecturaAdelantada, ASlowStatementIsGivenBackAfterTheLastRowItGave) {
  Contador c{0, 20us};
  int tomadas = 0;
  bool devuelta = false;
  {
    LecturaAdelantada lectura(1, [&](LecturaAdelantada::Fila& f, std::optional<ado::Error>&) { return c.leer(f); });
    tomadas = tomarHastaElFin(lectura, 0us);
    devuelta = lectura.devuelta();
  }
  EXPECT_TRUE(devuelta);
  EXPECT_LT(tomadas, kFilas);
  // Nothing was stepped past and dropped: the program's next step gives the next row.
  EXPECT_EQ(c.siguiente, tomadas);
}

TEST(LecturaAdelantada, AProgramSlowerThanTheStatementKeepsTheThreadToTheEnd) {
  Contador c;
  LecturaAdelantada lectura(1, [&](LecturaAdelantada::Fila& f, std::optional<ado::Error>&) { return c.leer(f); });
  EXPECT_EQ(tomarHastaElFin(lectura, 20us), kFilas);
  EXPECT_FALSE(lectura.devuelta());
}

}  // namespace
