// Queries and recordsets on real SQLite databases: the statements written,
// the rewrites on the way, and each failure-handling style.
#include <gtest/gtest.h>

#include <QDialog>

#include "data/db_dll.h"
#include "data/textos_sql.h"
#include "tests/data/base_prueba.h"
#include "tests/support/guion_ui.h"

namespace {

struct Consultas {
  explicit Consultas(const QString& usuario = QStringLiteral("U2")) { base.conectar(db(), usuario); }
  prueba::BaseSuite base;
};

}  // namespace

TEST(TextosConsulta, DatosTabla) {
  using textos_sql::DatosTabla;
  EXPECT_EQ(DatosTabla("ta_usuarios", "U1", "nombre", 8, "", true),
            "SELECT TOP 1 * FROM ta_usuarios WHERE LTRIM(RTRIM(nombre)) ='U1' ");
  EXPECT_EQ(DatosTabla("T", " U1 ", "C", 8, "   ", true), "SELECT TOP 1 * FROM T WHERE LTRIM(RTRIM(C)) ='U1'    ");
  EXPECT_EQ(DatosTabla("T", " U1 ", "C", 8, "A = 1", false), "SELECT TOP 1 * FROM T WHERE C =' U1 '  AND A = 1");
  EXPECT_EQ(DatosTabla("T", " 31/12/2024 ", "F", 7, "", true), "SELECT TOP 1 * FROM T WHERE F = #31/12/2024# ");
  EXPECT_EQ(DatosTabla("T", " 12 ", "N", 3, "", true), "SELECT TOP 1 * FROM T WHERE N = 12");
  EXPECT_EQ(DatosTabla("T", "x", "N", 4, "A = 1", true), "SELECT TOP 1 * FROM T WHERE N = 0 AND A = 1");
  EXPECT_EQ(DatosTabla("T", "V", "N", 11, "", true), "SELECT TOP 1 * FROM T WHERE N = V");
}

TEST(TextosConsulta, NumerosConPuntoDecimal) {
  // The regional comma would split the value in SQL.
  EXPECT_EQ(textos_sql::DatosTabla("T", "1,5", "N", 5, "", true), "SELECT TOP 1 * FROM T WHERE N = 1.5");
  EXPECT_EQ(textos_sql::ExisteEnTabla("T", "2,25", "N", 5, ""), "SELECT TOP 1 * FROM T WHERE N = 2.25");
}

TEST(TextosConsulta, ExisteEnTabla) {
  using textos_sql::ExisteEnTabla;
  EXPECT_EQ(ExisteEnTabla("T", " A ", "C", 8, ""), "SELECT TOP 1  * FROM T WHERE LTRIM(RTRIM(C)) ='A'");
  EXPECT_EQ(ExisteEnTabla("T", "O'Brien", "C", 8, ""), "SELECT TOP 1  * FROM T WHERE LTRIM(RTRIM(C)) ='O'Brien'");
  EXPECT_EQ(ExisteEnTabla("T", " 1/1/2024 ", "F", 7, ""), "SELECT TOP 1 * FROM T WHERE F = 1/1/2024 ");
  EXPECT_EQ(ExisteEnTabla("T", "7", "N", 3, ""), "SELECT TOP 1 * FROM T WHERE N = 7");
  EXPECT_EQ(ExisteEnTabla("T", "V", "N", 2, ""), "SELECT TOP 1 * FROM T WHERE N = V");
  // With a condition the value and field are not used; WHERE is added unless present.
  EXPECT_EQ(ExisteEnTabla("T", "V", "N", 8, "WHERE ACTIVO = 1"), "SELECT TOP 1 * FROM T WHERE WHERE ACTIVO = 1");
  EXPECT_EQ(ExisteEnTabla("T", "V", "N", 8, " where ACTIVO = 1"), "SELECT TOP 1 * FROM T  where ACTIVO = 1");
  EXPECT_EQ(ExisteEnTabla("T", "V", "N", 8, "ACTIVO = 1"), "SELECT TOP 1 * FROM T WHERE ACTIVO = 1");
  using textos_sql::ExisteEnTablaST;
  EXPECT_EQ(ExisteEnTablaST("T", " A ", "C", 8, ""), "SELECT * FROM T WHERE C =' A '");
  EXPECT_EQ(ExisteEnTablaST("T", " 1/1/2024 ", "F", 7, ""), "SELECT * FROM T WHERE F = 1/1/2024 ");
  EXPECT_EQ(ExisteEnTablaST("T", "V", "N", 8, "ACTIVO = 1"), "SELECT * FROM T WHERE ACTIVO = 1");
}

