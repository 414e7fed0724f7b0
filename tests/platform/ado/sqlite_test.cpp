// Connection, Recordset, Fields, Errors and schema rowsets on real SQLite files.
#include <gtest/gtest.h>

#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/ctx/programa.h"
#include "platform/vb/error.h"
#include "tests/platform/ado/base_prueba.h"
#include "tests/support/numero_error.h"

using namespace ado;

namespace {

// A server alias LOCAL whose databases live in a temporary folder; EMPRESA holds the users schema.
class Sqlite : public ::testing::Test {
 protected:
  Sqlite() : servidores_("[Servidores]\nLOCAL=sqlite:" + datos_.ruta().toUtf8() + "\n") {
    prueba::crearBase(datos_.archivo(QStringLiteral("EMPRESA.db")), prueba::kEsquemaUsuarios);
  }
  QString cadena(const QString& base = QStringLiteral("EMPRESA")) const {
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=local;Database =%1;UId=USR1;Pwd=x;").arg(base);
  }
  Connection abierta() {
    Connection cn;
    cn.Open(cadena());
    return cn;
  }
  static long numeroDe(const std::function<void()>& f) { return prueba::numeroDeError(f); }

  prueba::CarpetaTemporal datos_;
  prueba::Servidores servidores_;
};

}  // namespace

TEST_F(Sqlite, AliasOpensTheDatabaseFileIgnoringCase) {
  Connection cn;
  EXPECT_EQ(cn.State(), adStateClosed);
  cn.Open(QStringLiteral("provider = sqloledb ; SERVER = LOCAL ; database=empresa"));
  EXPECT_EQ(cn.State(), adStateOpen);
  EXPECT_EQ(cn.DefaultDatabase(), "empresa");
  Recordset rs;
  rs.Open(QStringLiteral("SELECT COUNT(*) AS N FROM TA_USUARIOS"), cn);
  EXPECT_EQ(rs.Fields("n").Value(), vb::Variant(std::int32_t{3}));
  cn.Close();
  EXPECT_EQ(cn.State(), adStateClosed);
}

TEST_F(Sqlite, MissingDatabaseUnknownProviderAndBadStringsFailWithErrorsFilled) {
  Connection cn;
  EXPECT_EQ(numeroDe([&] { cn.Open(cadena(QStringLiteral("NOEXISTE"))); }), kErrorGeneral);
  ASSERT_EQ(cn.Errors().Count(), 1);
  EXPECT_EQ(cn.Errors()[0].SQLState(), "42000");
  EXPECT_EQ(cn.Errors()[0].NativeError(), 4060);
  EXPECT_FALSE(QFile::exists(datos_.archivo(QStringLiteral("NOEXISTE.db"))));  // never created
  EXPECT_EQ(cn.State(), adStateClosed);

  cn.Errors().Clear();
  EXPECT_EQ(cn.Errors().Count(), 0);
  EXPECT_EQ(numeroDe([&] { cn.Open(QStringLiteral("Provider=Inventado.1;Data Source=x")); }), kErrorProveedor);
  ASSERT_EQ(cn.Errors().Count(), 1);
  EXPECT_TRUE(cn.Errors()[0].Description().contains(QStringLiteral("Inventado.1")));

  cn.Errors().Clear();
  EXPECT_EQ(numeroDe([&] { cn.Open(QStringLiteral("Provider=SQLOLEDB;Server")); }), kErrorCadenaConexion);
  EXPECT_EQ(cn.Errors().Count(), 1);
  EXPECT_EQ(numeroDe([&] { cn.Errors().Item(5); }), kErrorElementoNoEncontrado);
}

TEST_F(Sqlite, MistypedAliasIsAnErrorNotAnotherServer) {
  prueba::Servidores otro("[Servidores]\nMAL=sqlit:/tmp\n");
  Connection cn;
  EXPECT_EQ(numeroDe([&] { cn.Open(QStringLiteral("Provider=SQLOLEDB;Server=MAL;Database=X")); }), kErrorGeneral);
  ASSERT_EQ(cn.Errors().Count(), 1);
  EXPECT_TRUE(cn.Errors()[0].Description().contains(QStringLiteral("MAL")));
}

TEST_F(Sqlite, SettingsFolderComesFromTheEnvironmentVariable) {
  prueba::CarpetaTemporal otra;
  otra.escribir(QStringLiteral("cn000PR.ini"), "[SERVIDORES]\nDesdeEntorno=sqlite:" + datos_.ruta().toUtf8() + "\n");
  ctx::actual().setCarpetaConfiguracion({});
  qputenv("KORVANE_CONFIG_DIR", otra.ruta().toUtf8());
  Connection cn;
  EXPECT_NO_THROW(cn.Open(QStringLiteral("Provider=SQLOLEDB;Server=desdeentorno;Database=EMPRESA")));
  qunsetenv("KORVANE_CONFIG_DIR");
  EXPECT_EQ(cn.State(), adStateOpen);
}

