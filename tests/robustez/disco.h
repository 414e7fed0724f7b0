#pragma once
// Disks that refuse, for the tests of what the program writes:
//   LimiteArchivos   no file of the process may grow past a size (the
//                    process's file-size limit): a full disk, always at hand;
//   SinPermiso       the test runs without write permission on a folder
//                    (as root, with the effective user of nobody);
//   CarpetaMontada   a real tmpfs mounted on a temporary folder, tiny and
//                    filled up, or read-only; needs the right to mount.
#include <sys/types.h>

#include <QString>
#include <functional>

namespace prueba {

class LimiteArchivos {
 public:
  explicit LimiteArchivos(off_t bytes);
  ~LimiteArchivos();
  LimiteArchivos(const LimiteArchivos&) = delete;
  LimiteArchivos& operator=(const LimiteArchivos&) = delete;

 private:
  unsigned long long anterior_[2];
  void (*senal_)(int);
};

class SinPermiso {
 public:
  // The folder (and the folders above it, up to /tmp) are opened for reading
  // by others, and the folder itself loses every write permission.
  explicit SinPermiso(const QString& carpeta);
  ~SinPermiso();
  SinPermiso(const SinPermiso&) = delete;
  SinPermiso& operator=(const SinPermiso&) = delete;
  bool activo() const { return activo_; }
  const QString& motivo() const { return motivo_; }

 private:
  QString carpeta_;
  bool activo_ = false;
  bool cambioUsuario_ = false;
  QString motivo_;
};

class CarpetaMontada {
 public:
  enum class Tipo { Llena, SoloLectura };
  // `preparar` writes the files that are there before, while the folder
  // still takes them; then the folder is filled up or made read-only.
  CarpetaMontada(Tipo tipo, const std::function<void(const QString& carpeta)>& preparar);
  ~CarpetaMontada();
  CarpetaMontada(const CarpetaMontada&) = delete;
  CarpetaMontada& operator=(const CarpetaMontada&) = delete;

  bool montada() const { return montada_; }
  // The disk takes writes again: the filling removed, or mounted writable.
  void liberar();
  const QString& motivo() const { return motivo_; }  // why it could not be mounted
  QString ruta() const { return ruta_; }             // ends with "/"

 private:
  QString ruta_;
  bool montada_ = false;
  Tipo tipo_;
  QString motivo_;
};

}  // namespace prueba