TEST(TextosConsulta, MaximosYMinimos) {
  EXPECT_EQ(textos_sql::BuscaMaximo("T", "C", std::nullopt), "SELECT MAX(C) AS MAYOR FROM T");
  EXPECT_EQ(textos_sql::BuscaMaximo("T", "C", vb::Variant("  A = 1 ")), "SELECT MAX(C) AS MAYOR FROM T WHERE A = 1");
  EXPECT_EQ(textos_sql::BuscaMinimo("T", "C", vb::Variant("A = 1")), "SELECT MIN(C) AS MENOR FROM T WHERE A = 1");
  EXPECT_EQ(textos_sql::BuscaUltimoCodigo("T", "C", "  "), "SELECT MAX(C) AS MAYOR FROM T");
  EXPECT_EQ(textos_sql::BuscaUltimoCodigo("T", "C", " A = 1 "), "SELECT MAX(C) AS MAYOR FROM T WHERE  A = 1 ");
}

TEST(Consultas, DatosTablaLeeElValor) {
  Consultas c;
  EXPECT_EQ(db().DatosTabla("ta_usuarios", "U1", "Administrador", "nombre").toString(), "1");
  // The trimmed search finds " U3 "; its Null reads as an empty text.
  const vb::Variant u3 = db().DatosTabla("ta_usuarios", "U3", "Administrador", "nombre");
  EXPECT_TRUE(u3.isText());
  EXPECT_EQ(u3.toString(), "");
  // No row: the empty text, not Empty.
  const vb::Variant nadie = db().DatosTabla("ta_usuarios", "NADIE", "Administrador", "nombre");
  EXPECT_TRUE(nadie.isText());
  EXPECT_FALSE(nadie.isEmpty());
  EXPECT_EQ(db().DatosTabla("ta_usuarios", "U1", "Activo", "nombre", 8, "   ").toString(), "1");
  EXPECT_EQ(db().DatosTabla("ta_usuarios", "U1", "Activo", "nombre", 8, "Activo = 0").toString(), "");
  EXPECT_EQ(db().DatosTabla("TA_NUMEROS", "7", "Importe", "Codigo", 3).toString(), "2,25");
  EXPECT_EQ(db().DatosTabla("TA_NUMEROS", "1,5", "Codigo", "Importe", 5).toString(), "3");
}

TEST(Consultas, DatosTablaAvisoAlOperador) {
  Consultas c;
  // Abort after a failed read leaves Empty.
  prueba::guion().esperarMensaje(ui::vbRetry, {}, QStringLiteral("Aviso al Operador"));
  prueba::guion().esperarMensaje(ui::vbAbort, {}, QStringLiteral("Aviso al Operador"));
  EXPECT_TRUE(db().DatosTabla("ta_usuarios", "U1", "NoHay", "nombre").isEmpty());
  EXPECT_EQ(prueba::guion().mostradas().at(0).botones, ui::vbAbortRetryIgnore | ui::vbCritical);
  // Ignore goes on: the recordset is closed and nothing was read.
  prueba::guion().esperarMensaje(ui::vbIgnore);
  EXPECT_TRUE(db().DatosTabla("ta_usuarios", "U1", "NoHay", "nombre").isEmpty());
}

