#include "platform/vb/convert.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/numero_texto.h"
#include "platform/vb/regional.h"

namespace vb {

using detalle::Numero;

namespace {

std::optional<Numero> leerRegional(const QString& texto) {
  const Regional& r = regional();
  return detalle::leerNumero(texto, r.separadorDecimal, r.separadorMiles);
}

// "True"/"False" are what CStr writes; the Spanish words are read as well.
std::optional<bool> leerLogico(const QString& texto) {
  const QString t = texto.trimmed();
  if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
      t.compare(QStringLiteral("Verdadero"), Qt::CaseInsensitive) == 0)
    return true;
  if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
      t.compare(QStringLiteral("Falso"), Qt::CaseInsensitive) == 0)
    return false;
  return std::nullopt;
}

// The number a text stands for, as a double: a number, or True/False as the
// platform lets CDbl("True") give -1.
double doubleDeTexto(const QString& texto) {
  if (auto n = leerRegional(texto)) return detalle::aDouble(*n);
  if (auto b = leerLogico(texto)) return *b ? -1.0 : 0.0;
  throw Error(kTypeMismatch);
}

QString conSeparador(QString texto) {
  if (!texto.contains(QLatin1Char('.'))) return texto;
  const QChar decimal = regional().separadorDecimal;
  if (decimal != QLatin1Char('.')) texto.replace(QLatin1Char('.'), decimal);
  return texto;
}

// The platform writes doubles with 15 significant digits and singles with 7,
// in exponent form ("1E+15", "1E-05") outside the plain range.
QString escribirReal(double d, int cifras) {
  if (d == 0.0) return QStringLiteral("0");
  char texto[48];
  // A whole number below 10^15 is written with all its digits.
  if (cifras >= 15 && d == std::trunc(d) && std::fabs(d) < 1e15) {
    const auto r = std::to_chars(texto, texto + sizeof texto, static_cast<std::int64_t>(d));
    return QString::fromLatin1(texto, r.ptr - texto);
  }
  // The shortest digits that read back as d. When there are no more of them
  // than `cifras`, they are what printf's %.*G rounds to, so they are laid
  // out here the way %G lays them out; printf itself is several times slower
  // (a lookup of 100,000 articles writes every price).
  const auto corto = std::to_chars(texto, texto + sizeof texto, d, std::chars_format::scientific);
  const char* p = texto;
  const bool negativo = *p == '-';
  if (negativo) ++p;
  char cifrasLeidas[24];
  int n = 0;
  for (; p != corto.ptr && *p != 'e'; ++p)
    if (*p != '.' && n < 24) cifrasLeidas[n++] = *p;
  int exponente = 0;
  if (p != corto.ptr) {  // "e+XX": to_chars writes no terminating zero
    const char* e = p + 1;
    const bool menos = e != corto.ptr && *e == '-';
    if (e != corto.ptr && (*e == '-' || *e == '+')) ++e;
    for (; e != corto.ptr; ++e) exponente = exponente * 10 + (*e - '0');
    if (menos) exponente = -exponente;
  }
  // Subnormal numbers have too few bits for the shortest digits to be the rounded ones.
  if (n > cifras || n >= 24 || std::fabs(d) < std::numeric_limits<double>::min()) {
    std::snprintf(texto, sizeof texto, "%.*G", cifras, d);
    return QString::fromLatin1(texto);
  }
  char salida[48];
  int k = 0;
  if (negativo) salida[k++] = '-';
  if (exponente < -4 || exponente >= cifras) {
    salida[k++] = cifrasLeidas[0];
    if (n > 1) {
      salida[k++] = '.';
      for (int i = 1; i < n; ++i) salida[k++] = cifrasLeidas[i];
    }
    k += std::snprintf(salida + k, sizeof salida - static_cast<size_t>(k), "E%c%02d", exponente < 0 ? '-' : '+',
                       exponente < 0 ? -exponente : exponente);
  } else if (exponente >= 0) {
    for (int i = 0; i <= exponente; ++i) salida[k++] = i < n ? cifrasLeidas[i] : '0';
    if (n > exponente + 1) {
      salida[k++] = '.';
      for (int i = exponente + 1; i < n; ++i) salida[k++] = cifrasLeidas[i];
    }
  } else {
    salida[k++] = '0';
    salida[k++] = '.';
    for (int i = 1; i < -exponente; ++i) salida[k++] = '0';
    for (int i = 0; i < n; ++i) salida[k++] = cifrasLeidas[i];
  }
  return QString::fromLatin1(salida, k);
}

