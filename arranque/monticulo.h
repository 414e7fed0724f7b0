#pragma once

#include <cstddef>

namespace arranque {

// Backs the heap that the start fills with 2 MB pages. On this kind of
// machine each fresh 4 KB page the program touches costs a fault of some ten
// microseconds, and a start touches a few thousand of them: the menu's
// nodes, the window's images. With the advice the kernel maps 2 MB at a time.
//
// The top of the heap grows by `bytes` past each request; blocks up to 32 MB
// (images, the report's pages) come from the heap rather than from mappings
// of their own; every thread allocates from the same heap. Returns whether
// the kernel took the advice; without it the heap is as it was.
bool reservarMontonEnPaginasGrandes(std::size_t bytes);

}  // namespace arranque