TEST_F(Sqlite, JetProvidersOpenAFileAndReportMissingFileAndBadPath) {
  Connection cn;
  const QString archivo = datos_.archivo(QStringLiteral("EMPRESA.db"));
  cn.Open(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =%1;User Id=admin;Password=;").arg(archivo));
  EXPECT_EQ(cn.State(), adStateOpen);
  EXPECT_EQ(cn.Provider(), "Microsoft.Jet.OLEDB.4.0");
  cn.Close();

  EXPECT_EQ(numeroDe([&] {
              cn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.3.51;Data Source=%1")
                          .arg(datos_.archivo(QStringLiteral("falta.mdb"))));
            }),
            kErrorGeneral);
  ASSERT_GE(cn.Errors().Count(), 1);
  EXPECT_EQ(cn.Errors()[0].SQLState(), "3024");
  EXPECT_FALSE(QFile::exists(datos_.archivo(QStringLiteral("falta.mdb"))));

  EXPECT_EQ(
      numeroDe([&] { cn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\NoHay\\base.mdb")); }),
      kErrorGeneral);
  EXPECT_EQ(cn.Errors()[0].SQLState(), "3044");

  const QString basura = datos_.escribir(QStringLiteral("basura.mdb"), QByteArray(4096, 'x'));
  EXPECT_NE(numeroDe([&] { cn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(basura)); }),
            0);
  EXPECT_EQ(cn.State(), adStateClosed);
}

TEST_F(Sqlite, ForwardOnlyReadKeepsNullTypesAndSizes) {
  Connection cn = abierta();
  Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM TA_USUARIOS ORDER BY CODIGO"), cn, adOpenForwardOnly, adLockReadOnly, -1);
  EXPECT_EQ(rs.State(), adStateOpen);
  EXPECT_FALSE(rs.BOF());
  EXPECT_EQ(rs.RecordCount(), -1);
  ASSERT_EQ(rs.Fields().Count(), 9);
  EXPECT_EQ(rs.Fields(0).Name(), "CODIGO");
  EXPECT_EQ(rs.Fields("codigo").Type(), adInteger);
  EXPECT_EQ(rs.Fields("Nombre").Type(), adVarChar);
  EXPECT_EQ(rs.Fields("NOMBRE").DefinedSize(), 30);
  EXPECT_EQ(rs.Fields("GRUPO").Type(), adChar);
  EXPECT_EQ(rs.Fields("ADMINISTRADOR").Type(), adSmallInt);
  EXPECT_EQ(rs.Fields("SALDO").Type(), adCurrency);
  EXPECT_EQ(rs.Fields("TASA").Type(), adDouble);
  EXPECT_EQ(rs.Fields("ACTIVO").Type(), adBoolean);
  EXPECT_EQ(rs.Fields("ALTA").Type(), adDBTimeStamp);
  EXPECT_EQ(numeroDe([&] { rs.Fields("NO_HAY"); }), kErrorElementoNoEncontrado);
  EXPECT_EQ(numeroDe([&] { rs.Fields(9); }), kErrorElementoNoEncontrado);

  EXPECT_EQ(rs.Fields("NOMBRE").Value(), vb::Variant("ANA"));
  EXPECT_EQ(rs.Fields("Administrador").Value(), vb::Variant(std::int16_t{1}));
  EXPECT_EQ(rs.Fields("SALDO").Value(), vb::Variant(vb::Currency{105000}));
  EXPECT_EQ(rs.Fields("ACTIVO").Value(), vb::Variant(true));
  EXPECT_EQ(rs.Fields("ALTA").Value(), vb::Variant(QDateTime(QDate(2024, 1, 15), QTime(8, 30))));
  EXPECT_TRUE(rs.Fields("NOTAS").Value().isNull());
  rs.MoveNext();
  EXPECT_TRUE(rs.Fields("SALDO").Value().isNull());
  EXPECT_TRUE(rs.Fields("TASA").Value().isNull());
  rs.MoveNext();
  EXPECT_EQ(rs.Fields("SALDO").Value(), vb::Variant(vb::Currency{30000}));
  EXPECT_TRUE(rs.Fields("ALTA").Value().isNull());
  rs.MoveNext();
  EXPECT_TRUE(rs.EOF());
  EXPECT_EQ(numeroDe([&] { rs.Fields(0).Value(); }), kErrorBofEof);
  EXPECT_EQ(numeroDe([&] { rs.MoveNext(); }), kErrorBofEof);
  // A forward-only cursor goes back to the start by running the query again.
  rs.MoveFirst();
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant(std::int32_t{1}));
  rs.Close();
  EXPECT_EQ(rs.State(), adStateClosed);
  EXPECT_EQ(numeroDe([&] { rs.Close(); }), kErrorCerrado);
  EXPECT_EQ(numeroDe([&] { rs.EOF(); }), kErrorCerrado);
}

