// Statement rewriting: synonyms for users who are not administrators, the
// Oracle translation step by step, and the SQL Server script runner.
#include <gtest/gtest.h>

#include "data/db_dll.h"
#include "data/reescritura.h"
#include "platform/vb/error.h"
#include "platform/vb/regional.h"
#include "tests/data/base_prueba.h"

using reescritura::ORACLE_Dicc;
using reescritura::SS_TSinonimos;

namespace {

const QString kOracle = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;Password=p;");
const QString kSqlServer = QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV;Database =EMPRESA;UId=u;Pwd=p;");

QString oracle(const char* sql) { return ORACLE_Dicc(QString::fromUtf8(sql), kOracle); }

}  // namespace

TEST(Sinonimos, OtrosUsuariosVenLasTablasRestringidas) {
  EXPECT_EQ(SS_TSinonimos("SELECT * FROM MA_CUENTAS WHERE X=1", false), "SELECT * FROM SS_MA_CUENTAS WHERE X=1");
  EXPECT_EQ(SS_TSinonimos("SELECT * FROM @Admin_MA_CUENTAS WHERE X=1", false), "SELECT * FROM MA_CUENTAS WHERE X=1");
  // Contexts: "(T ", " T.", "(T.", ",T." and the report-formula brace.
  EXPECT_EQ(SS_TSinonimos("SELECT MA_CUENTAS.A FROM (MA_CUENTAS INNER JOIN X ON (MA_CUENTAS.A=X.A))", false),
            "SELECT SS_MA_CUENTAS.A FROM (SS_MA_CUENTAS INNER JOIN X ON (SS_MA_CUENTAS.A=X.A))");
  EXPECT_EQ(SS_TSinonimos("SELECT X.A,MV_ASIENTOS.B FROM X, MV_ASIENTOS ", false),
            "SELECT X.A,SS_MV_ASIENTOS.B FROM X, SS_MV_ASIENTOS ");
  EXPECT_EQ(SS_TSinonimos("{MA_CUENTAS.CODIGO} = '1'", false), "{SS_MA_CUENTAS.CODIGO} = '1'");
  EXPECT_EQ(SS_TSinonimos("{MV_ASIENTOS.CODIGO} = '1'", false), "{MV_ASIENTOS.CODIGO} = '1'");
  // Letter case is ignored; the synonym is written as the suite names it.
  EXPECT_EQ(SS_TSinonimos("select * from ma_cuentas where x=1", false), "select * from SS_MA_CUENTAS where x=1");
}

TEST(Sinonimos, LasSieteTablasYSusSinonimos) {
  EXPECT_EQ(
      SS_TSinonimos(" V_TA_DEPOSITO  V_TA_FAMILIAS  V_TA_CAJAS  AC_CUENTASDIARIO  AC_CUENTASDIARIO_CCOSTO ", false),
      " SS_V_TA_DEPOSITO  SS_V_TA_FAMILIAS  SS_V_TA_CAJAS  SS_AC_CUENTASDIARIO  SS_AC_CUENTAS_DIARIO_CCOSTO ");
}

TEST(Sinonimos, ContextosQueNoCambian) {
  // At the very start, at the end, after a comma without a dot, before a comma.
  EXPECT_EQ(SS_TSinonimos("MA_CUENTAS WHERE X", false), "MA_CUENTAS WHERE X");
  EXPECT_EQ(SS_TSinonimos("SELECT * FROM MA_CUENTAS", false), "SELECT * FROM MA_CUENTAS");
  EXPECT_EQ(SS_TSinonimos("FROM X,MA_CUENTAS WHERE", false), "FROM X,MA_CUENTAS WHERE");
  EXPECT_EQ(SS_TSinonimos("FROM MA_CUENTAS,X", false), "FROM MA_CUENTAS,X");
  EXPECT_EQ(SS_TSinonimos("FROM SS_MA_CUENTAS WHERE", false), "FROM SS_MA_CUENTAS WHERE");
}

TEST(Sinonimos, AdministradorSoloPierdeLasMarcas) {
  EXPECT_EQ(SS_TSinonimos("SELECT * FROM MA_CUENTAS M, @Admin_MV_ASIENTOS A WHERE ", true),
            "SELECT * FROM MA_CUENTAS M, MV_ASIENTOS A WHERE ");
  EXPECT_EQ(SS_TSinonimos("FROM @admin_MV_ASIENTOS A", false), "FROM MV_ASIENTOS A");
}

