// Connection strings, the settings-file reader and the SQL adaptations, each on its own.
#include <gtest/gtest.h>

#include "platform/ado/cadena_conexion.h"
#include "platform/ado/constantes.h"
#include "platform/ado/dialecto.h"
#include "platform/ado/errors.h"
#include "platform/ado/servidores.h"
#include "platform/ado/tipos.h"
#include "platform/vb/error.h"
#include "tests/support/temp_folder.h"

using ado::detalle::CadenaConexion;
namespace d = ado::dialecto;

TEST(CadenaConexion, ReadsKeysIgnoringCaseAndBlanks) {
  const auto c = CadenaConexion::analizar(
      QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV01;Database =EMPRESA;UId=USR1;Pwd=;  extra  =  x y ;"));
  EXPECT_EQ(c.valor({"provider"}), "SQLOLEDB");
  EXPECT_EQ(c.valor({"DATABASE"}), "EMPRESA");
  EXPECT_EQ(c.valor({"uid"}), "USR1");
  EXPECT_TRUE(c.tiene({"PWD"}));
  EXPECT_EQ(c.valor({"Pwd"}), "");
  EXPECT_EQ(c.valor({"Extra"}), "x y");
  EXPECT_EQ(c.valor({"Falta", "Server"}), "SRV01");
}

TEST(CadenaConexion, QuotedAndBracedValuesKeepTheirSemicolons) {
  const auto c = CadenaConexion::analizar(QStringLiteral("Password=\"a;b\"\"c\";Driver={SQL Server; x};Name='o''k'"));
  EXPECT_EQ(c.valor({"Password"}), "a;b\"c");
  EXPECT_EQ(c.valor({"Driver"}), "{SQL Server; x}");
  EXPECT_EQ(c.valor({"Name"}), "o'k");
  EXPECT_EQ(c.sin({"Driver", "Name"}), "Password={a;b\"c};");
}

TEST(CadenaConexion, MalformedStringsAreRunTimeErrors) {
  for (const char* mala : {"Provider=SQLOLEDB;Server", "=x", "Pwd=\"abierta", "Driver={sin cierre"}) {
    try {
      CadenaConexion::analizar(QString::fromUtf8(mala));
      ADD_FAILURE() << mala;
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number(), ado::kErrorCadenaConexion) << mala;
      EXPECT_FALSE(e.Description().isEmpty());
    }
  }
  EXPECT_NO_THROW(CadenaConexion::analizar(QStringLiteral(";;Provider=X;;")));
}

TEST(ArchivoIni, SectionsAndKeysIgnoreCaseFirstWinsCommentsSkipped) {
  prueba::CarpetaTemporal t;
  const QString f =
      t.escribir(QStringLiteral("a.ini"),
                 "; comentario\n[Otra]\nSRV=no\n[ servidores ]\r\n;SRV=comentada\n  srv = sqlite:/x/y  \r\n"
                 "SRV=segunda\nODBC1=odbc:Driver=FreeTDS;Server=h;Port=1\n");
  EXPECT_EQ(ado::detalle::leerIni(f, QStringLiteral("Servidores"), QStringLiteral("SRV")).value_or("?"), "sqlite:/x/y");
  EXPECT_EQ(ado::detalle::leerIni(f, QStringLiteral("SERVIDORES"), QStringLiteral("odbc1")).value_or("?"),
            "odbc:Driver=FreeTDS;Server=h;Port=1");
  EXPECT_FALSE(ado::detalle::leerIni(f, QStringLiteral("Servidores"), QStringLiteral("Nada")).has_value());
  EXPECT_FALSE(
      ado::detalle::leerIni(t.archivo("no.ini"), QStringLiteral("Servidores"), QStringLiteral("SRV")).has_value());
}

TEST(TiposDeclarados, MapToAdoCodesAndSizes) {
  using ado::detalle::tipoDeclarado;
  EXPECT_EQ(tipoDeclarado(u"INTEGER").tipo, ado::adInteger);
  EXPECT_EQ(tipoDeclarado(u"smallint").tipo, ado::adSmallInt);
  const auto v = tipoDeclarado(u"VARCHAR(30)");
  EXPECT_EQ(v.tipo, ado::adVarChar);
  EXPECT_EQ(v.tamano, 30);
  EXPECT_EQ(tipoDeclarado(u"NVARCHAR ( 12 )").tamano, 12);
  EXPECT_EQ(tipoDeclarado(u"CHAR(4)").tipo, ado::adChar);
  EXPECT_EQ(tipoDeclarado(u"DATETIME").tipo, ado::adDBTimeStamp);
  EXPECT_EQ(tipoDeclarado(u"DATE").tipo, ado::adDate);
  EXPECT_EQ(tipoDeclarado(u"DOUBLE PRECISION").tipo, ado::adDouble);
  EXPECT_EQ(tipoDeclarado(u"MONEY").tipo, ado::adCurrency);
  EXPECT_EQ(tipoDeclarado(u"DECIMAL(18,2)").tipo, ado::adNumeric);
  EXPECT_EQ(tipoDeclarado(u"BIT").tipo, ado::adBoolean);
  EXPECT_EQ(tipoDeclarado(u"TEXT").tipo, ado::adVarWChar);
}