TEST_F(Sqlite, EmptyResultIsBofAndEofAndStatementsWithoutRowsLeaveItClosed) {
  Connection cn = abierta();
  Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM TA_USUARIOS WHERE CODIGO = 99"), cn);
  EXPECT_TRUE(rs.BOF());
  EXPECT_TRUE(rs.EOF());
  EXPECT_EQ(rs.Fields().Count(), 9);
  EXPECT_EQ(numeroDe([&] { rs.Open(QStringLiteral("SELECT 1"), cn); }), kErrorAbierto);
  rs.Close();
  rs.Open(QStringLiteral("UPDATE TA_USUARIOS SET GRUPO = 'X' WHERE CODIGO = 3"), cn);
  EXPECT_EQ(rs.State(), adStateClosed);
  rs.Open(QStringLiteral("SELECT GRUPO FROM TA_USUARIOS WHERE CODIGO = 3"), cn);
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant("X"));
}

TEST_F(Sqlite, ClientCursorCountsMovesBothWaysAndGetRows) {
  Connection cn = abierta();
  cn.setCursorLocation(adUseClient);
  Recordset rs;
  rs.Open(QStringLiteral("SELECT CODIGO, NOMBRE FROM TA_USUARIOS ORDER BY CODIGO"), cn);
  EXPECT_EQ(rs.CursorLocation(), adUseClient);
  EXPECT_EQ(rs.CursorType(), adOpenStatic);
  EXPECT_EQ(rs.RecordCount(), 3);
  rs.MoveLast();
  EXPECT_EQ(rs.Fields(1).Value(), vb::Variant("Carla"));
  rs.MovePrevious();
  rs.MovePrevious();
  rs.MovePrevious();
  EXPECT_TRUE(rs.BOF());
  EXPECT_EQ(numeroDe([&] { rs.MovePrevious(); }), kErrorBofEof);
  rs.MoveFirst();
  rs.MoveNext();
  const auto filas = rs.GetRows();
  ASSERT_EQ(filas.size(), 2u);
  ASSERT_EQ(filas[0].size(), 2u);
  EXPECT_EQ(filas[0][0], vb::Variant(std::int32_t{2}));
  EXPECT_EQ(filas[1][1], vb::Variant("Carla"));
  EXPECT_TRUE(rs.EOF());
  EXPECT_EQ(numeroDe([&] { rs.GetRows(); }), kErrorBofEof);

  // Forward-only: MoveLast reads on to the end; going back is refused.
  Recordset fo;
  fo.setCursorLocation(adUseServer);
  fo.Open(QStringLiteral("SELECT CODIGO FROM TA_USUARIOS ORDER BY CODIGO"), cn);
  const auto dos = fo.GetRows(2);
  EXPECT_EQ(dos[0].size(), 2u);
  EXPECT_EQ(fo.Fields(0).Value(), vb::Variant(std::int32_t{3}));
  fo.MoveFirst();
  fo.MoveLast();
  EXPECT_EQ(fo.Fields(0).Value(), vb::Variant(std::int32_t{3}));
  EXPECT_NE(numeroDe([&] { fo.MovePrevious(); }), 0);
}

TEST_F(Sqlite, ExecuteCountsRecordsAndDiscardsRows) {
  Connection cn = abierta();
  long n = 0;
  cn.Execute(QStringLiteral("UPDATE TA_USUARIOS SET GRUPO = 'Z' WHERE GRUPO = 'ven'"), n);
  EXPECT_EQ(n, 2);  // text compares ignoring case
  cn.Execute(QStringLiteral("DELETE FROM TA_USUARIOS WHERE CODIGO = 99"), n);
  EXPECT_EQ(n, 0);
  cn.Execute(QStringLiteral("SELECT * FROM TA_USUARIOS"), n);
  EXPECT_EQ(n, -1);
  cn.Execute(QStringLiteral("INSERT INTO TA_USUARIOS (CODIGO, NOMBRE) VALUES (7, 'D'); CREATE TABLE T2 (A INT);"
                            "INSERT INTO TA_USUARIOS (CODIGO, NOMBRE) VALUES (8, 'E')"),
             n);
  EXPECT_EQ(n, 2);
  Recordset rs;
  rs.Open(QStringLiteral("SELECT COUNT(*) FROM TA_USUARIOS"), cn);
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant(std::int32_t{5}));
}

