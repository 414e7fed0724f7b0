#include <gtest/gtest.h>

#include "platform/vb/error.h"
#include "platform/vb/strings.h"
#include "tests/support/numero_error.h"

namespace {

using prueba::numeroDeError;

TEST(Textos, TrimQuitaSoloBlancos) {
  EXPECT_EQ(vb::Trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
  EXPECT_EQ(vb::Trim(QStringLiteral("\tx\n")), QStringLiteral("\tx\n"));
  EXPECT_EQ(vb::LTrim(QStringLiteral("  x ")), QStringLiteral("x "));
  EXPECT_EQ(vb::RTrim(QStringLiteral("  x ")), QStringLiteral("  x"));
  EXPECT_EQ(vb::Trim(QStringLiteral("   ")), QString());
}

TEST(Textos, CortesYLongitudesNegativas) {
  const QString s = QStringLiteral("Año 2024");
  EXPECT_EQ(vb::Left(s, 3), QStringLiteral("Año"));
  EXPECT_EQ(vb::Left(s, 50), s);
  EXPECT_EQ(vb::Right(s, 4), QStringLiteral("2024"));
  EXPECT_EQ(vb::Right(s, 0), QString());
  EXPECT_EQ(vb::Mid(s, 5), QStringLiteral("2024"));
  EXPECT_EQ(vb::Mid(s, 2, 2), QStringLiteral("ño"));
  EXPECT_EQ(vb::Mid(s, 9), QString());
  EXPECT_EQ(vb::Mid(s, 8, 10), QStringLiteral("4"));
  EXPECT_EQ(vb::Len(s), 8);
  EXPECT_EQ(vb::Space(3), QStringLiteral("   "));
  EXPECT_EQ(vb::StringDe(3, QStringLiteral("-x")), QStringLiteral("---"));
  EXPECT_EQ(numeroDeError([&] { vb::Left(s, -1); }), vb::kInvalidProcedureCall);
  EXPECT_EQ(numeroDeError([&] { vb::Right(s, -1); }), vb::kInvalidProcedureCall);
  EXPECT_EQ(numeroDeError([&] { vb::Mid(s, 0); }), vb::kInvalidProcedureCall);
  EXPECT_EQ(numeroDeError([&] { vb::Mid(s, 1, -1); }), vb::kInvalidProcedureCall);
  EXPECT_EQ(numeroDeError([] { vb::Space(-2); }), vb::kInvalidProcedureCall);
}

TEST(Textos, InStrBinarioYDeTexto) {
  const QString s = QStringLiteral("Configuración del MENÚ");
  EXPECT_EQ(vb::InStr(s, QStringLiteral("menú")), 0);
  EXPECT_EQ(vb::InStr(s, QStringLiteral("menú"), vb::vbTextCompare), 19);
  EXPECT_EQ(vb::InStr(s, QStringLiteral("CIÓN"), vb::vbTextCompare), 10);
  // Case is folded, accents are not dropped.
  EXPECT_EQ(vb::InStr(s, QStringLiteral("menu"), vb::vbTextCompare), 0);
  EXPECT_EQ(vb::InStr(QStringLiteral("NIÑO niño"), QStringLiteral("ñ"), vb::vbTextCompare), 3);
  EXPECT_EQ(vb::InStr(QStringLiteral("NIÑO niño"), QStringLiteral("ñ")), 8);
  EXPECT_EQ(vb::InStr(4, QStringLiteral("abcabc"), QStringLiteral("abc")), 4);
  EXPECT_EQ(vb::InStr(5, QStringLiteral("abcabc"), QStringLiteral("abc")), 0);
  EXPECT_EQ(vb::InStr(3, QStringLiteral("abc"), QString()), 3);
  EXPECT_EQ(vb::InStr(4, QStringLiteral("abc"), QString()), 4);
  EXPECT_EQ(vb::InStr(5, QStringLiteral("abc"), QString()), 0);
  EXPECT_EQ(vb::InStr(QString(), QStringLiteral("a")), 0);
  EXPECT_EQ(numeroDeError([] { vb::InStr(0, QStringLiteral("a"), QStringLiteral("a")); }), vb::kInvalidProcedureCall);
  EXPECT_EQ(vb::InStrRev(QStringLiteral("a.b.c"), QStringLiteral(".")), 4);
  EXPECT_EQ(vb::InStrRev(QStringLiteral("a.b.c"), QStringLiteral("."), 3), 2);
  EXPECT_EQ(vb::InStrRev(QStringLiteral("aXbx"), QStringLiteral("x"), -1, vb::vbTextCompare), 4);
  EXPECT_EQ(vb::InStrRev(QStringLiteral("abc"), QStringLiteral("bc"), 2), 0);
}

TEST(Textos, ReplaceCadaAparicion) {
  EXPECT_EQ(vb::Replace(QStringLiteral("a*b*c"), QStringLiteral("*"), QStringLiteral("%")), QStringLiteral("a%b%c"));
  EXPECT_EQ(vb::Replace(QStringLiteral("Menú MENÚ menu"), QStringLiteral("menú"), QStringLiteral("X"), 1, -1,
                        vb::vbTextCompare),
            QStringLiteral("X X menu"));
  EXPECT_EQ(vb::Replace(QStringLiteral("Menú MENÚ"), QStringLiteral("menú"), QStringLiteral("X")),
            QStringLiteral("Menú MENÚ"));
  EXPECT_EQ(vb::Replace(QStringLiteral("aaaa"), QStringLiteral("aa"), QStringLiteral("a")), QStringLiteral("aa"));
  EXPECT_EQ(vb::Replace(QStringLiteral("aXa"), QStringLiteral("a"), QStringLiteral("aa")), QStringLiteral("aaXaa"));
  EXPECT_EQ(vb::Replace(QStringLiteral("abc"), QString(), QStringLiteral("z")), QStringLiteral("abc"));
  EXPECT_EQ(vb::Replace(QStringLiteral("x,y,z"), QStringLiteral(","), QStringLiteral("."), 3), QStringLiteral("y.z"));
  EXPECT_EQ(vb::Replace(QStringLiteral("x,y,z"), QStringLiteral(","), QStringLiteral("."), 1, 1),
            QStringLiteral("x.y,z"));
  EXPECT_EQ(vb::Replace(QStringLiteral("abc"), QStringLiteral("a"), QStringLiteral("b"), 4), QString());
}

TEST(Textos, StrCompEIgualdadSinMayusculas) {
  EXPECT_EQ(vb::StrComp(QStringLiteral("ÑANDÚ"), QStringLiteral("ñandú"), vb::vbTextCompare), 0);
  EXPECT_NE(vb::StrComp(QStringLiteral("ÑANDÚ"), QStringLiteral("ñandú")), 0);
  EXPECT_EQ(vb::StrComp(QStringLiteral("a"), QStringLiteral("b")), -1);
  EXPECT_EQ(vb::StrComp(QStringLiteral("B"), QStringLiteral("a"), vb::vbTextCompare), 1);
  EXPECT_EQ(vb::StrComp(QStringLiteral("B"), QStringLiteral("a")), -1);
  EXPECT_TRUE(vb::igualesTexto(QStringLiteral("Canción"), QStringLiteral("CANCIÓN")));
  EXPECT_FALSE(vb::igualesTexto(QStringLiteral("Cancion"), QStringLiteral("CANCIÓN")));
  EXPECT_EQ(vb::UCase(QStringLiteral("año menú")), QStringLiteral("AÑO MENÚ"));
  EXPECT_EQ(vb::LCase(QStringLiteral("AÑO MENÚ")), QStringLiteral("año menú"));
}

TEST(Textos, Like) {
  EXPECT_TRUE(vb::Like(QStringLiteral("ANA"), QStringLiteral("A*")));
  EXPECT_TRUE(vb::Like(QStringLiteral("A"), QStringLiteral("A*")));
  EXPECT_FALSE(vb::Like(QStringLiteral("BANA"), QStringLiteral("A*")));
  EXPECT_TRUE(vb::Like(QStringLiteral("abcXbc"), QStringLiteral("*bc")));
  EXPECT_TRUE(vb::Like(QStringLiteral("a1c"), QStringLiteral("a#c")));
  EXPECT_FALSE(vb::Like(QStringLiteral("abc"), QStringLiteral("a#c")));
  EXPECT_TRUE(vb::Like(QStringLiteral("abc"), QStringLiteral("a?c")));
  EXPECT_FALSE(vb::Like(QStringLiteral("ac"), QStringLiteral("a?c")));
  EXPECT_TRUE(vb::Like(QStringLiteral("F"), QStringLiteral("[A-Z]")));
  EXPECT_FALSE(vb::Like(QStringLiteral("F"), QStringLiteral("[!A-Z]")));
  EXPECT_TRUE(vb::Like(QStringLiteral("*"), QStringLiteral("[*]")));
  EXPECT_FALSE(vb::Like(QStringLiteral("menú"), QStringLiteral("MENÚ")));
  EXPECT_TRUE(vb::Like(QStringLiteral("menú"), QStringLiteral("MEN?"), vb::vbTextCompare));
  EXPECT_TRUE(vb::Like(QStringLiteral("ñ"), QStringLiteral("[Ñ]"), vb::vbTextCompare));
  EXPECT_TRUE(vb::Like(QString(), QStringLiteral("*")));
  EXPECT_FALSE(vb::Like(QString(), QStringLiteral("?")));
  EXPECT_EQ(numeroDeError([] { vb::Like(QStringLiteral("a"), QStringLiteral("[a")); }), vb::kInvalidPatternString);
}

}  // namespace
