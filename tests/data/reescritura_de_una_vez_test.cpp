// Rules that look at a statement once must leave what their steps taken in
// turn would: the synonyms' contexts tried one after another, the five forms
// of LEN one after another.
#include <gtest/gtest.h>

#include "data/reescritura.h"

using reescritura::ORACLE_Dicc;
using reescritura::SS_TSinonimos;

TEST(Sinonimos, LosContextosSeProbabanUnoTrasOtro) {
  // The blank between two names serves the first " T " only; the second name
  // fits no later context.
  EXPECT_EQ(SS_TSinonimos(" MA_CUENTAS MA_CUENTAS ", false), " SS_MA_CUENTAS MA_CUENTAS ");
  // Here each name is taken by a different context, sharing the blanks.
  EXPECT_EQ(SS_TSinonimos("(MA_CUENTAS MA_CUENTAS MA_CUENTAS.", false), "(SS_MA_CUENTAS SS_MA_CUENTAS SS_MA_CUENTAS.");
  EXPECT_EQ(SS_TSinonimos("FROM MV_ASIENTOS,MA_CUENTAS.X,(V_TA_CAJAS.Y", false),
            "FROM MV_ASIENTOS,SS_MA_CUENTAS.X,(SS_V_TA_CAJAS.Y");
  // A marked MA_CUENTAS comes back as the suite writes it, unless for the administrator.
  EXPECT_EQ(SS_TSinonimos("X @admin_ma_cuentas Y", false), "X MA_CUENTAS Y");
  EXPECT_EQ(SS_TSinonimos("X @admin_ma_cuentas Y", true), "X ma_cuentas Y");
}

TEST(DialectoOracle, LenConHastaCuatroBlancos) {
  const QString oracle = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;");
  EXPECT_EQ(ORACLE_Dicc("SELECT LEN    (A), LEN     (B), len(C), XLEN(D) FROM T", oracle),
            "SELECT LENGTH(A), LEN     (B), LENGTH(C), XLEN(D) FROM T");
  EXPECT_EQ(ORACLE_Dicc("SELECT A FROM T WHERE LEN  (B) > 0 AND LEN(LEN(C)) > 1", oracle),
            "SELECT A FROM T WHERE LENGTH(B) > 0 AND LENGTH(LEN(C)) > 1");
}
