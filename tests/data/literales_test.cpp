// Literal formatting: type groups, quoting, SQLValue and the name cleaners.
#include <gtest/gtest.h>

#include "data/db_dll.h"
#include "platform/vb/error.h"

TEST(Literales, GruposDeTipos) {
  DB_Dll d;
  for (int c : {7, 64, 133, 134, 135, 137}) EXPECT_TRUE(d.adodate(c)) << c;
  for (int c : {8, 129, 130, 200, 201, 202, 203}) EXPECT_TRUE(d.ADOText(c)) << c;
  for (int c : {2, 3, 4, 5, 14, 16, 17, 18, 19, 20, 21, 131}) EXPECT_TRUE(d.ADONumeric(c)) << c;
  EXPECT_FALSE(d.ADONumeric(6));
  EXPECT_TRUE(d.ADOCurrency(6));
  EXPECT_TRUE(d.ADOBoolean(11));
  EXPECT_FALSE(d.adodate(8));
  EXPECT_FALSE(d.ADOText(7));
  // Compared by value: the text "7" is the code 7; what is not a number is no code.
  EXPECT_TRUE(d.adodate(vb::Variant("7")));
  EXPECT_TRUE(d.ADOText(vb::Variant(200.0)));
  for (const vb::Variant& v : {vb::Variant("fecha"), vb::Variant(), vb::Variant::Null(), vb::Variant("7,5")}) {
    EXPECT_FALSE(d.adodate(v));
    EXPECT_FALSE(d.ADOText(v));
    EXPECT_FALSE(d.ADONumeric(v));
    EXPECT_EQ(d.ADOComilla(v), "");
  }
}

TEST(Literales, Comillas) {
  DB_Dll d;
  EXPECT_EQ(d.ADOComilla(135), "'");
  EXPECT_EQ(d.ADOComilla(200), "'");
  EXPECT_EQ(d.ADOComilla(3), "");
  EXPECT_EQ(d.ADOComilla(6), "");
}

TEST(Literales, SQLValue) {
  DB_Dll d;
  // A quote inside is doubled: the value stays one literal.
  EXPECT_EQ(d.SQLValue("O'Brien").toString(), "'O''Brien'");
  EXPECT_EQ(d.SQLValue("x' OR 1=1 OR '").toString(), "'x'' OR 1=1 OR '''");
  EXPECT_EQ(d.SQLValue(vb::Variant::Null()).toString(), "NULL");
  EXPECT_EQ(d.SQLValue(vb::Variant()).toString(), "''");
  EXPECT_EQ(d.SQLValue(vb::Variant::Null(), "@").toString(), "0");
  EXPECT_EQ(d.SQLValue(vb::Variant::Null(), "").toString(), "NULL");
  EXPECT_EQ(d.SQLValue("ABC", "").toString(), "ABC");
  // Amounts: four decimals at most, a point for SQL whatever the region writes.
  EXPECT_EQ(d.SQLValue("1234,5", "@").toString(), "1234.5");
  EXPECT_EQ(d.SQLValue(2.125, "@").toString(), "2.125");
  EXPECT_EQ(d.SQLValue("1,23456", "@").toString(), "1.2346");
  EXPECT_EQ(d.SQLValue(std::int32_t(-15), "@").toString(), "-15");
  EXPECT_EQ(d.SQLValue(std::int32_t(42)).toString(), "'42'");
  // Text that is not a number is no amount: not its leading number, nor 0.
  for (const char* malo : {"12abc", "abc", " "}) {
    SCOPED_TRACE(malo);
    try {
      d.SQLValue(malo, "@");
      ADD_FAILURE() << "aceptó " << malo;
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number(), vb::kTypeMismatch);
    }
  }
}

TEST(Literales, Corchetes) {
  DB_Dll d;
  EXPECT_EQ(d.AddBrackets("Mis Datos"), "[Mis Datos]");
  EXPECT_EQ(d.AddBrackets("[Mis Datos]"), "[Mis Datos]");
  EXPECT_EQ(d.AddBrackets("Clientes"), "Clientes");
  EXPECT_EQ(d.StripBrackets("[Mis Datos]"), "Mis Datos");
  EXPECT_EQ(d.StripBrackets("[abc"), "ab");
  EXPECT_EQ(d.StripBrackets("abc]"), "abc]");
  EXPECT_EQ(d.StripBrackets("[]"), "");
  EXPECT_THROW(d.StripBrackets("["), vb::Error);
}

TEST(Literales, ConexionYDueno) {
  DB_Dll d;
  EXPECT_EQ(d.StripConnect("Clientes ->Conexion"), "Clientes");
  EXPECT_EQ(d.StripConnect("Clientes"), "Clientes");
  EXPECT_EQ(d.StripConnect(" ->X"), "");
  try {
    d.StripConnect("->X");
    ADD_FAILURE() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), vb::kInvalidProcedureCall);
  }
  QString n = QStringLiteral("dbo.TA_USUARIOS");
  EXPECT_EQ(d.StripOwner(n), "TA_USUARIOS");
  EXPECT_EQ(n, "TA_USUARIOS");
  n = QStringLiteral("a.b.c");
  EXPECT_EQ(d.StripOwner(n), "b.c");
  n = QStringLiteral("SIN_DUENO");
  EXPECT_EQ(d.StripOwner(n), "SIN_DUENO");
}

TEST(Literales, CarpetaDeUnArchivo) {
  DB_Dll d;
  EXPECT_EQ(d.StripFileName("C:\\Datos\\base.mdb"), "C:\\Datos");
  EXPECT_EQ(d.StripFileName("base.mdb"), "");
  EXPECT_EQ(d.StripFileName("\\base.mdb"), "");
  EXPECT_EQ(d.StripFileName("/datos/suite/base.db"), "/datos/suite");
}

TEST(Literales, TablaYCampo) {
  DB_Dll d;
  for (bool parte : {false, true}) {
    QString n = QStringLiteral("dbo.TA_USUARIOS.NOMBRE");
    EXPECT_EQ(d.stSTF(n, parte), "TA_USUARIOS.NOMBRE");
    EXPECT_EQ(n, "TA_USUARIOS.NOMBRE");
  }
  QString n = QStringLiteral("TA_USUARIOS.NOMBRE");
  EXPECT_EQ(d.stSTF(n, false), "TA_USUARIOS");
  EXPECT_EQ(d.stSTF(n, true), "NOMBRE");
  EXPECT_EQ(n, "TA_USUARIOS.NOMBRE");
  n = QStringLiteral("NOMBRE");
  EXPECT_EQ(d.stSTF(n, true), "NOMBRE");
  EXPECT_THROW(d.stSTF(n, false), vb::Error);
}
