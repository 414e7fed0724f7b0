#pragma once
// Text helpers for the statement builders and rewriters: every search and
// replacement in statement texts ignores letter case, and trimming removes
// blanks only, as the suite's routines always did.
#include <QString>

namespace db_texto {

// Index of the first occurrence at or after `desde`, ignoring case; -1 if none.
inline qsizetype pos(const QString& texto, const QString& buscado, qsizetype desde = 0) {
  return texto.indexOf(buscado, desde, Qt::CaseInsensitive);
}

inline bool contiene(const QString& texto, const QString& buscado) {
  return texto.contains(buscado, Qt::CaseInsensitive);
}

inline bool iguales(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Every occurrence, left to right and without overlaps, ignoring case.
inline QString reemplazar(QString texto, const QString& buscado, const QString& nuevo) {
  if (buscado.isEmpty()) return texto;
  return texto.replace(buscado, nuevo, Qt::CaseInsensitive);
}

// Blanks at both ends removed (tabs and line breaks stay).
inline QString recortar(const QString& texto) {
  qsizetype i = 0, f = texto.size();
  while (i < f && texto.at(i) == QLatin1Char(' ')) ++i;
  while (f > i && texto.at(f - 1) == QLatin1Char(' ')) --f;
  return texto.mid(i, f - i);
}

}  // namespace db_texto
