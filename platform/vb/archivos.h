#pragma once
// Files with the platform's run-time errors: 53 file not found, 58 file
// already exists, 61 disk full, 70 permission denied, 74 rename across disks,
// 75 path/file access error, 76 path not found.
//
// A file the program rewrites is written beside itself and renamed over the
// old one, so that a failure leaves the old file or the new one, never half.
#include <QByteArray>
#include <QString>

#include "platform/vb/error.h"

namespace vb {

// The run-time error for a system error number. With creando, a missing
// entry means the folder is missing (76) rather than the file (53).
Error errorDeSistema(int numero, bool creando = false);

// True when an ordinary file (not a folder) exists at the path.
bool FileExists(const QString& ruta);
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
// untouched and removes what it wrote. A replaced file keeps its permissions.
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

}  // namespace vb
