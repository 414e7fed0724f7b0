// Cancel of a statement that runs, on both providers: inside one long step
// (a recursive query whose only row comes after minutes), and between the
// rows of a recordset that streams. The connection works on after it.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/ado/connection.h"
#include "platform/ado/odbc/enlace_odbc.h"
#include "platform/ado/recordset.h"
#include "tests/platform/ado/base_prueba.h"
#include "tests/support/numero_error.h"

using namespace ado;

namespace {

const QString kLarga = QStringLiteral(
    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000000000) "
    "SELECT x FROM c WHERE x = 1000000000");

// The parameter: through the SQLite ODBC driver, or SQLite's own provider.
class Cancelar : public ::testing::TestWithParam<bool> {
 protected:
  Cancelar() { prueba::crearBase(archivo_, prueba::kEsquemaUsuarios); }
  void SetUp() override {
    if (GetParam() && !detalle::controladoresOdbc().contains(QStringLiteral("SQLite3")))
      GTEST_SKIP() << "the SQLite3 ODBC driver (libsqliteodbc) is not installed";
  }
  Connection abrir() const {
    Connection cn;
    cn.Open(GetParam() ? QStringLiteral("Driver=SQLite3;Database=%1;").arg(archivo_)
                       : QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;").arg(archivo_));
    return cn;
  }

  prueba::CarpetaTemporal datos_;
  QString archivo_ = datos_.archivo(QStringLiteral("EMPRESA.db"));
};

}  // namespace

TEST_P(Cancelar, UnaConsultaLargaSeDetieneYLaConexionSigue) {
  Connection cn = abrir();
  QElapsedTimer reloj;
  reloj.start();
  int esperas = 0;
  std::atomic<bool> hecho{false};
  std::thread otro;
  if (!GetParam()) {
    // One thread: SQLite's long step calls the wait, which cancels.
    cn.setEnEspera([&] {
      ++esperas;
      if (reloj.elapsed() > 300) cn.Cancel();
    });
  } else {
    // The ODBC driver says nothing during its step: SQLCancel from another
    // thread, as ODBC allows, until the statement has stopped.
    otro = std::thread([&] {
      while (!hecho) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cn.Cancel();
      }
    });
  }
  Recordset rs;
  const long numero = prueba::numeroDeError([&] { rs.Open(kLarga, cn); });
  hecho = true;
  if (otro.joinable()) otro.join();
  EXPECT_EQ(numero, kErrorCancelada);
  EXPECT_LT(reloj.elapsed(), 20000);
  if (!GetParam()) {
    EXPECT_GE(esperas, 4) << "the wait is called every few hundredths of a second of the step";
  }
  cn.setEnEspera({});

  Recordset filas;
  filas.Open(QStringLiteral("SELECT CODIGO FROM TA_USUARIOS ORDER BY CODIGO"), cn);
  EXPECT_EQ(filas.Fields(0).Value(), vb::Variant(std::int32_t{1}));
  cn.Cancel();
  EXPECT_EQ(prueba::numeroDeError([&] { filas.MoveNext(); }), kErrorCancelada);

  Recordset cuenta;
  cuenta.Open(QStringLiteral("SELECT COUNT(*) FROM TA_USUARIOS"), cn);
  EXPECT_EQ(cuenta.Fields(0).Value().toDouble(), 3);
}

INSTANTIATE_TEST_SUITE_P(Proveedores, Cancelar, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "Odbc" : "Sqlite"; });
