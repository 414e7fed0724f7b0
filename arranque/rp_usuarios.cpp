// The program's executable. Most of a start goes on loading the program's
// fifty-odd shared libraries, on one processor; fontconfig's configuration,
// which the first text shown needs, is read meanwhile on a second one. The
// program itself lies next to this file, in librp_usuarios_programa.so.
// Before anything is loaded the heap is set up for 2 MB pages (monticulo.h).
//
// Every symbol a library needs is looked for first in this executable and
// the libraries it was linked with, then in the program's own: so this file
// is plain C and C library calls, linked with nothing else, and fontconfig
// is opened without joining that first list. With Qt right after the C library,
// each of the loader's tens of thousands of lookups is found sooner.
#include <dlfcn.h>
#include <limits.h>
#include <pthread.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "arranque/monticulo.h"

namespace {

// The folder of this executable, with a final "/", into `ruta`.
void carpetaPropia(char* ruta, size_t tamano) {
  const ssize_t n = readlink("/proc/self/exe", ruta, tamano - 1);
  if (n <= 0) {
    snprintf(ruta, tamano, "./");
    return;
  }
  ruta[n] = '\0';
  char* barra = strrchr(ruta, '/');
  if (barra) barra[1] = '\0';
  else snprintf(ruta, tamano, "./");
}

// Fontconfig's FcInit, from a fontconfig opened for itself here (Qt's
// libraries find the same one loaded). Opened before the thread starts: two
// threads cannot both be in the loader, which the program's load then holds.
using FcInit = int (*)();

FcInit fcInit() {
  void* fontconfig = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
  return fontconfig ? reinterpret_cast<FcInit>(dlsym(fontconfig, "FcInit")) : nullptr;
}

void* leerConfiguracionDeFuentes(void* iniciar) {
  reinterpret_cast<FcInit>(iniciar)();
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  arranque::reservarMontonEnPaginasGrandes(size_t(64) << 20);
  const FcInit iniciarFuentes = fcInit();
  pthread_t fuentes;
  const bool hilo = iniciarFuentes && pthread_create(&fuentes, nullptr, leerConfiguracionDeFuentes,
                                                     reinterpret_cast<void*>(iniciarFuentes)) == 0;
  char programa[PATH_MAX + 64];
  carpetaPropia(programa, PATH_MAX);
  strcat(programa, "librp_usuarios_programa.so");
  void* biblioteca = dlopen(programa, RTLD_LAZY | RTLD_GLOBAL);
  if (hilo) pthread_join(fuentes, nullptr);
  else if (iniciarFuentes) iniciarFuentes();
  if (!biblioteca) {
    fprintf(stderr, "rp_usuarios: no se pudo cargar el programa: %s\n", dlerror());
    return 127;
  }
  using Principal = int (*)(int, char**);
  auto principal = reinterpret_cast<Principal>(dlsym(biblioteca, "rp_usuarios_main"));
  if (!principal) {
    fprintf(stderr, "rp_usuarios: %s no tiene rp_usuarios_main\n", programa);
    return 127;
  }
  return principal(argc, argv);
}