TEST_F(Sqlite, DriverFailuresCarryOleDbNumbersAndFillErrors) {
  Connection cn = abierta();
  EXPECT_EQ(numeroDe([&] { cn.Execute(QStringLiteral("INSERT INTO TA_USUARIOS (CODIGO, NOMBRE) VALUES (9, 'ana')")); }),
            kErrorIntegridad);  // NOMBRE is unique ignoring case
  ASSERT_EQ(cn.Errors().Count(), 1);
  EXPECT_EQ(cn.Errors()[0].SQLState(), "23000");
  EXPECT_EQ(cn.Errors()[0].NativeError(), 2627);
  EXPECT_EQ(cn.Errors()[0].Number(), kErrorIntegridad);
  EXPECT_FALSE(cn.Errors()[0].Description().isEmpty());
  EXPECT_FALSE(cn.Errors()[0].Source().isEmpty());

  Recordset rs;
  EXPECT_EQ(numeroDe([&] { rs.Open(QStringLiteral("SELECT * FROM TA_NO_HAY"), cn); }), kErrorSinTabla);
  EXPECT_EQ(cn.Errors()[0].SQLState(), "42S02");
  EXPECT_EQ(rs.State(), adStateClosed);
  EXPECT_EQ(numeroDe([&] { cn.Execute(QStringLiteral("SELEC * FROM TA_USUARIOS")); }), kErrorSentencia);
  EXPECT_EQ(numeroDe([&] { cn.Execute(QStringLiteral("SELECT NO_HAY FROM TA_USUARIOS")); }), kErrorSentencia);
  EXPECT_EQ(cn.Errors().Count(), 1);  // each failure replaces the list
  EXPECT_EQ(numeroDe([&] { cn.Execute(QStringLiteral("INSERT INTO TA_USUARIOS (CODIGO) VALUES (10)")); }),
            kErrorIntegridad);
  EXPECT_EQ(cn.Errors()[0].NativeError(), 515);

  Connection cerrada;
  EXPECT_EQ(numeroDe([&] { cerrada.Execute(QStringLiteral("SELECT 1")); }), kErrorCerrado);
  EXPECT_EQ(numeroDe([&] { rs.Open(QStringLiteral("SELECT 1"), cerrada); }), kErrorConexionCerrada);
}

TEST_F(Sqlite, TransactionsCommitRollBackAndRefuseNesting) {
  Connection cn = abierta();
  EXPECT_EQ(cn.BeginTrans(), 1);
  EXPECT_EQ(numeroDe([&] { cn.BeginTrans(); }), kErrorTransaccionActiva);
  cn.Execute(QStringLiteral("DELETE FROM TA_USUARIOS"));
  EXPECT_NE(numeroDe([&] { cn.Close(); }), 0);  // not while a transaction is open
  cn.RollbackTrans();
  cn.BeginTrans();
  cn.Execute(QStringLiteral("DELETE FROM TA_USUARIOS WHERE CODIGO = 1"));
  cn.CommitTrans();
  EXPECT_EQ(numeroDe([&] { cn.CommitTrans(); }), kErrorSinTransaccion);
  EXPECT_EQ(numeroDe([&] { cn.RollbackTrans(); }), kErrorSinTransaccion);
  Recordset rs;
  rs.Open(QStringLiteral("SELECT COUNT(*) FROM TA_USUARIOS"), cn);
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant(std::int32_t{2}));
}

TEST_F(Sqlite, PropertiesAndDefaultDatabaseSwitch) {
  prueba::crearBase(datos_.archivo(QStringLiteral("OTRA.db")),
                    "CREATE TABLE SOLO_OTRA (A INT); INSERT INTO SOLO_OTRA VALUES (42);");
  Connection cn = abierta();
  cn.setCommandTimeout(360);
  EXPECT_EQ(cn.CommandTimeout(), 360);
  cn.setIsolationLevel(256);
  EXPECT_EQ(cn.IsolationLevel(), adXactReadUncommitted);
  EXPECT_EQ(numeroDe([&] { cn.setIsolationLevel(7); }), kErrorArgumentos);
  EXPECT_EQ(numeroDe([&] { cn.setCursorLocation(9); }), kErrorArgumentos);
  cn.setDefaultDatabase(QStringLiteral("EMPRESA"));  // the same one: nothing changes
  cn.setDefaultDatabase(QStringLiteral("otra"));
  Recordset rs;
  rs.Open(QStringLiteral("SELECT A FROM SOLO_OTRA"), cn);
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant(std::int32_t{42}));
  EXPECT_EQ(numeroDe([&] { cn.setDefaultDatabase(QStringLiteral("NINGUNA")); }), kErrorGeneral);
  EXPECT_EQ(cn.Errors()[0].NativeError(), 4060);
  EXPECT_TRUE(cn.ConnectionString().contains(QStringLiteral("Database =EMPRESA")));
}

