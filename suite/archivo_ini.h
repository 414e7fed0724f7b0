#pragma once
// Section/key settings files ("[Seccion]" lines, then "Clave=Valor" lines).
//
// Reading follows the usual rules of such files: section and key names
// ignore case; lines starting with ";" are comments; blanks around names and
// values are dropped; a value wrapped in a pair of double (or single) quotes
// loses them, so that blanks inside the quotes are kept; when a key occurs
// more than once in a section, or a section more than once in the file, the
// first occurrence wins. Files are read as UTF-8; a file that is not valid
// UTF-8 is read as Latin-1, as older workstations wrote them.
//
// A bare file name is looked up in the settings folder
// (ctx::Programa::carpetaConfiguracion()); a name with a folder is used as
// given. The file name itself ignores case, as it did where these files come
// from: "CN000pr.INI" finds "cn000pr.ini".
#include <QString>

namespace ZepaKit2 {

class ArchivoIni {
 public:
  // The stored text, or predeterminado when the file, the section or the key
  // is missing (or the file cannot be read).
  QString LeerIni(const QString& archivo, const QString& seccion, const QString& clave,
                  const QString& predeterminado = {}) const;

  // Sets the key (the occurrence LeerIni reads), adding the section or the
  // key when missing; the rest of the file, comments included, is kept. The
  // new file replaces the old one whole. A section or key that the file could
  // not hold, or a value with a line break, is error 5; a file that cannot be
  // written is error 75.
  void EscribirIni(const QString& archivo, const QString& seccion, const QString& clave, const QString& valor) const;

  // The path a file name stands for (see above).
  QString RutaIni(const QString& archivo) const;
};

ArchivoIni& archivoIni();

}  // namespace ZepaKit2
