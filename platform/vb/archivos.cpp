#include "platform/vb/archivos.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/vb/error_sistema.h"

namespace vb {

namespace {

QByteArray nombre(const QString& ruta) { return QFile::encodeName(ruta); }

bool estado(const QString& ruta, struct stat& st) { return ::stat(nombre(ruta).constData(), &st) == 0; }

bool existeEntrada(const QString& ruta) {
  struct stat st;
  return ::lstat(nombre(ruta).constData(), &st) == 0;
}

void escribirTodo(int fd, const QByteArray& datos) {
  const char* p = datos.constData();
  qsizetype quedan = datos.size();
  while (quedan > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(quedan));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw errorDeSistema(errno);
    }
    p += n;
    quedan -= n;
  }
}

// A closing descriptor that cannot fail the caller when it is already failing.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, so that a late write error (full disk on NFS) is reported.
  void cerrar() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) throw errorDeSistema(errno);
  }

 private:
  int fd_;
};

std::optional<Error> intentarEscribir(EscritorArchivo& escritor, const QByteArray& datos) {
  try {
    escritor.escribir(datos);
    return std::nullopt;
  } catch (const Error& e) {
    return e;
  }
}

// What an entry that is not a regular file is, for the message that refuses it.
QString clase(mode_t modo) {
  if (S_ISLNK(modo)) return QStringLiteral("un enlace");
  if (S_ISDIR(modo)) return QStringLiteral("una carpeta");
  if (S_ISCHR(modo) || S_ISBLK(modo)) return QStringLiteral("un dispositivo");
  if (S_ISFIFO(modo)) return QStringLiteral("una tubería");
  if (S_ISSOCK(modo)) return QStringLiteral("un socket");
  return QStringLiteral("algo que no es un archivo");
}

// A file is replaced only where there is nothing or a regular file: the
// rename would put a file in the place of a device or a pipe, and writing
// through a link would reach whatever the link points at. True when a
// regular file is there, its status in `st`.
bool comprobarDestino(const QString& ruta, struct stat* st = nullptr) {
  struct stat propio;
  struct stat& s = st ? *st : propio;
  if (::lstat(nombre(ruta).constData(), &s) != 0) {
    if (errno == ENOENT) return false;
    throw errorDeSistema(errno, true);
  }
  if (S_ISREG(s.st_mode)) return true;
  throw Error(kPathFileAccessError, QStringLiteral("en su lugar hay %1, no un archivo común").arg(clase(s.st_mode)));
}

}  // namespace

Error errorDeSistema(int numero, bool creando) {
  switch (numero) {
    case ENOENT: return Error(creando ? kPathNotFound : kFileNotFound);
    case ENOTDIR: return Error(kPathNotFound);
    case EACCES:
    case EPERM: return Error(kPermissionDenied);
    // One number for several causes: the description says which.
    case EROFS: return Error(kPermissionDenied, textoErrorSistema(numero));
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return Error(kDiskFull, textoErrorSistema(numero));
    case EEXIST:
    case ENOTEMPTY: return Error(kFileAlreadyExists);
    case EXDEV: return Error(kRenameAcrossDisks);
    case EMFILE:
    case ENFILE: return Error(kTooManyFiles);
    case EIO: return Error(kDeviceIOError);
    case ENOMEM: return Error(kOutOfMemory);
    case ENAMETOOLONG: return Error(kBadFileNameOrNumber);
    default: return Error(kPathFileAccessError);
  }
}

bool FileExists(const QString& ruta) {
  struct stat st;
  return !ruta.isEmpty() && estado(ruta, st) && S_ISREG(st.st_mode);
}

