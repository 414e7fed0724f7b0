#include "platform/ado/dialecto.h"

#include <QByteArray>
#include <QDate>
#include <QTime>
#include <vector>

namespace ado::dialecto {

namespace {

enum class Clase { Espacio, Palabra, Numero, Texto, Nombre, Fecha, Comentario, Simbolo };

struct Pieza {
  Clase clase;
  QString texto;
};

bool inicioPalabra(QChar c) { return c.isLetter() || c == u'_' || c == u'@'; }
bool dePalabra(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'$'; }

// Cuts the text into pieces; quoted texts, quoted names, #dates# and
// comments are whole pieces, so that no rule looks inside them. The pieces
// point into s, which must outlive them (each rule's own argument does); a
// piece a rule changes gets its own text.
std::vector<Pieza> trocear(const QString& s) {
  std::vector<Pieza> r;
  const qsizetype n = s.size();
  qsizetype i = 0;
  auto hasta = [&](qsizetype fin, Clase c) {
    r.push_back({c, QString::fromRawData(s.constData() + i, fin - i)});
    i = fin;
  };
  while (i < n) {
    const QChar c = s[i];
    qsizetype j = i + 1;
    if (c.isSpace()) {
      while (j < n && s[j].isSpace()) ++j;
      hasta(j, Clase::Espacio);
    } else if (c == u'\'' || c == u'"') {
      while (j < n) {
        if (s[j] == c) {
          if (j + 1 < n && s[j + 1] == c) {
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        ++j;
      }
      hasta(j, c == u'\'' ? Clase::Texto : Clase::Nombre);
    } else if (c == u'[') {
      while (j < n && s[j] != u']') ++j;
      hasta(j < n ? j + 1 : n, Clase::Nombre);
    } else if (c == u'#') {
      const qsizetype cierre = s.indexOf(u'#', j);
      if (cierre > j && cierre - j <= 40 && !QStringView(s).mid(j, cierre - j).contains(u'\n'))
        hasta(cierre + 1, Clase::Fecha);
      else
        hasta(j, Clase::Simbolo);
    } else if (c == u'-' && j < n && s[j] == u'-') {
      while (j < n && s[j] != u'\n') ++j;
      hasta(j, Clase::Comentario);
    } else if (c == u'/' && j < n && s[j] == u'*') {
      const qsizetype cierre = s.indexOf(QLatin1String("*/"), j + 1);
      hasta(cierre < 0 ? n : cierre + 2, Clase::Comentario);
    } else if (c.isDigit() || (c == u'.' && j < n && s[j].isDigit())) {
      while (j < n && (s[j].isLetterOrNumber() || s[j] == u'.')) ++j;
      hasta(j, Clase::Numero);
    } else if (inicioPalabra(c)) {
      while (j < n && dePalabra(s[j])) ++j;
      hasta(j, Clase::Palabra);
    } else {
      hasta(j, Clase::Simbolo);
    }
  }
  return r;
}

QString unir(const std::vector<Pieza>& p) {
  qsizetype n = 0;
  for (const auto& x : p) n += x.texto.size();
  QString r;
  r.reserve(n);
  for (const auto& x : p) r += x.texto;
  return r;
}

bool es(const Pieza& p, const char* palabra) {
  return p.clase == Clase::Palabra && p.texto.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0;
}
bool simbolo(const Pieza& p, char16_t c) { return p.clase == Clase::Simbolo && p.texto.size() == 1 && p.texto[0] == c; }

// The next piece that is not a blank or a comment, or p.size().
size_t siguiente(const std::vector<Pieza>& p, size_t i) {
  while (i < p.size() && (p[i].clase == Clase::Espacio || p[i].clase == Clase::Comentario)) ++i;
  return i;
}

// The ")" that closes the "(" at `abre`, or p.size().
size_t cierreDe(const std::vector<Pieza>& p, size_t abre) {
  int nivel = 0;
  for (size_t k = abre; k < p.size(); ++k) {
    if (simbolo(p[k], u'('))
      ++nivel;
    else if (simbolo(p[k], u')') && --nivel == 0)
      return k;
  }
  return p.size();
}

bool esNombreDbo(const Pieza& p) {
  if (p.clase == Clase::Palabra) return p.texto.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0;
  if (p.clase == Clase::Nombre && p.texto.size() == 5)
    return p.texto.mid(1, 3).compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0;
  return false;
}

// A function name followed by "(" (blanks between allowed); the "(" position or 0.
size_t llamada(const std::vector<Pieza>& p, size_t i, const char* nombre) {
  if (!es(p[i], nombre)) return 0;
  if (i > 0 && simbolo(p[i - 1], u'.')) return 0;  // a column named so, written table.column
  const size_t k = siguiente(p, i + 1);
  return k < p.size() && simbolo(p[k], u'(') ? k : 0;
}

bool esTipoTexto(const QString& tipo) {
  static const char* const nombres[] = {"CHAR", "VARCHAR", "NCHAR",     "NVARCHAR",
                                        "TEXT", "NTEXT",   "CHARACTER", "VARCHAR2"};
  for (const char* n : nombres)
    if (tipo.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) return true;
  return false;
}

int dosCifras(QStringView s) {
  bool ok = false;
  const int v = s.toInt(&ok);
  return ok ? v : -1;
}

}  // namespace

QString fechaIso(QStringView literal) {
  QStringView t = literal.trimmed();
  QStringView parteFecha = t, parteHora;
  const qsizetype blanco = t.indexOf(u' ');
  if (blanco > 0) {
    parteFecha = t.left(blanco);
    parteHora = t.mid(blanco + 1).trimmed();
  }
  int a = -1, m = -1, d = -1;
  const QChar sep = parteFecha.contains(u'/') ? u'/' : u'-';
  const auto trozos = parteFecha.split(sep);
  if (trozos.size() != 3) return {};
  if (trozos[0].size() == 4) {
    a = dosCifras(trozos[0]);
    m = dosCifras(trozos[1]);
    d = dosCifras(trozos[2]);
  } else {
    m = dosCifras(trozos[0]);
    d = dosCifras(trozos[1]);
    a = dosCifras(trozos[2]);
    if (m > 12 && d >= 1 && d <= 12) std::swap(m, d);
    if (trozos[2].size() <= 2 && a >= 0) a += a < 30 ? 2000 : 1900;
  }
  const QDate fecha(a, m, d);
  if (!fecha.isValid()) return {};
  QTime hora(0, 0, 0);
  if (!parteHora.isEmpty()) {
    QStringView h = parteHora;
    bool pm = false, am = false;
    if (h.endsWith(u"PM", Qt::CaseInsensitive)) {
      pm = true;
      h = h.chopped(2).trimmed();
    } else if (h.endsWith(u"AM", Qt::CaseInsensitive)) {
      am = true;
      h = h.chopped(2).trimmed();
    }
    const auto hms = h.split(u':');
    if (hms.size() < 2 || hms.size() > 3) return {};
    int hh = dosCifras(hms[0]);
    const int mm = dosCifras(hms[1]);
    const int ss = hms.size() == 3 ? dosCifras(hms[2]) : 0;
    if ((am || pm) && (hh < 1 || hh > 12)) return {};
    if (pm && hh < 12) hh += 12;
    if (am && hh == 12) hh = 0;
    hora = QTime(hh, mm, ss);
    if (!hora.isValid()) return {};
  }
  return fecha.toString(QStringLiteral("yyyy-MM-dd")) + u' ' + hora.toString(QStringLiteral("HH:mm:ss"));
}

QString adaptarTop(const QString& sql) {
  auto p = trocear(sql);
  for (size_t i = 0; i < p.size(); ++i) {
    if (!es(p[i], "SELECT")) continue;
    size_t k = siguiente(p, i + 1);
    if (k < p.size() && (es(p[k], "DISTINCT") || es(p[k], "ALL"))) k = siguiente(p, k + 1);
    if (k >= p.size() || !es(p[k], "TOP")) continue;
    size_t num = siguiente(p, k + 1);
    size_t ultimo = num;  // last piece of the row count
    if (num < p.size() && simbolo(p[num], u'(')) {
      const size_t dentro = siguiente(p, num + 1);
      const size_t cierre = siguiente(p, dentro + 1);
      if (dentro >= p.size() || p[dentro].clase != Clase::Numero || cierre >= p.size() || !simbolo(p[cierre], u')'))
        continue;
      ultimo = cierre;
      num = dentro;
    }
    if (num >= p.size() || p[num].clase != Clase::Numero) continue;
    const size_t despues = siguiente(p, ultimo + 1);
    if (despues < p.size() && (es(p[despues], "PERCENT") || es(p[despues], "WITH")))
      continue;  // left for SQLite to refuse
    const QString filas = p[num].texto;
    // Drop "TOP n" and the blanks after it ("TOP 1  *" included).
    for (size_t x = k; x < despues; ++x) p[x].texto.clear();
    // The end of this SELECT: its closing parenthesis, a ";" or the end.
    int nivel = 0;
    size_t fin = p.size();
    for (size_t x = despues; x < p.size(); ++x) {
      if (simbolo(p[x], u'('))
        ++nivel;
      else if (simbolo(p[x], u')') && --nivel < 0) {
        fin = x;
        break;
      } else if (simbolo(p[x], u';') && nivel == 0) {
        fin = x;
        break;
      }
    }
    size_t antes = fin;
    while (antes > despues && (p[antes - 1].clase == Clase::Espacio || p[antes - 1].texto.isEmpty())) --antes;
    p.insert(p.begin() + static_cast<std::ptrdiff_t>(antes), Pieza{Clase::Simbolo, QStringLiteral(" LIMIT ") + filas});
  }
  return unir(p);
}

QString adaptarFechas(const QString& sql) {
  auto p = trocear(sql);
  for (auto& x : p) {
    if (x.clase != Clase::Fecha) continue;
    const QString iso = fechaIso(QStringView(x.texto).mid(1, x.texto.size() - 2));
    if (!iso.isEmpty()) x.texto = u'\'' + iso + u'\'';
  }
  return unir(p);
}

QString quitarDbo(const QString& sql) {
  auto p = trocear(sql);
  for (size_t i = 0; i + 1 < p.size(); ++i) {
    if (esNombreDbo(p[i]) && simbolo(p[i + 1], u'.') && !(i > 0 && simbolo(p[i - 1], u'.'))) {
      p[i].texto.clear();
      p[i + 1].texto.clear();
    }
  }
  return unir(p);
}

QString adaptarIsNull(const QString& sql) {
  auto p = trocear(sql);
  for (size_t i = 0; i < p.size(); ++i)
    if (llamada(p, i, "ISNULL")) p[i].texto = QStringLiteral("IFNULL");
  return unir(p);
}

QString adaptarLen(const QString& sql) {
  auto p = trocear(sql);
  for (size_t i = 0; i < p.size(); ++i) {
    const size_t abre = llamada(p, i, "LEN");
    if (!abre) continue;
    const size_t cierra = cierreDe(p, abre);
    if (cierra >= p.size()) continue;  // unbalanced: SQLite will say so
    p[i].texto = QStringLiteral("LENGTH");
    p[abre].texto = QStringLiteral("(RTRIM(");
    p[cierra].texto = QStringLiteral("))");
  }
  return unir(p);
}

QString adaptarAlterTableAdd(const QString& sql) {
  auto p = trocear(sql);
  QString r;
  size_t hecho = 0;  // pieces before this are already in r
  for (size_t i = 0; i < p.size(); ++i) {
    if (!es(p[i], "ALTER")) continue;
    const size_t t = siguiente(p, i + 1);
    if (t >= p.size() || !es(p[t], "TABLE")) continue;
    // The table name, possibly owner.name.
    size_t nombreIni = siguiente(p, t + 1), nombreFin = nombreIni;
    while (nombreFin < p.size() &&
           (p[nombreFin].clase == Clase::Palabra || p[nombreFin].clase == Clase::Nombre || simbolo(p[nombreFin], u'.')))
      ++nombreFin;
    const size_t add = siguiente(p, nombreFin);
    if (add >= p.size() || !es(p[add], "ADD")) continue;
    const size_t primero = siguiente(p, add + 1);
    if (primero >= p.size() || es(p[primero], "COLUMN") || es(p[primero], "CONSTRAINT") || es(p[primero], "PRIMARY") ||
        es(p[primero], "UNIQUE") || es(p[primero], "FOREIGN") || es(p[primero], "CHECK"))
      continue;
    QString tabla;
    for (size_t x = nombreIni; x < nombreFin; ++x) tabla += p[x].texto;
    // The column definitions, split at commas outside parentheses, up to ";" or the end.
    std::vector<std::vector<Pieza>> columnas(1);
    int nivel = 0;
    size_t fin = primero;
    for (; fin < p.size(); ++fin) {
      if (simbolo(p[fin], u'('))
        ++nivel;
      else if (simbolo(p[fin], u')'))
        --nivel;
      else if (nivel == 0 && simbolo(p[fin], u';'))
        break;
      if (nivel == 0 && simbolo(p[fin], u',')) {
        columnas.emplace_back();
        continue;
      }
      columnas.back().push_back(p[fin]);
    }
    for (size_t x = hecho; x < i; ++x) r += p[x].texto;
    QStringList sentencias;
    for (auto& c : columnas) {
      // name, type, then "(n)" when present: a text type gets the server's case-insensitive comparison.
      size_t nom = siguiente(c, 0);
      size_t tipo = siguiente(c, nom + 1);
      if (tipo < c.size() && esTipoTexto(c[tipo].texto)) {
        bool tieneCollate = false;
        for (const auto& x : c) tieneCollate = tieneCollate || es(x, "COLLATE");
        size_t tras = tipo + 1;
        const size_t abre = siguiente(c, tras);
        if (abre < c.size() && simbolo(c[abre], u'(')) tras = cierreDe(c, abre) + 1;
        if (!tieneCollate && tras <= c.size())
          c.insert(c.begin() + static_cast<std::ptrdiff_t>(tras),
                   Pieza{Clase::Palabra, QStringLiteral(" COLLATE NOCASE")});
      }
      QString def = unir(c);
      // Keep the column text as written, trailing blanks included, minus leading blanks.
      qsizetype lead = 0;
      while (lead < def.size() && def[lead].isSpace()) ++lead;
      sentencias << QStringLiteral("ALTER TABLE ") + tabla + QStringLiteral(" ADD COLUMN ") + def.mid(lead);
    }
    r += sentencias.join(u';');
    hecho = fin;
    i = fin;
  }
  for (size_t x = hecho; x < p.size(); ++x) r += p[x].texto;
  return r;
}

QString adaptarLogicos(const QString& sql) {
  auto p = trocear(sql);
  for (size_t i = 0; i < p.size(); ++i) {
    const bool verdadero = es(p[i], "TRUE");
    if (!verdadero && !es(p[i], "FALSE")) continue;
    if (i > 0 && simbolo(p[i - 1], u'.')) continue;
    const size_t k = siguiente(p, i + 1);
    if (k < p.size() && (simbolo(p[k], u'(') || simbolo(p[k], u'.'))) continue;
    p[i].texto = verdadero ? QStringLiteral("1") : QStringLiteral("0");
  }
  return unir(p);
}

QString adaptarComparaciones(const QString& sql) {
  auto p = trocear(sql);
  bool entreBetween = false;
  for (size_t i = 0; i < p.size(); ++i) {
    if (es(p[i], "BETWEEN")) entreBetween = true;
    // A "?" mark is compared as the text it may stand for would be.
    if (p[i].clase != Clase::Texto && !simbolo(p[i], u'?')) continue;
    size_t antes = i;
    while (antes > 0 && (p[antes - 1].clase == Clase::Espacio || p[antes - 1].clase == Clase::Comentario)) --antes;
    if (antes == 0) continue;
    const Pieza& previa = p[antes - 1];
    const bool operador = simbolo(previa, u'=') || simbolo(previa, u'<') || simbolo(previa, u'>');
    const bool rango = es(previa, "BETWEEN") || (entreBetween && es(previa, "AND"));
    if (!operador && !rango) continue;
    if (es(previa, "AND")) entreBetween = false;
    const size_t despues = siguiente(p, i + 1);
    if (despues < p.size() && es(p[despues], "COLLATE")) continue;
    p[i].texto += QStringLiteral(" COLLATE NOCASE");
  }
  return unir(p);
}

QString quitarPrefijoN(const QString& sql) {
  auto p = trocear(sql);
  for (size_t i = 0; i + 1 < p.size(); ++i)
    if (p[i].clase == Clase::Palabra && p[i].texto.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0 &&
        p[i + 1].clase == Clase::Texto)
      p[i].texto.clear();
  return unir(p);
}

QString adaptarParaSqlite(const QString& sql) {
  // Names first (dbo.), then expressions, then the statement shapes. A rule
  // whose word, mark or quote is nowhere in the text would give it back as it
  // is, so it is not run: most statements need one rule or none. The words
  // are looked for in an upper-case ASCII copy of the text, made once per
  // rule that changes it.
  QByteArray mayusculas;
  auto copiar = [&mayusculas](const QString& r) {
    mayusculas.resize(r.size());
    for (qsizetype i = 0; i < r.size(); ++i) {
      const char16_t c = r[i].unicode();
      mayusculas[i] = c >= u'a' && c <= u'z' ? char(c - 32) : c < 0x80 ? char(c) : '\x01';
    }
  };
  auto tiene = [&mayusculas](const char* marca) { return mayusculas.contains(marca); };
  QString r = sql;
  copiar(r);
  auto aplicar = [&](bool hace, QString (*regla)(const QString&)) {
    if (!hace) return;
    const QString nuevo = regla(r);
    if (nuevo == r) return;
    r = nuevo;
    copiar(r);
  };
  aplicar(tiene("N'"), quitarPrefijoN);
  aplicar(tiene("DBO"), quitarDbo);
  aplicar(tiene("#"), adaptarFechas);
  aplicar(tiene("TRUE") || tiene("FALSE"), adaptarLogicos);
  aplicar(tiene("ISNULL"), adaptarIsNull);
  aplicar(tiene("LEN"), adaptarLen);
  aplicar(tiene("TOP"), adaptarTop);
  aplicar(tiene("ALTER"), adaptarAlterTableAdd);
  aplicar(tiene("'") || tiene("?"), adaptarComparaciones);
  return r;
}

}  // namespace ado::dialecto
