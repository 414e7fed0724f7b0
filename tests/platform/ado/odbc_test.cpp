// The ODBC provider through unixODBC with real drivers: Debian's SQLite ODBC
// driver (DSN-less) and FreeTDS against a closed port.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <functional>

#include "platform/ado/connection.h"
#include "platform/ado/odbc/enlace_odbc.h"
#include "platform/ado/recordset.h"
#include "platform/vb/error.h"
#include "tests/platform/ado/base_prueba.h"
#include "tests/support/numero_error.h"

using namespace ado;

namespace {

class Odbc : public ::testing::Test {
 protected:
  Odbc() {
    archivo_ = datos_.archivo(QStringLiteral("EMPRESA.db"));
    prueba::crearBase(archivo_, prueba::kEsquemaUsuarios);
  }
  void SetUp() override {
    if (!ado::detalle::controladoresOdbc().contains(QStringLiteral("SQLite3")))
      GTEST_SKIP() << "the SQLite3 ODBC driver (libsqliteodbc) is not installed";
  }
  QString cadena() const { return QStringLiteral("Driver=SQLite3;Database=%1;").arg(archivo_); }
  static long numeroDe(const std::function<void()>& f) { return prueba::numeroDeError(f); }

  prueba::CarpetaTemporal datos_;
  QString archivo_;
};

}  // namespace

TEST_F(Odbc, DsnLessReadKeepsTypesNullsAndDates) {
  Connection cn;
  cn.Open(cadena());
  EXPECT_EQ(cn.Provider(), "MSDASQL");
  Recordset rs;
  rs.Open(QStringLiteral("SELECT CODIGO, NOMBRE, ACTIVO, ALTA, NOTAS FROM TA_USUARIOS ORDER BY CODIGO"), cn);
  EXPECT_EQ(rs.Fields("codigo").Type(), adInteger);
  EXPECT_EQ(rs.Fields("NOMBRE").DefinedSize(), 30);
  EXPECT_TRUE(rs.Fields("NOMBRE").Type() == adVarChar || rs.Fields("NOMBRE").Type() == adVarWChar);
  EXPECT_EQ(rs.Fields("ALTA").Type(), adDBTimeStamp);
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant(std::int32_t{1}));
  EXPECT_EQ(rs.Fields(1).Value(), vb::Variant("ANA"));
  EXPECT_EQ(rs.Fields(2).Value(), vb::Variant(true));
  EXPECT_EQ(rs.Fields(3).Value(), vb::Variant(QDateTime(QDate(2024, 1, 15), QTime(8, 30))));
  EXPECT_TRUE(rs.Fields(4).Value().isNull());
  rs.MoveNext();
  EXPECT_EQ(rs.Fields(4).Value(), vb::Variant(QStringLiteral("ñandú")));  // wide characters both ways
  rs.MoveNext();
  EXPECT_TRUE(rs.Fields(3).Value().isNull());
  rs.MoveNext();
  EXPECT_TRUE(rs.EOF());
  EXPECT_EQ(numeroDe([&] { rs.Fields(0).Value(); }), kErrorBofEof);

  // Either provider sizes a column of a fixed-size type as ADO does.
  Connection directa;
  directa.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + archivo_);
  for (Connection* c : {&cn, &directa}) {
    Recordset t;
    t.Open(QStringLiteral("SELECT CODIGO, Administrador, ACTIVO, ALTA, NOMBRE FROM TA_USUARIOS"), *c);
    EXPECT_EQ(t.Fields(0).DefinedSize(), 4) << c->Provider().toStdString();
    EXPECT_EQ(t.Fields(1).DefinedSize(), 2) << c->Provider().toStdString();
    EXPECT_EQ(t.Fields(2).DefinedSize(), 2) << c->Provider().toStdString();
    EXPECT_EQ(t.Fields(3).DefinedSize(), 16) << c->Provider().toStdString();
    EXPECT_EQ(t.Fields(4).DefinedSize(), 30) << c->Provider().toStdString();
  }
}

TEST_F(Odbc, ExecuteCountsAndTransactionsUndo) {
  Connection cn;
  cn.Open(cadena());
  long n = 0;
  cn.Execute(QStringLiteral("UPDATE TA_USUARIOS SET GRUPO = 'Z' WHERE CODIGO > 1"), n);
  EXPECT_EQ(n, 2);
  cn.BeginTrans();
  cn.Execute(QStringLiteral("DELETE FROM TA_USUARIOS"), n);
  EXPECT_EQ(n, 3);
  cn.RollbackTrans();
  Recordset rs;
  rs.Open(QStringLiteral("SELECT COUNT(*) FROM TA_USUARIOS WHERE GRUPO = 'Z'"), cn);
  EXPECT_EQ(rs.Fields(0).Value().toText(), "2");
}

