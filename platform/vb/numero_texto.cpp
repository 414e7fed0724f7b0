#include "platform/vb/numero_texto.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/vb/error.h"

namespace vb::detalle {

namespace {

bool esDigito(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool esBlanco(QChar c) { return c.isSpace() || c == QChar(0xA0); }

// "&H..." / "&O...": the platform reads up to 16 bits as an Integer and up to
// 32 as a Long, so &HFFFF is -1 and &H10000 is 65536.
std::optional<Numero> leerBase(QStringView t) {
  if (t.size() < 3 || t[0] != QLatin1Char('&')) return std::nullopt;
  const QChar marca = t[1].toUpper();
  int base = marca == QLatin1Char('H') ? 16 : marca == QLatin1Char('O') ? 8 : 0;
  if (base == 0) return std::nullopt;
  unsigned long long valor = 0;
  for (qsizetype i = 2; i < t.size(); ++i) {
    int cifra = -1;
    const char16_t c = t[i].toUpper().unicode();
    if (c >= u'0' && c <= u'9')
      cifra = c - u'0';
    else if (c >= u'A' && c <= u'F')
      cifra = c - u'A' + 10;
    if (cifra < 0 || cifra >= base) return std::nullopt;
    valor = valor * base + cifra;
    if (valor > 0xFFFFFFFFull) throw Error(kOverflow);
  }
  long long con_signo = valor <= 0xFFFF ? static_cast<std::int16_t>(valor) : static_cast<std::int32_t>(valor);
  Numero n;
  n.negativo = con_signo < 0;
  if (con_signo != 0) n.digitos = std::to_string(n.negativo ? -con_signo : con_signo);
  return n;
}

void quitarCeros(Numero& n) {
  std::size_t i = 0;
  while (i < n.digitos.size() && n.digitos[i] == '0') ++i;
  n.digitos.erase(0, i);
  while (!n.digitos.empty() && n.digitos.back() == '0') {
    n.digitos.pop_back();
    ++n.exponente;
  }
  if (n.digitos.empty()) n.exponente = 0;
}

}  // namespace

std::optional<Numero> leerNumero(QStringView texto, QChar decimal, QChar miles) {
  qsizetype ini = 0, fin = texto.size();
  while (ini < fin && esBlanco(texto[ini])) ++ini;
  while (fin > ini && esBlanco(texto[fin - 1])) --fin;
  QStringView t = texto.mid(ini, fin - ini);
  if (t.isEmpty()) return std::nullopt;
  if (t[0] == QLatin1Char('&')) return leerBase(t);

  Numero n;
  qsizetype i = 0;
  if (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')) {
    n.negativo = t[i] == QLatin1Char('-');
    ++i;
  }
  // Whole part, with thousands separators only between whole groups of three.
  int cifras = 0, grupo = 0;
  bool agrupado = false;
  while (i < t.size()) {
    if (esDigito(t[i])) {
      n.digitos.push_back(static_cast<char>(t[i].unicode()));
      ++cifras;
      ++grupo;
      ++i;
    } else if (!miles.isNull() && t[i] == miles && grupo > 0 && (agrupado ? grupo == 3 : grupo <= 3)) {
      agrupado = true;
      grupo = 0;
      ++i;
    } else {
      break;
    }
  }
  if (agrupado && grupo != 3) return std::nullopt;
  if (i < t.size() && t[i] == decimal) {
    ++i;
    while (i < t.size() && esDigito(t[i])) {
      n.digitos.push_back(static_cast<char>(t[i].unicode()));
      --n.exponente;
      ++cifras;
      ++i;
    }
  }
  if (cifras == 0) return std::nullopt;
  if (i < t.size()) {
    const QChar e = t[i].toUpper();
    if (e != QLatin1Char('E') && e != QLatin1Char('D')) return std::nullopt;
    ++i;
    bool negativo = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
      negativo = t[i] == QLatin1Char('-');
      ++i;
    }
    if (i >= t.size()) return std::nullopt;
    long exp = 0;
    for (; i < t.size(); ++i) {
      if (!esDigito(t[i])) return std::nullopt;
      exp = std::min(exp * 10 + (t[i].unicode() - u'0'), 100000L);
    }
    n.exponente += static_cast<int>(negativo ? -exp : exp);
  }
  quitarCeros(n);
  return n;
}

double aDouble(const Numero& n) {
  if (n.digitos.empty()) return 0.0;
  std::string texto = (n.negativo ? "-" : "") + n.digitos + "e" + std::to_string(n.exponente);
  const double d = std::strtod(texto.c_str(), nullptr);
  if (!std::isfinite(d)) throw Error(kOverflow);
  return d;
}

Currency aCurrency(const Numero& n) {
  if (n.digitos.empty()) return Currency{};
  const long escala = static_cast<long>(n.exponente) + 4;  // power of ten of the last digit, in 1/10000
  std::string enteros;
  bool subir = false;
  if (escala >= 0) {
    if (static_cast<long>(n.digitos.size()) + escala > 19) throw Error(kOverflow);
    enteros = n.digitos + std::string(static_cast<std::size_t>(escala), '0');
  } else {
    const long cortar = -escala;
    const long quedan = static_cast<long>(n.digitos.size()) - cortar;
    if (quedan > 0) enteros = n.digitos.substr(0, static_cast<std::size_t>(quedan));
    // The first cut digit decides; a lone 5 (nothing after it) is the tie.
    if (quedan >= 0) {
      const char primera = n.digitos[static_cast<std::size_t>(quedan)];
      const bool resto = n.digitos.find_first_not_of('0', static_cast<std::size_t>(quedan) + 1) != std::string::npos;
      const bool impar = !enteros.empty() && ((enteros.back() - '0') % 2 == 1);
      subir = primera > '5' || (primera == '5' && (resto || impar));
    }
    if (enteros.size() > 19) throw Error(kOverflow);
  }
  unsigned long long valor = 0;
  for (char c : enteros) {
    const unsigned long long cifra = static_cast<unsigned long long>(c - '0');
    if (valor > (std::numeric_limits<unsigned long long>::max() - cifra) / 10) throw Error(kOverflow);
    valor = valor * 10 + cifra;
  }
  if (subir) ++valor;
  const unsigned long long limite =
      static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max()) + (n.negativo ? 1 : 0);
  if (valor > limite) throw Error(kOverflow);
  if (n.negativo) return Currency{static_cast<std::int64_t>(0 - valor)};
  return Currency{static_cast<std::int64_t>(valor)};
}

Numero desdeDouble(double d) {
  if (!std::isfinite(d)) throw Error(kOverflow);
  Numero n;
  if (d == 0.0) return n;
  char texto[40];
  std::snprintf(texto, sizeof texto, "%.14e", d);  // d.dddddddddddddde±x
  const char* p = texto;
  if (*p == '-') {
    n.negativo = true;
    ++p;
  }
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') n.digitos.push_back(*p);
  n.exponente = (*p == 'e' ? std::atoi(p + 1) : 0) - 14;
  quitarCeros(n);
  return n;
}

double redondearPar(double d) {
  const double abajo = std::floor(d);
  const double resto = d - abajo;
  if (resto > 0.5) return abajo + 1.0;
  if (resto < 0.5) return abajo;
  return std::fmod(abajo, 2.0) == 0.0 ? abajo : abajo + 1.0;
}

}  // namespace vb::detalle
