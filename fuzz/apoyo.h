#pragma once
// Shared by the fuzz targets: the input as text, a scratch folder of the
// process for the readers that take a file, and a check that stops the run
// when a property fails (libFuzzer keeps the input that did it).
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline QByteArray bytes(const uint8_t* datos, size_t largo) {
  return QByteArray(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
}

inline QString texto(const uint8_t* datos, size_t largo) { return QString::fromUtf8(bytes(datos, largo)); }

// A folder of this process (in memory when the machine has one, so that the
// readers that take a path read a real file without wearing the disk),
// removed when the run ends. scripts/fuzz names it in KV_FUZZ_CARPETA so it
// can remove what a run that crashed left.
inline const QString& carpeta() {
  static const QString c = [] {
    QString r = qEnvironmentVariable("KV_FUZZ_CARPETA");
    if (r.isEmpty()) {
      const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
      r = base + QStringLiteral("/kv-fuzz-") + QString::number(::getpid());
    }
    if (!r.endsWith(QLatin1Char('/'))) r += QLatin1Char('/');
    QDir().mkpath(r);
    return r;
  }();
  static const bool limpieza = [] { return std::atexit([] { QDir(carpeta()).removeRecursively(); }) == 0; }();
  (void)limpieza;
  return c;
}

inline QString escribir(const QString& nombre, const QByteArray& contenido) {
  const QString ruta = carpeta() + nombre;
  QFile f(ruta);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(contenido) != contenido.size()) {
    std::fprintf(stderr, "no se pudo escribir %s\n", qPrintable(ruta));
    std::abort();
  }
  return ruta;
}

// A property the reader promises; its failure is a finding like a crash.
#define KV_FUZZ_CHECK(cond, ...)                                            \
  do {                                                                      \
    if (!(cond)) {                                                          \
      std::fprintf(stderr, "FALLA %s:%d: %s\n", __FILE__, __LINE__, #cond); \
      std::fprintf(stderr, __VA_ARGS__);                                    \
      std::fprintf(stderr, "\n");                                           \
      std::abort();                                                         \
    }                                                                       \
  } while (0)

}  // namespace fuzz
