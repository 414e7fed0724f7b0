// Selection pushed down to a real SQLite file through platform/ado, checked
// against the in-memory evaluation of the same formula.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <set>

#include "engine/datos.h"
#include "engine/errores.h"
#include "engine/sql.h"
#include "tests/engine/apoyo.h"
#include "tests/support/temp_folder.h"

using namespace engine;

namespace {

const char* kEsquema =
    "CREATE TABLE T (ID INTEGER PRIMARY KEY, NOMBRE VARCHAR(30) COLLATE NOCASE, GRUPO CHAR(4) COLLATE NOCASE,"
    " IMPORTE FLOAT, N INTEGER, FECHA DATETIME, ACTIVO BIT);\n";

QString textoAzar(QRandomGenerator& r) {
  static const QStringList trozos = {"a", "B", "c", "ana", "ANA", "Beto", "m",  "z", "ñ",
                                     "Ñ", "%", "_", "[",   "'",   " ",    "x1", "é", "O"};
  QString s;
  const int n = int(r.bounded(5));
  for (int i = 0; i < n; ++i) s += trozos[int(r.bounded(trozos.size()))];
  return s;
}

QString sqlTexto(const QString& s) { return "'" + QString(s).replace("'", "''") + "'"; }

QByteArray datosAzar(int filas, quint32 semilla) {
  QRandomGenerator r(semilla);
  QString s = QString("BEGIN;\n") + kEsquema;
  for (int i = 1; i <= filas; ++i) {
    const auto nulo = [&] { return r.bounded(12) == 0; };
    const QDate d = QDate(2024, 1, 1).addDays(r.bounded(90));
    // Some dates written without the time, as hand-made data often is.
    const QString fecha = r.bounded(3) == 0 ? d.toString("yyyy-MM-dd") : d.toString("yyyy-MM-dd") + " 00:00:00";
    s += QString("INSERT INTO T VALUES (%1, %2, %3, %4, %5, %6, %7);\n")
             .arg(i)
             .arg(nulo() ? "NULL" : sqlTexto(textoAzar(r)))
             .arg(nulo() ? "NULL" : sqlTexto(QString("000%1").arg(r.bounded(4))))
             .arg(nulo() ? "NULL" : QString::number(r.bounded(200) / 4.0 - 10))
             .arg(nulo() ? "NULL" : QString::number(int(r.bounded(21)) - 10))
             .arg(nulo() ? "NULL" : sqlTexto(fecha))
             .arg(nulo() ? "NULL" : QString::number(r.bounded(2)));
  }
  return (s + "COMMIT;\n").toUtf8();
}

// One condition in each shape the range builder and the users report write.
QString condicionAzar(QRandomGenerator& r) {
  const auto texto = [&] { return "'" + textoAzar(r).replace("'", "''") + "'"; };
  const auto patron = [&] {
    static const QStringList p = {"a*", "*a", "?", "*", "*n*", "b?t*", "%*", "_", "[*", "ñ*", "A*A"};
    return "'" + p[int(r.bounded(p.size()))] + "'";
  };
  const QString P = "TrimLeft(TrimRight({T.NOMBRE}))";
  const QString num = QString::number(int(r.bounded(21)) - 10);
  const QString fecha = QDate(2024, 1, 1).addDays(r.bounded(90)).toString("'Date('yyyy','MM','dd')'");
  static const QStringList ops = {"=", "<>", "<", ">", "<=", ">="};
  const QString op = ops[int(r.bounded(ops.size()))];
  switch (r.bounded(16)) {
    case 0: return P + " >= " + texto() + "  AND " + P + " <= " + texto() + " ";
    case 1: return " (" + P + " LIKE " + patron() + "  OR " + P + " LIKE " + patron() + " )";
    case 2: return " (" + P + " LIKE " + patron() + "  AND " + P + " <= " + texto() + " )";
    case 3: return "{T.NOMBRE} " + op + " " + texto();
    case 4: return "tonumber({T.IMPORTE}) >= " + num + "  AND tonumber({T.IMPORTE}) <= " + num + " ";
    case 5: return "{T.N} " + op + " " + num;
    case 6: return "{T.FECHA} >= " + fecha + "  AND {T.FECHA} <= " + fecha + " ";
    case 7: return "{T.FECHA} " + op + " " + fecha;
    case 8: return QString("{T.ACTIVO}=") + (r.bounded(2) ? "FALSE" : "TRUE");
    case 9: return "({T.GRUPO} = '0001'  OR {T.GRUPO} = '000" + QString::number(r.bounded(4)) + "' ) ";
    case 10: return "Length({T.NOMBRE}) " + op + " " + QString::number(r.bounded(6));
    case 11: return "UpperCase({T.NOMBRE}) = " + texto();
    case 12: return "ToText({T.N}) = '" + num + "'";
    case 13: return "{T.NOMBRE} " + op + " {T.GRUPO}";
    case 14: return "Trim({T.NOMBRE}) LIKE " + patron();
    default: return "{T.ACTIVO}";
  }
}

QString formulaAzar(QRandomGenerator& r, int profundidad = 0) {
  if (profundidad > 2 || r.bounded(3) == 0) return condicionAzar(r);
  switch (r.bounded(4)) {
    case 0: return formulaAzar(r, profundidad + 1) + " AND " + formulaAzar(r, profundidad + 1);
    case 1: return "(" + formulaAzar(r, profundidad + 1) + ") or (" + formulaAzar(r, profundidad + 1) + ")";
    case 2: return "NOT (" + formulaAzar(r, profundidad + 1) + ")";
    default: return formulaAzar(r, profundidad + 1) + " and " + formulaAzar(r, profundidad + 1);
  }
}

struct Mesa {
  prueba::CarpetaTemporal carpeta;
  std::unique_ptr<DatosAdo> datos;
  std::vector<Columna> columnas;

