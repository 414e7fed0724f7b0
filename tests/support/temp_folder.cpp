#include "tests/support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace prueba {

CarpetaTemporal::CarpetaTemporal() { dir_.setAutoRemove(true); }

QString CarpetaTemporal::ruta() const { return dir_.path() + QLatin1Char('/'); }

QString CarpetaTemporal::archivo(const QString& nombre) const { return ruta() + nombre; }

QString CarpetaTemporal::escribir(const QString& nombre, const QByteArray& contenido) const {
  const QString camino = archivo(nombre);
  QDir().mkpath(QFileInfo(camino).absolutePath());
  QFile f(camino);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(contenido);
  return camino;
}

QByteArray CarpetaTemporal::leer(const QString& nombre) const {
  QFile f(archivo(nombre));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace prueba