TEST(Sinonimos, ElObjetoUsaSuPropiaMarcaDeAdministrador) {
  DB_Dll d;
  d.gEsAdmin = false;
  EXPECT_EQ(d.SS_TSinonimos("FROM MA_CUENTAS WHERE"), "FROM SS_MA_CUENTAS WHERE");
  d.gEsAdmin = true;
  EXPECT_EQ(d.SS_TSinonimos("FROM MA_CUENTAS WHERE"), "FROM MA_CUENTAS WHERE");
}

TEST(DialectoOracle, SinOracleTodoVuelveIgual) {
  for (const char* s : {"SELECT TOP 5 * FROM T", "LEN", "ISNULL(A,0)", "WHERE A = ''", "'31/12/2024'", "'sin par"})
    EXPECT_EQ(ORACLE_Dicc(QString::fromUtf8(s), kSqlServer), QString::fromUtf8(s));
  EXPECT_EQ(ORACLE_Dicc("SELECT TOP 5 * FROM T", QString()), "SELECT TOP 5 * FROM T");
}

TEST(DialectoOracle, UnaSolaPalabra) {
  EXPECT_EQ(oracle("LEN"), "LENGTH");
  EXPECT_EQ(oracle("len"), "LENGTH");
  EXPECT_EQ(oracle("ISNULL(A,0)"), "ISNULL(A,0)");  // one word: left alone
  EXPECT_EQ(oracle(""), "");
}

TEST(DialectoOracle, LimiteDeFilas) {
  EXPECT_EQ(oracle("SELECT TOP 5 * FROM T"), "SELECT  * FROM T  WHERE ROWNUM <= 5  ");
  EXPECT_EQ(oracle("SELECT TOP 1 * FROM T WHERE A = 1"), "SELECT  * FROM T WHERE A = 1  AND ROWNUM <= 1  ");
  EXPECT_EQ(oracle("SELECT TOP 3 A FROM T ORDER BY A"), "SELECT  A FROM T    WHERE ROWNUM <= 3  ORDER BY A");
  EXPECT_EQ(oracle("SELECT TOP 3 A, COUNT(*) FROM T GROUP BY A ORDER BY A"),
            "SELECT  A, COUNT(*) FROM T    WHERE ROWNUM <= 3  GROUP BY A ORDER BY A ");
  // A column ending in TOP followed by a blank starts the step too.
  EXPECT_EQ(oracle("SELECT PARTOP FROM T"), "SELECT PAR T  WHERE ROWNUM <= FROM  ");
}

TEST(DialectoOracle, FuncionesYNombres) {
  EXPECT_EQ(oracle("SELECT LEN(A), LEN (B), LEN    (C) FROM T"), "SELECT LENGTH(A), LENGTH(B), LENGTH(C) FROM T");
  EXPECT_EQ(oracle("SELECT [Mi Campo] FROM T"), "SELECT \"Mi Campo\" FROM T");
  EXPECT_EQ(oracle("SELECT Charindex('a',B) FROM T"), "SELECT InStr('a',B) FROM T");
  EXPECT_EQ(oracle("SELECT CONVERT(INT,A) FROM T"), "SELECT TO_NUMBER(A) FROM T");
  EXPECT_EQ(oracle("SELECT CONVERT(NVARCHAR,FECHA,103) FROM T"), "SELECT TO_CHAR(FECHA,'DD/MM/YYYY') FROM T");
  EXPECT_EQ(oracle("SELECT SUBSTRING(A,1,2) FROM T"), "SELECT SUBSTR(A,1,2) FROM T");
  EXPECT_EQ(oracle("SELECT ISNULL(A,0) FROM T"), "SELECT NVL(A,0) FROM T");
}

TEST(DialectoOracle, Estilo103SoloDentroDeToChar) {
  EXPECT_EQ(oracle("SELECT A FROM T WHERE B = 103"), "SELECT A FROM T WHERE B = 103");
  EXPECT_EQ(oracle("SELECT ROUND(A,103) FROM T"), "SELECT ROUND(A,103) FROM T");
  EXPECT_EQ(oracle("SELECT TO_CHAR(A,103), TO_CHAR(B,103) FROM T"),
            "SELECT TO_CHAR(A,'DD/MM/YYYY'), TO_CHAR(B,'DD/MM/YYYY') FROM T");
}

