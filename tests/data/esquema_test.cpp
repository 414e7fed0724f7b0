// Schema inspection and adding columns on real SQLite databases.
#include <gtest/gtest.h>

#include "data/db_dll.h"
#include "data/textos_sql.h"
#include "platform/vb/reloj.h"
#include "tests/data/base_prueba.h"
#include "tests/support/guion_ui.h"

namespace {

struct Esquema {
  Esquema() { base.conectar(db()); }
  static long contar(const char* sql) { return prueba::BaseSuite::contar(sql); }
  prueba::BaseSuite base;
};

}  // namespace

TEST(Esquema, TablasYCampos) {
  Esquema e;
  EXPECT_TRUE(db().ExisteTablaDB("  ta_usuarios "));
  EXPECT_FALSE(db().ExisteTablaDB("TA_USUARIO"));
  EXPECT_TRUE(db().ExisteCampoDB("TA_USUARIOS", " ADMINISTRADOR "));
  EXPECT_FALSE(db().ExisteCampoDB("TA_USUARIOS", "Codigo"));
  EXPECT_FALSE(db().ExisteCampoDB("NO_EXISTE", "nombre"));
  db().gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
  EXPECT_TRUE(db().ExisteCampoDB("TA_USUARIOS", "NO_EXISTE"));
}

TEST(Esquema, TextoDeAddField) {
  EXPECT_EQ(textos_sql::AddField("TA_X", "OBS", "VARCHAR(50)", true, std::nullopt),
            "ALTER TABLE dbo.TA_X ADD OBS VARCHAR(50) Null ");
  EXPECT_EQ(textos_sql::AddField("TA_X", "CANT", "INT", false, vb::Variant(std::int32_t(0))),
            "ALTER TABLE dbo.TA_X ADD CANT INT Not Null  CONSTRAINT DF_TA_X_CANT DEFAULT (0)");
  EXPECT_EQ(textos_sql::AddField(" TA_X ", " T ", "VARCHAR(5)", true, vb::Variant("'a'")),
            "ALTER TABLE dbo. TA_X  ADD  T  VARCHAR(5) Null  CONSTRAINT DF_TA_X_T DEFAULT ('a')");
}

TEST(Esquema, AddFieldAgregaLaColumna) {
  Esquema e;
  db().AddField("TA_NUMEROS", "OBS", "VARCHAR(50)", true);
  db().AddField("TA_NUMEROS", "CANT", "INT", false, vb::Variant(std::int32_t(7)));
  EXPECT_EQ(db().gCnn.Errors().Count(), 0);
  EXPECT_TRUE(db().ExisteCampoDB("TA_NUMEROS", "OBS"));
  EXPECT_EQ(e.contar("SELECT COUNT(*) FROM TA_NUMEROS WHERE OBS IS NULL"), 3);
  EXPECT_EQ(e.contar("SELECT SUM(CANT) FROM TA_NUMEROS"), 21);
  // A second time the ALTER fails; EjecutaConsultaSQL keeps it in the collection.
  db().AddField("TA_NUMEROS", "OBS", "VARCHAR(50)", true);
  EXPECT_GT(db().gCnn.Errors().Count(), 0);
}

TEST(Esquema, VerCampoDB) {
  Esquema e;
  EXPECT_TRUE(db().VerCampoDB("NO_EXISTE", "OBS", true, "VARCHAR(10)", true));
  EXPECT_FALSE(db().ExisteTablaDB("NO_EXISTE"));
  EXPECT_TRUE(db().VerCampoDB("TA_NUMEROS", "OBS", false, "VARCHAR(10)", true));
  EXPECT_FALSE(db().ExisteCampoDB("TA_NUMEROS", "OBS"));
  EXPECT_TRUE(db().VerCampoDB("TA_NUMEROS", "OBS", true, "VARCHAR(10)", true));
  EXPECT_TRUE(db().ExisteCampoDB("TA_NUMEROS", "OBS"));
  EXPECT_TRUE(db().VerCampoDB("TA_NUMEROS", "OBS", true, "VARCHAR(10)", true));  // already there
  EXPECT_EQ(db().gCnn.Errors().Count(), 0);
}

TEST(Esquema, FalloVaATratamientoErroresConSuRutina) {
  Esquema e;
  db().gLogErr = e.base.carpeta.archivo(QStringLiteral("KVERR.LOG"));
  vb::reloj().fijar(QDateTime(QDate(2025, 1, 2), QTime(8, 0, 0)));
  db().gCnn.Close();
  prueba::guion().esperarMensaje(ui::vbRetry, {}, QStringLiteral(" - VerificaCampos Aviso al operador!!! "));
  prueba::guion().esperarMensaje(ui::vbAbort);
  EXPECT_FALSE(db().ExisteTablaDB("TA_USUARIOS"));
  const QString registro = QString::fromUtf8(e.base.carpeta.leer(QStringLiteral("KVERR.LOG")));
  EXPECT_TRUE(
      registro.startsWith("01-02-2025 08:00:00 Rutina: - VerificaCampos Mensaje Ha ocurrido el Siguiente "
                          "Error (3704) "))
      << registro.toStdString();
  EXPECT_EQ(registro.count("\r\n"), 2);
  EXPECT_TRUE(registro.contains(" Respondió : Reintentar\r\n"));
  EXPECT_TRUE(registro.endsWith(" Respondió : Abortar\r\n"));
}