TEST_F(Sqlite, ConnectionIsSharedAndClosingItClosesStreamingRecordsets) {
  Connection cn = abierta();
  Connection copia = cn;
  EXPECT_TRUE(copia.mismaQue(cn));
  Recordset a, b, c;
  a.Open(QStringLiteral("SELECT CODIGO FROM TA_USUARIOS ORDER BY CODIGO"), cn);
  b.Open(QStringLiteral("SELECT NOMBRE FROM TA_USUARIOS ORDER BY CODIGO"), copia);
  c.Open(QStringLiteral("SELECT NOMBRE FROM TA_USUARIOS ORDER BY CODIGO"), copia, adOpenStatic);
  a.MoveNext();
  EXPECT_EQ(a.Fields(0).Value(), vb::Variant(std::int32_t{2}));
  EXPECT_EQ(b.Fields(0).Value(), vb::Variant("ANA"));
  copia.Close();
  EXPECT_EQ(cn.State(), adStateClosed);
  EXPECT_EQ(a.State(), adStateClosed);
  EXPECT_EQ(b.State(), adStateClosed);
  ASSERT_EQ(c.State(), adStateOpen);  // rows already read stay readable
  c.MoveLast();
  EXPECT_EQ(c.Fields(0).Value(), vb::Variant("Carla"));
}

TEST_F(Sqlite, SchemaRowsetsListTablesViewsAndColumns) {
  Connection cn = abierta();
  Recordset t = cn.OpenSchema(adSchemaTables);
  QStringList nombres, tipos;
  for (; !t.EOF(); t.MoveNext()) {
    nombres << t.Fields("TABLE_NAME").Value().toText();
    tipos << t.Fields("TABLE_TYPE").Value().toText();
  }
  EXPECT_TRUE(nombres.contains(QStringLiteral("TA_USUARIOS")));
  EXPECT_TRUE(nombres.contains(QStringLiteral("TA_CONFIGURACION")));
  ASSERT_TRUE(nombres.contains(QStringLiteral("V_TA_ACTIVOS")));
  EXPECT_EQ(tipos[nombres.indexOf(QStringLiteral("V_TA_ACTIVOS"))], "VIEW");
  EXPECT_EQ(tipos[nombres.indexOf(QStringLiteral("TA_USUARIOS"))], "TABLE");

  Recordset soloVistas =
      cn.OpenSchema(adSchemaTables, {vb::Variant(), vb::Variant(), vb::Variant(), vb::Variant("VIEW")});
  EXPECT_EQ(soloVistas.RecordCount(), 1);

  Recordset c = cn.OpenSchema(adSchemaColumns,
                              {vb::Variant("empresa"), vb::Variant(), vb::Variant("ta_usuarios"), vb::Variant()});
  QStringList columnas;
  for (; !c.EOF(); c.MoveNext()) columnas << c.Fields("COLUMN_NAME").Value().toText();
  EXPECT_EQ(columnas.size(), 9);
  EXPECT_EQ(columnas.first(), "CODIGO");
  EXPECT_TRUE(columnas.contains(QStringLiteral("Administrador")));

  Recordset vista = cn.OpenSchema(adSchemaColumns,
                                  {vb::Variant(), vb::Variant(), vb::Variant("V_TA_ACTIVOS"), vb::Variant("nombre")});
  ASSERT_FALSE(vista.EOF());
  EXPECT_EQ(vista.Fields("DATA_TYPE").Value(), vb::Variant(std::int32_t{adVarChar}));
  EXPECT_EQ(vista.Fields("CHARACTER_MAXIMUM_LENGTH").Value(), vb::Variant(std::int32_t{30}));

  Recordset otraBase =
      cn.OpenSchema(adSchemaColumns, {vb::Variant("OTRA"), vb::Variant(), vb::Variant("TA_USUARIOS"), vb::Variant()});
  EXPECT_TRUE(otraBase.EOF());
  EXPECT_NE(numeroDe([&] { cn.OpenSchema(99); }), 0);
}