  explicit Mesa(const QByteArray& script) {
    const QString ruta = prueba::crearBase(carpeta.archivo("d.db"), script);
    datos = std::make_unique<DatosAdo>(prueba::abrirBase(ruta));
    columnas = datos->columnas("SELECT * FROM T");
  }

  Formula resuelta(const QString& texto) {
    Formula f = Formula::analizar(texto);
    f.resolver([&](const QString&, const QString& c) { return buscarColumna(columnas, c); }, {},
               [&](int c) { return columnas[size_t(c)].tipo; });
    return f;
  }

  std::set<int> ids(const QString& sql, const std::vector<Valor>& parametros, const Formula* filtro) {
    std::set<int> r;
    auto filas = datos->abrir(sql, parametros, columnas);
    Fila f;
    while (filas->siguiente(f))
      if (!filtro || filtro->selecciona(f)) r.insert(int(f[0].comoNumero()));
    return r;
  }
};

int buscar(const std::vector<Columna>& c, const char* n) { return buscarColumna(c, n); }

}  // namespace

TEST(Pushdown, ColumnasYTiposDeLaConsulta) {
  Mesa m(kEsquema);
  ASSERT_EQ(m.columnas.size(), 7u);
  EXPECT_EQ(m.datos->dialecto(), Dialecto::Sqlite);
  EXPECT_EQ(m.columnas[size_t(buscar(m.columnas, "nombre"))].tipo, Valor::Tipo::Texto);
  EXPECT_EQ(m.columnas[size_t(buscar(m.columnas, "IMPORTE"))].tipo, Valor::Tipo::Numero);
  EXPECT_EQ(m.columnas[size_t(buscar(m.columnas, "FECHA"))].tipo, Valor::Tipo::Fecha);
  EXPECT_EQ(m.columnas[size_t(buscar(m.columnas, "ACTIVO"))].tipo, Valor::Tipo::Logico);
}