TEST(Dialecto, TopBecomesLimitAtTheEndOfItsSelect) {
  EXPECT_EQ(d::adaptarTop(QStringLiteral("SELECT TOP 5 * FROM T")), "SELECT * FROM T LIMIT 5");
  EXPECT_EQ(d::adaptarTop(QStringLiteral("SELECT TOP 1  * FROM T WHERE LTRIM(RTRIM(C)) ='U1'")),
            "SELECT * FROM T WHERE LTRIM(RTRIM(C)) ='U1' LIMIT 1");
  EXPECT_EQ(d::adaptarTop(QStringLiteral("select distinct top 3 A from T order by A desc ")),
            "select distinct A from T order by A desc LIMIT 3 ");
  EXPECT_EQ(d::adaptarTop(QStringLiteral("SELECT TOP 2 G, COUNT(*) FROM T GROUP BY G ORDER BY 2;")),
            "SELECT G, COUNT(*) FROM T GROUP BY G ORDER BY 2 LIMIT 2;");
  EXPECT_EQ(d::adaptarTop(QStringLiteral("SELECT * FROM T WHERE X IN (SELECT TOP (1) Y FROM U ORDER BY Y)")),
            "SELECT * FROM T WHERE X IN (SELECT Y FROM U ORDER BY Y LIMIT 1)");
  // Inside quotes nothing changes.
  EXPECT_EQ(d::adaptarTop(QStringLiteral("SELECT 'SELECT TOP 1' FROM T")), "SELECT 'SELECT TOP 1' FROM T");
}

TEST(Dialecto, DateLiteralsBecomeIsoText) {
  EXPECT_EQ(d::adaptarFechas(QStringLiteral("WHERE F = #12/31/2024#")), "WHERE F = '2024-12-31 00:00:00'");
  EXPECT_EQ(d::adaptarFechas(QStringLiteral("F >= #31/12/2024# AND F < #2025-01-02 13:05#")),
            "F >= '2024-12-31 00:00:00' AND F < '2025-01-02 13:05:00'");
  EXPECT_EQ(d::adaptarFechas(QStringLiteral("#1/2/2024 3:04:05 PM#")), "'2024-01-02 15:04:05'");
  EXPECT_EQ(d::adaptarFechas(QStringLiteral("X = '#1/2/2024#'")), "X = '#1/2/2024#'");
  EXPECT_EQ(d::adaptarFechas(QStringLiteral("X = #40/40/2024#")), "X = #40/40/2024#");
}

TEST(Dialecto, OwnerIsNullLenAndLogicals) {
  EXPECT_EQ(d::quitarDbo(QStringLiteral("SELECT dbo.T.A FROM DBO.T, [dbo].U")), "SELECT T.A FROM T, U");
  EXPECT_EQ(d::quitarDbo(QStringLiteral("SELECT 'dbo.T' FROM T")), "SELECT 'dbo.T' FROM T");
  EXPECT_EQ(d::adaptarIsNull(QStringLiteral("SELECT ISNULL(A,0), isnull (B, '') FROM T WHERE C ISNULL")),
            "SELECT IFNULL(A,0), IFNULL (B, '') FROM T WHERE C ISNULL");
  EXPECT_EQ(d::adaptarLen(QStringLiteral("WHERE LEN(A + LEN(B)) > 0 AND T.LEN = 1")),
            "WHERE LENGTH(RTRIM(A + LENGTH(RTRIM(B)))) > 0 AND T.LEN = 1");
  EXPECT_EQ(d::adaptarLogicos(QStringLiteral("SET A = TRUE WHERE B = false AND C = 'TRUE'")),
            "SET A = 1 WHERE B = 0 AND C = 'TRUE'");
  EXPECT_EQ(d::quitarPrefijoN(QStringLiteral("WHERE A = N'ñ' AND N = 1")), "WHERE A = 'ñ' AND N = 1");
}

TEST(Dialecto, TextLiteralsInComparisonsIgnoreCase) {
  EXPECT_EQ(
      d::adaptarComparaciones(QStringLiteral("WHERE LTRIM(RTRIM(N)) ='U1' AND B <> 'x' AND C BETWEEN 'a' AND 'b'")),
      "WHERE LTRIM(RTRIM(N)) ='U1' COLLATE NOCASE AND B <> 'x' COLLATE NOCASE AND C BETWEEN 'a' COLLATE NOCASE AND "
      "'b' COLLATE NOCASE");
  EXPECT_EQ(d::adaptarComparaciones(QStringLiteral("INSERT INTO T VALUES ('a') AND X = 'b' COLLATE BINARY")),
            "INSERT INTO T VALUES ('a') AND X = 'b' COLLATE BINARY");
  // A parameter mark is compared as the text it may stand for; one already collated is left alone.
  EXPECT_EQ(d::adaptarComparaciones(
                QStringLiteral("WHERE A = ? AND B LIKE ? AND C BETWEEN ? AND ? AND D = ? COLLATE NOCASE")),
            "WHERE A = ? COLLATE NOCASE AND B LIKE ? AND C BETWEEN ? COLLATE NOCASE AND ? COLLATE NOCASE AND D = ? "
            "COLLATE NOCASE");
}

