#include <gtest/gtest.h>

#include "platform/vb/formato.h"

namespace {

TEST(FormatoNumero, MarcadoresYRedondeo) {
  EXPECT_EQ(vb::formatoNumero(1.5, QStringLiteral("########0.00")), QStringLiteral("1,50"));
  EXPECT_EQ(vb::formatoNumero(0, QStringLiteral("########0.00")), QStringLiteral("0,00"));
  EXPECT_EQ(vb::formatoNumero(1234.5, QStringLiteral("########0.0")), QStringLiteral("1234,5"));
  EXPECT_EQ(vb::formatoNumero(123456789012.0, QStringLiteral("0")), QStringLiteral("123456789012"));
  EXPECT_EQ(vb::formatoNumero(0.125, QStringLiteral("0.00")), QStringLiteral("0,13"));  // away from zero
  EXPECT_EQ(vb::formatoNumero(2.5, QStringLiteral("0")), QStringLiteral("3"));
  EXPECT_EQ(vb::formatoNumero(9.995, QStringLiteral("0.00")), QStringLiteral("10,00"));
  EXPECT_EQ(vb::formatoNumero(0.5, QStringLiteral("#.##")), QStringLiteral(",5"));
  EXPECT_EQ(vb::formatoNumero(7, QStringLiteral("000")), QStringLiteral("007"));
  EXPECT_EQ(vb::formatoNumero(1234567.891, QStringLiteral("#,##0.00")), QStringLiteral("1.234.567,89"));
  EXPECT_EQ(vb::formatoNumero(12, QStringLiteral("#,##0")), QStringLiteral("12"));
  EXPECT_EQ(vb::formatoNumero(0.256, QStringLiteral("0%")), QStringLiteral("26%"));
  EXPECT_EQ(vb::formatoNumero(5, QStringLiteral("\"$\" 0")), QStringLiteral("$ 5"));
}

TEST(FormatoNumero, SignoYSecciones) {
  EXPECT_EQ(vb::formatoNumero(-1.5, QStringLiteral("0.00")), QStringLiteral("-1,50"));
  EXPECT_EQ(vb::formatoNumero(-0.001, QStringLiteral("0.00")), QStringLiteral("0,00"));
  EXPECT_EQ(vb::formatoNumero(-3, QStringLiteral("0;(0)")), QStringLiteral("(3)"));
  EXPECT_EQ(vb::formatoNumero(0, QStringLiteral("0;(0);\"cero\"")), QStringLiteral("cero"));
  EXPECT_EQ(vb::formatoNumero(1.005, QStringLiteral("Fixed")), QStringLiteral("1,01"));
  EXPECT_EQ(vb::formatoNumero(1234.5, QStringLiteral("Standard")), QStringLiteral("1.234,50"));
}

TEST(FormatoNumero, SegunElTipoDelValor) {
  EXPECT_EQ(vb::Format(vb::Variant(QStringLiteral("2,5")), QStringLiteral("0.00")), QStringLiteral("2,50"));
  EXPECT_EQ(vb::Format(vb::Variant(QStringLiteral("abc")), QStringLiteral("0.00")), QStringLiteral("abc"));
  EXPECT_EQ(vb::Format(vb::Variant::Null(), QStringLiteral("0.00")), QString());
  EXPECT_EQ(vb::Format(vb::Variant(std::int32_t{42}), QStringLiteral("0000")), QStringLiteral("0042"));
  EXPECT_EQ(vb::Format(vb::Variant(1.25)), QStringLiteral("1,25"));
}

}  // namespace
