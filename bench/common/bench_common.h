#pragma once
// Shared by the benchmarks: timing a piece of work several times and the
// closing line "NAME: ratio=R limit=L" that scripts/bench prints last.
#include <functional>
#include <string>

namespace banco {

// The best (lowest) wall time in seconds of `repeticiones` runs of `trabajo`.
double mejorTiempo(const std::function<void()>& trabajo, int repeticiones = 5);

// Prints both times and the closing line; returns the process exit status
// (0 when ratio <= limit).
int informar(const std::string& nombre, double nuestro, double referencia, double limite);

}  // namespace banco
