#pragma once
// Files with the platform's run-time errors: 53 file not found, 58 file
// already exists, 61 disk full, 70 permission denied, 74 rename across disks,
// 75 path/file access error, 76 path not found.
//
// A file the program rewrites is written beside itself and renamed over the
// old one, so that a failure leaves the old file or the new one, never half.
// Only a regular file is replaced: a link, a folder, a device or a pipe in
// its place is refused (error 75, saying what is there).
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>

#include "platform/vb/error.h"

namespace vb {

// The run-time error for a system error number. With creando, a missing
// entry means the folder is missing (76) rather than the file (53). A full
// disk, a file too large and a read-only disk say which in the description.
Error errorDeSistema(int numero, bool creando = false);

// True when an ordinary file (not a folder) exists at the path.
bool FileExists(const QString& ruta);
// The regular file `ruta` names when letter case is ignored, for paths
// written for a file system that ignores it: `ruta` itself when it exists;
// else the file name is looked up in its folder ignoring case, and so is each
// folder after `base` (a folder written as it is, ending with "/"), when
// `ruta` lies in it. Empty when there is no such file.
QString buscarSinCaso(const QString& ruta, const QString& base = {});
// The size in bytes; error 53 when there is no such file.
qint64 FileLen(const QString& ruta);
// Deletes a file; error 53 when there is none (a folder is not a file).
void Kill(const QString& ruta);
// Renames a file or folder; error 58 when the new name exists already.
void Name(const QString& viejo, const QString& nuevo);

// The whole content of a file.
QByteArray leerArchivo(const QString& ruta);
// Appends to a file, creating it when missing.
void agregarArchivo(const QString& ruta, const QByteArray& contenido);
// Replaces the file's content at once (see EscritorArchivo).
void reemplazarArchivo(const QString& ruta, const QByteArray& contenido);

// Writes a new content beside the file; confirmar() puts it in the file's
// place in one step. Destroyed without confirmar(), it leaves the old file
// untouched and removes what it wrote. A replaced file keeps its permissions
// (and its owner, where the system lets it).
class EscritorArchivo {
 public:
  explicit EscritorArchivo(QString ruta);
  ~EscritorArchivo();
  EscritorArchivo(const EscritorArchivo&) = delete;
  EscritorArchivo& operator=(const EscritorArchivo&) = delete;

  void escribir(const QByteArray& datos);
  void confirmar();

 private:
  void descartar() noexcept;

  QString ruta_;
  QByteArray temporal_;
  int fd_ = -1;
};

// EscritorArchivo as a device, for writers that take one (the PDF writer).
// A failed write makes the device fail; confirmar() raises that error.
class SalidaArchivo : public QIODevice {
 public:
  explicit SalidaArchivo(const QString& ruta);
  ~SalidaArchivo() override;
  // Puts the file in place; raises the first write error, if there was one.
  void confirmar();
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* datos, qint64 largo) override;

 private:
  void vaciar();

  EscritorArchivo escritor_;
  QByteArray pendiente_;  // written in blocks: the PDF writer writes a few bytes at a time
  std::optional<Error> fallo_;
};

// A new empty file for the user alone: in $XDG_RUNTIME_DIR when that is the
// user's own private folder, else in a folder made for it in the temporary
// folder (prefijo + six random characters, mode 0700). Its name is prefijo,
// six random characters and sufijo, created exclusively: nobody else can
// have put anything there. Destroyed without conservar(), it removes the
// file, and the folder it made.
class ArchivoPropio {
 public:
  ArchivoPropio(const QString& prefijo, const QString& sufijo);
  ~ArchivoPropio();
  ArchivoPropio(const ArchivoPropio&) = delete;
  ArchivoPropio& operator=(const ArchivoPropio&) = delete;

  const QString& ruta() const { return ruta_; }
  void conservar() { conservar_ = true; }

 private:
  QString ruta_;
  QByteArray carpetaHecha_;  // empty when the file went to an existing folder
  bool conservar_ = false;
};

}  // namespace vb
