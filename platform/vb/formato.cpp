#include "platform/vb/formato.h"

#include <QStringList>

#include "platform/vb/convert.h"
#include "platform/vb/dates.h"
#include "platform/vb/numero_texto.h"
#include "platform/vb/regional.h"

namespace vb {

namespace {

// The format split in sections at ";" outside quotes.
QStringList secciones(const QString& formato) {
  QStringList salida;
  QString actual;
  bool comillas = false;
  for (qsizetype i = 0; i < formato.size(); ++i) {
    const QChar c = formato[i];
    if (c == QLatin1Char('"')) comillas = !comillas;
    if (c == QLatin1Char('\\') && i + 1 < formato.size()) {
      actual += c;
      actual += formato[++i];
      continue;
    }
    if (c == QLatin1Char(';') && !comillas) {
      salida << actual;
      actual.clear();
    } else {
      actual += c;
    }
  }
  salida << actual;
  return salida;
}

struct Pieza {
  enum Tipo { Literal, Cero, Almohadilla, Punto } tipo;
  QString texto;
};

// The decimal digits of |valor| rounded half away from zero to `decimales`
// places: whole part and fraction part as digit texts.
void cifras(double valor, int decimales, QString& entero, QString& fraccion) {
  detalle::Numero n = detalle::desdeDouble(valor);
  std::string d = n.digitos;
  int exp = n.exponente;
  if (d.empty()) {
    d = "0";
    exp = 0;
  }
  // Digits up to the wanted place, rounding on the first dropped digit.
  const long sobran = -static_cast<long>(exp) - decimales;
  if (sobran > 0) {
    const long quedan = static_cast<long>(d.size()) - sobran;
    bool subir = false;
    if (quedan >= 0) subir = d[static_cast<std::size_t>(quedan)] >= '5';
    d = quedan > 0 ? d.substr(0, static_cast<std::size_t>(quedan)) : std::string();
    exp += static_cast<int>(sobran);
    if (subir) {
      int i = static_cast<int>(d.size()) - 1;
      while (i >= 0 && d[static_cast<std::size_t>(i)] == '9') d[static_cast<std::size_t>(i--)] = '0';
      if (i >= 0)
        ++d[static_cast<std::size_t>(i)];
      else
        d.insert(d.begin(), '1');
    }
    if (d.empty()) d = "0";
  }
  // d × 10^exp with exp >= -decimales: put the point in.
  if (exp >= 0) d += std::string(static_cast<std::size_t>(exp), '0');
  const std::size_t frac = exp < 0 ? static_cast<std::size_t>(-exp) : 0;
  if (d.size() <= frac) d.insert(0, frac - d.size() + 1, '0');
  entero = QString::fromStdString(d.substr(0, d.size() - frac));
  fraccion = QString::fromStdString(d.substr(d.size() - frac));
  fraccion = fraccion.leftJustified(decimales, QLatin1Char('0'));
  while (entero.size() > 1 && entero[0] == QLatin1Char('0')) entero.remove(0, 1);
}

QString aplicar(double valor, const QString& seccion) {
  const Regional& r = regional();
  std::vector<Pieza> piezas;
  bool agrupar = false, porcentaje = false;
  for (qsizetype i = 0; i < seccion.size(); ++i) {
    const QChar c = seccion[i];
    if (c == QLatin1Char('"')) {
      const qsizetype fin = seccion.indexOf(QLatin1Char('"'), i + 1);
      const qsizetype hasta = fin < 0 ? seccion.size() : fin;
      piezas.push_back({Pieza::Literal, seccion.mid(i + 1, hasta - i - 1)});
      i = hasta;
    } else if (c == QLatin1Char('\\')) {
      if (i + 1 < seccion.size()) piezas.push_back({Pieza::Literal, QString(seccion[++i])});
    } else if (c == QLatin1Char('0')) {
      piezas.push_back({Pieza::Cero, {}});
    } else if (c == QLatin1Char('#')) {
      piezas.push_back({Pieza::Almohadilla, {}});
    } else if (c == QLatin1Char('.')) {
      piezas.push_back({Pieza::Punto, {}});
    } else if (c == QLatin1Char(',')) {
      agrupar = true;
    } else {
      if (c == QLatin1Char('%')) porcentaje = true;
      piezas.push_back({Pieza::Literal, QString(c)});
    }
  }
  if (porcentaje) valor *= 100.0;

  std::size_t punto = piezas.size();
  for (std::size_t i = 0; i < piezas.size(); ++i)
    if (piezas[i].tipo == Pieza::Punto) {
      punto = i;
      break;
    }
  int decimales = 0, cerosEnteros = 0;
  for (std::size_t i = 0; i < piezas.size(); ++i) {
    const bool digito = piezas[i].tipo == Pieza::Cero || piezas[i].tipo == Pieza::Almohadilla;
    if (digito && i > punto) ++decimales;
    if (piezas[i].tipo == Pieza::Cero && i < punto) ++cerosEnteros;
  }
  QString entero, fraccion;
  cifras(valor, decimales, entero, fraccion);
  if (entero == QLatin1String("0") && cerosEnteros == 0) entero.clear();
  while (entero.size() < cerosEnteros) entero.prepend(QLatin1Char('0'));
  if (agrupar && !r.separadorMiles.isNull())
    for (qsizetype i = entero.size() - 3; i > 0; i -= 3) entero.insert(i, r.separadorMiles);

  // Whole digits fill the placeholders from the right; any left over go in
  // front of the first one.
  std::vector<QString> salida(piezas.size());
  qsizetype quedan = entero.size();
  std::size_t primero = piezas.size();
  for (std::size_t k = punto; k-- > 0;) {
    if (piezas[k].tipo == Pieza::Literal) {
      salida[k] = piezas[k].texto;
      continue;
    }
    primero = k;
    if (quedan > 0) {
      salida[k] = entero.mid(--quedan, 1);
      // A thousands separator travels with the digit after it.
      if (quedan > 0 && entero[quedan - 1] == r.separadorMiles) salida[k].prepend(entero[--quedan]);
    }
  }
  if (quedan > 0) {
    if (primero < piezas.size())
      salida[primero].prepend(entero.left(quedan));
    else
      salida.insert(salida.begin() + static_cast<long>(std::min(punto, salida.size())), entero.left(quedan));
  }
  // Decimals: zeros after the last significant one are kept only under "0".
  int significativas = static_cast<int>(fraccion.size());
  while (significativas > 0 && fraccion[significativas - 1] == QLatin1Char('0')) --significativas;
  int pos = 0;
  for (std::size_t k = punto; k < piezas.size(); ++k) {
    const std::size_t idx = k + (salida.size() - piezas.size());
    switch (piezas[k].tipo) {
      case Pieza::Punto: salida[idx] = r.separadorDecimal; break;
      case Pieza::Literal: salida[idx] = piezas[k].texto; break;
      case Pieza::Cero: salida[idx] = fraccion.mid(pos++, 1); break;
      case Pieza::Almohadilla:
        if (pos < significativas) salida[idx] = fraccion.mid(pos, 1);
        ++pos;
        break;
    }
  }
  QString texto;
  for (const QString& s : salida) texto += s;
  return texto;
}

bool esCero(double valor, const QString& seccion) {
  // Zero once rounded to the places the format shows.
  const QString s = aplicar(valor, seccion);
  for (QChar c : s)
    if (c.isDigit() && c != QLatin1Char('0')) return false;
  return true;
}

}  // namespace

QString formatoNumero(double valor, const QString& formato) {
  const QString nombre = formato.trimmed();
  if (nombre.isEmpty() || nombre.compare(QLatin1String("General Number"), Qt::CaseInsensitive) == 0) return CStr(valor);
  if (nombre.compare(QLatin1String("Fixed"), Qt::CaseInsensitive) == 0)
    return formatoNumero(valor, QStringLiteral("0.00"));
  if (nombre.compare(QLatin1String("Standard"), Qt::CaseInsensitive) == 0)
    return formatoNumero(valor, QStringLiteral("#,##0.00"));
  if (nombre.compare(QLatin1String("Percent"), Qt::CaseInsensitive) == 0)
    return formatoNumero(valor, QStringLiteral("0.00%"));

  const QStringList s = secciones(formato);
  if (valor == 0.0 && s.size() >= 3 && !s[2].isEmpty()) return aplicar(0.0, s[2]);
  if (valor < 0 && s.size() >= 2 && !s[1].isEmpty()) return aplicar(-valor, s[1]);
  if (valor < 0) {
    // No sign on a value that shows as zero.
    if (esCero(-valor, s[0])) return aplicar(0.0, s[0]);
    return QLatin1Char('-') + aplicar(-valor, s[0]);
  }
  return aplicar(valor, s[0]);
}

QString Format(const Variant& valor, const QString& formato) {
  if (valor.isNull() || valor.isEmpty()) return QString();
  if (formato.isEmpty()) return CStr(valor);
  if (const auto* f = valor.get<QDateTime>()) return formatoFecha(*f, formato);
  if (const auto* t = valor.get<QString>()) {
    if (IsNumeric(*t)) return formatoNumero(CDbl(valor), formato);
    if (auto f = leerFecha(*t)) return formatoFecha(*f, formato);
    return *t;
  }
  if (valor.type() == VarType::Boolean) return CStr(valor);
  return formatoNumero(CDbl(valor), formato);
}

}  // namespace vb
