#pragma once
// The file-open dialog: set the title and the filter, show it, then read the
// chosen file name or whether the user cancelled.
#include <QString>
#include <QStringList>

namespace ZepaKit2 {

class DialogoArchivo {
 public:
  QString Titulo() const { return titulo_; }
  void setTitulo(const QString& titulo) { titulo_ = titulo; }

  // Pairs of description and patterns separated by "|", as the suite writes
  // them: "Base de Datos de Microsoft Access |*.MDB|Todos|*.*". Several
  // patterns of one entry are separated by ";". Patterns ignore case.
  QString Filtro() const { return filtro_; }
  void setFiltro(const QString& filtro) { filtro_ = filtro; }

  // The chosen file (full path); set beforehand, the file the dialog starts on.
  QString NombreArchivo() const { return nombreArchivo_; }
  void setNombreArchivo(const QString& nombre) { nombreArchivo_ = nombre; }

  // Shows the dialog for opening an existing file and returns when it is
  // closed. On a choice NombreArchivo() is the file and Cancelado() false; on
  // cancel Cancelado() is true and NombreArchivo() keeps its value.
  void MostrarAbrir();
  bool Cancelado() const { return cancelado_; }

  // The filter in Qt's form ("Descripción (*.mdb *.MDB)"), one entry each.
  static QStringList filtrosQt(const QString& filtro);

 private:
  QString titulo_;
  QString filtro_;
  QString nombreArchivo_;
  bool cancelado_ = false;
};

}  // namespace ZepaKit2
