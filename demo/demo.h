#pragma once
// The demo company: its database (schema and seed data), a generator of
// large databases of the same shape for benchmarks, the report files and the
// settings file that makes the database reachable through a server alias.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace demo {

// The SQL scripts the database is built from (also run by scripts/run with
// the sqlite3 shell).
QByteArray esquema();
QByteArray datos();

// Writes the demo database to `ruta`: built beside it and renamed over it,
// so a failure leaves what was there before. Raises vb::Error.
void crearBaseDemo(const QString& ruta);

// A generated company of the demo's shape: `usuarios` users in ten groups,
// `tareas` enabled rows of the "ZEPA" menu spread over the suite's modules
// (three levels deep), `unidades` business units and `tareasPorUsuario`
// permissions per user. The same sizes always give the same rows.
struct Volumen {
  int usuarios = 2000;
  int tareas = 10000;
  int unidades = 20;
  int tareasPorUsuario = 8;
};
void crearBaseGrande(const QString& ruta, const Volumen& volumen);

// The user names of the generated company, for callers that check reports.
QString nombreUsuarioGenerado(int indice);

// Copies the three report files into `carpeta` (created when missing) and
// returns their paths.
QStringList copiarReportes(const QString& carpeta);

// Writes `carpetaConfig`/CN000pr.INI with the server alias `servidor` for
// the SQLite databases of `carpetaDatos` (each database <base>.db there).
void escribirAlias(const QString& carpetaConfig, const QString& servidor, const QString& carpetaDatos);

}  // namespace demo
