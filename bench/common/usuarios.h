#pragma once
// The users table and report that the report benchmarks lay out: one group
// field, four columns (text, code, date, number), 250 groups.
#include <QString>

namespace banco {

// Creates TA_USUARIOS with `filas` rows in the database file `ruta`.
void crearUsuarios(const QString& ruta, int filas);

// The report definition over that table, grouped by GRUPO.
extern const char* const kReporteUsuarios;

}  // namespace banco
