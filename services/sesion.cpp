#include "services/sesion.h"

#include "platform/ctx/programa.h"

namespace ModGlobal {

Sesion& sesion() { return ctx::actual().instancia<Sesion>(); }

}  // namespace ModGlobal
