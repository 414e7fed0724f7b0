// The program's executable. Most of a start goes on loading the program's
// fifty-odd shared libraries, on one processor; fontconfig's configuration,
// which the first text shown needs, is read meanwhile on a second one. The
// program itself lies next to this file, in librp_usuarios_programa.so.
// Before anything is loaded the heap is set up for 2 MB pages (monticulo.h).
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <thread>

#include "arranque/monticulo.h"

namespace {

std::string carpetaPropia() {
  char ruta[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", ruta, sizeof ruta - 1);
  if (n <= 0) return ".";
  const std::string r(ruta, static_cast<size_t>(n));
  const size_t barra = r.rfind('/');
  return barra == std::string::npos ? std::string(".") : r.substr(0, barra);
}

}  // namespace

int main(int argc, char** argv) {
  arranque::reservarMontonEnPaginasGrandes(std::size_t(64) << 20);
  std::thread fuentes([] { FcInit(); });
  const std::string programa = carpetaPropia() + "/librp_usuarios_programa.so";
  void* biblioteca = dlopen(programa.c_str(), RTLD_LAZY | RTLD_GLOBAL);
  fuentes.join();
  if (!biblioteca) {
    std::fprintf(stderr, "rp_usuarios: no se pudo cargar el programa: %s\n", dlerror());
    return 127;
  }
  using Principal = int (*)(int, char**);
  auto principal = reinterpret_cast<Principal>(dlsym(biblioteca, "rp_usuarios_main"));
  if (!principal) {
    std::fprintf(stderr, "rp_usuarios: %s no tiene rp_usuarios_main\n", programa.c_str());
    return 127;
  }
  return principal(argc, argv);
}
