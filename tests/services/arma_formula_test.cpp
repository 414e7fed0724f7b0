// The range filter builder: messages, fragment shapes and joining.
#include <gtest/gtest.h>

#include "platform/vb/error.h"
#include "services/arma_formula.h"

using ModGlobal::ArmaFormula;
using ModGlobal::FiltroRango;

namespace {

const QString kCampo = QStringLiteral("{Ta_usuarios.nombre}");
const QString kTxt = QStringLiteral("TrimLeft(TrimRight({Ta_usuarios.nombre}))");

FiltroRango rango(const QString& desde, const QString& hasta, std::int16_t tipo = 129, const QString& campo = kCampo,
                  const QString& op = {}) {
  FiltroRango r;
  r.Desde = desde;
  r.Hasta = hasta;
  r.Campo = campo;
  r.Tipo = tipo;
  r.Operador = op;
  return r;
}

// The formula built, or "MSG:" + the message.
QString armar(const std::vector<FiltroRango>& rangos) {
  QString formula = QStringLiteral("<previa>"), mensaje;
  ArmaFormula(rangos, formula, &mensaje);
  if (!mensaje.isEmpty()) {
    EXPECT_EQ(formula, QStringLiteral("<previa>")) << "a fault must leave the formula untouched";
    return QStringLiteral("MSG:") + mensaje;
  }
  return formula;
}

std::string s(const QString& q) { return q.toStdString(); }

}  // namespace

TEST(ArmaFormula, TextoDesdeHastaConDosBlancosAntesDeAnd) {
  EXPECT_EQ(s(armar({rango("A", "M")})), s(kTxt + " >= 'A'  AND " + kTxt + " <= 'M' "));
  EXPECT_EQ(s(armar({rango("", "M")})), s(kTxt + " <= 'M' "));
  EXPECT_EQ(s(armar({rango("A", "")})), s(kTxt + " >= 'A' "));
  // Values go in as they stand, blanks kept; a quote is doubled, as the
  // formula language reads a text constant.
  EXPECT_EQ(s(armar({rango(" O'B", "")})), s(kTxt + " >= ' O''B' "));
  EXPECT_EQ(s(armar({rango("O'*", "")})), s(" (" + kTxt + " LIKE 'O''*' )"));
  auto sinTrim = rango("A", "M");
  sinTrim.SinTrim = true;
  EXPECT_EQ(s(armar({sinTrim})), s(kCampo + " >= 'A'  AND " + kCampo + " <= 'M' "));
}

TEST(ArmaFormula, ComodinesDanLikeConSusParentesis) {
  EXPECT_EQ(s(armar({rango("A*", "")})), s(" (" + kTxt + " LIKE 'A*' )"));
  EXPECT_EQ(s(armar({rango("A*", "C*")})), s(" (" + kTxt + " LIKE 'A*'  OR " + kTxt + " LIKE 'C*' )"));
  EXPECT_EQ(s(armar({rango("A*", "M")})), s(" (" + kTxt + " LIKE 'A*'  AND " + kTxt + " <= 'M' )"));
  EXPECT_EQ(s(armar({rango("A", "C*")})), s(kTxt + " >= 'A'  AND " + kTxt + " LIKE 'C*' "));
  EXPECT_EQ(s(armar({rango("", "C*")})), s(kTxt + " LIKE 'C*' "));
}

TEST(ArmaFormula, ComparacionDeTextoIgnoraMayusculas) {
  EXPECT_EQ(s(armar({rango("b", "A")})), s("MSG:Desde Mayor que Hasta, Campo : " + kCampo));
  EXPECT_EQ(s(armar({rango("A", "a")})), s(kTxt + " >= 'A'  AND " + kTxt + " <= 'a' "));
}