TEST(Consultas, ExisteEnTabla) {
  Consultas c;
  EXPECT_TRUE(db().ExisteEnTabla("TA_USUARIOS", " u1 ", "nombre"));
  EXPECT_FALSE(db().ExisteEnTabla("TA_USUARIOS", "NADIE", "nombre"));
  EXPECT_TRUE(db().ExisteEnTabla("TA_NUMEROS", "12", "Codigo", nullptr, 3));
  EXPECT_TRUE(db().ExisteEnTabla("TA_USUARIOS", "", "", nullptr, 8, " where Activo = 0"));
  EXPECT_FALSE(db().ExisteEnTablaST("TA_USUARIOS", "U3", "nombre"));  // no trimming there
  EXPECT_TRUE(db().ExisteEnTablaST("TA_USUARIOS", " U3 ", "nombre"));
}

TEST(Consultas, ExisteEnTablaComillaSinDoblar) {
  Consultas c;
  // The quote goes in as it is, so the statement is broken and the user is told.
  prueba::guion().esperarMensaje(ui::vbAbort, {}, QStringLiteral("Aviso al Operador"));
  EXPECT_FALSE(db().ExisteEnTabla("TA_USUARIOS", "O'Brien", "nombre"));
}

TEST(Consultas, ExisteEnTablaDejaElRecordsetEnLaFila) {
  Consultas c;
  ado::Recordset rs;
  // Not an administrator: the statement kept in the recordset reads the synonym.
  EXPECT_TRUE(db().ExisteEnTabla("MA_CUENTAS", "", "", &rs, 8, "Codigo = '100'"));
  ASSERT_EQ(rs.State(), ado::adStateOpen);
  EXPECT_EQ(rs.Fields("Nombre").Value().toString(), "Caja restringida");
  EXPECT_EQ(rs.Source(), "SELECT TOP 1 * FROM SS_MA_CUENTAS WHERE Codigo = '100'");
  EXPECT_EQ(rs.LockType(), ado::adLockReadOnly);
  // Open again on the same recordset: closed first.
  EXPECT_FALSE(db().ExisteEnTabla("MA_CUENTAS", "999", "Codigo", &rs));
  EXPECT_EQ(rs.State(), ado::adStateOpen);
}

TEST(Consultas, SinonimosParaQuienNoEsAdministrador) {
  Consultas c(QStringLiteral("U2"));
  ASSERT_FALSE(db().gEsAdmin);
  // Only the restricted synonym holds "Caja restringida".
  EXPECT_TRUE(db().ExisteEnTabla("MA_CUENTAS ", "Caja restringida", "Nombre"));
  EXPECT_FALSE(db().ExisteEnTabla("@Admin_MA_CUENTAS ", "Caja restringida", "Nombre"));
  EXPECT_FALSE(db().ExisteEnTablaST("MA_CUENTAS ", "Caja restringida", "Nombre"));
  QString sql = QStringLiteral("SELECT * FROM MA_CUENTAS WHERE Codigo = '100'");
  ado::Recordset rs;
  db().AbrirRecordset(sql, rs);
  EXPECT_EQ(sql, "SELECT * FROM SS_MA_CUENTAS WHERE Codigo = '100'");
  EXPECT_EQ(rs.Fields("Nombre").Value().toString(), "Caja restringida");
  db().CierraRecordset(rs);
  EXPECT_EQ(rs.State(), ado::adStateClosed);
}

TEST(Consultas, AdministradorVeLaTablaReal) {
  Consultas c(QStringLiteral("U1"));
  ASSERT_TRUE(db().gEsAdmin);
  EXPECT_FALSE(db().ExisteEnTabla("MA_CUENTAS ", "Caja restringida", "Nombre"));
  EXPECT_TRUE(db().ExisteEnTabla("@Admin_MA_CUENTAS ", "Caja", "Nombre"));
}

