#include "tests/engine/apoyo.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QProcess>

namespace prueba {

QString crearBase(const QString& ruta, const QByteArray& script) {
  QFile::remove(ruta);
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(QFile::encodeName(ruta).constData(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, script.constData(), nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
  return ruta;
}

ado::Connection abrirBase(const QString& ruta) {
  ado::Connection cn;
  cn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + ruta + QLatin1Char(';'));
  return cn;
}

QString textoPdf(const QString& ruta, bool disposicion) {
  QProcess p;
  QStringList args;
  if (disposicion) args << QStringLiteral("-layout");
  args << ruta << QStringLiteral("-");
  p.start(QStringLiteral("pdftotext"), args);
  EXPECT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace prueba