TEST(ArmaFormula, NumerosDobleConTonumberYSinComillas) {
  const QString f = QStringLiteral("{T.IMPORTE}");
  EXPECT_EQ(s(armar({rango("10", "2", 5, f)})), s("MSG:Desde Mayor que Hasta, Campo : " + f));
  EXPECT_EQ(s(armar({rango("2", "10", 5, f)})), "tonumber({T.IMPORTE}) >= 2  AND tonumber({T.IMPORTE}) <= 10 ");
  // Compared as numbers, not as texts ("9" sorts after "10" as a text).
  EXPECT_EQ(s(armar({rango("9", "10", 2, f)})), "{T.IMPORTE} >= 9  AND {T.IMPORTE} <= 10 ");
  EXPECT_EQ(s(armar({rango("", "7", 2, f)})), "{T.IMPORTE} <= 7 ");
  EXPECT_EQ(s(armar({rango("3", "1", 20, f)})), s("MSG:Desde Mayor que Hasta, Campo : " + f));
  EXPECT_EQ(s(armar({rango("1,5", "1,25", 6, f)})), s("MSG:Desde Mayor que Hasta, Campo : " + f));
  EXPECT_EQ(s(armar({rango("1,25", "1,5", 4, f)})), "{T.IMPORTE} >= 1,25  AND {T.IMPORTE} <= 1,5 ");
}

TEST(ArmaFormula, NumeroQueNoConvierteEsErrorDelLlamador) {
  QString formula, mensaje;
  try {
    ArmaFormula({rango("abc", "10", 2)}, formula, &mensaje);
    FAIL() << "sin error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), vb::kTypeMismatch);
  }
  try {
    ArmaFormula({rango("1", "40000", 2)}, formula, &mensaje);
    FAIL() << "sin error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), vb::kOverflow);
  }
  EXPECT_TRUE(mensaje.isEmpty());
  try {
    ArmaFormula({}, formula, &mensaje);
    FAIL() << "sin error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), vb::kSubscriptOutOfRange);
  }
}

TEST(ArmaFormula, FechasComoLiteralesYSusMensajes) {
  const QString f = QStringLiteral("{T.FECHA}");
  EXPECT_EQ(s(armar({rango("01/02/2024", "01/02/2024", 7, f)})),
            "{T.FECHA} >= Date(2024,02,01)  AND {T.FECHA} <= Date(2024,02,01) ");
  EXPECT_EQ(s(armar({rango("", "31/12/2023", 7, f)})), "{T.FECHA} <= Date(2023,12,31) ");
  // NUL characters of a fixed-length field do not count.
  EXPECT_EQ(s(armar({rango(QStringLiteral("05/03/2024") + QChar(0) + QChar(0), QString(QChar(0)), 7, f)})),
            "{T.FECHA} >= Date(2024,03,05) ");
  EXPECT_EQ(s(armar({rango("32/01/2024", "", 7, f)})), s("MSG:Fecha Desde Incorrecta , Campo : " + f));
  EXPECT_EQ(s(armar({rango("", "mañana", 7, f)})), s("MSG:Fecha Hasta Incorrecta , Campo : " + f));
  EXPECT_EQ(s(armar({rango("02/02/2024", "01/02/2024", 7, f)})), s("MSG:Fecha Desde Mayor que Hasta , Campo : " + f));
}

TEST(ArmaFormula, OperadoresYUnion) {
  const QString c = QStringLiteral("{T.C}");
  // Only the ranges with a value count; the first one's operator is never written.
  EXPECT_EQ(s(armar({rango("", ""), rango("A", "", 129, c, "or")})), "TrimLeft(TrimRight({T.C})) >= 'A' ");
  EXPECT_EQ(s(armar({rango("A", "", 129, kCampo, "OR"), rango("B", "", 129, c, " or ")})),
            s(kTxt + " >= 'A'  or TrimLeft(TrimRight({T.C})) >= 'B' "));
  EXPECT_EQ(s(armar({rango("A", ""), rango("", "B", 129, c)})),
            s(kTxt + " >= 'A'  AND TrimLeft(TrimRight({T.C})) <= 'B' "));
  // A wrong operator stops the builder even on an empty range.
  EXPECT_EQ(s(armar({rango("A", ""), rango("", "", 129, c, "XOR")})), "MSG:Operador logico incorrecto");
  // The first fault wins; later ranges are not checked.
  EXPECT_EQ(s(armar({rango("b", "a"), rango("", "", 129, c, "XOR")})),
            s("MSG:Desde Mayor que Hasta, Campo : " + kCampo));
  // Nothing to filter: an empty formula replaces what the caller had.
  EXPECT_EQ(s(armar({rango("", ""), rango(" ", "")})), "");
}

TEST(ArmaFormula, SinSalidaDeMensajeLaFormulaQuedaComoEstaba) {
  QString formula = QStringLiteral("previa");
  ArmaFormula({rango("zeta", "ana")}, formula);
  EXPECT_EQ(formula, QStringLiteral("previa"));
}
