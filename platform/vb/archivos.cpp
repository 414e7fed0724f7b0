#include "platform/vb/archivos.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

Error errorDeSistema(int numero, bool creando) {
  switch (numero) {
    case ENOENT: return Error(creando ? kPathNotFound : kFileNotFound);
    case ENOTDIR: return Error(kPathNotFound);
    case EACCES: case EPERM: case EROFS: return Error(kPermissionDenied);
    case ENOSPC: case EDQUOT: case EFBIG: return Error(kDiskFull);
    case EEXIST: case ENOTEMPTY: return Error(kFileAlreadyExists);
    case EXDEV: return Error(kRenameAcrossDisks);
    case EMFILE: case ENFILE: return Error(kTooManyFiles);
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
  struct stat st;
  const QByteArray destino = nombre(ruta_);
  if (::stat(destino.constData(), &st) == 0 && S_ISDIR(st.st_mode)) throw Error(kPathFileAccessError);
  // A hidden name in the same folder, so that the final rename stays on one disk.
  const qsizetype barra = destino.lastIndexOf('/');
  const QByteArray carpeta = destino.left(barra + 1);
  const QByteArray base = destino.mid(barra + 1);
  for (int intento = 0; intento < 100; ++intento) {
    temporal_ = carpeta + '.' + base + ".~" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    fd_ = ::open(temporal_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
  if (::stat(destino.constData(), &st) == 0) ::fchmod(fd_, st.st_mode & 07777);
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

}  // namespace vb
