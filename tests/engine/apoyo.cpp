#include "tests/engine/apoyo.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace prueba {

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