TEST_F(Odbc, DriverDiagnosticsFillErrors) {
  Connection cn;
  cn.Open(cadena());
  EXPECT_NE(numeroDe([&] { cn.Execute(QStringLiteral("INSERT INTO TA_USUARIOS (CODIGO, NOMBRE) VALUES (9, 'ANA')")); }),
            0);
  ASSERT_GE(cn.Errors().Count(), 1);
  const Error& e = cn.Errors()[0];
  EXPECT_EQ(e.SQLState().size(), 5);
  EXPECT_EQ(e.Number(), numeroPorEstado(e.SQLState()));
  EXPECT_EQ(e.NativeError(), 19);  // SQLite's constraint code, as this driver reports it
  EXPECT_TRUE(e.Description().contains(QStringLiteral("UNIQUE")));

  Connection mala;
  EXPECT_EQ(numeroDe([&] { mala.Open(QStringLiteral("Driver=NoExiste;Database=x")); }), kErrorGeneral);
  ASSERT_GE(mala.Errors().Count(), 1);
  EXPECT_EQ(mala.Errors()[0].SQLState(), "01000");
  EXPECT_EQ(mala.State(), adStateClosed);
}

TEST_F(Odbc, ServerAliasSendsTheSqlServerPathToAnOdbcDriver) {
  prueba::Servidores ini("[Servidores]\nCENTRAL=odbc:Driver=SQLite3;Database=" + archivo_.toUtf8() + "\n");
  Connection cn;
  cn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=central;Database =EMPRESA;UId=u;Pwd=p;"));
  EXPECT_EQ(cn.Provider(), "SQLOLEDB");
  Recordset rs;
  rs.Open(QStringLiteral("SELECT NOMBRE FROM TA_USUARIOS WHERE CODIGO = 3"), cn);
  EXPECT_EQ(rs.Fields(0).Value(), vb::Variant("Carla"));
}

TEST_F(Odbc, OptimisticConflictThroughOdbc) {
  Connection cn;
  cn.Open(cadena());
  const QString sql = QStringLiteral("SELECT * FROM TA_CONFIGURACION WHERE Clave = 'RUTA'");
  Recordset uno, otro;
  uno.Open(sql, cn, adOpenDynamic, adLockOptimistic);
  otro.Open(sql, cn, adOpenDynamic, adLockOptimistic);
  otro.Fields("Valor") = vb::Variant("B");
  otro.Update();
  uno.Fields("Valor") = vb::Variant("A");
  EXPECT_EQ(numeroDe([&] { uno.Update(); }), kErrorFilaCambiada);
  uno.CancelUpdate();
  uno.AddNew();
  uno.Fields("Clave") = vb::Variant("OTRA");
  uno.Fields("Valor") = vb::Variant(vb::Currency{15000});
  uno.Update();
  Recordset ver;
  ver.Open(QStringLiteral("SELECT Valor FROM TA_CONFIGURACION ORDER BY Clave"), cn, adOpenStatic);
  ASSERT_EQ(ver.RecordCount(), 2);
  EXPECT_EQ(ver.Fields(0).Value().toText().toDouble(), 1.5);
  ver.MoveNext();
  EXPECT_EQ(ver.Fields(0).Value(), vb::Variant("B"));
}

TEST_F(Odbc, SchemaRowsetsFromTheDriverCatalogue) {
  Connection cn;
  cn.Open(cadena());
  Recordset t =
      cn.OpenSchema(adSchemaTables, {vb::Variant(), vb::Variant(), vb::Variant("v_ta_activos"), vb::Variant()});
  ASSERT_FALSE(t.EOF());
  EXPECT_EQ(t.Fields("TABLE_NAME").Value(), vb::Variant("V_TA_ACTIVOS"));
  EXPECT_EQ(t.Fields("TABLE_TYPE").Value(), vb::Variant("VIEW"));
  Recordset c =
      cn.OpenSchema(adSchemaColumns, {vb::Variant(), vb::Variant(), vb::Variant("TA_USUARIOS"), vb::Variant("alta")});
  ASSERT_FALSE(c.EOF());
  EXPECT_EQ(c.Fields("COLUMN_NAME").Value(), vb::Variant("ALTA"));
  EXPECT_EQ(c.Fields("DATA_TYPE").Value(), vb::Variant(std::int32_t{adDBTimeStamp}));
  c.MoveNext();
  EXPECT_TRUE(c.EOF());
}

TEST(OdbcFreeTds, ClosedPortFailsQuicklyWithDiagnostics) {
  if (!ado::detalle::controladoresOdbc().contains(QStringLiteral("FreeTDS")))
    GTEST_SKIP() << "FreeTDS (tdsodbc) is not installed";
  prueba::Servidores sinAlias("[Servidores]\n");
  Connection cn;
  QElapsedTimer reloj;
  reloj.start();
  long numero = 0;
  try {
    cn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=127.0.0.1,1;Database =EMPRESA;UId=sa;Pwd=x;"));
  } catch (const vb::Error& e) {
    numero = e.Number();
    EXPECT_FALSE(e.Description().isEmpty());
  }
  EXPECT_LT(reloj.elapsed(), 15000);
  EXPECT_EQ(numero, kErrorGeneral);
  EXPECT_EQ(cn.State(), adStateClosed);
  ASSERT_GE(cn.Errors().Count(), 1);
  bool hayNativo = false;
  for (const Error& e : cn.Errors()) {
    EXPECT_EQ(e.SQLState().size(), 5);
    EXPECT_FALSE(e.Description().isEmpty());
    hayNativo = hayNativo || e.NativeError() != 0;
  }
  EXPECT_TRUE(hayNativo);
  EXPECT_TRUE(cn.Errors()[0].SQLState().startsWith(QLatin1String("08")));
}
