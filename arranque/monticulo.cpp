#include "arranque/monticulo.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace arranque {

namespace {

constexpr std::uintptr_t kPagina = 4096;
constexpr std::uintptr_t kPaginaGrande = std::uintptr_t(2) << 20;
constexpr int kMayorDelMonton = 32 << 20;

void* volatile relleno = nullptr;  // kept for the life of the program

std::uintptr_t fin() { return reinterpret_cast<std::uintptr_t>(sbrk(0)); }

}  // namespace

bool reservarMontonEnPaginasGrandes(std::size_t bytes) {
  if (bytes < kPaginaGrande) return false;
  // Freeing gives memory back only past twice the pad, so the advised range
  // is not handed back and grown again without the advice.
  mallopt(M_TOP_PAD, static_cast<int>(bytes));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * bytes));
  mallopt(M_MMAP_THRESHOLD, kMayorDelMonton);
  mallopt(M_ARENA_MAX, 1);

  // A request bigger than what is left at the top makes the heap grow now,
  // by the request and the pad. The pointer is volatile: the pair of calls
  // must not be optimized away.
  const std::uintptr_t antes = fin();
  void* volatile crecer = std::malloc(1 << 20);
  std::free(crecer);
  const std::uintptr_t despues = fin() & ~(kPagina - 1);
  const std::uintptr_t desde = (antes + kPaginaGrande - 1) & ~(kPaginaGrande - 1);
  if (despues < desde + kPaginaGrande) return false;  // the allocator does not use this heap
  if (madvise(reinterpret_cast<void*>(desde), despues - desde, MADV_HUGEPAGE) != 0) return false;

  // The part below the first whole 2 MB page would be filled in small pages
  // first; a block that is never written takes it, so the next ones start on
  // the large pages. Only its header is ever touched.
  if (desde - antes > kPagina) {
    relleno = std::malloc(desde - antes - kPagina);
  }
  return true;
}

}  // namespace arranque
