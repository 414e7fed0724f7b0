// The selection formulas the program writes, parsed and evaluated in memory.
#include <gtest/gtest.h>

#include "engine/errores.h"
#include "engine/formula.h"
#include "tests/support/numero_error.h"

using namespace engine;

namespace {

// Columns: NOMBRE, ESGRUPO, UNEGOCIO, CLAVE, IMPORTE, N, FECHA
const QStringList kColumnas = {"NOMBRE", "ESGRUPO", "UNEGOCIO", "CLAVE", "IMPORTE", "N", "FECHA"};

Fila fila(const QString& nombre, bool esGrupo = false, const QString& unidad = "0001", const QString& clave = "M01",
          double importe = 5, double n = 5, QDate fecha = QDate(2024, 1, 15)) {
  return {Valor::texto(nombre),
          Valor::logico(esGrupo),
          Valor::texto(unidad),
          Valor::texto(clave),
          Valor::numero(importe),
          Valor::numero(n),
          Valor::fecha(QDateTime(fecha, QTime(0, 0)))};
}

Formula preparada(const QString& texto) {
  Formula f = Formula::analizar(texto);
  f.resolver([](const QString&, const QString& campo) { return int(kColumnas.indexOf(campo.toUpper())); },
             [](const QString& nombre, Valor& v) {
               if (nombre.compare("Parametros", Qt::CaseInsensitive) != 0) return false;
               v = Valor::texto("abc");
               return true;
             });
  return f;
}

bool elige(const QString& formula, const Fila& f) { return preparada(formula).selecciona(f); }

long numeroDeError(const QString& formula) {
  return prueba::numeroDeError([&] { preparada(formula); });
}

QString descripcion(const QString& formula) {
  try {
    preparada(formula);
  } catch (const vb::Error& e) {
    return e.Description();
  }
  return {};
}

const QString P = "TrimLeft(TrimRight({Ta_usuarios.nombre}))";

}  // namespace

TEST(FormulaRango, TextoDesdeHastaConDosBlancosAntesDeAnd) {
  const QString f = P + " >= 'A'  AND " + P + " <= 'M' ";
  EXPECT_TRUE(elige(f, fila("  Beto ")));
  EXPECT_TRUE(elige(f, fila("a")));  // case ignored
  EXPECT_TRUE(elige(f, fila("M")));
  EXPECT_FALSE(elige(f, fila("Mario")));  // after "M"
  EXPECT_FALSE(elige(f, fila("zeta")));
  EXPECT_TRUE(elige(P + " <= 'M' ", fila("carla")));
}

TEST(FormulaRango, ComodinesEnDesdeYHasta) {
  const QString solo = " (" + P + " LIKE 'A*' )";
  EXPECT_TRUE(elige(solo, fila("ana")));
  EXPECT_TRUE(elige(solo, fila(" Alberto  ")));
  EXPECT_FALSE(elige(solo, fila("beto")));

  const QString dos = " (" + P + " LIKE 'A*'  OR " + P + " LIKE 'C*' )";
  EXPECT_TRUE(elige(dos, fila("carla")));
  EXPECT_FALSE(elige(dos, fila("beto")));

  const QString conHasta = " (" + P + " LIKE 'A*'  AND " + P + " <= 'M' )";
  EXPECT_TRUE(elige(conHasta, fila("ana")));
  EXPECT_FALSE(elige(conHasta, fila("Mario")));

  const QString sinParentesis = P + " >= 'A'  AND " + P + " LIKE 'C*' ";
  EXPECT_TRUE(elige(sinParentesis, fila("Carla")));
  EXPECT_FALSE(elige(sinParentesis, fila("ana")));

  EXPECT_TRUE(elige("{T.NOMBRE} LIKE 'a?a'", fila("ANA")));
  EXPECT_FALSE(elige("{T.NOMBRE} LIKE 'a?a'", fila("anna")));
  EXPECT_TRUE(elige("{T.NOMBRE} LIKE '*n*'", fila("ana")));
  EXPECT_TRUE(elige("{T.NOMBRE} LIKE 'ñ*'", fila("Ñandú")));
}

TEST(FormulaRango, SinTrimNumerosYFechas) {
  EXPECT_FALSE(elige("{T.NOMBRE} >= 'A' ", fila(" zz")) == elige("{T.NOMBRE} >= 'A' ", fila("zz")));
  const QString doble = "tonumber({T.IMPORTE}) >= 2  AND tonumber({T.IMPORTE}) <= 10 ";
  EXPECT_TRUE(elige(doble, fila("x", false, "0001", "M01", 2)));
  EXPECT_TRUE(elige(doble, fila("x", false, "0001", "M01", 10)));
  EXPECT_FALSE(elige(doble, fila("x", false, "0001", "M01", 10.5)));
  EXPECT_TRUE(elige("{T.N} >= -3  AND {T.N} <= 10 ", fila("x", false, "0001", "M01", 0, -3)));
  EXPECT_FALSE(elige("{T.N} <= 4 ", fila("x")));

  const QString fechas = "{T.FECHA} >= Date(2024,01,31)  AND {T.FECHA} <= Date(2024,02,29) ";
  EXPECT_TRUE(elige(fechas, fila("x", false, "0001", "M01", 0, 0, QDate(2024, 1, 31))));
  EXPECT_TRUE(elige(fechas, fila("x", false, "0001", "M01", 0, 0, QDate(2024, 2, 29))));
  EXPECT_FALSE(elige(fechas, fila("x", false, "0001", "M01", 0, 0, QDate(2024, 3, 1))));
}

