// The generated companies the benchmarks run on: the sizes asked for, a menu
// every row of which finds its parent, and a file replaced whole.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

#include "demo/demo.h"
#include "tests/support/temp_folder.h"

namespace {

long contar(const QString& base, const char* sql) {
  sqlite3* h = nullptr;
  sqlite3_open_v2(QFile::encodeName(base).constData(), &h, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  long n = -1;
  if (sqlite3_prepare_v2(h, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
    n = sqlite3_column_int64(st, 0);
  else
    ADD_FAILURE() << sqlite3_errmsg(h) << ": " << sql;
  sqlite3_finalize(st);
  sqlite3_close(h);
  return n;
}

TEST(ExtremoDemo, LaEmpresaGeneradaTieneLoPedido) {
  prueba::CarpetaTemporal carpeta;
  const QString base = carpeta.archivo(QStringLiteral("GRANDE.db"));
  demo::crearBaseGrande(base, demo::Volumen{120, 1234, 7, 5});
  EXPECT_EQ(contar(base, "SELECT COUNT(*) FROM TA_USUARIOS WHERE EsGrupo = 0"), 120);
  EXPECT_EQ(contar(base, "SELECT COUNT(*) FROM TA_USUARIOS WHERE EsGrupo = 1"), 10);
  EXPECT_EQ(contar(base, "SELECT COUNT(*) FROM V_TA_UNIDADNEGOCIO"), 7);
  EXPECT_EQ(contar(base, "SELECT COUNT(*) FROM TA_MENU WHERE MENU = 'ZEPA' AND HABILITADO = 1"), 1234);
  // Every child row's parent is in the menu and sorts before it, as the
  // tree loader needs.
  EXPECT_EQ(contar(base,
                   "SELECT COUNT(*) FROM TA_MENU M WHERE Titulo <> '' AND NOT EXISTS "
                   "(SELECT 1 FROM TA_MENU P WHERE P.CLAVE = M.Titulo AND P.CLAVE < M.CLAVE)"),
            0);
  EXPECT_EQ(contar(base, "SELECT COUNT(*) FROM TA_MENU WHERE Titulo = ''"), 10);
  // Permissions land on real tasks (the foreign key) and a repeated pick is
  // kept once.
  EXPECT_GT(contar(base, "SELECT COUNT(*) FROM TA_USUARIOS_TAREAS"), 120 * 4);
  EXPECT_LE(contar(base, "SELECT COUNT(*) FROM TA_USUARIOS_TAREAS"), 120 * 5);
  EXPECT_EQ(
      contar(
          base,
          "SELECT COUNT(*) FROM TA_USUARIOS_TAREAS T LEFT JOIN TA_MENU M ON M.CLAVE = T.CLAVE WHERE M.CLAVE IS NULL"),
      0);
  EXPECT_EQ(contar(base, QStringLiteral("SELECT COUNT(*) FROM TA_USUARIOS WHERE Nombre = '%1'")
                             .arg(demo::nombreUsuarioGenerado(120))
                             .toUtf8()
                             .constData()),
            1);

  // Built again smaller: the new file replaces the old one whole.
  demo::crearBaseGrande(base, demo::Volumen{3, 20, 1, 1});
  EXPECT_EQ(contar(base, "SELECT COUNT(*) FROM TA_MENU"), 20);
  EXPECT_FALSE(QFile::exists(base + QStringLiteral(".nueva")));
  EXPECT_THROW(demo::crearBaseGrande(base, demo::Volumen{-1, 10, 1, 1}), std::exception);
  EXPECT_EQ(contar(base, "SELECT COUNT(*) FROM TA_USUARIOS WHERE EsGrupo = 0"), 3);  // a refused size keeps the file
}

TEST(ExtremoDemo, LaBaseDeDemostracionYSusReportes) {
  prueba::CarpetaTemporal carpeta;
  const QString base = carpeta.archivo(QStringLiteral("KORVANE.db"));
  demo::crearBaseDemo(base);
  EXPECT_EQ(contar(base, "SELECT COUNT(*) FROM TA_MENU WHERE MENU = 'ZEPA' AND HABILITADO = 1"), 52);
  // Each of the ten modules' prefixes starts some menu row.
  for (const char* p : {"D30", "D40", "D4020", "D50", "D5080", "D5090", "D60", "D75", "D80", "D95"})
    EXPECT_GT(contar(base, QStringLiteral("SELECT COUNT(*) FROM TA_MENU WHERE CLAVE LIKE '%1%'")
                               .arg(QLatin1String(p))
                               .toUtf8()
                               .constData()),
              1)
        << p;
  const QStringList reportes = demo::copiarReportes(carpeta.ruta());
  ASSERT_EQ(reportes.size(), 3);
  for (const QString& r : reportes) EXPECT_GT(QFile(r).size(), 500) << r.toStdString();
}

}  // namespace
