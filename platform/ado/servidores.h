#pragma once
// Server aliases of the workstation settings file CN000pr.INI, section
// [Servidores]: one key per server name, the value "sqlite:<folder>" or
// "odbc:<attributes>". Section [Controladores] names the ODBC drivers to use
// (keys SQLServer and Oracle). See docs/servidores.md.
#include <QString>
#include <optional>

namespace ado::detalle {

// The value of a key in a section of an INI file: sections and keys ignore
// case, lines starting with ";" are comments, names and values are trimmed,
// the first occurrence wins. Nothing when the file, section or key is missing.
std::optional<QString> leerIni(const QString& archivo, const QString& seccion, const QString& clave);

// The settings file in the settings folder (found ignoring the case of its name).
QString archivoConfiguracion();

struct AliasServidor {
  enum Tipo { Sqlite, Odbc } tipo;
  QString valor;  // the folder, or the ODBC attributes
};

// The alias of a server name, nothing when it has none.
std::optional<AliasServidor> aliasServidor(const QString& servidor);

// A driver name from [Controladores], or `porDefecto`.
QString controlador(const QString& clave, const QString& porDefecto = {});

}  // namespace ado::detalle