TEST(FormulaRango, RangosUnidosConOrEnMinusculas) {
  const QString f = P + " >= 'x' or {T.N} <= 1 ";
  EXPECT_TRUE(elige(f, fila("zeta")));
  EXPECT_TRUE(elige(f, fila("ana", false, "0001", "M01", 0, 1)));
  EXPECT_FALSE(elige(f, fila("ana")));
}

TEST(FormulaReporteUsuarios, UsuariosUnidadesYTareas) {
  const QString f = P + " >= 'ana'  AND " + P +
                    " <= 'zeta'  AND {Ta_usuarios.esgrupo}=FALSE AND ({TA_USUARIOS.UNEGOCIO} = '0001'  OR "
                    "{TA_USUARIOS.UNEGOCIO} = '0003' )  AND ({TA_MENU.CLAVE} = 'M01'  OR {TA_MENU.CLAVE} = 'M02' ) ";
  EXPECT_TRUE(elige(f, fila("beto", false, "0003", "m02")));
  EXPECT_FALSE(elige(f, fila("beto", true, "0003", "M02")));    // a user group
  EXPECT_FALSE(elige(f, fila("beto", false, "0002", "M02")));   // another unit
  EXPECT_FALSE(elige(f, fila("beto", false, "0001", "M03")));   // another task
  EXPECT_FALSE(elige(f, fila("aaron", false, "0001", "M01")));  // before the range
  // Without a user-name range, the group rule opens the formula.
  EXPECT_TRUE(elige("{Ta_usuarios.esgrupo}=FALSE AND ({TA_USUARIOS.UNEGOCIO} = '0001' ) ", fila("x")));
  EXPECT_TRUE(elige("{Ta_usuarios.esgrupo}=FALSE", fila("x")));
  EXPECT_FALSE(elige("{Ta_usuarios.esgrupo}=FALSE", fila("x", true)));
  EXPECT_TRUE(elige("{Ta_usuarios.esgrupo} = true", fila("x", true)));
}

TEST(FormulaTextos, ComillasDobladasYDobles) {
  EXPECT_TRUE(elige("{T.NOMBRE} = 'O''Brien'", fila("o'brien")));
  EXPECT_FALSE(elige("{T.NOMBRE} = 'O''Brien'", fila("OBrien")));
  EXPECT_TRUE(elige("{T.NOMBRE} = \"Dice \"\"hola\"\"\"", fila("dice \"hola\"")));
  EXPECT_TRUE(elige("{T.NOMBRE} = ''''", fila("'")));
  EXPECT_TRUE(elige("{T.NOMBRE} = ''", fila("")));
}

TEST(FormulaFunciones, FuncionesYMayusculasIgnoradas) {
  EXPECT_TRUE(elige("trim({T.NOMBRE}) = 'ana'", fila("  ana  ")));
  EXPECT_TRUE(elige("TRIMLEFT({T.NOMBRE}) = 'ana  '", fila("  ana  ")));
  EXPECT_TRUE(elige("Length({T.NOMBRE}) = 7", fila("  ana  ")));
  EXPECT_TRUE(elige("length(trimright({T.NOMBRE})) = 5", fila("  ana  ")));
  EXPECT_TRUE(elige("UpperCase({T.NOMBRE}) LIKE 'AN*'", fila("ana")));
  EXPECT_TRUE(elige("LowerCase({T.NOMBRE}) = 'ANA'", fila("Ana")));
  EXPECT_TRUE(elige("ToText({T.N}) = '5'", fila("x")));
  EXPECT_TRUE(elige("tonumber({T.UNEGOCIO}) = 1", fila("x")));
  EXPECT_TRUE(elige("not ({T.N} > 6) and TRUE", fila("x")));
  EXPECT_TRUE(elige("{@Parametros} = 'ABC'", fila("x")));
  EXPECT_TRUE(elige("", fila("x")));  // no formula: every row
}

TEST(FormulaNulos, TresValoresComoLaBase) {
  Fila f = fila("x");
  f[0] = Valor();  // NOMBRE null
  EXPECT_FALSE(elige("{T.NOMBRE} = 'x'", f));
  EXPECT_FALSE(elige("NOT ({T.NOMBRE} = 'x')", f));  // unknown stays unknown
  EXPECT_TRUE(elige("{T.NOMBRE} = 'x' OR {T.N} = 5", f));
  EXPECT_FALSE(elige("{T.NOMBRE} = 'x' OR {T.N} = 4", f));
}

