#pragma once
// Shared by the benchmarks: a SQLite file with one table filled in one
// transaction through a prepared INSERT, so that every benchmark builds its
// data the same fast way and times only what it measures.
#include <sqlite3.h>

#include <QByteArray>
#include <QString>
#include <functional>

namespace banco {

// Binds the values of one row to the INSERT statement.
class Fila {
 public:
  explicit Fila(sqlite3_stmt* st) : st_(st) {}
  void texto(int columna, const QString& valor);
  void entero(int columna, long long valor) { sqlite3_bind_int64(st_, columna, valor); }
  void real(int columna, double valor) { sqlite3_bind_double(st_, columna, valor); }
  void nulo(int columna) { sqlite3_bind_null(st_, columna); }

 private:
  sqlite3_stmt* st_;
};

// Creates (or adds to) the database file `ruta`: runs `esquema` (one or more
// statements), then `insertar` once per row 0..filas-1 with `llenar` binding
// the row's values. Throws std::runtime_error with SQLite's message on failure.
void crearTabla(const QString& ruta, const char* esquema, const char* insertar, int filas,
                const std::function<void(int, Fila&)>& llenar);

}  // namespace banco
