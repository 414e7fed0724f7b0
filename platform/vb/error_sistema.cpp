#include "platform/vb/error_sistema.h"

#include <cerrno>
#include <cstring>
#include <iterator>

namespace vb {

namespace {

struct Texto {
  int numero;
  const char* texto;
};

constexpr Texto kTextos[] = {
    {ENOENT, "No existe el archivo o la carpeta"},
    {ENOTDIR, "Una parte de la ruta no es una carpeta"},
    {EISDIR, "Es una carpeta"},
    {EACCES, "Permiso denegado"},
    {EPERM, "Operación no permitida"},
    {ENOSPC, "No queda espacio en el disco"},
    {EDQUOT, "Se agotó el espacio del disco asignado al usuario"},
    {EFBIG, "El archivo es demasiado grande"},
    {EROFS, "El disco es de sólo lectura"},
};

}  // namespace

QString textoErrorSistema(int numero) {
  for (const Texto& t : kTextos)
    if (t.numero == numero) return QString::fromUtf8(t.texto);
  return qt_error_string(numero);
}

QString textoErrorSistema(const QString& textoQt) {
  const QString texto = textoQt.trimmed();
  for (const Texto& t : kTextos) {
    // Qt's own words for a few numbers, the C library's for the others.
    if (texto == qt_error_string(t.numero) || texto == QString::fromLocal8Bit(std::strerror(t.numero)))
      return QString::fromUtf8(t.texto);
  }
  return textoQt;
}

}  // namespace vb
