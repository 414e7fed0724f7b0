#pragma once
// Statements for the rewrite benchmark, written the way the suite's screens
// write them: joins, ranges of codes, names and dates, lookups with TOP, the
// restricted tables and the administrator's marker.
#include <QString>
#include <vector>

namespace banco {

// `n` statements, no two alike: each shape takes its tables, fields and
// values from the statement's number.
std::vector<QString> sentenciasVariadas(int n);

}  // namespace banco