TEST_F(Sqlite, OptimisticUpdateFailsWhenTheRowChangedSinceItWasRead) {
  Connection cn = abierta();
  const QString sql = QStringLiteral("SELECT * FROM TA_CONFIGURACION WHERE CLAVE = 'RUTA'");
  Recordset uno, otro;
  uno.Open(sql, cn, adOpenDynamic, adLockOptimistic, -1);
  otro.Open(sql, cn, adOpenDynamic, adLockOptimistic, -1);
  otro.Fields("Valor") = vb::Variant("DE OTRO");
  otro.Update();
  uno.Fields("Valor") = vb::Variant("MIO");
  EXPECT_EQ(uno.EditMode(), 1);
  EXPECT_EQ(numeroDe([&] { uno.Update(); }), kErrorFilaCambiada);
  ASSERT_EQ(cn.Errors().Count(), 1);
  EXPECT_EQ(cn.Errors()[0].Number(), kErrorFilaCambiada);
  uno.CancelUpdate();
  uno.Close();

  Recordset ver;
  ver.Open(sql, cn);
  EXPECT_EQ(ver.Fields("VALOR").Value(), vb::Variant("DE OTRO"));
  ver.Close();

  // The writer's own second change goes through: what it wrote is what it compares with.
  otro.Fields("VALOR") = vb::Variant("OTRA VEZ");
  otro.Fields("PoliticaNegocio") = vb::Variant(true);
  otro.Update();
  ver.Open(sql, cn);
  EXPECT_EQ(ver.Fields("VALOR").Value(), vb::Variant("OTRA VEZ"));
  EXPECT_EQ(ver.Fields("POLITICANEGOCIO").Value(), vb::Variant(true));
}

TEST_F(Sqlite, CaseOnlyChangeByAnotherUserIsAConflictToo) {
  Connection cn = abierta();
  Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM TA_USUARIOS WHERE CODIGO = 2"), cn, adOpenKeyset, adLockOptimistic);
  cn.Execute(QStringLiteral("UPDATE TA_USUARIOS SET NOMBRE = 'BETO' WHERE CODIGO = 2"));
  rs.Fields("GRUPO") = vb::Variant("NUE");
  EXPECT_EQ(numeroDe([&] { rs.Update(); }), kErrorFilaCambiada);
}

TEST_F(Sqlite, AddNewInsertsGivenColumnsAndTheDefaultsAreReadBack) {
  Connection cn = abierta();
  Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM TA_CONFIGURACION WHERE CLAVE = 'NUEVA'"), cn, adOpenDynamic, adLockOptimistic);
  ASSERT_TRUE(rs.EOF());
  rs.AddNew();
  EXPECT_EQ(rs.EditMode(), 2);
  EXPECT_FALSE(rs.EOF());
  rs.Fields("Grupo") = vb::Variant("DATOS");
  rs.Fields("Clave") = vb::Variant("NUEVA");
  rs.Fields("Valor") = vb::Variant(std::int32_t{5});
  rs.Update();
  EXPECT_EQ(rs.EditMode(), 0);
  EXPECT_EQ(rs.Fields("ValorAux").Value(), vb::Variant("AUX"));  // the column default
  EXPECT_EQ(rs.RecordCount(), 1);
  // A second change of the row just added is checked against what the database holds.
  rs.Fields("ValorAux") = vb::Variant("OTRO");
  rs.Update();
  Recordset ver;
  ver.Open(QStringLiteral("SELECT VALOR, VALORAUX, POLITICANEGOCIO FROM TA_CONFIGURACION WHERE CLAVE = 'nueva'"), cn);
  EXPECT_EQ(ver.Fields(0).Value(), vb::Variant("5"));
  EXPECT_EQ(ver.Fields(1).Value(), vb::Variant("OTRO"));
  EXPECT_EQ(ver.Fields(2).Value(), vb::Variant(false));
}

TEST_F(Sqlite, DatesCurrencyAndNullsRoundTripThroughUpdate) {
  Connection cn = abierta();
  Recordset rs;
  rs.Open(QStringLiteral("SELECT CODIGO, SALDO, ALTA, NOTAS FROM TA_USUARIOS WHERE CODIGO = 3"), cn, adOpenStatic,
          adLockOptimistic);
  const QDateTime alta(QDate(2023, 12, 31), QTime(23, 59, 58));
  rs.Fields("ALTA") = vb::Variant(alta);
  rs.Fields("SALDO") = vb::Variant(vb::Currency{12345});
  rs.Fields("NOTAS") = vb::Variant::Null();
  rs.Update();
  rs.Fields("SALDO") = vb::Variant(vb::Currency{10000});
  rs.Update();  // compares with the values written, dates included
  Recordset ver;
  ver.Open(QStringLiteral("SELECT SALDO, ALTA, NOTAS FROM TA_USUARIOS WHERE ALTA = #12/31/2023 23:59:58#"), cn);
  ASSERT_FALSE(ver.EOF());
  EXPECT_EQ(ver.Fields(0).Value(), vb::Variant(vb::Currency{10000}));
  EXPECT_EQ(ver.Fields(1).Value(), vb::Variant(alta));
  EXPECT_TRUE(ver.Fields(2).Value().isNull());
}

