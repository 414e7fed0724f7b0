#pragma once
// Pushing a selection formula down to the database: the part of the formula
// that SQL can say exactly is compiled to a WHERE condition with bound
// parameters; the rest stays a formula evaluated on the rows that come back.
#include <QString>
#include <cstdint>
#include <vector>

#include "engine/formula.h"

namespace engine {

// What the connection's database understands. SQL Server is the dialect the
// program writes; SQLite needs explicit case-insensitive collation on
// expressions (functions drop the column's own collation there).
enum class Dialecto { SqlServer, Sqlite };

// What one statement may carry, as each database allows.
struct Limites {
  size_t parametros = SIZE_MAX;  // bound values in one statement
  size_t lista = SIZE_MAX;       // values in one IN list; a longer list is split into ORed ones
};
// SQLite's default bound of 32,766 values (SQLITE_MAX_VARIABLE_NUMBER).
inline constexpr Limites kLimitesSqlite{32766, SIZE_MAX};
// SQL Server takes 2,100 parameters per request; the driver may use some
// of them itself, so a round margin is kept.
inline constexpr Limites kLimitesSqlServer{2000, SIZE_MAX};
// Oracle: 1,000 values in one IN list, 65,535 bind variables.
inline constexpr Limites kLimitesOracle{65535, 1000};

struct Columna {
  QString nombre;
  Valor::Tipo tipo = Valor::Tipo::Nulo;  // Nulo: not known
};

struct Seleccion {
  QString donde;                  // SQL condition; empty when nothing could be pushed
  std::vector<Valor> parametros;  // one per '?' in `donde`, in order
  Formula residuo;                // evaluated in memory; empty when all was pushed
};

// Splits a resolved formula (fields bound to positions in `columnas`).
// Conjuncts are pushed one by one; an OR or NOT is pushed whole or not at all.
// An OR of equalities on one field goes as one IN list. When the pushed
// conjuncts would bind more values than `limites` allows, those with the
// most values stay in memory instead.
Seleccion separar(const Formula& formula, const std::vector<Columna>& columnas, Dialecto dialecto,
                  const Limites& limites = {});

// A column name as a quoted identifier; empty when it cannot be quoted safely.
QString identificador(const QString& nombre);

// The query of a report with the pushed condition and the sort:
// SELECT * FROM (consulta) AS q [WHERE donde] [ORDER BY ...].
struct ClaveOrden {
  Columna columna;
  bool descendente = false;
};
QString consultaFiltrada(const QString& consulta, const QString& donde, const std::vector<ClaveOrden>& orden,
                         Dialecto dialecto);

}  // namespace engine
