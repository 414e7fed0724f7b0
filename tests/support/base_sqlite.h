#pragma once
// Real SQLite files for the tests, built from SQL scripts with SQLite's own
// API, and the settings file that names server aliases for them.
#include <QByteArray>
#include <QString>

#include "tests/support/temp_folder.h"

namespace prueba {

// Runs the script on the database file, creating the file when it is not
// there; an error fails the test. Returns the file's path.
QString crearBase(const QString& ruta, const char* guion);
inline QString crearBase(const QString& ruta, const QByteArray& guion) { return crearBase(ruta, guion.constData()); }

// A settings folder holding CN000pr.INI with the given text, made the
// settings folder of the current program context.
class Servidores {
 public:
  explicit Servidores(const QByteArray& ini);
  // Appends to CN000pr.INI.
  void agregar(const QByteArray& lineas) const;
  QString ruta() const { return carpeta_.ruta(); }
  const CarpetaTemporal& carpeta() const { return carpeta_; }

 private:
  CarpetaTemporal carpeta_;
};

}  // namespace prueba
