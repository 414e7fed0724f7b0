// Selections of every size, as the form writes them for units and tasks, on
// both providers (SQLite, and the SQLite ODBC driver standing in for a
// server) and under each database's bounds: the rows the database and the
// engine keep together are the rows a plain evaluation of the formula keeps.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <tuple>

#include "engine/datos.h"
#include "engine/sql.h"
#include "platform/ado/odbc/enlace_odbc.h"
#include "tests/engine/apoyo.h"
#include "tests/support/temp_folder.h"

using namespace engine;

namespace {

constexpr int kFilas = 500;

QString clave(int k) { return QStringLiteral("T%1").arg(k, 5, 10, QLatin1Char('0')); }

// Row i: key 37·i (none for some rows), unit 0001..0004, a few groups.
QByteArray datos() {
  QString s = QStringLiteral(
      "BEGIN;\nCREATE TABLE T (ID INTEGER PRIMARY KEY, CLAVE VARCHAR(12) COLLATE NOCASE, UNEGOCIO CHAR(4) COLLATE "
      "NOCASE,"
      " ESGRUPO BIT);\n");
  for (int i = 0; i < kFilas; ++i)
    s += QStringLiteral("INSERT INTO T VALUES (%1, %2, '000%3', %4);\n")
             .arg(i)
             .arg(i % 97 == 5 ? QStringLiteral("NULL") : QLatin1Char('\'') + clave(i * 37 % 80000) + QLatin1Char('\''))
             .arg(i % 4 + 1)
             .arg(i % 10 == 3 ? 1 : 0);
  return (s + QStringLiteral("COMMIT;\n")).toUtf8();
}

// The users report's shape: groups left out, two units, and `n` ticked
// tasks (the even keys, every fifth written in lower case).
QString formula(int n) {
  QString f = QStringLiteral("{T.ESGRUPO}=FALSE AND ({T.UNEGOCIO} = '0001'  OR {T.UNEGOCIO} = '0003' ) ");
  for (int j = 0; j < n; ++j) {
    const QString c = j % 5 == 4 ? clave(2 * j).toLower() : clave(2 * j);
    f += (j == 0 ? QStringLiteral(" AND (") : QStringLiteral(" OR ")) + QStringLiteral("{T.CLAVE} = '") + c +
         QStringLiteral("' ");
  }
  return f + QStringLiteral(") ");
}

enum class Proveedor { Sqlite, Odbc };
enum class Perfil { Propio, SqlServer, Oracle };

class Base {
 public:
  static Base& una() {
    static Base b;
    return b;
  }

 private:
  prueba::CarpetaTemporal carpeta_;

 public:
  const QString ruta = prueba::crearBase(carpeta_.archivo(QStringLiteral("seleccion.db")), datos());

 private:
  Base() = default;
};

bool hayOdbc() { return ado::detalle::controladoresOdbc().contains(QStringLiteral("SQLite3")); }

struct Mesa {
  std::unique_ptr<DatosAdo> datos;
  std::vector<Columna> columnas;

  explicit Mesa(Proveedor p) {
    ado::Connection cn;
    if (p == Proveedor::Sqlite)
      cn = prueba::abrirBase(Base::una().ruta);
    else
      cn.Open(QStringLiteral("Driver=SQLite3;Database=%1;").arg(Base::una().ruta));
    datos = std::make_unique<DatosAdo>(cn);
    columnas = datos->columnas(QStringLiteral("SELECT * FROM T"));
  }

  Formula resuelta(const QString& texto) const {
    Formula f = Formula::analizar(texto);
    f.resolver([&](const QString&, const QString& c) { return buscarColumna(columnas, c); }, {},
               [&](int c) { return columnas[size_t(c)].tipo; });
    return f;
  }

