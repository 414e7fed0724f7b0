#pragma once
// A temporary folder removed with its contents at the end of the test, with
// helpers to write files into it.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace prueba {

class CarpetaTemporal {
 public:
  CarpetaTemporal();
  // The folder's path, ending with "/".
  QString ruta() const;
  // The path of a file inside the folder.
  QString archivo(const QString& nombre) const;
  // Writes a file inside the folder and returns its path.
  QString escribir(const QString& nombre, const QByteArray& contenido) const;
  QByteArray leer(const QString& nombre) const;

 private:
  QTemporaryDir dir_;
};

}  // namespace prueba