QString buscarSinCaso(const QString& ruta, const QString& base) {
  if (ruta.isEmpty()) return {};
  if (FileExists(ruta)) return ruta;
  QString carpeta;
  QStringList partes;
  if (!base.isEmpty() && base.endsWith(QLatin1Char('/')) && ruta.startsWith(base)) {
    carpeta = base;
    partes = ruta.mid(base.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
  } else {
    const qsizetype barra = ruta.lastIndexOf(QLatin1Char('/'));
    carpeta = ruta.left(barra + 1);
    partes = {ruta.mid(barra + 1)};
  }
  for (qsizetype i = 0; i < partes.size(); ++i) {
    const bool ultima = i == partes.size() - 1;
    const QString& parte = partes[i];
    const QString exacta = carpeta + parte;
    if (parte == QLatin1String(".") || parte == QLatin1String("..") ||
        (ultima ? FileExists(exacta) : QFileInfo(exacta).isDir())) {
      carpeta = exacta + (ultima ? QString() : QStringLiteral("/"));
      continue;
    }
    // The first in name order, when several differ in case only.
    const QDir dir(carpeta.isEmpty() ? QStringLiteral(".") : carpeta);
    const QStringList entradas = dir.entryList(
        QDir::Hidden | QDir::System | (ultima ? QDir::Files : QDir::Dirs | QDir::NoDotAndDotDot), QDir::Name);
    QString hallada;
    for (const QString& e : entradas)
      if (e.compare(parte, Qt::CaseInsensitive) == 0 && (!ultima || FileExists(carpeta + e))) {
        hallada = e;
        break;
      }
    if (hallada.isEmpty()) return {};
    carpeta += hallada + (ultima ? QString() : QStringLiteral("/"));
  }
  return FileExists(carpeta) ? carpeta : QString();
}

qint64 FileLen(const QString& ruta) {
  struct stat st;
  if (!estado(ruta, st)) throw errorDeSistema(errno);
  if (!S_ISREG(st.st_mode)) throw Error(kFileNotFound);
  return static_cast<qint64>(st.st_size);
}

void Kill(const QString& ruta) {
  struct stat st;
  if (::lstat(nombre(ruta).constData(), &st) != 0) throw errorDeSistema(errno);
  if (S_ISDIR(st.st_mode)) throw Error(kFileNotFound);
  if (::unlink(nombre(ruta).constData()) != 0) throw errorDeSistema(errno);
}

void Name(const QString& viejo, const QString& nuevo) {
  if (!existeEntrada(viejo)) throw Error(kFileNotFound);
  // rename() would silently replace the target; the platform refuses.
  if (existeEntrada(nuevo)) throw Error(kFileAlreadyExists);
  const QByteArray de = nombre(viejo), a = nombre(nuevo);
  int r = ::renameat2(AT_FDCWD, de.constData(), AT_FDCWD, a.constData(), RENAME_NOREPLACE);
  // Some file systems cannot refuse to replace; the check above has to do there.
  if (r != 0 && (errno == EINVAL || errno == ENOSYS)) r = ::rename(de.constData(), a.constData());
  if (r != 0) throw errorDeSistema(errno, true);
}

QByteArray leerArchivo(const QString& ruta) {
  Descriptor fd(::open(nombre(ruta).constData(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw errorDeSistema(errno);
  struct stat st;
  if (::fstat(fd.get(), &st) == 0 && S_ISDIR(st.st_mode)) throw Error(kPathFileAccessError);
  QByteArray datos;
  char bloque[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), bloque, sizeof bloque);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw errorDeSistema(errno);
    }
    if (n == 0) break;
    datos.append(bloque, n);
  }
  return datos;
}

void agregarArchivo(const QString& ruta, const QByteArray& contenido) {
  Descriptor fd(::open(nombre(ruta).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
  if (fd.get() < 0) throw errorDeSistema(errno, true);
  escribirTodo(fd.get(), contenido);
  fd.cerrar();
}

void reemplazarArchivo(const QString& ruta, const QByteArray& contenido) {
  EscritorArchivo escritor(ruta);
  escritor.escribir(contenido);
  escritor.confirmar();
}

EscritorArchivo::EscritorArchivo(QString ruta) : ruta_(std::move(ruta)) {
  if (ruta_.isEmpty() || ruta_.endsWith(QLatin1Char('/'))) throw Error(kBadFileNameOrNumber);
  const QByteArray destino = nombre(ruta_);
  comprobarDestino(ruta_);
  // A hidden name in the same folder, so that the final rename stays on one disk.
  const qsizetype barra = destino.lastIndexOf('/');
  const QByteArray carpeta = destino.left(barra + 1);
  const QByteArray base = destino.mid(barra + 1);
  for (int intento = 0; intento < 100; ++intento) {
    temporal_ = carpeta + '.' + base + ".~" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    fd_ = ::open(temporal_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ >= 0 || errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const int e = errno;
    temporal_.clear();
    throw errorDeSistema(e, true);
  }
}

EscritorArchivo::~EscritorArchivo() { descartar(); }

void EscritorArchivo::descartar() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporal_.isEmpty()) ::unlink(temporal_.constData());
  temporal_.clear();
}

void EscritorArchivo::escribir(const QByteArray& datos) {
  if (fd_ < 0) throw Error(kBadFileNameOrNumber);
  try {
    escribirTodo(fd_, datos);
  } catch (...) {
    descartar();
    throw;
  }
}

void EscritorArchivo::confirmar() {
  if (fd_ < 0) throw Error(kBadFileNameOrNumber);
  const QByteArray destino = nombre(ruta_);
  struct stat st;
  try {
    // Checked again: the folder may be shared, and the entry changed meanwhile.
    if (comprobarDestino(ruta_, &st)) {
      // Owner first: a change of owner clears the set-id bits the mode then puts back.
      // Where the system lets the writer keep neither, the file is the writer's.
      [[maybe_unused]] const bool conservado =
          ::fchown(fd_, st.st_uid, st.st_gid) == 0 || ::fchown(fd_, static_cast<uid_t>(-1), st.st_gid) == 0;
      ::fchmod(fd_, st.st_mode & 07777);
    }
  } catch (...) {
    descartar();
    throw;
  }
  // On disk before the rename, so that a crash cannot leave an empty file.
  if (::fsync(fd_) != 0 && errno != EINVAL) {
    const int e = errno;
    descartar();
    throw errorDeSistema(e);
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) {
    const int e = errno;
    descartar();
    throw errorDeSistema(e);
  }
  if (::rename(temporal_.constData(), destino.constData()) != 0) {
    const int e = errno;
    descartar();
    throw errorDeSistema(e, true);
  }
  temporal_.clear();
}

SalidaArchivo::SalidaArchivo(const QString& ruta) : escritor_(ruta) { QIODevice::open(QIODevice::WriteOnly); }

SalidaArchivo::~SalidaArchivo() = default;

qint64 SalidaArchivo::writeData(const char* datos, qint64 largo) {
  if (fallo_) return -1;
  pendiente_.append(datos, largo);
  if (pendiente_.size() >= 65536) vaciar();
  return fallo_ ? -1 : largo;
}

void SalidaArchivo::vaciar() {
  if (fallo_ || pendiente_.isEmpty()) return;
  fallo_ = intentarEscribir(escritor_, pendiente_);
  pendiente_.clear();
}

void SalidaArchivo::confirmar() {
  vaciar();
  QIODevice::close();
  if (fallo_) throw *fallo_;
  escritor_.confirmar();
}

namespace {

// The user's own folder, not readable or writable by anyone else.
bool carpetaPrivada(const QByteArray& carpeta) {
  struct stat st;
  return !carpeta.isEmpty() && ::lstat(carpeta.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
         st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

}  // namespace

ArchivoPropio::ArchivoPropio(const QString& prefijo, const QString& sufijo) {
  QByteArray carpeta = qgetenv("XDG_RUNTIME_DIR");
  if (!carpetaPrivada(carpeta)) {
    QByteArray plantilla = nombre(QDir::tempPath() + QLatin1Char('/') + prefijo + QStringLiteral("XXXXXX"));
    if (!::mkdtemp(plantilla.data())) throw errorDeSistema(errno, true);
    carpeta = carpetaHecha_ = plantilla;
  }
  const QByteArray final = nombre(sufijo);
  QByteArray ruta = carpeta + '/' + nombre(prefijo) + "XXXXXX" + final;
  const int fd = ::mkostemps(ruta.data(), static_cast<int>(final.size()), O_CLOEXEC);
  if (fd < 0) {
    const int e = errno;
    if (!carpetaHecha_.isEmpty()) ::rmdir(carpetaHecha_.constData());
    throw errorDeSistema(e, true);
  }
  ::close(fd);
  ruta_ = QFile::decodeName(ruta);
}

ArchivoPropio::~ArchivoPropio() {
  if (conservar_) return;
  ::unlink(nombre(ruta_).constData());
  if (!carpetaHecha_.isEmpty()) ::rmdir(carpetaHecha_.constData());
}

}  // namespace vb
