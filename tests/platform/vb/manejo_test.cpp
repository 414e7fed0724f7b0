#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>
#include <vector>

#include "platform/ui/servicio.h"
#include "platform/vb/manejo.h"

namespace {

TEST(Seguir, SaltaLaSentenciaQueFallaYRecuerdaElError) {
  vb::Seguir seguir;
  std::vector<int> hechas;
  EXPECT_TRUE(seguir([&] { hechas.push_back(1); }));
  EXPECT_EQ(seguir.Number(), 0);
  EXPECT_FALSE(seguir([&] {
    throw vb::Error(vb::kFileNotFound);
    hechas.push_back(2);
  }));
  EXPECT_TRUE(seguir([&] { hechas.push_back(3); }));
  EXPECT_EQ(hechas, (std::vector<int>{1, 3}));
  // Kept after a later statement succeeds, as the platform's Err is.
  EXPECT_EQ(seguir.Number(), vb::kFileNotFound);
  EXPECT_EQ(seguir.Description(), QStringLiteral("No se encontró el archivo"));
  seguir([] { throw std::out_of_range("x"); });
  EXPECT_EQ(seguir.Number(), vb::kSubscriptOutOfRange);
  seguir.Clear();
  EXPECT_EQ(seguir.Number(), 0);
  EXPECT_EQ(seguir.Description(), QString());
}

TEST(Seguir, NoDetieneElFinDelPrograma) {
  vb::Seguir seguir;
  EXPECT_THROW(seguir([] { throw ui::FinPrograma{3}; }), ui::FinPrograma);
  EXPECT_EQ(seguir.Number(), 0);
}

TEST(Pasos, ReintentaSigueODejaSegunLaRespuesta) {
  std::vector<int> respuestas = {4, 4, 5, 3};
  std::vector<long> vistos;
  vb::Pasos pasos([&](const vb::Error& e) {
    vistos.push_back(e.Number());
    const int r = respuestas.front();
    respuestas.erase(respuestas.begin());
    return r;
  });
  int intentos = 0;
  // Fails twice, the handler retries twice, then it succeeds.
  EXPECT_TRUE(pasos.run([&] {
    if (++intentos < 3) throw vb::Error(vb::kOverflow);
  }));
  EXPECT_EQ(intentos, 3);
  int despues = 0;
  EXPECT_TRUE(pasos.run([&] { ++despues; }));
  // Ignore: the step is given up and the routine goes on.
  EXPECT_TRUE(pasos.run([&] { throw vb::Error(vb::kTypeMismatch); }));
  EXPECT_FALSE(pasos.abandonado());
  // Abort: leave; later steps do not run.
  EXPECT_FALSE(pasos.run([&] { throw vb::Error(vb::kPathNotFound); }));
  EXPECT_TRUE(pasos.abandonado());
  EXPECT_FALSE(pasos.run([&] { ++despues; }));
  EXPECT_EQ(despues, 1);
  EXPECT_EQ(vistos, (std::vector<long>{vb::kOverflow, vb::kOverflow, vb::kTypeMismatch, vb::kPathNotFound}));
  ASSERT_TRUE(pasos.ultimo().has_value());
  EXPECT_EQ(pasos.ultimo()->Number(), vb::kPathNotFound);
}

TEST(Pasos, LaFormaDeUsoDeLasRutinas) {
  auto leer = [](int fallos, int respuesta) -> QString {
    int intentos = 0;
    vb::Pasos pasos([&](const vb::Error&) { return respuesta; });
    QString valor;
    if (!pasos.run([&] {
          if (intentos++ < fallos) throw vb::Error(vb::kObjectVariableNotSet);
          valor = QStringLiteral("leído");
        }))
      return {};
    return valor.isEmpty() ? QStringLiteral("sin valor") : valor;
  };
  EXPECT_EQ(leer(0, 2), QStringLiteral("leído"));
  EXPECT_EQ(leer(1, 4), QStringLiteral("leído"));
  EXPECT_EQ(leer(1, 5), QStringLiteral("sin valor"));
  EXPECT_EQ(leer(1, 1), QString());
}

TEST(Arranque, SigueTrasElError5YTerminaTrasOtro) {
  vb::Arranque arranque;
  std::vector<int> hechos;
  EXPECT_TRUE(arranque.run([&] { hechos.push_back(1); }));
  EXPECT_TRUE(arranque.run([&] {
    throw vb::Error(vb::kInvalidProcedureCall);
    hechos.push_back(2);
  }));
  EXPECT_TRUE(arranque.run([&] { hechos.push_back(3); }));
  EXPECT_FALSE(arranque.terminado());
  EXPECT_FALSE(arranque.run([&] { throw vb::Error(vb::kTypeMismatch); }));
  EXPECT_TRUE(arranque.terminado());
  EXPECT_FALSE(arranque.run([&] { hechos.push_back(4); }));
  EXPECT_EQ(hechos, (std::vector<int>{1, 3}));
  ASSERT_TRUE(arranque.error().has_value());
  EXPECT_EQ(arranque.error()->Number(), vb::kTypeMismatch);
}

TEST(ComoError, ExcepcionesEstandar) {
  EXPECT_EQ(vb::comoError(std::bad_alloc()).Number(), vb::kOutOfMemory);
  EXPECT_EQ(vb::comoError(std::invalid_argument("x")).Number(), vb::kInvalidProcedureCall);
  EXPECT_EQ(vb::comoError(std::overflow_error("x")).Number(), vb::kOverflow);
  EXPECT_EQ(vb::comoError(std::system_error(std::make_error_code(std::errc::no_space_on_device))).Number(),
            vb::kDiskFull);
  const vb::Error otro = vb::comoError(std::runtime_error("conexión perdida"));
  EXPECT_EQ(otro.Number(), vb::kInternalError);
  EXPECT_EQ(otro.Description(), QStringLiteral("Error interno: conexión perdida"));
  const vb::Error propio = vb::comoError(vb::Error(vb::kKeyNotUnique, {}, QStringLiteral("Col")));
  EXPECT_EQ(propio.Number(), vb::kKeyNotUnique);
  EXPECT_EQ(propio.Source(), QStringLiteral("Col"));
}

}  // namespace