TEST_F(Sqlite, WritingNeedsAnUpdatableRecordsetAndOneTable) {
  Connection cn = abierta();
  Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM TA_USUARIOS"), cn);
  EXPECT_EQ(numeroDe([&] { rs.Fields("NOMBRE") = vb::Variant("X"); }), kErrorNoActualizable);
  EXPECT_EQ(numeroDe([&] { rs.AddNew(); }), kErrorNoActualizable);
  rs.Close();
  rs.Open(QStringLiteral("SELECT CODIGO, UPPER(NOMBRE) AS N FROM TA_USUARIOS WHERE CODIGO = 1"), cn, adOpenStatic,
          adLockOptimistic);
  EXPECT_NE(numeroDe([&] { rs.Fields("N") = vb::Variant("X"); }), 0);  // an expression is not a column
  rs.Close();
  // Two identical rows: an update cannot tell them apart and changes neither.
  cn.Execute(QStringLiteral(
      "CREATE TABLE DOBLE (A INT, B INT); INSERT INTO DOBLE VALUES (1, 1); INSERT INTO DOBLE VALUES (1, 1)"));
  rs.Open(QStringLiteral("SELECT * FROM DOBLE"), cn, adOpenStatic, adLockOptimistic);
  rs.Fields("B") = vb::Variant(std::int32_t{2});
  EXPECT_EQ(numeroDe([&] { rs.Update(); }), kErrorGeneral);
  rs.CancelUpdate();
  rs.Close();
  Recordset ver;
  ver.Open(QStringLiteral("SELECT SUM(B) FROM DOBLE"), cn);
  EXPECT_EQ(ver.Fields(0).Value(), vb::Variant(std::int32_t{2}));
}

TEST_F(Sqlite, ServerDialectRunsOnTheEmbeddedEngine) {
  Connection cn = abierta();
  Recordset rs;
  rs.Open(QStringLiteral("SELECT TOP 1  * FROM dbo.TA_USUARIOS WHERE LTRIM(RTRIM(nombre)) ='BETO' "), cn);
  EXPECT_EQ(rs.Fields("CODIGO").Value(), vb::Variant(std::int32_t{2}));
  rs.Close();
  rs.Open(QStringLiteral("SELECT TOP 2 GRUPO, COUNT(*) AS N FROM TA_USUARIOS GROUP BY GRUPO ORDER BY N DESC"), cn,
          adOpenStatic);
  EXPECT_EQ(rs.RecordCount(), 2);
  EXPECT_EQ(rs.Fields("GRUPO").Value(), vb::Variant("VEN"));
  rs.Close();
  rs.Open(QStringLiteral(
              "SELECT ISNULL(SALDO, 0) AS S, LEN(GRUPO) AS L, LEN('ab  ') AS B FROM TA_USUARIOS WHERE ACTIVO = TRUE "
              "AND ALTA >= #1/1/2024# ORDER BY CODIGO"),
          cn);
  EXPECT_EQ(rs.Fields("S").Value().toDouble(), 10.5);
  EXPECT_EQ(rs.Fields("L").Value(), vb::Variant(std::int32_t{3}));
  EXPECT_EQ(rs.Fields("B").Value(), vb::Variant(std::int32_t{2}));  // trailing blanks do not count
  rs.MoveNext();
  EXPECT_TRUE(rs.EOF());
  rs.Close();

  long n = 0;
  cn.Execute(QStringLiteral("ALTER TABLE dbo.TA_USUARIOS ADD OBS VARCHAR(50) Null "), n);
  cn.Execute(
      QStringLiteral("ALTER TABLE dbo.TA_USUARIOS ADD CANT INT Not Null  CONSTRAINT DF_TA_USUARIOS_CANT DEFAULT (0)"),
      n);
  cn.Execute(QStringLiteral("UPDATE TA_USUARIOS SET OBS = 'Mixto' WHERE CODIGO = 1"), n);
  rs.Open(QStringLiteral("SELECT CANT, OBS FROM TA_USUARIOS WHERE OBS = 'MIXTO'"), cn);
  ASSERT_FALSE(rs.EOF());  // the added text column compares ignoring case too
  EXPECT_EQ(rs.Fields("CANT").Value(), vb::Variant(std::int32_t{0}));
  EXPECT_EQ(rs.Fields("OBS").DefinedSize(), 50);
  rs.Close();

  // LIKE folds every letter's case, Ñ included, and knows the server's [ ] classes.
  rs.Open(QStringLiteral("SELECT COUNT(*) FROM TA_USUARIOS WHERE NOTAS LIKE 'ÑAND%'"), cn);
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant(std::int32_t{2}));
  rs.Close();
  rs.Open(QStringLiteral("SELECT COUNT(*) FROM TA_USUARIOS WHERE NOMBRE LIKE '[a-b]%'"), cn);
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant(std::int32_t{2}));
  rs.Close();
  rs.Open(QStringLiteral("SELECT COUNT(*) FROM TA_USUARIOS WHERE NOMBRE LIKE 'c_rla' AND NOMBRE NOT LIKE '%[^a-z]%'"),
          cn);
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant(std::int32_t{1}));
}