TEST(Pushdown, LoQueElProgramaEscribeVaEnteroALaBase) {
  Mesa m(kEsquema);
  const QStringList formulas = {
      "TrimLeft(TrimRight({T.NOMBRE})) >= 'A'  AND TrimLeft(TrimRight({T.NOMBRE})) <= 'M' ",
      " (TrimLeft(TrimRight({T.NOMBRE})) LIKE 'A*'  OR TrimLeft(TrimRight({T.NOMBRE})) LIKE 'C*' )",
      "tonumber({T.IMPORTE}) >= 2  AND tonumber({T.IMPORTE}) <= 10 ",
      "{T.FECHA} >= Date(2024,01,31)  AND {T.FECHA} <= Date(2024,02,29) ",
      "{T.ACTIVO}=FALSE AND ({T.GRUPO} = '0001'  OR {T.GRUPO} = '0003' ) ",
      "{T.NOMBRE} = 'O''Brien' or not ({T.N} < -5)",
  };
  for (const QString& t : formulas) {
    const Seleccion s = separar(m.resuelta(t), m.columnas, m.datos->dialecto());
    EXPECT_TRUE(s.residuo.vacia()) << t.toStdString();
    EXPECT_FALSE(s.donde.isEmpty()) << t.toStdString();
    EXPECT_EQ(s.donde.count('?'), qsizetype(s.parametros.size())) << s.donde.toStdString();
    EXPECT_FALSE(s.donde.contains("Brien")) << "values travel as parameters";
  }
}

TEST(Pushdown, LoIntraducibleQuedaEnMemoriaYElRestoBaja) {
  Mesa m(kEsquema);
  const Seleccion s =
      separar(m.resuelta("{T.N} > 1 AND ToText({T.N}) = '5' AND {T.NOMBRE} = 'ñu'"), m.columnas, m.datos->dialecto());
  EXPECT_EQ(s.donde, "([N] > ?)");
  ASSERT_FALSE(s.residuo.vacia());
  // An OR with one untranslatable side stays whole in memory.
  const Seleccion o = separar(m.resuelta("{T.N} > 1 OR ToText({T.N}) = '5'"), m.columnas, m.datos->dialecto());
  EXPECT_TRUE(o.donde.isEmpty());
  EXPECT_FALSE(o.residuo.vacia());
}

TEST(Pushdown, ComillasComodinesYCorchetesLleganLiterales) {
  Mesa m(QByteArray(kEsquema) +
         "INSERT INTO T (ID, NOMBRE) VALUES (1, 'O''Brien'), (2, '50%'), (3, '50x'), (4, 'a_b'), (5, 'axb'),"
         " (6, '[x]'), (7, 'x'), (8, 'a\\b');");
  const auto elegidos = [&](const QString& t) {
    const Seleccion s = separar(m.resuelta(t), m.columnas, m.datos->dialecto());
    EXPECT_TRUE(s.residuo.vacia()) << t.toStdString();
    return m.ids(consultaFiltrada("SELECT * FROM T", s.donde, {}, m.datos->dialecto()), s.parametros, nullptr);
  };
  EXPECT_EQ(elegidos("{T.NOMBRE} = 'o''brien'"), std::set<int>({1}));
  EXPECT_EQ(elegidos("{T.NOMBRE} LIKE '50%'"), std::set<int>({2}));
  EXPECT_EQ(elegidos("{T.NOMBRE} LIKE 'a_b'"), std::set<int>({4}));
  EXPECT_EQ(elegidos("{T.NOMBRE} LIKE '[x]'"), std::set<int>({6}));
  EXPECT_EQ(elegidos("{T.NOMBRE} LIKE 'a\\b'"), std::set<int>({8}));
  EXPECT_EQ(elegidos("{T.NOMBRE} LIKE '*''*'"), std::set<int>({1}));
  EXPECT_EQ(elegidos("{T.NOMBRE} = '1'' OR ''1''=''1'"), std::set<int>());
}

