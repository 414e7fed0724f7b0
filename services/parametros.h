#pragma once
// The start-up parameter text: "@Clave=valor" items separated by ";", and
// the server name as the connection wants it.
#include <QString>

namespace ModGlobal {

// The value of a key: the first occurrence of the key anywhere in the text
// (letter case ignored), up to the first ";" after it or the end, with every
// "=" removed and blanks trimmed. The search does not stop at item borders,
// so "@Usuario" also matches inside "@UsuarioLogeado". `hallada`, when given,
// tells whether the key occurs at all.
QString ValorParametro(const QString& texto, const QString& clave, bool* hallada = nullptr);

// "tcp/SRV01:1433" gives "SRV01": what follows the first "/", then what
// precedes the first ":" of that.
QString NombreServidor(const QString& servidor);

}  // namespace ModGlobal