QString escribirMoneda(Currency c) {
  const bool negativo = c.diezMilesimos < 0;
  const unsigned long long abs = negativo ? 0ull - static_cast<unsigned long long>(c.diezMilesimos)
                                          : static_cast<unsigned long long>(c.diezMilesimos);
  QString s = QString::number(abs / 10000);
  unsigned long long fraccion = abs % 10000;
  if (fraccion != 0) {
    QString decimales = QStringLiteral("%1").arg(fraccion, 4, 10, QLatin1Char('0'));
    while (decimales.endsWith(QLatin1Char('0'))) decimales.chop(1);
    s += regional().separadorDecimal + decimales;
  }
  return negativo ? QLatin1Char('-') + s : s;
}

std::int64_t redondearMonedaEntera(Currency c) {
  // Half to even on the ten-thousandths, in whole numbers.
  std::int64_t q = c.diezMilesimos / 10000;
  std::int64_t r = c.diezMilesimos % 10000;
  if (r < 0) {
    r += 10000;
    --q;
  }
  if (r > 5000 || (r == 5000 && (q % 2 != 0))) ++q;
  return q;
}

template <class Entero>
Entero redondearA(double d) {
  if (!std::isfinite(d)) throw Error(kOverflow);
  const double r = detalle::redondearPar(d);
  if (r < static_cast<double>(std::numeric_limits<Entero>::min()) ||
      r > static_cast<double>(std::numeric_limits<Entero>::max()))
    throw Error(kOverflow);
  return static_cast<Entero>(r);
}

template <class Entero>
Entero entero(const Variant& v) {
  if (v.isNull()) throw Error(kInvalidUseOfNull);
  if (const auto* c = v.get<Currency>()) {
    const std::int64_t q = redondearMonedaEntera(*c);
    if (q < std::numeric_limits<Entero>::min() || q > std::numeric_limits<Entero>::max()) throw Error(kOverflow);
    return static_cast<Entero>(q);
  }
  if (const auto* l = v.get<std::int64_t>()) {
    if (*l < std::numeric_limits<Entero>::min() || *l > std::numeric_limits<Entero>::max()) throw Error(kOverflow);
    return static_cast<Entero>(*l);
  }
  return redondearA<Entero>(CDbl(v));
}

}  // namespace

QString CStr(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return QString();
    case VarType::Null: throw Error(kInvalidUseOfNull);
    case VarType::Boolean: return *v.get<bool>() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Integer: return QString::number(*v.get<std::int16_t>());
    case VarType::Long: return QString::number(*v.get<std::int32_t>());
    case VarType::LongLong: return QString::number(*v.get<std::int64_t>());
    case VarType::Byte: return QString::number(*v.get<std::uint8_t>());
    case VarType::Single: return conSeparador(escribirReal(*v.get<float>(), 7));
    case VarType::Double: return conSeparador(escribirReal(*v.get<double>(), 15));
    case VarType::Currency: return escribirMoneda(*v.get<Currency>());
    case VarType::Date: return textoFecha(*v.get<QDateTime>());
    case VarType::String: return *v.get<QString>();
  }
  throw Error(kTypeMismatch);
}

double CDbl(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return 0.0;
    case VarType::Null: throw Error(kInvalidUseOfNull);
    case VarType::Boolean: return *v.get<bool>() ? -1.0 : 0.0;
    case VarType::Integer: return *v.get<std::int16_t>();
    case VarType::Long: return *v.get<std::int32_t>();
    case VarType::LongLong: return static_cast<double>(*v.get<std::int64_t>());
    case VarType::Byte: return *v.get<std::uint8_t>();
    case VarType::Single: return *v.get<float>();
    case VarType::Double: return *v.get<double>();
    case VarType::Currency: return v.get<Currency>()->toDouble();
    case VarType::Date: return serialFecha(*v.get<QDateTime>());
    case VarType::String: return doubleDeTexto(*v.get<QString>());
  }
  throw Error(kTypeMismatch);
}

std::int16_t CInt(const Variant& v) { return entero<std::int16_t>(v); }
std::int32_t CLng(const Variant& v) { return entero<std::int32_t>(v); }

Currency CCur(const Variant& v) {
  switch (v.type()) {
    case VarType::Null: throw Error(kInvalidUseOfNull);
    case VarType::Currency: return *v.get<Currency>();
    case VarType::String: {
      // Read the digits directly so that "0,1" is exactly one tenth.
      if (auto n = leerRegional(*v.get<QString>())) return detalle::aCurrency(*n);
      return redondearMoneda(doubleDeTexto(*v.get<QString>()));
    }
    case VarType::LongLong: {
      const std::int64_t l = *v.get<std::int64_t>();
      if (l > std::numeric_limits<std::int64_t>::max() / 10000 || l < std::numeric_limits<std::int64_t>::min() / 10000)
        throw Error(kOverflow);
      return Currency{l * 10000};
    }
    default: return redondearMoneda(CDbl(v));
  }
}

