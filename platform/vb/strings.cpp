#include "platform/vb/strings.h"

#include <QList>
#include <vector>

#include "platform/vb/error.h"

namespace vb {

namespace {

Qt::CaseSensitivity sensibilidad(Comparacion comp) {
  return comp == vbTextCompare ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

void exigir(bool condicion) {
  if (!condicion) throw Error(kInvalidProcedureCall);
}

}  // namespace

QString Trim(const QString& s) {
  // Most texts have no blanks at either end: they come back as they are.
  if (s.isEmpty() || (s.front() != QLatin1Char(' ') && s.back() != QLatin1Char(' '))) return s;
  return LTrim(RTrim(s));
}

QString LTrim(const QString& s) {
  qsizetype i = 0;
  while (i < s.size() && s[i] == QLatin1Char(' ')) ++i;
  return s.mid(i);
}

QString RTrim(const QString& s) {
  qsizetype n = s.size();
  while (n > 0 && s[n - 1] == QLatin1Char(' ')) --n;
  return s.left(n);
}

QString UCase(const QString& s) { return s.toUpper(); }
QString LCase(const QString& s) { return s.toLower(); }
long Len(const QString& s) { return static_cast<long>(s.size()); }

QString Left(const QString& s, long largo) {
  exigir(largo >= 0);
  return s.left(largo);
}

QString Right(const QString& s, long largo) {
  exigir(largo >= 0);
  return largo >= s.size() ? s : s.right(largo);
}

QString Mid(const QString& s, long inicio) {
  exigir(inicio >= 1);
  return inicio > s.size() ? QString() : s.mid(inicio - 1);
}

QString Mid(const QString& s, long inicio, long largo) {
  exigir(inicio >= 1 && largo >= 0);
  return inicio > s.size() ? QString() : s.mid(inicio - 1, largo);
}

QString Space(long largo) {
  exigir(largo >= 0);
  return QString(largo, QLatin1Char(' '));
}

QString StringDe(long largo, const QString& c) {
  exigir(largo >= 0 && !c.isEmpty());
  return QString(largo, c[0]);
}

long InStr(const QString& s, const QString& buscado, Comparacion comp) { return InStr(1, s, buscado, comp); }

long InStr(long inicio, const QString& s, const QString& buscado, Comparacion comp) {
  exigir(inicio >= 1);
  if (inicio > s.size() + 1) return 0;
  if (buscado.isEmpty()) return inicio;
  return static_cast<long>(s.indexOf(buscado, inicio - 1, sensibilidad(comp)) + 1);
}

long InStrRev(const QString& s, const QString& buscado, long inicio, Comparacion comp) {
  exigir(inicio == -1 || inicio >= 1);
  if (inicio == -1) inicio = static_cast<long>(s.size());
  if (inicio > s.size()) return 0;
  if (buscado.isEmpty()) return inicio;
  // The occurrence must lie wholly within the first inicio characters.
  const qsizetype desde = inicio - buscado.size();
  if (desde < 0) return 0;
  return static_cast<long>(s.lastIndexOf(buscado, desde, sensibilidad(comp)) + 1);
}

QString Replace(const QString& s, const QString& buscado, const QString& reemplazo, long inicio, long cuantos,
                Comparacion comp) {
  exigir(inicio >= 1 && cuantos >= -1);
  if (inicio > s.size()) return QString();
  const QString base = s.mid(inicio - 1);
  if (buscado.isEmpty() || cuantos == 0) return base;
  QString salida;
  salida.reserve(base.size());
  qsizetype desde = 0;
  long hechos = 0;
  while (cuantos == -1 || hechos < cuantos) {
    const qsizetype en = base.indexOf(buscado, desde, sensibilidad(comp));
    if (en < 0) break;
    salida += QStringView(base).mid(desde, en - desde);
    salida += reemplazo;
    desde = en + buscado.size();
    ++hechos;
  }
  salida += QStringView(base).mid(desde);
  return salida;
}

int StrComp(const QString& a, const QString& b, Comparacion comp) {
  const int r = QString::compare(a, b, sensibilidad(comp));
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

bool igualesTexto(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) == 0; }

namespace {

struct Ficha {
  enum Tipo { Literal, Cualquiera, Digito, Conjunto, Estrella } tipo;
  explicit Ficha(Tipo t, char32_t car = 0) : tipo(t), c(car) {}
  char32_t c;
  std::vector<std::pair<char32_t, char32_t>> rangos;  // for a set
  bool negado = false;
};

char32_t plegar(char32_t c, bool texto) { return texto ? QChar::toCaseFolded(c) : c; }

std::vector<char32_t> puntos(const QString& s) {
  std::vector<char32_t> v;
  for (char32_t c : s.toUcs4()) v.push_back(c);
  return v;
}

std::vector<Ficha> fichas(const QString& patron, bool texto) {
  const std::vector<char32_t> p = puntos(patron);
  std::vector<Ficha> salida;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char32_t c = p[i];
    if (c == U'*') {
      if (salida.empty() || salida.back().tipo != Ficha::Estrella) salida.emplace_back(Ficha::Estrella);
    } else if (c == U'?') {
      salida.emplace_back(Ficha::Cualquiera);
    } else if (c == U'#') {
      salida.emplace_back(Ficha::Digito);
    } else if (c == U'[') {
      Ficha f(Ficha::Conjunto);
      std::size_t j = i + 1;
      if (j < p.size() && p[j] == U'!') {
        f.negado = true;
        ++j;
      }
      bool cerrado = false;
      for (; j < p.size(); ++j) {
        if (p[j] == U']') {
          cerrado = true;
          break;
        }
        char32_t desde = p[j], hasta = p[j];
        if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
          hasta = p[j + 2];
          j += 2;
          if (hasta < desde) throw Error(kInvalidPatternString);
        }
        f.rangos.emplace_back(desde, hasta);
      }
      if (!cerrado) throw Error(kInvalidPatternString);
      i = j;
      salida.push_back(std::move(f));
    } else {
      salida.emplace_back(Ficha::Literal, plegar(c, texto));
    }
  }
  return salida;
}

bool encaja(const Ficha& f, char32_t c, bool texto) {
  switch (f.tipo) {
    case Ficha::Literal: return f.c == plegar(c, texto);
    case Ficha::Cualquiera: return true;
    case Ficha::Digito: return c >= U'0' && c <= U'9';
    case Ficha::Conjunto: {
      bool dentro = false;
      for (const auto& [desde, hasta] : f.rangos) {
        if (c >= desde && c <= hasta) dentro = true;
        // Under text compare a letter of either case is in the set.
        if (texto) {
          const char32_t otras[] = {QChar::toLower(c), QChar::toUpper(c)};
          for (char32_t o : otras)
            if (o >= desde && o <= hasta) dentro = true;
        }
      }
      return dentro != f.negado;
    }
    case Ficha::Estrella: return false;
  }
  return false;
}

}  // namespace

bool Like(const QString& texto, const QString& patron, Comparacion comp) {
  const bool enTexto = comp == vbTextCompare;
  const std::vector<Ficha> p = fichas(patron, enTexto);
  const std::vector<char32_t> t = puntos(texto);
  // Greedy match that backs up to the last "*" on a mismatch; linear for
  // each "*", enough for the short patterns the program writes.
  std::size_t i = 0, j = 0, estrella = p.size(), marca = 0;
  while (i < t.size()) {
    if (j < p.size() && p[j].tipo == Ficha::Estrella) {
      estrella = j++;
      marca = i;
    } else if (j < p.size() && encaja(p[j], t[i], enTexto)) {
      ++i;
      ++j;
    } else if (estrella != p.size()) {
      j = estrella + 1;
      i = ++marca;
    } else {
      return false;
    }
  }
  while (j < p.size() && p[j].tipo == Ficha::Estrella) ++j;
  return j == p.size();
}

}  // namespace vb
