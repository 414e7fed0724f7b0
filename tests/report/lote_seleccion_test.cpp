// The batch mode on a generated company with 1,500 menu tasks ticked, as a
// branch of a real menu has them: the built program writes the task report
// whole, every selected task with permissions in it and the count of all.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "demo/demo.h"
#include "tests/report/lote_apoyo.h"

namespace {

QStringList columna(const QString& base, const QString& sql) {
  sqlite3* h = nullptr;
  EXPECT_EQ(sqlite3_open_v2(QFile::encodeName(base).constData(), &h, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(h, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
  QStringList r;
  while (sqlite3_step(st) == SQLITE_ROW)
    r << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  sqlite3_close(h);
  return r;
}

TEST(LoteSeleccion, ElReporteDeMilQuinientasTareasSaleEntero) {
  prueba::EmpresaDemo empresa;
  demo::crearBaseGrande(empresa.base(), demo::Volumen{600, 3000, 4, 6});
  // Tasks without children: ticking one ticks nothing else.
  const QStringList tareas =
      columna(empresa.base(),
              QStringLiteral(
                  "SELECT CLAVE FROM TA_MENU M WHERE MENU = 'ZEPA' AND NOT EXISTS "
                  "(SELECT 1 FROM TA_MENU H WHERE H.MENU = 'ZEPA' AND H.Titulo = M.CLAVE) ORDER BY CLAVE LIMIT 1500"));
  ASSERT_EQ(tareas.size(), 1500);
  const QString enLista = QStringLiteral("('") + tareas.join(QStringLiteral("','")) + QStringLiteral("')");
  const QString permisos = QStringLiteral(
                               " FROM TA_USUARIOS_TAREAS T INNER JOIN TA_USUARIOS U ON U.NOMBRE = T.USUARIO "
                               "WHERE T.MENU = 'ZEPA' AND U.ESGRUPO = 0 AND T.CLAVE IN ") +
                           enLista;
  const QStringList total = columna(empresa.base(), QStringLiteral("SELECT COUNT(*)") + permisos);
  const QStringList conPermisos = columna(empresa.base(), QStringLiteral("SELECT DISTINCT T.CLAVE") + permisos);
  ASSERT_GT(conPermisos.size(), 500);

  const QString pdf = empresa.datos.archivo(QStringLiteral("tareas.pdf"));
  const auto c = prueba::correr(empresa,
                                {QStringLiteral("@Server=DEMO;@DbName=KORVANE;@Usuario=USUARIO00001;@Password=x"),
                                 QStringLiteral("--agrupar=tarea"), QStringLiteral("--tareas=") + tareas.join(u','),
                                 QStringLiteral("--destino=pdf:") + pdf},
                                120000);
  ASSERT_EQ(c.estado, 0) << c.errores.left(2000).toStdString();
  const QString texto = prueba::textoPdf(pdf);
  EXPECT_TRUE(texto.contains(QStringLiteral("Total de permisos: ") + total.value(0))) << texto.right(500).toStdString();
  QSet<QString> mostradas;
  static const QRegularExpression encabezado(QStringLiteral("Tarea: (\\S+)"));
  for (auto it = encabezado.globalMatch(texto); it.hasNext();) mostradas.insert(it.next().captured(1));
  EXPECT_EQ(mostradas, QSet<QString>(conPermisos.begin(), conPermisos.end()));
}

}  // namespace
