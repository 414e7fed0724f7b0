#include "bench/common/tabla_sqlite.h"

#include <QFile>
#include <stdexcept>
#include <string>

namespace banco {

void Fila::texto(int columna, const QString& valor) {
  const QByteArray utf8 = valor.toUtf8();
  sqlite3_bind_text(st_, columna, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

namespace {

void exigir(sqlite3* db, int rc, const char* paso) {
  if (rc == SQLITE_OK || rc == SQLITE_DONE) return;
  const std::string mensaje = std::string(paso) + ": " + sqlite3_errmsg(db);
  throw std::runtime_error(mensaje);
}

}  // namespace

void crearTabla(const QString& ruta, const char* esquema, const char* insertar, int filas,
                const std::function<void(int, Fila&)>& llenar) {
  sqlite3* db = nullptr;
  if (sqlite3_open(QFile::encodeName(ruta).constData(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("no se pudo crear " + ruta.toStdString());
  }
  sqlite3_stmt* st = nullptr;
  try {
    exigir(db, sqlite3_exec(db, esquema, nullptr, nullptr, nullptr), "esquema");
    exigir(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), "BEGIN");
    exigir(db, sqlite3_prepare_v2(db, insertar, -1, &st, nullptr), "INSERT");
    Fila fila(st);
    for (int i = 0; i < filas; ++i) {
      llenar(i, fila);
      exigir(db, sqlite3_step(st), "fila");
      sqlite3_reset(st);
      sqlite3_clear_bindings(st);
    }
    sqlite3_finalize(st);
    st = nullptr;
    exigir(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), "COMMIT");
  } catch (...) {
    sqlite3_finalize(st);
    sqlite3_close(db);
    throw;
  }
  sqlite3_close(db);
}

}  // namespace banco