TEST(Consultas, AbrirRecordsetCierraElAbiertoYUsaLaConexionDada) {
  Consultas c;
  ado::Recordset rs;
  db().AbrirRecordset(QStringLiteral("SELECT Codigo FROM TA_NUMEROS ORDER BY Codigo"), rs);
  ASSERT_EQ(rs.State(), ado::adStateOpen);
  db().AbrirRecordset(QStringLiteral("SELECT Codigo FROM TA_NUMEROS ORDER BY Codigo DESC"), rs, &db().gCnn,
                      ado::adOpenStatic);
  EXPECT_EQ(rs.Fields(0).Value().toLong(), 12);
  EXPECT_EQ(rs.RecordCount(), 3);
}

TEST(Consultas, AbrirRecordsetFallidoPreguntaPorElDialogoDeError) {
  Consultas c;
  ado::Recordset rs;
  int veces = 0;
  prueba::guion().esperarModal([&](QDialog& d) {
    ++veces;
    prueba::pulsar(d, QStringLiteral("Reintentar"));
  });
  prueba::guion().esperarModal([&](QDialog& d) {
    ++veces;
    prueba::pulsar(d, QStringLiteral("Cancelar"));
  });
  db().AbrirRecordset(QStringLiteral("SELECT * FROM NO_EXISTE"), rs);
  EXPECT_EQ(veces, 2);
  EXPECT_EQ(rs.State(), ado::adStateClosed);
}

TEST(Consultas, AbrirRecordsetEnOracleTraduceLoQueAbre) {
  prueba::BaseSuite base(QStringLiteral("ORACLE_PRUEBA"));
  base.conectar(db(), QStringLiteral("U1"), false);
  base.ejecutar(QStringLiteral("ORACLE_PRUEBA"), "INSERT INTO TA_NUMEROS VALUES (20, 0, NULL);");
  // On Oracle an empty text is Null: the translated statement finds the Null rows.
  QString sql = QStringLiteral("SELECT COUNT(*) AS N FROM TA_NUMEROS WHERE Texto = ''");
  ado::Recordset rs;
  db().AbrirRecordset(sql, rs);
  EXPECT_EQ(rs.Fields("N").Value().toLong(), 2);
  EXPECT_EQ(sql, "SELECT COUNT(*) AS N FROM TA_NUMEROS WHERE Texto = ''");
  db().AbrirRecordset(sql, rs, nullptr, 0, 1, -1, false);
  EXPECT_EQ(rs.Fields("N").Value().toLong(), 1);
}

TEST(Consultas, MaximoMinimoYUltimoCodigo) {
  Consultas c;
  EXPECT_EQ(db().BuscaMaximo("TA_NUMEROS", "Codigo").toDouble(), 12);
  EXPECT_EQ(db().BuscaMaximo("TA_NUMEROS", "Codigo", vb::Variant(8), vb::Variant(" Codigo < 10 ")).toDouble(), 7);
  EXPECT_EQ(db().BuscaMinimo("TA_NUMEROS", "Importe").toDouble(), -4);
  EXPECT_EQ(db().BuscaMaximo("TA_NUMEROS", "Importe").toDouble(), 2.25);
  EXPECT_EQ(db().BuscaUltimoCodigo("TA_NUMEROS", "Codigo", 8, "Codigo < 5").toDouble(), 3);
  // An empty table gives the first code's predecessor.
  EXPECT_EQ(db().BuscaUltimoCodigo("TA_VACIA", "Codigo").toDouble(), 0);
  EXPECT_THROW(db().BuscaMaximo("NO_EXISTE", "C"), vb::Error);
}

