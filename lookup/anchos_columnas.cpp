#include "lookup/anchos_columnas.h"

#include <cmath>

#include "suite/util_general.h"

QStringList camposLinea(const QString& linea) {
  QStringList r;
  int i = 0;
  const int n = linea.size();
  while (i < n) {
    while (i < n && linea[i].isSpace()) ++i;
    QString campo;
    if (i < n && linea[i] == QLatin1Char('"')) {
      const int fin = linea.indexOf(QLatin1Char('"'), i + 1);
      campo = linea.mid(i + 1, fin < 0 ? -1 : fin - i - 1);
      i = fin < 0 ? n : fin + 1;
      while (i < n && linea[i] != QLatin1Char(',')) ++i;
    } else {
      const int fin = linea.indexOf(QLatin1Char(','), i);
      campo = linea.mid(i, fin < 0 ? -1 : fin - i).trimmed();
      i = fin < 0 ? n : fin;
    }
    r << campo;
    ++i;  // the comma
  }
  return r;
}

std::vector<int> anchosLinea(const QString& anchos, int columnas, int maximo) {
  auto& u = ZepaKit2::util();
  std::vector<int> r;
  r.reserve(static_cast<size_t>(std::max(0, columnas)));
  QString resto = anchos;
  for (int i = 0; i < columnas; ++i) {
    const int barra = resto.indexOf(QLatin1Char('|'));
    // Widths saved before the statement gained a column: the columns without
    // one keep the width they were given, rather than vanishing at 0.
    if (barra < 0 && resto.trimmed().isEmpty()) break;
    const QString ancho = barra < 0 ? resto : resto.left(barra);
    double w = 0;
    try {
      w = u.ValorNumerico(ancho).toDouble();
    } catch (const vb::Error&) {
      // A number too large even for the conversion: the widest column.
      w = ancho.trimmed().startsWith(QLatin1Char('-')) ? -1 : maximo;
    }
    if (!(w >= 0)) w = -1;  // negative, or not a number at all
    if (w > maximo) w = maximo;
    r.push_back(static_cast<int>(w));
    resto = barra < 0 ? QString() : resto.mid(barra + 1);
  }
  return r;
}
