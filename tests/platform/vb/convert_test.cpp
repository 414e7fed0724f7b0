#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/vb/convert.h"
#include "platform/vb/error.h"
#include "platform/vb/regional.h"
#include "tests/support/numero_error.h"

namespace {

using vb::Currency;
using vb::Variant;

using prueba::numeroDeError;

Currency moneda(std::int64_t diezMilesimos) { return Currency::desdeDiezMilesimos(diezMilesimos); }

TEST(Enteros, RedondeanLaMitadAlPar) {
  EXPECT_EQ(vb::CInt(2.5), 2);
  EXPECT_EQ(vb::CInt(3.5), 4);
  EXPECT_EQ(vb::CInt(-2.5), -2);
  EXPECT_EQ(vb::CInt(-3.5), -4);
  EXPECT_EQ(vb::CInt(0.5), 0);
  EXPECT_EQ(vb::CInt(2.5000001), 3);
  EXPECT_EQ(vb::CLng(1234567.5), 1234568);
  EXPECT_EQ(vb::CLng(QStringLiteral("2,5")), 2);
  EXPECT_EQ(vb::CInt(moneda(25000)), 2);
  EXPECT_EQ(vb::CInt(moneda(35000)), 4);
  EXPECT_EQ(vb::CInt(moneda(-25001)), -3);
  EXPECT_EQ(vb::redondearEntero(6.5), 6);
  EXPECT_EQ(vb::redondearLargo(-7.5), -8);
}

TEST(Enteros, DesbordanFueraDeRango) {
  EXPECT_EQ(vb::CInt(32767.4), 32767);
  EXPECT_EQ(vb::CInt(-32768.5), -32768);  // rounds to the even end, still in range
  EXPECT_EQ(numeroDeError([] { vb::CInt(32767.5); }), vb::kOverflow);
  EXPECT_EQ(numeroDeError([] { vb::CInt(std::int32_t{40000}); }), vb::kOverflow);
  EXPECT_EQ(numeroDeError([] { vb::CLng(2147483648.0); }), vb::kOverflow);
  EXPECT_EQ(numeroDeError([] { vb::CLng(std::int64_t{1} << 40); }), vb::kOverflow);
  EXPECT_EQ(vb::CLng(-2147483648.0), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(numeroDeError([] { vb::CCur(1e300); }), vb::kOverflow);
}

TEST(Conversiones, TextoQueNoEsNumeroNoCoincide) {
  EXPECT_EQ(numeroDeError([] { vb::CDbl(QStringLiteral("12abc")); }), vb::kTypeMismatch);
  EXPECT_EQ(numeroDeError([] { vb::CInt(QStringLiteral("")); }), vb::kTypeMismatch);
  EXPECT_EQ(numeroDeError([] { vb::CCur(QStringLiteral("uno")); }), vb::kTypeMismatch);
  EXPECT_EQ(numeroDeError([] { vb::CBool(QStringLiteral("quizá")); }), vb::kTypeMismatch);
  EXPECT_EQ(numeroDeError([] { vb::CDate(QStringLiteral("31/02/2024")); }), vb::kTypeMismatch);
}

TEST(Conversiones, NullEsUsoNoValidoYEmptyEsCero) {
  const Variant nulo = Variant::Null();
  EXPECT_EQ(numeroDeError([&] { vb::CStr(nulo); }), vb::kInvalidUseOfNull);
  EXPECT_EQ(numeroDeError([&] { vb::CDbl(nulo); }), vb::kInvalidUseOfNull);
  EXPECT_EQ(numeroDeError([&] { vb::CInt(nulo); }), vb::kInvalidUseOfNull);
  EXPECT_EQ(numeroDeError([&] { vb::CCur(nulo); }), vb::kInvalidUseOfNull);
  EXPECT_EQ(numeroDeError([&] { vb::CBool(nulo); }), vb::kInvalidUseOfNull);
  EXPECT_EQ(numeroDeError([&] { vb::CDate(nulo); }), vb::kInvalidUseOfNull);
  EXPECT_EQ(nulo.toText(), QString());

  const Variant vacio;
  EXPECT_EQ(vb::CStr(vacio), QString());
  EXPECT_EQ(vb::CDbl(vacio), 0.0);
  EXPECT_EQ(vb::CLng(vacio), 0);
  EXPECT_EQ(vb::CCur(vacio), Currency{});
  EXPECT_FALSE(vb::CBool(vacio));
  EXPECT_EQ(vb::CDate(vacio), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
  EXPECT_TRUE(vacio.isNumeric());
  EXPECT_FALSE(nulo.isNumeric());
}

TEST(Conversiones, LogicosComoLaPlataforma) {
  EXPECT_EQ(vb::CInt(true), -1);
  EXPECT_EQ(vb::CStr(true), QStringLiteral("True"));
  EXPECT_TRUE(vb::CBool(QStringLiteral(" verdadero ")));
  EXPECT_FALSE(vb::CBool(QStringLiteral("False")));
  EXPECT_TRUE(vb::CBool(QStringLiteral("0,5")));
  EXPECT_FALSE(vb::CBool(QStringLiteral("0")));
  EXPECT_TRUE(vb::CBool(moneda(1)));
  EXPECT_EQ(vb::CDbl(QStringLiteral("True")), -1.0);
}

TEST(Regional, EscribeConComaYSinMiles) {
  EXPECT_EQ(vb::CStr(1.5), QStringLiteral("1,5"));
  EXPECT_EQ(vb::CStr(-1234567.25), QStringLiteral("-1234567,25"));
  EXPECT_EQ(vb::CStr(0.1 + 0.2), QStringLiteral("0,3"));  // 15 significant digits
  EXPECT_EQ(vb::CStr(1e15), QStringLiteral("1E+15"));
  EXPECT_EQ(vb::CStr(123456789012345.0), QStringLiteral("123456789012345"));
  EXPECT_EQ(vb::CStr(0.00001), QStringLiteral("1E-05"));
  EXPECT_EQ(vb::CStr(-0.0), QStringLiteral("0"));
  EXPECT_EQ(vb::CStr(1.1f), QStringLiteral("1,1"));
  EXPECT_EQ(vb::CStr(moneda(15000)), QStringLiteral("1,5"));
  EXPECT_EQ(vb::CStr(moneda(-1)), QStringLiteral("-0,0001"));
  EXPECT_EQ(vb::CStr(moneda(20000)), QStringLiteral("2"));
  EXPECT_EQ(vb::CStr(std::int16_t{-7}), QStringLiteral("-7"));
}

TEST(Regional, LeeComaDecimalYMilesEnGruposDeTres) {
  EXPECT_DOUBLE_EQ(vb::CDbl(QStringLiteral(" 1,5 ")), 1.5);
  EXPECT_DOUBLE_EQ(vb::CDbl(QStringLiteral("1.234.567,25")), 1234567.25);
  EXPECT_DOUBLE_EQ(vb::CDbl(QStringLiteral("-,5")), -0.5);
  EXPECT_DOUBLE_EQ(vb::CDbl(QStringLiteral("1,5E3")), 1500.0);
  EXPECT_DOUBLE_EQ(vb::CDbl(QStringLiteral("&HFF")), 255.0);
  EXPECT_DOUBLE_EQ(vb::CDbl(QStringLiteral("&HFFFF")), -1.0);
  EXPECT_DOUBLE_EQ(vb::CDbl(QStringLiteral("&H10000")), 65536.0);
  EXPECT_TRUE(vb::IsNumeric(QStringLiteral("1.000")));
  // A point that does not group thousands is not read as a decimal point:
  // it would silently make 1.5 worth fifteen.
  EXPECT_FALSE(vb::IsNumeric(QStringLiteral("1.5")));
  EXPECT_FALSE(vb::IsNumeric(QStringLiteral("1.2345")));
  EXPECT_FALSE(vb::IsNumeric(QStringLiteral("")));
  EXPECT_FALSE(vb::IsNumeric(QStringLiteral("  ")));
  EXPECT_FALSE(vb::IsNumeric(QStringLiteral("1,5,5")));
  EXPECT_FALSE(vb::IsNumeric(QStringLiteral("1e")));
  EXPECT_FALSE(vb::IsNumeric(QStringLiteral("&HFFFFFFFFF")));
  EXPECT_TRUE(vb::IsNumeric(Variant(QStringLiteral("12,5"))));
  EXPECT_FALSE(vb::IsNumeric(Variant(QStringLiteral("12abc"))));
}

TEST(Regional, SePuedeCambiarPorContexto) {
  vb::Regional r;
  r.separadorDecimal = QLatin1Char('.');
  r.separadorMiles = QLatin1Char(',');
  vb::setRegional(r);
  EXPECT_EQ(vb::CStr(1.5), QStringLiteral("1.5"));
  EXPECT_DOUBLE_EQ(vb::CDbl(QStringLiteral("1,234.5")), 1234.5);
  EXPECT_EQ(vb::regional().separadorDecimal, QLatin1Char('.'));
}

TEST(Moneda, CuatroDecimalesAlPar) {
  EXPECT_EQ(vb::CCur(QStringLiteral("0,1")), moneda(1000));
  EXPECT_EQ(vb::CCur(QStringLiteral("1,00005")), moneda(10000));
  EXPECT_EQ(vb::CCur(QStringLiteral("1,00015")), moneda(10002));
  EXPECT_EQ(vb::CCur(QStringLiteral("1,000051")), moneda(10001));
  EXPECT_EQ(vb::CCur(QStringLiteral("-0,00005")), moneda(0));
  EXPECT_EQ(vb::CCur(QStringLiteral("0,000049")), moneda(0));
  EXPECT_EQ(vb::CCur(1.00005), moneda(10000));
  EXPECT_EQ(vb::CCur(2.675), moneda(26750));
  EXPECT_EQ(vb::redondearMoneda(-1.23456), moneda(-12346));
  EXPECT_EQ(vb::CCur(QStringLiteral("922337203685477,5807")), moneda(std::numeric_limits<std::int64_t>::max()));
  EXPECT_EQ(numeroDeError([] { vb::CCur(QStringLiteral("922337203685477,5808")); }), vb::kOverflow);
  EXPECT_EQ(vb::CCur(QStringLiteral("-922337203685477,5808")), moneda(std::numeric_limits<std::int64_t>::min()));
}

TEST(Val, LeeElNumeroDelPrincipio) {
  EXPECT_EQ(vb::Val(QStringLiteral("12abc")), 12.0);
  EXPECT_EQ(vb::Val(QStringLiteral(" 1 2")), 12.0);
  EXPECT_EQ(vb::Val(QStringLiteral("  - 3 .5 x")), -3.5);
  EXPECT_EQ(vb::Val(QStringLiteral("1.5.3")), 1.5);
  EXPECT_EQ(vb::Val(QStringLiteral("1,5")), 1.0);
  EXPECT_EQ(vb::Val(QStringLiteral(".25")), 0.25);
  EXPECT_EQ(vb::Val(QStringLiteral("1e3")), 1000.0);
  EXPECT_EQ(vb::Val(QStringLiteral("2E-2kg")), 0.02);
  EXPECT_EQ(vb::Val(QStringLiteral("7e")), 7.0);
  EXPECT_EQ(vb::Val(QStringLiteral("&H1F")), 31.0);
  EXPECT_EQ(vb::Val(QStringLiteral("&HFFFF")), -1.0);
  EXPECT_EQ(vb::Val(QStringLiteral("&o17")), 15.0);
  EXPECT_EQ(vb::Val(QStringLiteral("&Hzz")), 0.0);
  EXPECT_EQ(vb::Val(QStringLiteral("abc")), 0.0);
  EXPECT_EQ(vb::Val(QString()), 0.0);
  EXPECT_EQ(vb::Val(QStringLiteral("-")), 0.0);
  EXPECT_EQ(numeroDeError([] { vb::Val(QStringLiteral("1e999")); }), vb::kOverflow);
}

TEST(Str, PuntoYBlancoDelante) {
  EXPECT_EQ(vb::Str(1.5), QStringLiteral(" 1.5"));
  EXPECT_EQ(vb::Str(-1.5), QStringLiteral("-1.5"));
  EXPECT_EQ(vb::Str(0.5), QStringLiteral(" .5"));
  EXPECT_EQ(vb::Str(-0.5), QStringLiteral("-.5"));
  EXPECT_EQ(vb::Str(0), QStringLiteral(" 0"));
  EXPECT_EQ(vb::Str(42), QStringLiteral(" 42"));
}

TEST(Conversiones, FechasYNumerosSeriales) {
  EXPECT_DOUBLE_EQ(vb::CDbl(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
  EXPECT_EQ(vb::CDate(2.25), QDateTime(QDate(1900, 1, 1), QTime(6, 0)));
  EXPECT_EQ(vb::CDate(QStringLiteral("45292")), QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
  EXPECT_EQ(vb::CDate(QStringLiteral("31/12/2024 23:59")), QDateTime(QDate(2024, 12, 31), QTime(23, 59)));
  EXPECT_EQ(vb::CStr(QDateTime(QDate(2024, 3, 5), QTime(0, 0))), QStringLiteral("05/03/2024"));
  EXPECT_EQ(vb::CStr(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9))), QStringLiteral("05/03/2024 07:08:09"));
  EXPECT_EQ(vb::CStr(QDateTime(QDate(1899, 12, 30), QTime(7, 8, 9))), QStringLiteral("07:08:09"));
  EXPECT_EQ(numeroDeError([] { vb::CDate(1e10); }), vb::kOverflow);
}

}  // namespace

// CStr lays out the shortest digits itself; it must still write exactly what
// printf's %.15G (and %.7G for singles) writes, with the regional comma.
TEST(Regional, EscribeLoMismoQuePrintf) {
  auto printf15 = [](double d, int cifras) {
    char t[64];
    std::snprintf(t, sizeof t, "%.*G", cifras, d);
    return QString::fromLatin1(t).replace(QLatin1Char('.'), QLatin1Char(','));
  };
  std::uint64_t x = 88172645463325252ull;
  auto siguiente = [&] {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    return x;
  };
  std::vector<double> valores = {0.1,    0.25,   10.75, 1e14,   999999999999999.0, 1e15,      1.5e15,  123456.0,   1e-4,
                                 1.5e-5, -0.001, 1e300, 5e-324, 0.1 + 0.2,         100.0 / 3, 2.0 / 3, 1234567.125};
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t r = siguiente();
    valores.push_back(static_cast<double>(r % 100000000) / std::pow(10.0, static_cast<int>(r >> 60) % 9));
    double crudo;
    std::uint64_t bits = siguiente();
    std::memcpy(&crudo, &bits, sizeof crudo);
    if (std::isfinite(crudo)) valores.push_back(crudo);
  }
  for (double d : valores) {
    if (d == 0.0) continue;
    ASSERT_EQ(vb::CStr(d), printf15(d, 15)) << d;
    const float f = static_cast<float>(d);
    if (std::isfinite(f) && f != 0.0f) {
      ASSERT_EQ(vb::CStr(f), printf15(f, 7)) << f;
    }
  }
}
