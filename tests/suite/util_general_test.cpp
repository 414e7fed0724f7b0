// The general utilities as the suite's routines use them.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <functional>

#include "platform/vb/regional.h"
#include "suite/util_general.h"
#include "tests/support/numero_error.h"

using ZepaKit2::util;

namespace {

using prueba::numeroDeError;

}  // namespace

TEST(UtilGeneral, ValorCampoLeeNullComoTextoVacio) {
  EXPECT_EQ(util().ValorCampo(vb::Variant::Null()), QString());
  EXPECT_EQ(util().ValorCampo(vb::Variant()), QString());
  EXPECT_EQ(util().ValorCampo(vb::Variant(QStringLiteral(" ana "))), QStringLiteral(" ana "));
  EXPECT_EQ(util().ValorCampo(vb::Variant(std::int32_t{42})), QStringLiteral("42"));
}

TEST(UtilGeneral, ReemplazosIgnoranMayusculasYNoSeRepiten) {
  // ReemplazarTexto turns the view's name into its stock view in any case.
  EXPECT_EQ(util().ReemplazarTexto(QStringLiteral("select * from v_ma_articulos a, V_MA_ARTICULOS b"),
                                   QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("VT_MA_ARTICULOS")),
            QStringLiteral("select * from VT_MA_ARTICULOS a, VT_MA_ARTICULOS b"));
  EXPECT_EQ(util().QuitarTexto(QStringLiteral("ÑANDÚ ñandú"), QStringLiteral("ñandú")), QStringLiteral(" "));
  // A replacement holding the searched text is not searched again.
  EXPECT_EQ(util().Reemplazar(QStringLiteral("a*b*"), QStringLiteral("*"), QStringLiteral("**")),
            QStringLiteral("a**b**"));
  EXPECT_EQ(util().Reemplazar(QStringLiteral("1,5"), QStringLiteral(","), QStringLiteral(".")), QStringLiteral("1.5"));
  EXPECT_EQ(util().QuitarTexto(QStringLiteral("@server==SRV"), QStringLiteral("=")), QStringLiteral("@serverSRV"));
  // NUL characters of fixed-length records.
  const QString conNul = QStringLiteral("ab") + QChar(0) + QChar(0);
  EXPECT_EQ(util().QuitarTexto(conNul, QString(QChar(0))), QStringLiteral("ab"));
  EXPECT_EQ(util().QuitarTexto(conNul, QString(QChar(0)), QString(QChar(255))),
            QStringLiteral("ab") + QChar(255) + QChar(255));
  EXPECT_EQ(util().QuitarTexto(QStringLiteral("abc"), QString()), QStringLiteral("abc"));
}

TEST(UtilGeneral, TextoFiltroRecortaYCorta) {
  EXPECT_EQ(util().TextoFiltro(QStringLiteral("  0001  ")), QStringLiteral("0001"));
  EXPECT_EQ(util().TextoFiltro(QStringLiteral("01  "), 4), QStringLiteral("01"));
  EXPECT_EQ(util().TextoFiltro(QStringLiteral("000123"), 4), QStringLiteral("0001"));
  EXPECT_EQ(util().TextoFiltro(QStringLiteral("abc") + QChar(0) + QChar(0)), QStringLiteral("abc"));
  EXPECT_EQ(util().TextoFiltro(QStringLiteral("abc"), 0), QString());
  EXPECT_EQ(numeroDeError([] { util().TextoFiltro(QStringLiteral("abc"), -1); }), vb::kInvalidProcedureCall);
}

TEST(UtilGeneral, FormatoAnchoDaElAnchoExactoYSeLeeDeVuelta) {
  for (const QString& codigo :
       {QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("0001"), QStringLiteral("ABC")}) {
    const QString entrada = util().FormatoAncho(codigo, 4) + QStringLiteral(" - Ventas");
    EXPECT_EQ(util().FormatoAncho(codigo, 4).size(), 4);
    // What the users report does with the entry: first four characters.
    EXPECT_EQ(util().TextoFiltro(entrada.left(4), 4), codigo);
  }
  EXPECT_EQ(util().FormatoAncho(QStringLiteral("123456"), 4), QStringLiteral("1234"));
  EXPECT_EQ(numeroDeError([] { util().FormatoAncho(QStringLiteral("abc"), -2); }), vb::kInvalidProcedureCall);
}