TEST(Consultas, EjecutaConsultaQuitaLasMarcas) {
  Consultas c;
  QString sql = QStringLiteral("DELETE FROM @Admin_TA_NUMEROS WHERE Codigo > 5");
  long n = 0;
  db().EjecutaConsultaSQL(sql, n);
  EXPECT_EQ(sql, "DELETE FROM TA_NUMEROS WHERE Codigo > 5");
  EXPECT_EQ(n, 2);
  // DROP with CREATE and no marker takes the synonym rewrite instead.
  sql = QStringLiteral("DROP VIEW IF EXISTS V_X; CREATE VIEW V_X AS SELECT * FROM MA_CUENTAS WHERE 1=1");
  db().EjecutaConsultaSQL(sql, n);
  EXPECT_EQ(sql, "DROP VIEW IF EXISTS V_X; CREATE VIEW V_X AS SELECT * FROM SS_MA_CUENTAS WHERE 1=1");
  EXPECT_EQ(db().gCnn.Errors().Count(), 0);
}

TEST(Consultas, EjecutaConsultaCallaLosErroresDeDatos) {
  Consultas c;
  long n = 0;
  QString duplicado = QStringLiteral("INSERT INTO TA_NUMEROS VALUES (3, 0, 'x')");
  db().EjecutaConsultaSQL(duplicado, n);  // no box expected
  ASSERT_EQ(db().gCnn.Errors().Count(), 1);
  EXPECT_EQ(db().gCnn.Errors().Item(0L).Number(), ado::kErrorIntegridad);
  QString sinTabla = QStringLiteral("UPDATE NO_EXISTE SET A = 1");
  db().EjecutaConsultaSQL(sinTabla, n);
  EXPECT_EQ(db().gCnn.Errors().Item(0L).Number(), ado::kErrorSinTabla);
  QString mala = QStringLiteral("UPDATE TA_NUMEROS SET");
  db().EjecutaConsultaSQL(mala, n);
  EXPECT_EQ(db().gCnn.Errors().Item(0L).Number(), ado::kErrorSentencia);
}

TEST(Consultas, EjecutaConsultaMuestraLosDemasSalvoEnTransacciones) {
  Consultas c;
  db().gCnn.Close();
  long n = 0;
  QString sql = QStringLiteral("DELETE FROM TA_NUMEROS");
  prueba::guion().esperarMensaje(ui::vbOK, {}, QStringLiteral("Aviso al operador!!!"));
  db().EjecutaConsultaSQL(sql, n);
  EXPECT_EQ(prueba::guion().mostradas().at(0).botones, ui::vbCritical);
  QString trans = QStringLiteral("BEGIN TRANSACTION");
  db().EjecutaConsultaSQL(trans, n);  // nothing shown
  EXPECT_EQ(prueba::guion().mostradas().size(), 1u);
}

TEST(Consultas, AvisoDeTruncado8152) {
  using textos_sql::esAvisoTruncado;
  const auto coleccion = [](std::initializer_list<long> nativos) {
    ado::Errors e;
    for (long n : nativos) e.agregar(ado::Error(ado::kErrorGeneral, "d", "s", "01000", n));
    return e;
  };
  const QString sql = QStringLiteral("INSERT INTO T VALUES ('largo')");
  // After a run that worked: one or two entries, the first 8152.
  EXPECT_TRUE(esAvisoTruncado(coleccion({8152}), sql, true));
  EXPECT_TRUE(esAvisoTruncado(coleccion({8152, 3621}), sql, true));
  EXPECT_FALSE(esAvisoTruncado(coleccion({8152, 3621, 1}), sql, true));
  EXPECT_FALSE(esAvisoTruncado(coleccion({3621, 8152}), sql, true));
  EXPECT_FALSE(esAvisoTruncado(coleccion({}), sql, true));
  // After a failure any number of entries counts.
  EXPECT_TRUE(esAvisoTruncado(coleccion({8152, 3621, 1}), sql, false));
  // Never inside a transaction.
  EXPECT_FALSE(esAvisoTruncado(coleccion({8152}), "BEGIN TRANSACTION " + sql, true));
  EXPECT_FALSE(esAvisoTruncado(coleccion({8152}), "commit transaction", false));
}
