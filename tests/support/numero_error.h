#pragma once
// The run-time error number a step raises, for tests that expect one.
#include "platform/vb/error.h"

namespace prueba {

// The number of the vb::Error `paso` raises, or 0 when it raises none.
template <class F>
long numeroDeError(F&& paso) {
  try {
    paso();
  } catch (const vb::Error& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace prueba