TEST(DialectoOracle, TextosVaciosSoloDespuesDeWhere) {
  EXPECT_EQ(oracle("SELECT * FROM T WHERE NOMBRE = ''"), "SELECT * FROM T WHERE NOMBRE  IS NULL ");
  EXPECT_EQ(oracle("SELECT * FROM T WHERE A='' AND B = ''"), "SELECT * FROM T WHERE A IS NULL  AND B  IS NULL ");
  EXPECT_EQ(oracle("UPDATE T SET A = '' WHERE B = ''"), "UPDATE T SET A = '' WHERE B  IS NULL ");
}

TEST(DialectoOracle, LiteralesDeFecha) {
  EXPECT_EQ(oracle("SELECT * FROM T WHERE F = '31/12/2024'"),
            "SELECT * FROM T WHERE F = TO_DATE('31/12/2024','DD/MM/YYYY')");
  // Every literal of a range, and a day and month written with one digit.
  EXPECT_EQ(oracle("SELECT * FROM T WHERE F >= '1/2/2024' AND F <= '31/12/2024' AND N = 'Ana'"),
            "SELECT * FROM T WHERE F >= TO_DATE('01/02/2024','DD/MM/YYYY') AND F <= "
            "TO_DATE('31/12/2024','DD/MM/YYYY') AND N = 'Ana'");
  // Already translated: not wrapped twice.
  EXPECT_EQ(oracle("SELECT * FROM T WHERE F = TO_DATE('31/12/2024','DD/MM/YYYY')"),
            "SELECT * FROM T WHERE F = TO_DATE('31/12/2024','DD/MM/YYYY')");
  EXPECT_EQ(oracle("SELECT * FROM T WHERE C = '123'"), "SELECT * FROM T WHERE C = '123'");
  EXPECT_THROW(oracle("SELECT * FROM T WHERE C = 'sin par"), vb::Error);
}

TEST(DialectoOracle, LiteralesDeFechaConElSeparadorRegional) {
  vb::Regional r = vb::regional();
  r.separadorFecha = QLatin1Char('-');
  vb::setRegional(r);
  EXPECT_EQ(oracle("SELECT * FROM T WHERE F = '31-12-2024'"),
            "SELECT * FROM T WHERE F = TO_DATE('31-12-2024','DD/MM/YYYY')");
}

TEST(DialectoOracle, TodosLosPasosJuntos) {
  EXPECT_EQ(oracle("SELECT TOP 10 [Cod Cta], ISNULL(NOMBRE,''), SUBSTRING(NOMBRE,1,3), CONVERT(NVARCHAR,FECHA,103) "
                   "FROM MA_CUENTAS WHERE LEN(NOMBRE) > 0 AND FECHA >= '01/01/2024' AND OBS = '' ORDER BY NOMBRE"),
            "SELECT  \"Cod Cta\", NVL(NOMBRE,''), SUBSTR(NOMBRE,1,3), TO_CHAR(FECHA,'DD/MM/YYYY') FROM MA_CUENTAS "
            "WHERE LENGTH(NOMBRE) > 0 AND FECHA >= TO_DATE('01/01/2024','DD/MM/YYYY') AND OBS  IS NULL     AND "
            "ROWNUM <= 10  ORDER BY NOMBRE");
}

TEST(ScriptOracle, LimpiezaYSentencias) {
  const QString limpio = reescritura::limpiarScript(
      "SET NOCOUNT ON\r\nBEGIN TRANSACTION\r\nINSERT INTO T VALUES (1)\r\nGO\r\nINSERT INTO T VALUES (2) GO "
      "COMMIT TRANSACTION\r\nGO\r\n");
  EXPECT_EQ(limpio, " \nSET TRANSACTION \nINSERT INTO T VALUES (1) INSERT INTO T VALUES (2) COMMIT ");
  QStringList sentencias;
  qsizetype desde = 0;
  QString s;
  while (reescritura::siguienteSentencia(limpio, desde, s)) sentencias << s;
  EXPECT_EQ(sentencias,
            QStringList({"SET TRANSACTION \n", "INSERT INTO T VALUES (1) ", "INSERT INTO T VALUES (2) ", "COMMIT "}));
  desde = 0;
  EXPECT_FALSE(reescritura::siguienteSentencia("SELECT 1", desde, s));
}

