// Forward-only read of 1,000,000 rows of 5 columns from SQLite: through
// Recordset and Fields, against the bare sqlite3_step loop over the same
// rows, both in this run.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>

#include "bench/common/bench_common.h"
#include "bench/common/tabla_sqlite.h"
#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/ctx/programa.h"

namespace {

constexpr int kFilas = 1000000;

void crear(const QString& ruta) {
  banco::crearTabla(ruta,
                    "CREATE TABLE MV_DATOS (ID INTEGER PRIMARY KEY, NOMBRE VARCHAR(40) COLLATE NOCASE, IMPORTE REAL, "
                    "CANTIDAD INTEGER, GRUPO VARCHAR(20) COLLATE NOCASE)",
                    "INSERT INTO MV_DATOS VALUES (?, ?, ?, ?, ?)", kFilas, [](int fila, banco::Fila& f) {
                      const int i = fila + 1;
                      f.entero(1, i);
                      f.texto(2, QStringLiteral("Cliente número %1").arg(i));
                      f.real(3, i * 0.25);
                      f.entero(4, i % 1000);
                      if (i % 10 == 0)
                        f.nulo(5);
                      else
                        f.texto(5, QStringLiteral("G%1").arg(i % 97));
                    });
}

struct Suma {
  long long enteros = 0, largos = 0, nulos = 0;
  double reales = 0;
  bool operator==(const Suma&) const = default;
};

// Characters of a UTF-8 text (all in the BMP here), to compare with QString sizes.
long long caracteres(const unsigned char* s, int n) {
  long long c = 0;
  for (int i = 0; i < n; ++i) c += (s[i] & 0xC0) != 0x80;
  return c;
}

const char* kConsulta = "SELECT ID, NOMBRE, IMPORTE, CANTIDAD, GRUPO FROM MV_DATOS";

Suma referencia(const QString& ruta) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(ruta.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, kConsulta, -1, &st, nullptr);
  Suma s;
  while (sqlite3_step(st) == SQLITE_ROW) {
    s.enteros += sqlite3_column_int64(st, 0) + sqlite3_column_int64(st, 3);
    s.largos += caracteres(sqlite3_column_text(st, 1), sqlite3_column_bytes(st, 1));
    s.reales += sqlite3_column_double(st, 2);
    if (sqlite3_column_type(st, 4) == SQLITE_NULL)
      ++s.nulos;
    else
      s.largos += caracteres(sqlite3_column_text(st, 4), sqlite3_column_bytes(st, 4));
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return s;
}

Suma nuestro(const QString& ruta) {
  ado::Connection cn;
  cn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + ruta);
  ado::Recordset rs;
  rs.Open(QString::fromLatin1(kConsulta), cn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
  ado::Field& id = rs.Fields("ID");
  ado::Field& nombre = rs.Fields("NOMBRE");
  ado::Field& importe = rs.Fields("IMPORTE");
  ado::Field& cantidad = rs.Fields("CANTIDAD");
  ado::Field& grupo = rs.Fields("GRUPO");
  Suma s;
  while (!rs.EOF()) {
    s.enteros += *id.Value().get<std::int32_t>() + *cantidad.Value().get<std::int32_t>();
    s.largos += nombre.Value().get<QString>()->size();
    s.reales += *importe.Value().get<double>();
    const vb::Variant g = grupo.Value();
    if (g.isNull())
      ++s.nulos;
    else
      s.largos += g.get<QString>()->size();
    rs.MoveNext();
  }
  rs.Close();
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ctx::Alcance alcance;
  QTemporaryDir dir;
  const QString ruta = dir.filePath(QStringLiteral("bench.db"));
  std::printf("creando %d filas...\n", kFilas);
  crear(ruta);
  Suma a, b;
  const double tRef = banco::mejorTiempo([&] { a = referencia(ruta); }, 5);
  const double tAdo = banco::mejorTiempo([&] { b = nuestro(ruta); }, 5);
  if (!(a == b)) {
    std::printf("los recorridos no coinciden: %lld/%lld %lld/%lld %lld/%lld\n", a.enteros, b.enteros, a.largos,
                b.largos, a.nulos, b.nulos);
    return 1;
  }
  return banco::informar("ado", tAdo, tRef, 1.5);
}
