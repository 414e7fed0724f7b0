#include "engine/archivo_salida.h"

#include <QFile>
#include <sys/stat.h>

#include "engine/errores.h"

namespace engine {

void comprobarArchivoSalida(const QString& ruta, const QString& que) {
  struct stat st;
  if (::lstat(QFile::encodeName(ruta).constData(), &st) == 0 && !S_ISREG(st.st_mode))
    lanzar(kErrorSalida, QStringLiteral("No se escribe %1 %2: en su lugar hay un enlace, una carpeta o un dispositivo, "
                                        "no un archivo")
                             .arg(que, ruta));
}

}  // namespace engine
