// Bound parameters: Recordset::Open with values for the "?" marks, on the
// embedded engine (through a server alias, in the program's dialect) and
// through unixODBC with Debian's SQLite ODBC driver.
#include <gtest/gtest.h>

#include <functional>

#include "platform/ado/connection.h"
#include "platform/ado/odbc/enlace_odbc.h"
#include "platform/ado/recordset.h"
#include "platform/vb/error.h"
#include "tests/platform/ado/base_prueba.h"
#include "tests/support/numero_error.h"

using namespace ado;
using V = std::vector<vb::Variant>;

namespace {

using prueba::numeroDeError;

// The CODIGO column of every row, as text, in order.
QString codigos(Recordset& rs) {
  QStringList r;
  while (!rs.EOF()) {
    r << rs.Fields(0).Value().toText();
    rs.MoveNext();
  }
  return r.join(u',');
}

const char* kMasUsuarios =
    "INSERT INTO TA_USUARIOS (CODIGO, NOMBRE, GRUPO) VALUES (4, 'O''Brien', 'a?b');"
    "INSERT INTO TA_USUARIOS (CODIGO, NOMBRE, GRUPO) VALUES (5, ''' OR ''1''=''1', '--');";

class Parametros : public ::testing::Test {
 protected:
  Parametros() : servidores_("[Servidores]\nLOCAL=sqlite:" + datos_.ruta().toUtf8() + "\n") {
    prueba::crearBase(datos_.archivo(QStringLiteral("EMPRESA.db")),
                      (QByteArray(prueba::kEsquemaUsuarios) + kMasUsuarios).constData());
    cn_.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=local;Database =EMPRESA;UId=USR1;Pwd=x;"));
  }
  QString leer(const QString& sql, const V& valores, long cursor = adOpenForwardOnly) {
    Recordset rs;
    rs.Open(sql, cn_, valores, cursor);
    return codigos(rs);
  }

  prueba::CarpetaTemporal datos_;
  prueba::Servidores servidores_;
  Connection cn_;
};

}  // namespace

TEST_F(Parametros, TextsAreOnlyDataQuotesAndMarksIncluded) {
  const QString sql = QStringLiteral("SELECT CODIGO FROM TA_USUARIOS WHERE NOMBRE = ? ORDER BY CODIGO");
  EXPECT_EQ(leer(sql, V{vb::Variant("O'Brien")}), "4");
  EXPECT_EQ(leer(sql, V{vb::Variant("' OR '1'='1")}), "5");
  EXPECT_EQ(leer(sql, V{vb::Variant("x' OR 'a'='a")}), "");
  // As the server compares: ignoring case, also against an expression.
  EXPECT_EQ(leer(sql, V{vb::Variant("BETO")}), "2");
  EXPECT_EQ(
      leer(QStringLiteral("SELECT CODIGO FROM TA_USUARIOS WHERE LTRIM(RTRIM(NOMBRE)) = ?"), V{vb::Variant("carla")}),
      "3");
  // A "?" between quotes is text, not a mark; the values go to the marks in order.
  EXPECT_EQ(
      leer(QStringLiteral("SELECT CODIGO, '?' AS Q FROM TA_USUARIOS WHERE GRUPO = ? OR (GRUPO = '--' AND CODIGO = ?)"),
           V{vb::Variant("A?B"), vb::Variant(std::int32_t{5})}),
      "4,5");
  EXPECT_EQ(
      leer(QStringLiteral("SELECT CODIGO FROM TA_USUARIOS WHERE NOMBRE LIKE ? ORDER BY CODIGO"), V{vb::Variant("%'%")}),
      "4,5");
}

TEST_F(Parametros, NumbersDatesBooleansAndNull) {
  const QString por = QStringLiteral("SELECT CODIGO FROM TA_USUARIOS WHERE %1 ORDER BY CODIGO");
  EXPECT_EQ(leer(por.arg("CODIGO IN (?, ?, ?)"),
                 V{vb::Variant(std::int16_t{1}), vb::Variant(std::int64_t{3}), vb::Variant(std::uint8_t{9})}),
            "1,3");
  EXPECT_EQ(leer(por.arg("TASA > ?"), V{vb::Variant(0.3)}), "3");
  EXPECT_EQ(leer(por.arg("TASA = ?"), V{vb::Variant(0.25f)}), "1");
  EXPECT_EQ(leer(por.arg("SALDO = ?"), V{vb::Variant(vb::Currency{105000})}), "1");
  EXPECT_EQ(leer(por.arg("ACTIVO = ?"), V{vb::Variant(true)}), "1,3");
  // Dates as the provider stores them, time included.
  EXPECT_EQ(leer(por.arg("ALTA = ?"), V{vb::Variant(QDateTime(QDate(2024, 1, 15), QTime(8, 30)))}), "1");
  EXPECT_EQ(leer(por.arg("ALTA >= ? AND ALTA < ?"), V{vb::Variant(QDateTime(QDate(2024, 2, 1), QTime(0, 0))),
                                                      vb::Variant(QDateTime(QDate(2024, 3, 2), QTime(0, 0)))}),
            "2");
  // Null and Empty bind SQL NULL: equal to nothing, and NULL for IS NULL.
  EXPECT_EQ(leer(por.arg("NOTAS = ?"), V{vb::Variant::Null()}), "");
  EXPECT_EQ(leer(por.arg("? IS NULL AND ? IS NULL AND NOTAS IS NULL"), V{vb::Variant::Null(), vb::Variant()}), "1,4,5");
  // Read back as bound.
  Recordset rs;
  rs.Open(QStringLiteral("SELECT ? AS T, ? AS N, ? AS D"), cn_,
          V{vb::Variant("a'b"), vb::Variant(2.5), vb::Variant::Null()});
  EXPECT_EQ(rs.Fields("T").Value(), vb::Variant("a'b"));
  EXPECT_EQ(rs.Fields("N").Value(), vb::Variant(2.5));
  EXPECT_TRUE(rs.Fields("D").Value().isNull());
}

