#include "platform/ado/odbc/administrador_odbc.h"

#include <dlfcn.h>

namespace ado::odbc {

namespace {

struct Carga {
  Administrador funciones;
  bool completa = false;
  QString error;

  Carga() {
    // Never closed: drivers and handles live until the program ends.
    void* biblioteca = dlopen("libodbc.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (!biblioteca) {
      error = QString::fromLocal8Bit(dlerror());
      return;
    }
#define KV_RESOLVER_ODBC(f)                                                     \
  funciones.f = reinterpret_cast<decltype(funciones.f)>(dlsym(biblioteca, #f)); \
  if (!funciones.f) {                                                           \
    error = QStringLiteral("libodbc.so.2 no tiene %1").arg(QLatin1String(#f));  \
    return;                                                                     \
  }
    KV_FUNCIONES_ODBC(KV_RESOLVER_ODBC)
#undef KV_RESOLVER_ODBC
    completa = true;
  }
};

const Carga& carga() {
  static const Carga c;
  return c;
}

}  // namespace

const Administrador* administrador() { return carga().completa ? &carga().funciones : nullptr; }

QString errorDeCarga() { return carga().error; }

}  // namespace ado::odbc
