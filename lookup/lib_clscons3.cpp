#include "lookup/lib_clscons3.h"

#include "platform/ctx/programa.h"

Lib_ClsCons3& clsCons3() { return ctx::actual().instancia<Lib_ClsCons3>(); }