TEST(ScriptOracle, SentenciasQueOracleNoVe) {
  QString s = QStringLiteral("IF NOT EXISTS (SELECT 1) ");
  EXPECT_EQ(reescritura::DescartaSentenciaSQLServer(s), "");
  EXPECT_EQ(s, "");
  s = QStringLiteral("set nocount on");
  EXPECT_EQ(reescritura::DescartaSentenciaSQLServer(s), "");
  s = QStringLiteral("INSERT INTO T VALUES (1)");
  EXPECT_EQ(reescritura::DescartaSentenciaSQLServer(s), "INSERT INTO T VALUES (1)");
}

namespace {

// An SQLite database whose connection string names Oracle.
struct BaseOracle {
  BaseOracle() : base(QStringLiteral("ORACLE_PRUEBA")) { base.conectar(db(), QStringLiteral("U1"), false); }
  static long contar(const char* sql) { return prueba::BaseSuite::contar(sql); }
  prueba::BaseSuite base;
};

}  // namespace

TEST(ScriptOracle, GoSeparaSentenciasYSeSumanLosRegistros) {
  BaseOracle b;
  ASSERT_TRUE(db().gCnn.ConnectionString().contains(QLatin1String("ORACLE")));
  QString script = QStringLiteral(
      "SET NOCOUNT ON\r\nCREATE TABLE TA_X (A INT)\r\nGO\r\nINSERT INTO TA_X VALUES (1)\r\nGO\r\n"
      "INSERT INTO TA_X VALUES (2), (3)\r\nGO\r\nUPDATE TA_X SET A = A + 10 WHERE A > 1\r\nGO\r\n");
  long afectados = 99;
  db().EjecutaConsultaSQL(script, afectados);
  EXPECT_EQ(db().gCnn.Errors().Count(), 0);
  EXPECT_EQ(afectados, 1 + 2 + 2);
  EXPECT_EQ(b.contar("SELECT SUM(A) FROM TA_X"), 1 + 12 + 13);
  // The caller's text is the statement as rewritten, not what the runner consumed.
  EXPECT_TRUE(script.startsWith(QLatin1String("SET NOCOUNT ON\r\nCREATE TABLE TA_X")));
}

TEST(ScriptOracle, TransaccionesDelScript) {
  BaseOracle b;
  QString script = QStringLiteral(
      "CREATE TABLE TA_X (A INT)\r\nGO\r\nBEGIN TRANSACTION\r\nINSERT INTO TA_X VALUES (1)\r\n"
      "ROLLBACK TRANSACTION\r\nGO\r\nBEGIN TRANS\r\nINSERT INTO TA_X VALUES (5)\r\nCOMMIT TRANS\r\n");
  long afectados = 0;
  db().EjecutaConsultaSQL(script, afectados);
  EXPECT_EQ(db().gCnn.Errors().Count(), 0);
  EXPECT_EQ(b.contar("SELECT COUNT(*) FROM TA_X"), 1);
  EXPECT_EQ(b.contar("SELECT SUM(A) FROM TA_X"), 5);
}

TEST(ScriptOracle, IfNotExistsSeDescartaHastaLaSiguienteSentencia) {
  BaseOracle b;
  QString script = QStringLiteral(
      "IF NOT EXISTS (SELECT 1 FROM sqlite_master WHERE name = 'TA_X') CREATE TABLE TA_X (A INT)\r\nGO\r\n"
      "INSERT INTO TA_X VALUES (1)");
  long afectados = 0;
  db().EjecutaConsultaSQL(script, afectados);
  EXPECT_EQ(afectados, 1);
  EXPECT_EQ(b.contar("SELECT COUNT(*) FROM TA_X"), 1);
}

TEST(ScriptOracle, UnFalloDejaHechoLoAnteriorYNoSeMuestra) {
  BaseOracle b;
  QString script = QStringLiteral(
      "INSERT INTO TA_NUMEROS VALUES (50, 1, 'a')\r\nGO\r\nINSERT INTO TA_NUMEROS VALUES (3, 1, 'dup')\r\nGO\r\n"
      "INSERT INTO TA_NUMEROS VALUES (51, 1, 'b')\r\n");
  long afectados = 0;
  db().EjecutaConsultaSQL(script, afectados);  // an integrity error shows nothing
  ASSERT_EQ(db().gCnn.Errors().Count(), 1);
  EXPECT_EQ(db().gCnn.Errors().Item(0L).NativeError(), 2627);
  EXPECT_EQ(b.contar("SELECT COUNT(*) FROM TA_NUMEROS WHERE Codigo = 50"), 1);
  EXPECT_EQ(b.contar("SELECT COUNT(*) FROM TA_NUMEROS WHERE Codigo = 51"), 0);
}