bool CBool(const Variant& v) {
  switch (v.type()) {
    case VarType::Null: throw Error(kInvalidUseOfNull);
    case VarType::Boolean: return *v.get<bool>();
    case VarType::Currency: return v.get<Currency>()->diezMilesimos != 0;
    case VarType::LongLong: return *v.get<std::int64_t>() != 0;
    case VarType::String: {
      const QString& t = *v.get<QString>();
      if (auto b = leerLogico(t)) return *b;
      if (auto n = leerRegional(t)) return !n->digitos.empty();
      throw Error(kTypeMismatch);
    }
    default: return CDbl(v) != 0.0;
  }
}

QDateTime CDate(const Variant& v) {
  switch (v.type()) {
    case VarType::Null: throw Error(kInvalidUseOfNull);
    case VarType::Date: return *v.get<QDateTime>();
    case VarType::String: {
      const QString& t = *v.get<QString>();
      if (auto f = leerFecha(t)) return *f;
      // A number in text is a date serial, as the platform reads it.
      if (auto n = leerRegional(t)) return fechaDeSerial(detalle::aDouble(*n));
      throw Error(kTypeMismatch);
    }
    default: return fechaDeSerial(CDbl(v));
  }
}

bool IsNumeric(const QString& texto) {
  try {
    return leerRegional(texto).has_value();
  } catch (const Error&) {
    return false;  // a hex value too big to hold
  }
}

bool IsNumeric(const Variant& v) { return v.isNumeric(); }

double Val(const QString& texto) {
  // Blanks, tabs and line feeds are skipped wherever they stand.
  QString t;
  t.reserve(texto.size());
  for (QChar c : texto)
    if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
      t.append(c);

  if (t.size() >= 2 && t[0] == QLatin1Char('&')) {
    const QChar marca = t[1].toUpper();
    if (marca == QLatin1Char('H') || marca == QLatin1Char('O')) {
      const QString cifrasValidas =
          marca == QLatin1Char('H') ? QStringLiteral("0123456789ABCDEF") : QStringLiteral("01234567");
      qsizetype fin = 2;
      while (fin < t.size() && cifrasValidas.contains(t[fin].toUpper())) ++fin;
      if (fin == 2) return 0.0;
      return detalle::aDouble(*detalle::leerNumero(QStringView(t).left(fin), QLatin1Char('.'), QChar()));
    }
  }

  // The longest beginning that reads as a number: sign, digits, point,
  // digits, then an exponent only when digits follow it.
  auto digito = [&](qsizetype i) { return i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'); };
  qsizetype i = 0;
  if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) ++i;
  const qsizetype inicioCifras = i;
  while (digito(i)) ++i;
  if (i < t.size() && t[i] == QLatin1Char('.')) {
    ++i;
    while (digito(i)) ++i;
  }
  const qsizetype cifras =
      i - inicioCifras - (t.mid(inicioCifras, i - inicioCifras).contains(QLatin1Char('.')) ? 1 : 0);
  if (cifras <= 0) return 0.0;
  qsizetype fin = i;
  if (i < t.size() && (t[i].toUpper() == QLatin1Char('E') || t[i].toUpper() == QLatin1Char('D'))) {
    qsizetype j = i + 1;
    if (j < t.size() && (t[j] == QLatin1Char('+') || t[j] == QLatin1Char('-'))) ++j;
    if (digito(j)) {
      while (digito(j)) ++j;
      fin = j;
    }
  }
  QString numero = t.left(fin);
  if (numero.endsWith(QLatin1Char('.'))) numero.chop(1);
  if (numero.startsWith(QLatin1Char('.')) || numero.startsWith(QLatin1String("+.")) ||
      numero.startsWith(QLatin1String("-.")))
    numero.insert(numero.indexOf(QLatin1Char('.')), QLatin1Char('0'));
  auto n = detalle::leerNumero(numero, QLatin1Char('.'), QChar());
  return n ? detalle::aDouble(*n) : 0.0;
}

std::int16_t redondearEntero(double d) { return redondearA<std::int16_t>(d); }
std::int32_t redondearLargo(double d) { return redondearA<std::int32_t>(d); }
Currency redondearMoneda(double d) { return detalle::aCurrency(detalle::desdeDouble(d)); }

QString Str(double d) {
  QString s = escribirReal(d, 15);
  // Str gives no leading zero before the point (" .5") and a blank in front
  // of a number that is not negative.
  if (s.startsWith(QLatin1String("0.")))
    s.remove(0, 1);
  else if (s.startsWith(QLatin1String("-0.")))
    s.remove(1, 1);
  return s.startsWith(QLatin1Char('-')) ? s : QLatin1Char(' ') + s;
}

}  // namespace vb