TEST_F(Parametros, ValuesStayWithTheRecordsetWhenItRunsAgain) {
  Recordset rs;
  rs.Open(QStringLiteral("SELECT CODIGO FROM TA_USUARIOS WHERE GRUPO = ? ORDER BY CODIGO"), cn_, V{vb::Variant("ven")});
  EXPECT_EQ(codigos(rs), "2,3");
  rs.MoveFirst();  // forward only: the query runs again, with its values
  EXPECT_EQ(codigos(rs), "2,3");
  rs.Close();
  // A client cursor reads them all at once.
  rs.setCursorLocation(adUseClient);
  rs.Open(QStringLiteral("SELECT CODIGO FROM TA_USUARIOS WHERE GRUPO <> ?"), cn_, V{vb::Variant("VEN")}, adOpenStatic);
  EXPECT_EQ(rs.RecordCount(), 3);
}

TEST_F(Parametros, ACountThatDoesNotMatchTheMarksFailsAndOpensNothing) {
  Recordset rs;
  EXPECT_EQ(numeroDeError([&] {
              rs.Open(QStringLiteral("SELECT * FROM TA_USUARIOS WHERE CODIGO = ? OR CODIGO = ?"), cn_,
                      V{vb::Variant(std::int32_t{1})});
            }),
            kErrorFaltaParametro);
  EXPECT_EQ(rs.State(), adStateClosed);
  ASSERT_EQ(cn_.Errors().Count(), 1);
  EXPECT_EQ(cn_.Errors()[0].Number(), kErrorFaltaParametro);
  EXPECT_EQ(numeroDeError([&] {
              rs.Open(QStringLiteral("SELECT * FROM TA_USUARIOS WHERE CODIGO = ?"), cn_,
                      V{vb::Variant(std::int32_t{1}), vb::Variant(std::int32_t{2})});
            }),
            kErrorArgumentos);
  EXPECT_EQ(rs.State(), adStateClosed);
  // The connection goes on working.
  EXPECT_EQ(leer(QStringLiteral("SELECT CODIGO FROM TA_USUARIOS WHERE CODIGO = ?"), V{vb::Variant(std::int32_t{2})}),
            "2");
}

// ---- through unixODBC ----

class ParametrosOdbc : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ado::detalle::controladoresOdbc().contains(QStringLiteral("SQLite3")))
      GTEST_SKIP() << "the SQLite3 ODBC driver (libsqliteodbc) is not installed";
    const QString archivo = datos_.archivo(QStringLiteral("EMPRESA.db"));
    prueba::crearBase(archivo, (QByteArray(prueba::kEsquemaUsuarios) + kMasUsuarios).constData());
    cn_.Open(QStringLiteral("Driver=SQLite3;Database=%1;").arg(archivo));
  }
  QString leer(const QString& sql, const V& valores) {
    Recordset rs;
    rs.Open(sql, cn_, valores);
    return codigos(rs);
  }

  prueba::CarpetaTemporal datos_;
  Connection cn_;
};

TEST_F(ParametrosOdbc, TextsNumbersDatesAndNullBindThroughTheDriver) {
  const QString por = QStringLiteral("SELECT CODIGO FROM TA_USUARIOS WHERE %1 ORDER BY CODIGO");
  EXPECT_EQ(leer(por.arg("NOMBRE = ?"), V{vb::Variant("O'Brien")}), "4");
  EXPECT_EQ(leer(por.arg("NOMBRE = ?"), V{vb::Variant("' OR '1'='1")}), "5");
  EXPECT_EQ(leer(por.arg("NOTAS = ?"), V{vb::Variant(QStringLiteral("ñandú"))}), "2");
  EXPECT_EQ(leer(por.arg("CODIGO = ? OR TASA > ?"), V{vb::Variant(std::int32_t{1}), vb::Variant(1.0)}), "1,3");
  EXPECT_EQ(leer(por.arg("ACTIVO = ?"), V{vb::Variant(false)}), "2");
  EXPECT_EQ(leer(por.arg("ALTA >= ? AND ALTA < ?"), V{vb::Variant(QDateTime(QDate(2024, 1, 15), QTime(8, 0))),
                                                      vb::Variant(QDateTime(QDate(2024, 1, 16), QTime(0, 0)))}),
            "1");
  EXPECT_EQ(leer(por.arg("NOTAS = ?"), V{vb::Variant::Null()}), "");
  EXPECT_EQ(leer(por.arg("? IS NULL AND NOTAS IS NULL"), V{vb::Variant::Null()}), "1,4,5");
  Recordset rs;
  EXPECT_EQ(numeroDeError([&] { rs.Open(por.arg("CODIGO = ? OR CODIGO = ?"), cn_, V{vb::Variant(std::int32_t{1})}); }),
            kErrorFaltaParametro);
  EXPECT_EQ(rs.State(), adStateClosed);
  EXPECT_EQ(leer(por.arg("GRUPO = ?"), V{vb::Variant("a?b")}), "4");
}
