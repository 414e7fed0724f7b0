#include "tests/support/base_sqlite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

#include "platform/ctx/programa.h"

namespace prueba {

QString crearBase(const QString& ruta, const char* guion) {
  sqlite3* db = nullptr;
  if (sqlite3_open(QFile::encodeName(ruta).constData(), &db) != SQLITE_OK) {
    ADD_FAILURE() << "no se abre " << ruta.toStdString() << ": " << sqlite3_errmsg(db);
    sqlite3_close(db);
    return ruta;
  }
  char* error = nullptr;
  const int rc = sqlite3_exec(db, guion, nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "") << "\n" << guion;
  sqlite3_free(error);
  sqlite3_close(db);
  return ruta;
}

Servidores::Servidores(const QByteArray& ini) {
  carpeta_.escribir(QStringLiteral("CN000pr.INI"), ini);
  ctx::actual().setCarpetaConfiguracion(carpeta_.ruta());
}

void Servidores::agregar(const QByteArray& lineas) const {
  QFile f(carpeta_.archivo(QStringLiteral("CN000pr.INI")));
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write(lineas);
}

}  // namespace prueba