TEST(FormulaErrores, SintaxisNombraLaPosicion) {
  EXPECT_EQ(numeroDeError("{T.NOMBRE} = 'abc"), kErrorFormula);
  EXPECT_TRUE(descripcion("{T.NOMBRE} = 'abc").contains("posición 14"))
      << descripcion("{T.NOMBRE} = 'abc").toStdString();
  EXPECT_TRUE(descripcion("({T.N} = 1").contains("posición 11"));
  EXPECT_TRUE(descripcion("{T.N} = 1 )").contains("posición 11"));
  EXPECT_TRUE(descripcion("{T.N} === 1").contains("posición 8"));
  EXPECT_TRUE(descripcion("Foo({T.N})").contains("posición 1"));
  EXPECT_TRUE(descripcion("{T.N = 1").contains("'}'"));
  EXPECT_TRUE(descripcion("{T.FECHA} = Date(2024,2,30)").contains("no existe"));
  EXPECT_TRUE(descripcion("{T.N} = 1 AND").contains("final de la fórmula"));
  EXPECT_EQ(numeroDeError("{T.N} # 1"), kErrorFormula);
  EXPECT_EQ(numeroDeError("{T.N} = 1;"), kErrorFormula);
}

TEST(FormulaErrores, CampoDesconocidoYTiposNombranElSitio) {
  EXPECT_EQ(numeroDeError("{T.NOMBRE} = 'a' AND {T.NOEXISTE} = 1"), kErrorCampo);
  EXPECT_TRUE(descripcion("{T.NOMBRE} = 'a' AND {T.NOEXISTE} = 1").contains("{T.NOEXISTE}"));
  EXPECT_TRUE(descripcion("{T.NOMBRE} = 'a' AND {T.NOEXISTE} = 1").contains("posición 22"));
  EXPECT_EQ(numeroDeError("{@Otra} = 'x'"), kErrorCampo);
  EXPECT_EQ(numeroDeError("'a' = 1"), kErrorFormula);
  EXPECT_EQ(numeroDeError("'texto'"), kErrorFormula);
  // Kinds only known per row are checked per row, with the position.
  Formula f = preparada("{T.NOMBRE} = 1");
  try {
    f.selecciona(fila("x"));
    FAIL() << "comparing a text with a number must fail";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), kErrorFormula);
    EXPECT_TRUE(e.Description().contains("posición 12"));
  }
}

// The selections of a whole menu: thousands of terms in one run, and
// nesting refused before any walk of the tree could exhaust the stack.
TEST(FormulaGrande, VeinteMilTerminosYAnidamientoAcotado) {
  QString o, y;
  for (int i = 0; i < 20000; ++i) {
    o += (i ? QStringLiteral("  OR ") : QString()) + QStringLiteral("{TA_MENU.CLAVE} = 'M%1' ").arg(i);
    y += (i ? QStringLiteral(" AND ") : QString()) + QStringLiteral("{T.NOMBRE} <> 'x%1'").arg(i);
  }
  const auto conClave = [](const char* c) { return fila("x", false, "0001", c); };
  EXPECT_TRUE(elige(o, conClave("m19999")));
  EXPECT_FALSE(elige(o, conClave("M20000")));
  EXPECT_TRUE(elige(y, fila("ana")));
  EXPECT_FALSE(elige(y, fila("X12345")));
  // The same terms looked up as one list.
  const Formula f = preparada(o);
  const Formula lista = Formula::desdeNodo(o, conListas(*f.raiz()));
  EXPECT_EQ(lista.raiz()->clase, Nodo::Clase::En);
  for (const char* c : {"M0", "m19999", "M7", "M20000", "M", ""})
    EXPECT_EQ(lista.selecciona(conClave(c)), f.selecciona(conClave(c))) << c;

  const int n = 100000;
  EXPECT_EQ(numeroDeError(QString(n, '(') + "{T.N} = 1" + QString(n, ')')), kErrorFormula);
  EXPECT_EQ(numeroDeError(QStringLiteral("NOT ").repeated(n) + "{T.N} = 1"), kErrorFormula);
  EXPECT_EQ(numeroDeError("{T.N} = " + QStringLiteral("-").repeated(n) + "1"), kErrorFormula);
  EXPECT_TRUE(elige(QString(150, '(') + "{T.N} = 5" + QString(150, ')'), fila("x")));
}

TEST(FormulaPatron, ComodinesRetroceden) {
  EXPECT_TRUE(coincidePatron("abcbcd", "a*bcd"));
  EXPECT_TRUE(coincidePatron("", "*"));
  EXPECT_FALSE(coincidePatron("", "?"));
  EXPECT_TRUE(coincidePatron("x%y", "x%y"));  // % is no wildcard here
  EXPECT_FALSE(coincidePatron("xay", "x%y"));
  EXPECT_TRUE(coincidePatron("ABC", "a*C"));
  EXPECT_FALSE(coincidePatron("abcd", "a*c"));
}
