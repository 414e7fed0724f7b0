#include "tests/robustez/disco.h"

#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace prueba {

LimiteArchivos::LimiteArchivos(off_t bytes) {
  rlimit r{};
  getrlimit(RLIMIT_FSIZE, &r);
  anterior_[0] = r.rlim_cur;
  anterior_[1] = r.rlim_max;
  // A real full disk answers ENOSPC; the limit answers EFBIG after SIGXFSZ,
  // which must not end the test.
  senal_ = std::signal(SIGXFSZ, SIG_IGN);
  r.rlim_cur = static_cast<rlim_t>(bytes);
  setrlimit(RLIMIT_FSIZE, &r);
}

LimiteArchivos::~LimiteArchivos() {
  rlimit r{};
  r.rlim_cur = static_cast<rlim_t>(anterior_[0]);
  r.rlim_max = static_cast<rlim_t>(anterior_[1]);
  setrlimit(RLIMIT_FSIZE, &r);
  std::signal(SIGXFSZ, senal_);
}

SinPermiso::SinPermiso(const QString& carpeta) : carpeta_(carpeta) {
  const QByteArray c = QFile::encodeName(carpeta);
  if (::geteuid() == 0) {
    const passwd* nadie = ::getpwnam("nobody");
    if (!nadie) {
      motivo_ = QStringLiteral("no existe el usuario nobody");
      return;
    }
    // nobody must reach the folder and read the files already in it.
    const QString tmp = QDir::tempPath() + QLatin1Char('/');
    for (QString d = QFileInfo(carpeta).absoluteFilePath(); d.startsWith(tmp); d = QFileInfo(d).absolutePath())
      ::chmod(QFile::encodeName(d).constData(), 0755);
    for (const QFileInfo& f : QDir(carpeta).entryInfoList(QDir::Files))
      ::chmod(QFile::encodeName(f.absoluteFilePath()).constData(), 0644);
    ::chmod(c.constData(), 0555);
    if (::seteuid(nadie->pw_uid) != 0) {
      motivo_ = QStringLiteral("seteuid: ") + QString::fromLocal8Bit(std::strerror(errno));
      ::chmod(c.constData(), 0755);
      return;
    }
    cambioUsuario_ = true;
  } else {
    ::chmod(c.constData(), 0555);
  }
  activo_ = true;
}

SinPermiso::~SinPermiso() {
  if (cambioUsuario_ && ::seteuid(0) != 0) std::abort();  // the rest of the run would be someone else
  ::chmod(QFile::encodeName(carpeta_).constData(), 0755);
}

namespace {

QString carpetaNueva() {
  QTemporaryDir d(QDir::tempPath() + QStringLiteral("/kv-montada-XXXXXX"));
  d.setAutoRemove(false);
  return d.path();
}

}  // namespace

CarpetaMontada::CarpetaMontada(Tipo tipo, const std::function<void(const QString&)>& preparar) : tipo_(tipo) {
  const QString dir = carpetaNueva();
  ruta_ = dir + QLatin1Char('/');
  const QByteArray d = QFile::encodeName(dir);
  if (::mount("tmpfs", d.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k,mode=0755") != 0) {
    motivo_ = QStringLiteral("no se puede montar un tmpfs (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
    return;
  }
  montada_ = true;
  preparar(ruta_);
  if (tipo == Tipo::SoloLectura) {
    if (::mount(nullptr, d.constData(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) != 0) {
      motivo_ = QStringLiteral("no se puede volver a montar de solo lectura (%1)")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)));
      ::umount2(d.constData(), MNT_DETACH);
      montada_ = false;
    }
    return;
  }
  // Filled to the last block: the files already there keep their place.
  QFile relleno(ruta_ + QStringLiteral(".relleno"));
  if (relleno.open(QIODevice::WriteOnly)) {
    const QByteArray bloque(4096, 'x');
    while (relleno.write(bloque) == bloque.size() && relleno.flush()) {}
    relleno.close();
  }
}

void CarpetaMontada::liberar() {
  if (!montada_) return;
  if (tipo_ == Tipo::Llena) {
    QFile::remove(ruta_ + QStringLiteral(".relleno"));
  } else {
    ::mount(nullptr, QFile::encodeName(ruta_).constData(), nullptr, MS_REMOUNT | MS_NOSUID | MS_NODEV, nullptr);
  }
}

CarpetaMontada::~CarpetaMontada() {
  const QByteArray d = QFile::encodeName(ruta_);
  if (montada_) ::umount2(d.constData(), MNT_DETACH);
  ::rmdir(d.constData());
}

}  // namespace prueba
