#pragma once
// The program writes SQL Server's dialect; the SQLite provider adapts each
// construct here, outside quoted texts and names, and nowhere else:
//   SELECT TOP n ...           -> SELECT ... LIMIT n (at the end of that SELECT)
//   #12/31/2024#               -> '2024-12-31 00:00:00'
//   dbo.TABLA, [dbo].TABLA     -> TABLA
//   ISNULL(a, b)               -> IFNULL(a, b)
//   LEN(x)                     -> LENGTH(RTRIM(x))  (LEN ignores trailing blanks)
//   ALTER TABLE t ADD c T Null -> ALTER TABLE t ADD COLUMN c T COLLATE NOCASE Null
//                                 (one statement per column; COLLATE only for texts)
//   TRUE / FALSE               -> 1 / 0
//   N'texto'                   -> 'texto'
//   x = 'texto' (< > <= >= <> BETWEEN) -> x = 'texto' COLLATE NOCASE, so that
//                                 expressions such as LTRIM(col) compare as the server does;
//                                 a "?" mark there likewise (x = ? COLLATE NOCASE)
// See docs/sql-sqlite.md for what is not adapted.
#include <QString>

namespace ado::dialecto {

QString adaptarParaSqlite(const QString& sql);

// Each construct alone, for the tests.
QString adaptarTop(const QString& sql);
QString adaptarFechas(const QString& sql);
QString quitarDbo(const QString& sql);
QString adaptarIsNull(const QString& sql);
QString adaptarLen(const QString& sql);
QString adaptarAlterTableAdd(const QString& sql);
QString adaptarLogicos(const QString& sql);
QString quitarPrefijoN(const QString& sql);
QString adaptarComparaciones(const QString& sql);

// A date literal's text (m/d/y as the platform writes it, d/m/y when the month
// cannot be one, or y-m-d; optional time) as 'yyyy-MM-dd hh:mm:ss'; empty if invalid.
QString fechaIso(QStringView literal);

}  // namespace ado::dialecto