TEST(UtilGeneral, ValorNumericoYEnteroSonIndulgentes) {
  // Regional text (decimal comma), as CStr writes amounts.
  EXPECT_EQ(util().ValorNumerico(QStringLiteral("1234,5678")), vb::Currency::desdeDiezMilesimos(12345678));
  EXPECT_EQ(util().ValorNumerico(QStringLiteral(" 16777215 ")), vb::Currency::desdeDiezMilesimos(167772150000));
  EXPECT_EQ(util().ValorNumerico(QStringLiteral("-0,0001")), vb::Currency::desdeDiezMilesimos(-1));
  // Not regional: the number at the start, point as the decimal separator.
  EXPECT_EQ(util().ValorNumerico(QStringLiteral("12.5 cm")), vb::Currency::desdeDiezMilesimos(125000));
  EXPECT_EQ(util().ValorNumerico(QStringLiteral("abc")), vb::Currency{});
  EXPECT_EQ(util().ValorNumerico(QString()), vb::Currency{});
  EXPECT_EQ(util().ValorEntero(QStringLiteral("3")), 3);
  EXPECT_EQ(util().ValorEntero(QStringLiteral("2,5")), 2);  // half to even
  EXPECT_EQ(util().ValorEntero(QStringLiteral("3,5")), 4);
  EXPECT_EQ(util().ValorEntero(QStringLiteral("x")), 0);
  EXPECT_EQ(numeroDeError([] { util().ValorEntero(QStringLiteral("99999999999")); }), vb::kOverflow);
}

TEST(UtilGeneral, FechaFormulaEscribeElLiteralDelLenguajeDeFormulas) {
  EXPECT_EQ(util().FechaFormula(QStringLiteral("05/03/2024")), QStringLiteral("Date(2024,03,05)"));
  EXPECT_EQ(util().FechaFormula(QStringLiteral(" 31/12/1999 ")), QStringLiteral("Date(1999,12,31)"));
  EXPECT_EQ(util().FechaFormula(QStringLiteral("1/2/2023 10:30")), QStringLiteral("Date(2023,02,01)"));
  EXPECT_EQ(numeroDeError([] { util().FechaFormula(QStringLiteral("31/02/2024")); }), vb::kTypeMismatch);
  EXPECT_EQ(numeroDeError([] { util().FechaFormula(QStringLiteral("mañana")); }), vb::kTypeMismatch);
  EXPECT_EQ(numeroDeError([] { util().FechaFormula(QString()); }), vb::kTypeMismatch);
}

TEST(UtilGeneral, FechaFormulaSigueElOrdenRegional) {
  vb::Regional r = vb::regional();
  r.ordenFecha = vb::OrdenFecha::MesDiaAnio;
  vb::setRegional(r);
  EXPECT_EQ(util().FechaFormula(QStringLiteral("03/05/2024")), QStringLiteral("Date(2024,03,05)"));
}

TEST(UtilGeneral, EvaluarTextoCuentaPalabras) {
  EXPECT_EQ(util().EvaluarTexto(QStringLiteral("LEN")), 1);
  EXPECT_EQ(util().EvaluarTexto(QStringLiteral("  ")), 0);
  EXPECT_EQ(util().EvaluarTexto(QStringLiteral(" SELECT  TOP 5\tNOMBRE\nFROM TA_USUARIOS ")), 6);
}

TEST(UtilGeneral, CodificarYDecodificarSonInversosYNoGuardanTextoPlano) {
  for (const QString& t :
       {QStringLiteral("Korvane"), QStringLiteral("pampero"), QStringLiteral("aaaaaaaa"),
        QStringLiteral("contraseña ñandú €"), QStringLiteral(" a=b;c|d "), QStringLiteral("\uFEFFclave")}) {
    const QString codificado = util().Codificar(t);
    EXPECT_FALSE(codificado.contains(t, Qt::CaseInsensitive)) << codificado.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]+$")).match(codificado).hasMatch());
    EXPECT_EQ(util().Decodificar(codificado), t);
  }
  // Repeated letters do not give repeated pairs.
  const QString repetido = util().Codificar(QStringLiteral("aaaaaaaa"));
  EXPECT_NE(repetido.mid(2, 2), repetido.mid(4, 2));
  EXPECT_EQ(util().Codificar(QString()), QString());
  EXPECT_EQ(util().Decodificar(QString()), QString());
  // A value typed by hand into the settings file is used as it is.
  EXPECT_EQ(util().Decodificar(QStringLiteral("ana")), QStringLiteral("ana"));
  EXPECT_EQ(util().Decodificar(QStringLiteral("CAFE")), QStringLiteral("CAFE"));
}

TEST(UtilGeneral, CarpetaConBarra) {
  EXPECT_EQ(util().CarpetaConBarra(QStringLiteral("/opt/korvane")), QStringLiteral("/opt/korvane/"));
  EXPECT_EQ(util().CarpetaConBarra(QStringLiteral("/opt/korvane/")), QStringLiteral("/opt/korvane/"));
  EXPECT_EQ(util().CarpetaConBarra(QString()), QString());
}
