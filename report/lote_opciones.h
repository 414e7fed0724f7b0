#pragma once
// The command-line options that drive the users report without a person at
// the screen: the parameter text stays as the suite's menu passes it, and
// these options beside it make the choices the user would make on the form.
//
//   rp_usuarios "@Server=...;@DbName=...;@Usuario=...;@Password=..." [options]
#include <QString>
#include <QStringList>
#include <optional>

namespace lote {

enum class Destino { Pantalla, Impresora, Pdf, Xlsx, Csv };

struct Opciones {
  bool lote = false;       // some option of the batch mode was given
  bool ayuda = false;      // --help
  bool solicitud = false;  // --solicitud: print the request instead of sending it
  std::optional<QString> desde, hasta;
  QStringList unidades;        // business-unit codes
  QStringList tareas;          // menu keys
  std::optional<int> agrupar;  // the grouping option, 0 .. 2
  std::optional<Destino> destino;
  QString archivoPdf;    // absolute, the file of Destino::Pdf, Xlsx and Csv
  QString registro;      // --registro: the error trace's file, absolute; empty for none
  QStringList consulta;  // --consulta and its companions, for the lookup option
  QStringList resto;     // what is left: the parameter text
  QString error;         // a malformed or unknown option; empty when all is well
};

// How much of the command line is ours: before Qt has taken its own
// arguments out (-platform xcb...), an argument with one dash, or a second
// text, may still be Qt's.
enum class Lectura { Completa, AntesDeQt };

// Splits the command line (the arguments after the program name). An
// argument that starts with a dash of any kind and is no option, or a second
// parameter text (an argument giving again a key an earlier one gave), is an
// error in a complete reading.
Opciones leerOpciones(const QStringList& argumentos, Lectura lectura = Lectura::Completa);

// The usage text of --help.
QString textoAyuda();

}  // namespace lote
