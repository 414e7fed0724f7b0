#include "platform/vb/regional.h"

#include "platform/ctx/programa.h"

namespace vb {

const Regional& regional() { return ctx::actual().instancia<Regional>(); }

void setRegional(const Regional& r) { ctx::actual().instancia<Regional>() = r; }

}  // namespace vb