TEST(Dialecto, AlterTableAddOneStatementPerColumnWithTextCollation) {
  EXPECT_EQ(d::adaptarAlterTableAdd(QStringLiteral("ALTER TABLE TA_X ADD OBS VARCHAR(50) Null ")),
            "ALTER TABLE TA_X ADD COLUMN OBS VARCHAR(50) COLLATE NOCASE Null ");
  EXPECT_EQ(d::adaptarAlterTableAdd(
                QStringLiteral("ALTER TABLE TA_X ADD CANT INT Not Null  CONSTRAINT DF_TA_X_CANT DEFAULT (0)")),
            "ALTER TABLE TA_X ADD COLUMN CANT INT Not Null  CONSTRAINT DF_TA_X_CANT DEFAULT (0)");
  EXPECT_EQ(d::adaptarAlterTableAdd(QStringLiteral("ALTER TABLE T ADD A INT, B NVARCHAR(3) DEFAULT ('x,y')")),
            "ALTER TABLE T ADD COLUMN A INT;ALTER TABLE T ADD COLUMN B NVARCHAR(3) COLLATE NOCASE DEFAULT ('x,y')");
  EXPECT_EQ(d::adaptarAlterTableAdd(QStringLiteral("ALTER TABLE T ADD CONSTRAINT PK PRIMARY KEY (A)")),
            "ALTER TABLE T ADD CONSTRAINT PK PRIMARY KEY (A)");
  EXPECT_EQ(d::adaptarParaSqlite(QStringLiteral("ALTER TABLE dbo.TA_X ADD OBS VARCHAR(50) Null ")),
            "ALTER TABLE TA_X ADD COLUMN OBS VARCHAR(50) COLLATE NOCASE Null ");
}

// The whole rewrite skips the rules a statement cannot need; what it gives
// must be what every rule run in turn gives.
TEST(Dialecto, SkippingRulesChangesNothing) {
  const QString sentencias[] = {
      QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION WHERE CLAVE = 'TitOrdenDeTrabajo'"),
      QStringLiteral("SELECT * FROM TA_MENU WHERE MENU = 'ZEPA' AND (HABILITADO = 1) ORDER BY CLAVE "),
      QStringLiteral("SELECT TOP 1 * FROM dbo.T WHERE F = #12/31/2024# AND A = N'x' AND B = ?"),
      QStringLiteral("select top (2) isnull(a, 0), len(b) from [dbo].t where c = true and d = FALSE"),
      QStringLiteral("ALTER TABLE dbo.TA_X ADD OBS VARCHAR(50) Null "),
      QStringLiteral("UPDATE T SET A = 'it''s' WHERE N = 1 -- 'comentario' TOP\n"),
      QStringLiteral("SELECT \"TOP\", [LEN], 'dbo.x' FROM T /* ISNULL( */ WHERE #A# = 1"),
      QStringLiteral("SELECT n'a' , N 'b' FROM T WHERE X BETWEEN 'a' AND 'b'"),
      QStringLiteral("DELETE FROM T"),
      QString(),
  };
  for (const QString& s : sentencias) {
    QString todas = d::quitarPrefijoN(s);
    for (auto regla : {d::quitarDbo, d::adaptarFechas, d::adaptarLogicos, d::adaptarIsNull, d::adaptarLen,
                       d::adaptarTop, d::adaptarAlterTableAdd, d::adaptarComparaciones})
      todas = regla(todas);
    EXPECT_EQ(d::adaptarParaSqlite(s), todas) << s.toStdString();
  }
}

TEST(NumeroPorEstado, SqlStatesGiveTheOleDbNumbers) {
  EXPECT_EQ(ado::numeroPorEstado(QStringLiteral("23000")), ado::kErrorIntegridad);
  EXPECT_EQ(ado::numeroPorEstado(QStringLiteral("42S02")), ado::kErrorSinTabla);
  EXPECT_EQ(ado::numeroPorEstado(QStringLiteral("42000")), ado::kErrorSentencia);
  EXPECT_EQ(ado::numeroPorEstado(QStringLiteral("42S22")), ado::kErrorSentencia);
  EXPECT_EQ(ado::numeroPorEstado(QStringLiteral("37000")), ado::kErrorSentencia);
  EXPECT_EQ(ado::numeroPorEstado(QStringLiteral("08001")), ado::kErrorGeneral);
  EXPECT_EQ(ado::numeroPorEstado(QStringLiteral("HY000")), ado::kErrorGeneral);
}