TEST(Pushdown, DiferencialBaseContraMemoria) {
  Mesa m(datosAzar(400, 20240131));
  const QString todo = consultaFiltrada("SELECT * FROM T", {}, {}, m.datos->dialecto());
  QRandomGenerator r(7);
  int enteras = 0, parciales = 0, seleccionadas = 0;
  const int kFormulas = 400;
  for (int i = 0; i < kFormulas; ++i) {
    const QString texto = formulaAzar(r);
    const Formula f = m.resuelta(texto);
    const Seleccion s = separar(f, m.columnas, m.datos->dialecto());
    const std::set<int> base = m.ids(consultaFiltrada("SELECT * FROM T", s.donde, {}, m.datos->dialecto()),
                                     s.parametros, s.residuo.vacia() ? nullptr : &s.residuo);
    const std::set<int> memoria = m.ids(todo, {}, &f);
    ASSERT_EQ(base, memoria) << texto.toStdString() << "\nWHERE " << s.donde.toStdString();
    if (s.residuo.vacia())
      ++enteras;
    else if (!s.donde.isEmpty())
      ++parciales;
    if (!memoria.empty() && memoria.size() < 400) ++seleccionadas;
  }
  // The test means something only if most formulas reach the database and
  // select some rows but not all.
  EXPECT_GT(enteras, kFormulas / 3);
  EXPECT_GT(parciales, 0);
  EXPECT_GT(seleccionadas, kFormulas / 4);
}

TEST(Pushdown, LosValoresVanEnlazadosYNuncaEnElTexto) {
  Mesa m(QByteArray(kEsquema) +
         "INSERT INTO T (ID, NOMBRE, N, IMPORTE) VALUES (1, 'que?', 7, 2.5), (2, 'x', 8, 3), (3, 'x?', 9, NULL),"
         " (4, '?', NULL, -1);");
  const auto elegidos = [&](const QString& t) {
    const Seleccion s = separar(m.resuelta(t), m.columnas, m.datos->dialecto());
    EXPECT_TRUE(s.residuo.vacia()) << t.toStdString();
    const QString sql = consultaFiltrada("SELECT * FROM T", s.donde, {}, m.datos->dialecto());
    EXPECT_EQ(sql.count('?'), qsizetype(s.parametros.size())) << sql.toStdString();
    return m.ids(sql, s.parametros, nullptr);
  };
  // A "?" inside a value is data, not one more mark.
  EXPECT_EQ(elegidos("{T.NOMBRE} = 'QUE?' OR {T.NOMBRE} = '?'"), std::set<int>({1, 4}));
  // Whole numbers bind as integers and the others as doubles; both compare by value.
  EXPECT_EQ(elegidos("{T.N} = 8 OR {T.IMPORTE} = 2.5"), std::set<int>({1, 2}));
  EXPECT_EQ(elegidos("{T.ID} = 2.5"), std::set<int>());
  EXPECT_EQ(elegidos("{T.IMPORTE} < 0.5"), std::set<int>({4}));
  const auto valores = parametrosAdo({Valor::numero(3), Valor::numero(2.5), Valor(), Valor::texto("a'b")});
  EXPECT_EQ(valores[0], vb::Variant(std::int64_t{3}));
  EXPECT_EQ(valores[1], vb::Variant(2.5));
  EXPECT_TRUE(valores[2].isNull());
  EXPECT_EQ(valores[3], vb::Variant("a'b"));
}

TEST(Pushdown, ConsultaRechazadaEsErrorClaro) {
  Mesa m(kEsquema);
  try {
    m.datos->columnas("SELECT NOEXISTE FROM T");
    FAIL();
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), kErrorConsulta);
    EXPECT_TRUE(e.Description().contains("NOEXISTE")) << e.Description().toStdString();
  }
}