  std::set<int> ids(const QString& donde, const std::vector<Valor>& parametros, const Formula& filtro) const {
    std::set<int> r;
    auto filas = datos->abrir(consultaFiltrada(QStringLiteral("SELECT * FROM T"), donde, {}, datos->dialecto()),
                              parametros, columnas);
    Fila f;
    while (filas->siguiente(f))
      if (filtro.selecciona(f)) r.insert(int(f[0].comoNumero()));
    return r;
  }
};

class Selecciones : public ::testing::TestWithParam<std::tuple<int, Proveedor>> {
 protected:
  void SetUp() override {
    if (std::get<1>(GetParam()) == Proveedor::Odbc && !hayOdbc())
      GTEST_SKIP() << "the SQLite3 ODBC driver (libsqliteodbc) is not installed";
  }
};

std::string nombreDeCaso(const ::testing::TestParamInfo<std::tuple<int, Proveedor>>& info) {
  return std::to_string(std::get<0>(info.param)) + (std::get<1>(info.param) == Proveedor::Sqlite ? "_Sqlite" : "_Odbc");
}

}  // namespace

// Each size and provider under the provider's own bounds, SQL Server's, and
// Oracle's list bound; one plain evaluation serves the three.
TEST_P(Selecciones, LasFilasSonLasDeLaFormula) {
  const auto [n, proveedor] = GetParam();
  const Mesa m(proveedor);
  const Formula f = m.resuelta(formula(n));
  // Every row read, the formula evaluated on each, term by term.
  const std::set<int> plana = m.ids({}, {}, f);
  // Some rows kept and some left out, or the comparison says little.
  EXPECT_FALSE(plana.empty());
  EXPECT_LT(plana.size(), size_t(kFilas) / 2);

  for (const Perfil perfil : {Perfil::Propio, Perfil::SqlServer, Perfil::Oracle}) {
    SCOPED_TRACE(int(perfil));
    Limites l = m.datos->limites();
    if (perfil == Perfil::SqlServer) l = kLimitesSqlServer;
    if (perfil == Perfil::Oracle) l.lista = kLimitesOracle.lista;  // over the provider's own bound of values

    const Seleccion s = separar(f, m.columnas, m.datos->dialecto(), l);
    EXPECT_LE(s.parametros.size(), l.parametros);
    // Units and tasks go down while the statement can bind them all; beyond
    // that the tasks are looked up in memory.
    const size_t valores = size_t(n) + 2;
    EXPECT_EQ(s.residuo.vacia(), valores <= l.parametros) << s.donde.left(200).toStdString();
    if (s.residuo.vacia()) {
      // The tasks' list cut into lists the database takes, and the units' list.
      const size_t listas = n > 1 ? 1 + (size_t(n) - 1) / l.lista : 0;
      EXPECT_EQ(size_t(s.donde.count(QStringLiteral(" IN ("))), listas + 1) << s.donde.left(200).toStdString();
    }
    EXPECT_EQ(m.ids(s.donde, s.parametros, s.residuo), plana);
  }
}

INSTANTIATE_TEST_SUITE_P(TamanosProveedoresYLimites, Selecciones,
                         ::testing::Combine(::testing::Values(1, 85, 86, 2100, 10000, 40000),
                                            ::testing::Values(Proveedor::Sqlite, Proveedor::Odbc)),
                         nombreDeCaso);

// Parentheses nested deeper than SQLite's parser takes: what it cannot take
// stays in memory, and the rows are the same.
TEST(SeleccionAnidada, MasHondaQueElAnalizadorDeLaBase) {
  const Mesa m(Proveedor::Sqlite);
  QString texto = QStringLiteral("{T.CLAVE} = 'T00074'");
  for (int k = 0; k < 60; ++k)
    texto = k % 2 ? QStringLiteral("({T.ESGRUPO}=FALSE AND %1)").arg(texto)
                  : QStringLiteral("({T.UNEGOCIO} = '000%1' OR %2)").arg(k % 4 + 1).arg(texto);
  const Formula f = m.resuelta(texto);
  const Seleccion s = separar(f, m.columnas, m.datos->dialecto());
  EXPECT_FALSE(s.residuo.vacia());
  const std::set<int> plana = m.ids({}, {}, f);
  EXPECT_EQ(m.ids(s.donde, s.parametros, s.residuo), plana);
  EXPECT_FALSE(plana.empty());
}
