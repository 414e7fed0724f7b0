#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QStringList>

#include <stdexcept>
#include <system_error>
#include <vector>

#include "platform/ui/servicio.h"
#include "platform/vb/manejo.h"
#include "platform/vb/traza.h"

namespace {

const vb::Rutina kRutina{traza::platform(), "Prueba"};

TEST(Seguir, SaltaLaSentenciaQueFallaYRecuerdaElError) {
  vb::Seguir seguir(kRutina);
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
  vb::Seguir seguir(kRutina);
  EXPECT_THROW(seguir([] { throw ui::FinPrograma{3}; }), ui::FinPrograma);
  EXPECT_EQ(seguir.Number(), 0);
}

TEST(Pasos, ReintentaSigueODejaSegunLaRespuesta) {
  std::vector<int> respuestas = {4, 4, 5, 3};
  std::vector<long> vistos;
  vb::Pasos pasos(kRutina, [&](const vb::Error& e) {
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
    vb::Pasos pasos(kRutina, [&](const vb::Error&) { return respuesta; });
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
  vb::Arranque arranque(kRutina);
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

// What the trace holds while it is switched on, as the program writes it.
class Traza {
 public:
  Traza() {
    QLoggingCategory::setFilterRules(QStringLiteral("korvane.*.warning=true"));
    lineas_ = &lineas;
    anterior_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext& c, const QString& m) {
      lineas_->append(QString::fromLatin1(c.category) + QStringLiteral(" ") + m);
    });
  }
  ~Traza() {
    qInstallMessageHandler(anterior_);
    QLoggingCategory::setFilterRules(QString());
  }
  QStringList lineas;

 private:
  static inline QStringList* lineas_ = nullptr;
  QtMessageHandler anterior_;
};

TEST(Traza, CadaAyudaAnotaElErrorLaRutinaYQueHizoConEl) {
  {
    vb::Seguir seguir(kRutina);
    seguir([] { throw vb::Error(vb::kFileNotFound); });  // off: nothing is recorded, nothing breaks
  }
  Traza traza;
  vb::Seguir seguir(kRutina);
  seguir([] { throw vb::Error(vb::kFileNotFound, {}, QStringLiteral("Archivo")); });
  vb::Pasos pasos({traza::platform(), "OtraRutina"}, [](const vb::Error&) { return 2; });
  pasos.run([] { throw vb::Error(vb::kOverflow); });
  vb::Arranque arranque(kRutina);
  arranque.run([] { throw vb::Error(vb::kInvalidProcedureCall); });
  EXPECT_FALSE(vb::omitir(kRutina, [] { throw std::out_of_range("x"); }));
  EXPECT_TRUE(vb::omitir(kRutina, [] {}));
  EXPECT_EQ(
      traza.lineas,
      (QStringList{
          QStringLiteral("korvane.platform Prueba: error 53, No se encontró el archivo (Archivo): se sigue con el "
                         "paso siguiente"),
          QStringLiteral("korvane.platform OtraRutina: error 6, Desbordamiento: respuesta 2: se deja la rutina"),
          QStringLiteral("korvane.platform Prueba: error 5, Llamada a procedimiento o argumento no válidos: se "
                         "abandona el paso, el arranque sigue"),
          QStringLiteral("korvane.platform Prueba: error 9, El subíndice está fuera del intervalo: se descarta"),
      }));
}

TEST(Traza, NingunaClaveLlegaAlRegistro) {
  Traza traza;
  vb::ocultarEnTraza(QStringLiteral("s3creta!"));
  const QString descripcion = QStringLiteral(
      "No se pudo abrir Provider=SQLOLEDB;UId=ana;Pwd=otra clave;Server=x; @Password = tercera; "
      "Jet OLEDB:Database Password=cuarta;Password='s3creta!'");
  vb::omitir(kRutina, [&] { throw vb::Error(vb::kAutomationError, descripcion); });
  ASSERT_EQ(traza.lineas.size(), 1);
  const QString linea = traza.lineas.front();
  for (const char* secreto : {"otra clave", "tercera", "cuarta", "s3creta!"})
    EXPECT_FALSE(linea.contains(QLatin1String(secreto))) << linea.toStdString();
  EXPECT_TRUE(linea.contains(QStringLiteral("UId=ana;Pwd=***;Server=x;"))) << linea.toStdString();
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