TEST_F(Sqlite, TableNameAloneOpensTheTable) {
  Connection cn = abierta();
  Recordset rs;
  rs.Open(QStringLiteral("TA_USUARIOS"), cn, adOpenStatic, adLockReadOnly, adCmdTable);
  EXPECT_EQ(rs.RecordCount(), 3);
}

TEST_F(Sqlite, FailureWhileReadingLeavesTheRecordsetClosed) {
  Connection cn = abierta();
  Recordset rs;
  for (long cursor : {long{adOpenForwardOnly}, long{adOpenStatic}}) {
    EXPECT_NE(
        numeroDe([&] { rs.Open(QStringLiteral("SELECT abs(-9223372036854775808) FROM TA_USUARIOS"), cn, cursor); }), 0);
    EXPECT_EQ(rs.State(), adStateClosed);
    EXPECT_EQ(cn.Errors().Count(), 1);
  }
  rs.Open(QStringLiteral("SELECT 1"), cn);  // usable again
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant(std::int32_t{1}));
}

TEST_F(Sqlite, FailureFarIntoAReadComesAtItsRow) {
  Connection cn = abierta();
  cn.Execute(
      QStringLiteral("CREATE TABLE TA_LARGA (ID INTEGER PRIMARY KEY); INSERT INTO TA_LARGA WITH RECURSIVE "
                     "n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 3000) SELECT x FROM n"));
  Recordset rs;
  rs.Open(QStringLiteral("SELECT ID, CASE WHEN ID = 2000 THEN abs(-9223372036854775808) ELSE ID END FROM TA_LARGA "
                         "ORDER BY ID"),
          cn);
  int leidas = 0;
  const long numero = numeroDe([&] {
    while (!rs.EOF()) {
      ++leidas;
      rs.MoveNext();
    }
  });
  EXPECT_NE(numero, 0);
  EXPECT_EQ(leidas, 1999);
  ASSERT_EQ(cn.Errors().Count(), 1);
  EXPECT_TRUE(cn.Errors()[0].Description().contains(QLatin1String("integer overflow")))
      << cn.Errors()[0].Description().toStdString();
  Recordset otra;
  otra.Open(QStringLiteral("SELECT COUNT(*) FROM TA_LARGA"), cn);
  EXPECT_EQ(otra.Fields(0).Value(), vb::Variant(std::int32_t{3000}));
}

// Field::leerTexto writes what Value().toText() gives, over the string it is
// handed: a long text before a short one leaves nothing behind.
TEST_F(Sqlite, TextReadInPlaceIsTheValueAsText) {
  Connection cn = abierta();
  cn.Execute(QStringLiteral("CREATE TABLE TA_TEXTOS (T VARCHAR(40), D DATETIME, X)"));
  cn.Execute(
      QStringLiteral("INSERT INTO TA_TEXTOS VALUES ('un texto bastante largo', '2024-02-29 10:00:00', 7), "
                     "('ñandú', 'no es fecha', 2.5), (NULL, NULL, NULL), ('', '', ''), "
                     "(CAST(x'efbbbf41' AS TEXT), NULL, x'4142'), (CAST(x'41ff42' AS TEXT), NULL, 'z'), "
                     "(CAST(x'41efbbbf42' AS TEXT), CAST(x'efbbbf' AS TEXT), 'año')"));
  Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM TA_TEXTOS"), cn);
  QString destino[3];
  int filas = 0;
  while (!rs.EOF()) {
    for (int c = 0; c < 3; ++c) {
      rs.Fields(c).leerTexto(destino[c]);
      ASSERT_EQ(destino[c], rs.Fields(c).Value().toText()) << "fila " << filas << " columna " << c;
    }
    ++filas;
    rs.MoveNext();
  }
  EXPECT_EQ(filas, 7);
}
