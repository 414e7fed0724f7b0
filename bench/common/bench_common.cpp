#include "bench/common/bench_common.h"

#include <chrono>
#include <cstdio>
#include <limits>

namespace banco {

double mejorTiempo(const std::function<void()>& trabajo, int repeticiones) {
  double mejor = std::numeric_limits<double>::max();
  for (int i = 0; i < repeticiones; ++i) {
    const auto inicio = std::chrono::steady_clock::now();
    trabajo();
    const std::chrono::duration<double> t = std::chrono::steady_clock::now() - inicio;
    if (t.count() < mejor) mejor = t.count();
  }
  return mejor;
}

int informar(const std::string& nombre, double nuestro, double referencia, double limite) {
  const double ratio = referencia > 0 ? nuestro / referencia : std::numeric_limits<double>::infinity();
  std::printf("%s: ours=%.6fs reference=%.6fs\n", nombre.c_str(), nuestro, referencia);
  std::printf("%s: ratio=%.3f limit=%.3f\n", nombre.c_str(), ratio, limite);
  std::fflush(stdout);
  return ratio <= limite ? 0 : 1;
}

}  // namespace banco
