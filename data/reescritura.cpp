#include "data/reescritura.h"

#include <QByteArray>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "data/texto_sql.h"
#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/regional.h"
#include "suite/util_general.h"

namespace reescritura {

namespace {

// The keys are upper-case ASCII and match letters of either case, ASCII
// letters only. A text keeps a copy of itself with one byte a character, as
// the SQLite dialect does: ASCII with its letters in upper case, anything else
// 0x01, which no key holds. A key is a plain search in the copy, found at the
// same position as in the text.
constexpr std::array<char, 128> kMayusculas = [] {
  std::array<char, 128> r{};
  for (int c = 0; c < 128; ++c) r[c] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return r;
}();

char mayuscula(char16_t c) { return c < 0x80 ? kMayusculas[c] : '\x01'; }

// Whether `palabra` stands at p of `texto`, its letters in either case.
bool esta(QStringView texto, qsizetype p, std::string_view palabra) {
  if (p < 0 || p + static_cast<qsizetype>(palabra.size()) > texto.size()) return false;
  const char16_t* t = texto.utf16() + p;
  for (std::size_t j = 0; j < palabra.size(); ++j)
    if (mayuscula(t[j]) != palabra[j]) return false;
  return true;
}

// One change to a text: the `largo` characters at `donde` become `nuevo`
// (Latin-1, as the keys).
struct Cambio {
  qsizetype donde;
  qsizetype largo;
  std::string_view nuevo;
};
using Cambios = QVarLengthArray<Cambio, 32>;

qsizetype largoCon(qsizetype largo, const Cambios& cambios) {
  for (const Cambio& c : cambios) largo += static_cast<qsizetype>(c.nuevo.size()) - c.largo;
  return largo;
}

// `o`, n characters long, with the changes (left to right, apart) written to
// `d`, each character of a change as `letra` makes it.
template <class Caracter, class Letra>
void escribir(const Caracter* o, qsizetype n, const Cambios& cambios, Caracter* d, Letra letra) {
  qsizetype hecho = 0;
  for (const Cambio& c : cambios) {
    d = std::copy(o + hecho, o + c.donde, d);
    for (char x : c.nuevo) *d++ = letra(x);
    hecho = c.donde + c.largo;
  }
  std::copy(o + hecho, o + n, d);
}

QChar deLatin1(char x) { return QLatin1Char(x); }
char enCopia(char x) { return mayuscula(static_cast<unsigned char>(x)); }

// n long, keeping its memory when that is its own and large enough.
template <class Memoria>
void dimensionar(Memoria& m, qsizetype n) {
  if (!m.isDetached() || m.capacity() < n) {
    m = Memoria();
    m.reserve(n + n / 2);
  }
  m.resize(n);
}

// The words that tell whether a rule has anything to do and where it starts,
// looked for together in the pass that makes a text's copy. A word is
// compared only where its first two characters stand (a word of one
// character, wherever that stands), so most places cost two lookups.
template <std::size_t N>
class Palabras {
  static_assert(N < 32);

 public:
  // Where each word first stands, -1 where it does not.
  using Primeras = std::array<qsizetype, N>;

  constexpr explicit Palabras(const std::array<std::string_view, N>& palabras) : palabras_(palabras) {
    for (std::size_t k = 0; k < N; ++k) {
      const std::uint32_t bit = 1u << k;
      primera_[static_cast<unsigned char>(palabras_[k][0])] |= bit;
      if (palabras_[k].size() == 1) {
        for (std::uint32_t& s : segunda_) s |= bit;
      } else {
        segunda_[static_cast<unsigned char>(palabras_[k][1])] |= bit;
      }
    }
  }

  // Writes the copy of `texto` to `copia` and tells where the words stand.
  // utf16() ends the characters with a 0, taken as the one past the end,
  // where only a word of one character can stand.
  Primeras copiar(const QString& texto, char* copia) const {
    const char16_t* t = reinterpret_cast<const char16_t*>(texto.utf16());
    const qsizetype n = texto.size();
    Primeras primeras;
    primeras.fill(-1);
    std::uint32_t faltan = (1u << N) - 1;
    unsigned char letra = mayuscula(t[0]);
    for (qsizetype i = 0; i < n; ++i) {
      const unsigned char despues = mayuscula(t[i + 1]);
      copia[i] = static_cast<char>(letra);
      if (const std::uint32_t m = primera_[letra] & segunda_[despues] & faltan) faltan &= ~estan(texto, i, m, primeras);
      letra = despues;
    }
    return primeras;
  }

 private:
  // Which of the words in `candidatas`, whose first two characters stand at
  // p, are there whole; their places are noted.
  std::uint32_t estan(QStringView texto, qsizetype p, std::uint32_t candidatas, Primeras& primeras) const {
    std::uint32_t r = 0;
    for (std::uint32_t m = candidatas; m != 0; m &= m - 1) {
      const int k = std::countr_zero(m);
      if (esta(texto, p, palabras_[k])) {
        primeras[k] = p;
        r |= 1u << k;
      }
    }
    return r;
  }

  std::array<std::string_view, N> palabras_;
  std::array<std::uint32_t, 128> primera_{};
  std::array<std::uint32_t, 128> segunda_{};
};

class Texto {
 public:
  Texto() = default;
  explicit Texto(const QString& s) { fijar(s); }

  const QString& texto() const { return s_; }
  std::string_view copia() const { return {mayus_.constData(), static_cast<std::size_t>(mayus_.size())}; }

  // Whether `clave` is at position p.
  bool en(qsizetype p, std::string_view clave) const {
    return p >= 0 && p <= mayus_.size() && copia().substr(p).starts_with(clave);
  }

  // memchr takes the search to each place of the key's first character, and
  // the rest is compared there, where it mostly fails at once.
  qsizetype pos(std::string_view clave, qsizetype desde = 0) const {
    const char* c = mayus_.constData();
    const qsizetype n = mayus_.size(), m = static_cast<qsizetype>(clave.size());
    for (qsizetype p = std::max<qsizetype>(desde, 0); p + m <= n; ++p) {
      if (m == 0) return p;
      const void* primera = std::memchr(c + p, clave[0], static_cast<std::size_t>(n - m + 1 - p));
      if (primera == nullptr) return -1;
      p = static_cast<const char*>(primera) - c;
      std::size_t j = 1;
      while (j < clave.size() && c[p + j] == clave[j]) ++j;
      if (j == clave.size()) return p;
    }
    return -1;
  }
  bool tiene(std::string_view clave) const { return pos(clave) >= 0; }

  // Where to look for a word the scan found first at `primera`. Before the
  // first change since, the text is as scanned; so a word no replacement
  // writes is neither before its first place nor before that change.
  qsizetype desde(qsizetype primera) const { return std::min(primera, cambio_); }

  // Every occurrence of `clave` from `desde` on, left to right and without
  // overlaps, becomes `nuevo`; the copy changes alike.
  void reemplazar(std::string_view clave, std::string_view nuevo, qsizetype desde = 0) {
    const qsizetype largo = static_cast<qsizetype>(clave.size());
    Cambios cambios;
    for (qsizetype p = pos(clave, desde); p >= 0; p = pos(clave, p + largo)) cambios.append({p, largo, nuevo});
    reescribir(cambios);
  }

  // The changes (left to right, apart) made to the text and its copy. They
  // are written into the spare buffers, which then change places with the
  // text's, so that a statement's replacements share them.
  void reescribir(const Cambios& cambios) {
    if (cambios.isEmpty()) return;
    const qsizetype n = largoCon(s_.size(), cambios);
    dimensionar(otro_, n);
    dimensionar(otraCopia_, n);
    escribir(s_.constData(), s_.size(), cambios, otro_.data(), deLatin1);
    escribir(mayus_.constData(), mayus_.size(), cambios, otraCopia_.data(), enCopia);
    std::swap(s_, otro_);
    std::swap(mayus_, otraCopia_);
    cambio_ = std::min(cambio_, cambios.front().donde);
  }

  void fijar(const QString& s) {
    s_ = s;
    dimensionar(mayus_, s_.size());
    const char16_t* o = QStringView(s_).utf16();
    char* d = mayus_.data();
    for (qsizetype i = 0; i < s_.size(); ++i) d[i] = mayuscula(o[i]);
    cambio_ = 0;
  }
  // The text and its copy, with where the words of `palabras` stand, in one
  // pass.
  template <std::size_t N>
  typename Palabras<N>::Primeras fijar(const QString& s, const Palabras<N>& palabras) {
    s_ = s;
    dimensionar(mayus_, s_.size());
    cambio_ = s_.size();
    return palabras.copiar(s_, mayus_.data());
  }
  // A text built with its copy alongside, the same as before up to `desde`.
  void fijar(const QString& s, const QByteArray& copia, qsizetype desde) {
    s_ = s;
    mayus_ = copia;
    cambio_ = std::min(cambio_, desde);
  }

 private:
  QString s_;
  QByteArray mayus_;
  QString otro_;
  QByteArray otraCopia_;
  qsizetype cambio_ = 0;  // the first place changed since the words were looked for
};

struct Sinonimo {
  std::string_view tabla;
  std::string_view sinonimo;
};

constexpr std::array<Sinonimo, 7> kSinonimos = {{
    {"MA_CUENTAS", "SS_MA_CUENTAS"},
    {"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO"},
    {"MV_ASIENTOS", "SS_MV_ASIENTOS"},
    {"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS"},
    {"V_TA_CAJAS", "SS_V_TA_CAJAS"},
    {"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO"},
    {"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO"},
}};

// Context before and after the table name, in the order they are replaced.
constexpr std::array<std::pair<char, char>, 6> kContextos = {
    {{' ', ' '}, {'(', ' '}, {' ', '.'}, {'(', '.'}, {',', '.'}, {'{', '.'}}};

constexpr std::string_view kMarca = "@ADMIN_";

// The seven tables, then the marker, and where each has its first underscore.
constexpr std::size_t kPalabraMarca = kSinonimos.size();
constexpr std::array<std::string_view, kSinonimos.size() + 1> kPalabrasSinonimos = [] {
  std::array<std::string_view, kSinonimos.size() + 1> r{};
  for (std::size_t k = 0; k < kSinonimos.size(); ++k) r[k] = kSinonimos[k].tabla;
  r[kPalabraMarca] = kMarca;
  return r;
}();
constexpr std::array<qsizetype, kPalabrasSinonimos.size()> kRayas = [] {
  std::array<qsizetype, kPalabrasSinonimos.size()> r{};
  for (std::size_t k = 0; k < r.size(); ++k) r[k] = static_cast<qsizetype>(kPalabrasSinonimos[k].find('_'));
  return r;
}();

// Where a word stands in a statement, left to right.
using Lugares = QVarLengthArray<qsizetype, 32>;

// Where each of the words above stands in a statement. Each holds an
// underscore (a table's name as its second or third character, the marker as
// its last), so they are looked for only where one stands.
std::array<Lugares, kPalabrasSinonimos.size()> lugaresSinonimos(const QString& sql) {
  std::array<Lugares, kPalabrasSinonimos.size()> lugares;
  for (qsizetype raya = sql.indexOf(QLatin1Char('_')); raya >= 0; raya = sql.indexOf(QLatin1Char('_'), raya + 1))
    for (std::size_t k = 0; k < kPalabrasSinonimos.size(); ++k)
      if (esta(sql, raya - kRayas[k], kPalabrasSinonimos[k])) lugares[k].append(raya - kRayas[k]);
  return lugares;
}

// The contexts of table k, in order: each points the name it surrounds at the
// synonym, left to right and without overlaps. A context keeps its two
// characters, so the places one took leave the later ones seeing what they
// would have seen; the places are tried in turn and the synonyms written once.
void elegirContextos(const QString& sql, std::size_t k, const Lugares& lugares, Cambios& cambios) {
  const Sinonimo& s = kSinonimos[k];
  const qsizetype n = static_cast<qsizetype>(s.tabla.size());
  const auto es = [&](qsizetype p, char c) { return p >= 0 && p < sql.size() && sql[p] == QLatin1Char(c); };
  QVarLengthArray<bool, 32> tomado(lugares.size(), false);
  // The brace form is the report-formula one, written only for MA_CUENTAS.
  const std::size_t contextos = k == 0 ? kContextos.size() : kContextos.size() - 1;
  for (std::size_t i = 0; i < contextos; ++i) {
    const auto [antes, despues] = kContextos[i];
    qsizetype libre = 0;  // past the `despues` of the last place this context took
    for (qsizetype j = 0; j < lugares.size(); ++j) {
      const qsizetype q = lugares[j];
      if (!tomado[j] && q - 1 >= libre && es(q - 1, antes) && es(q + n, despues)) {
        tomado[j] = true;
        libre = q + n + 1;
      }
    }
  }
  for (qsizetype j = 0; j < lugares.size(); ++j)
    if (tomado[j]) cambios.append({lugares[j], n, s.sinonimo});
}

}  // namespace

QString SS_TSinonimos(const QString& sql, bool esAdmin) {
  const auto lugares = lugaresSinonimos(sql);
  // Everything is decided on the statement as given. A synonym keeps what
  // stands either side of its table, holds no marker and makes no other
  // table's name, and a marker is never a table's context: so each table sees
  // what it would after those before it, the marked MA_CUENTAS written
  // unmarked after its own contexts, and every other marker gone at the end.
  Cambios cambios;
  const qsizetype marca = static_cast<qsizetype>(kMarca.size());
  const std::string_view cuentas = kSinonimos[0].tabla;
  for (qsizetype q : lugares[kPalabraMarca]) {
    if (!esAdmin && esta(sql, q + marca, cuentas))
      cambios.append({q, marca + static_cast<qsizetype>(cuentas.size()), cuentas});
    else
      cambios.append({q, marca, ""});
  }
  if (!esAdmin)
    for (std::size_t k = 0; k < kSinonimos.size(); ++k) elegirContextos(sql, k, lugares[k], cambios);
  if (cambios.isEmpty()) return sql;
  std::sort(cambios.begin(), cambios.end(), [](const Cambio& a, const Cambio& b) { return a.donde < b.donde; });
  QString r(largoCon(sql.size(), cambios), Qt::Uninitialized);
  escribir(sql.constData(), sql.size(), cambios, r.data(), deLatin1);
  return r;
}

namespace {

// The words of the Oracle dialect's rules, in the order of the rules.
enum PalabraOracle {
  kTopBlanco,
  kTop,
  kGroupBy,
  kOrderBy,
  kWhereEntreBlancos,
  kLen,
  kAbreCorchete,
  kCierraCorchete,
  kComilla,
  kToDate,
  kCharindex,
  kConvert,
  kWhere,
  kVacio,
  kEstilo,
  kSubstring,
  kIsnull,
  kPalabrasOracle
};
constexpr Palabras<kPalabrasOracle> kPalabrasDialecto({"TOP ", "TOP", " GROUP BY ", "ORDER BY ", " WHERE ", " LEN", "[",
                                                       "]", "'", "TO_DATE(", "CHARINDEX", "CONVERT(", "WHERE ", "''",
                                                       "103", "SUBSTRING(", "ISNULL("});
using Primeras = Palabras<kPalabrasOracle>::Primeras;

// Step 1: SQL Server's "TOP n" becomes a ROWNUM condition placed before any
// GROUP BY or ORDER BY.
QString limiteFilas(const QString& valor, const Primeras& hay) {
  const qsizetype p = hay[kTop];
  const QString antes = valor.left(p);
  const QString resto = db_texto::recortar(valor.mid(p + 3));
  const qsizetype blanco = resto.indexOf(QLatin1Char(' '));
  const QString n = blanco < 0 ? resto : resto.left(blanco);
  QString cuerpo = blanco < 0 ? QString() : resto.mid(blanco + 1);
  QString grupo, orden;
  if (hay[kGroupBy] >= 0) {
    grupo = valor.mid(hay[kGroupBy]);
  } else if (hay[kOrderBy] >= 0) {
    orden = valor.mid(hay[kOrderBy]);
  }
  const QString condicion =
      (hay[kWhereEntreBlancos] >= 0 ? QStringLiteral(" AND ROWNUM <= ") : QStringLiteral(" WHERE ROWNUM <= ")) + n;
  cuerpo = db_texto::reemplazar(cuerpo, db_texto::recortar(grupo), QStringLiteral(" "));
  cuerpo = db_texto::reemplazar(cuerpo, db_texto::recortar(orden), QStringLiteral(" "));
  return antes + QLatin1Char(' ') + cuerpo + QLatin1Char(' ') + condicion + QLatin1Char(' ') + grupo +
         QLatin1Char(' ') + orden;
}

// Step 2: LEN followed by up to four blanks and a parenthesis becomes
// LENGTH(, from `desde` on.
void longitudes(Texto& t, qsizetype desde) {
  Cambios cambios;
  for (qsizetype p = t.pos(" LEN", desde); p >= 0; p = t.pos(" LEN", p + 4)) {
    qsizetype parentesis = p + 4;
    while (parentesis < p + 8 && t.en(parentesis, " ")) ++parentesis;
    if (t.en(parentesis, "(")) cambios.append({p, parentesis + 1 - p, " LENGTH("});
  }
  t.reescribir(cambios);
}

bool puedeSerFecha(QStringView literal, QChar separador) {
  // Every date or time the regional reader accepts holds a digit and a
  // separator; most literals (names, codes) are turned away without parsing.
  bool digito = false, separa = false;
  for (QChar c : literal) {
    if (c.isDigit())
      digito = true;
    else if (c == u'/' || c == u'-' || c == u':' || c == separador)
      separa = true;
  }
  return digito && separa;
}

// TO_DATE('dd/mm/yyyy','DD/MM/YYYY'), the date written with the regional
// separator, onto a text and its copy. True when the date holds 103.
bool anadirToDate(QString& r, QByteArray& copia, QDate d, QChar separador) {
  const auto cifra = [](int n) { return static_cast<char16_t>(u'0' + n % 10); };
  const char16_t sep = separador.unicode();
  const int dia = d.day(), mes = d.month(), anio = d.year();
  const char16_t digitos[] = {
      cifra(dia / 10),   cifra(dia),       sep,        cifra(mes / 10), cifra(mes), sep, cifra(anio / 1000),
      cifra(anio / 100), cifra(anio / 10), cifra(anio)};
  const QStringView fecha(digitos, std::size(digitos));
  r.append(QLatin1StringView("TO_DATE('")).append(fecha).append(QLatin1StringView("','DD/MM/YYYY')"));
  copia.append("TO_DATE('");
  for (QChar c : fecha) copia.append(mayuscula(c.unicode()));
  copia.append("','DD/MM/YYYY')");
  return fecha.contains(QLatin1StringView("103"));
}

// Step 4: quoted literals that read as dates become TO_DATE calls. Pairs are
// taken left to right; a quote without a partner is error 5. `conToDate`: the
// statement held TO_DATE( before, which a literal may have been inside. True
// when some date written holds 103 (a year 1030 or 2103, say).
bool literalesFecha(Texto& t, bool conToDate) {
  const QString& s = t.texto();
  qsizetype abre = s.indexOf(QLatin1Char('\''));
  QString r;
  QByteArray copia;
  qsizetype hecho = 0, primera = -1;
  bool estilo = false;
  const QChar sep = vb::regional().separadorFecha;
  while (abre >= 0) {
    const qsizetype cierra = s.indexOf(QLatin1Char('\''), abre + 1);
    if (cierra < 0) throw vb::Error(vb::kInvalidProcedureCall);
    const QStringView literal = QStringView(s).mid(abre + 1, cierra - abre - 1);
    if (puedeSerFecha(literal, sep)) {
      if (const auto fecha = vb::leerFecha(literal.toString())) {
        if (primera < 0) {
          primera = abre;
          r.reserve(s.size() + 64);
          copia.reserve(s.size() + 64);
        }
        r.append(QStringView(s).mid(hecho, abre - hecho));
        copia.append(t.copia().data() + hecho, abre - hecho);
        estilo = anadirToDate(r, copia, fecha->date(), sep) || estilo;
        hecho = cierra + 1;
      }
    }
    abre = s.indexOf(QLatin1Char('\''), cierra + 1);
  }
  if (primera < 0) return false;
  r.append(QStringView(s).mid(hecho));
  copia.append(t.copia().data() + hecho, s.size() - hecho);
  t.fijar(r, copia, primera);
  // A literal already inside TO_DATE( ... ,'DD/MM/YYYY') was wrapped twice.
  while (conToDate && t.tiene("TO_DATE(TO_DATE(")) {
    t.reemplazar("TO_DATE(TO_DATE(", "TO_DATE(");
    t.reemplazar("'DD/MM/YYYY'),'DD/MM/YYYY')", "'DD/MM/YYYY')");
  }
  return estilo;
}

// Step 8: style 103 of a converted date becomes Oracle's format mask, but
// only inside TO_CHAR( ... ).
void estiloFecha(Texto& t, qsizetype desde) {
  qsizetype p = t.pos("103", desde);
  while (p >= 0) {
    const qsizetype parentesis = t.texto().lastIndexOf(QLatin1Char('('), p);
    if (parentesis >= 7 && t.en(parentesis - 7, "TO_CHAR(")) t.reescribir(Cambios{{p, 3, "'DD/MM/YYYY'"}});
    p = t.pos("103", p + 3);
  }
}

// Two runs of non-blank characters: more than one word for EvaluarTexto too.
// Statements are decided here; the library, much slower, sees single words.
bool variasPalabras(const QString& s) {
  int palabras = 0;
  bool enPalabra = false;
  for (QChar c : s) {
    const bool blanco = c.isSpace();
    if (!blanco && !enPalabra && ++palabras > 1) return true;
    enPalabra = !blanco;
  }
  return false;
}

// ORACLE anywhere in the connection string, in either case. ASCII letters are
// enough: no other character folds to these six.
bool nombraOracle(const QString& conexion) {
  for (qsizetype i = 0; i + 6 <= conexion.size(); ++i)
    if (esta(conexion, i, "ORACLE")) return true;
  return false;
}

}  // namespace

QString ORACLE_Dicc(const QString& valor, const QString& connString) {
  if (!nombraOracle(connString)) return valor;
  if (!variasPalabras(valor) && ZepaKit2::util().EvaluarTexto(valor) <= 1)
    return db_texto::iguales(valor, QStringLiteral("LEN")) ? QStringLiteral("LENGTH") : valor;

  // Each rule runs only where its word was found, and looks for it from
  // there. No replacement below writes a word a later rule looks for (none
  // can start, end or lie in what it puts in), so the places found hold until
  // the row limit builds the statement anew.
  Texto t;
  Primeras hay = t.fijar(valor, kPalabrasDialecto);
  if (hay[kTopBlanco] >= 0) hay = t.fijar(limiteFilas(t.texto(), hay), kPalabrasDialecto);
  const auto desde = [&](PalabraOracle k) { return t.desde(hay[k]); };
  if (hay[kLen] >= 0) longitudes(t, desde(kLen));
  if (hay[kAbreCorchete] >= 0) t.reemplazar("[", "\"", desde(kAbreCorchete));
  if (hay[kCierraCorchete] >= 0) t.reemplazar("]", "\"", desde(kCierraCorchete));
  // A date written anew may hold 103; no other word.
  if (hay[kComilla] >= 0 && literalesFecha(t, hay[kToDate] >= 0)) hay[kEstilo] = 0;
  if (hay[kCharindex] >= 0) t.reemplazar("CHARINDEX", "InStr", desde(kCharindex));
  if (hay[kConvert] >= 0) {
    t.reemplazar("CONVERT(NVARCHAR,", "TO_CHAR(", desde(kConvert));
    t.reemplazar("CONVERT(INT,", "TO_NUMBER(", desde(kConvert));
  }
  if (hay[kWhere] >= 0 && hay[kVacio] >= 0) {
    const qsizetype where = t.pos("WHERE ", desde(kWhere));
    if (where >= 0 && t.pos("''", where) >= 0) {
      t.reemplazar("= ''", " IS NULL ", where);
      t.reemplazar("=''", " IS NULL ", where);
    }
  }
  if (hay[kEstilo] >= 0) estiloFecha(t, desde(kEstilo));
  if (hay[kSubstring] >= 0) t.reemplazar("SUBSTRING(", "SUBSTR(", desde(kSubstring));
  if (hay[kIsnull] >= 0) t.reemplazar("ISNULL(", "NVL(", desde(kIsnull));
  return t.texto();
}

QString DescartaSentenciaSQLServer(QString& sentencia) {
  if (db_texto::contiene(sentencia, QStringLiteral("SET NOCOUNT")) ||
      db_texto::contiene(sentencia, QStringLiteral("IF NOT EXIST")))
    sentencia.clear();
  return sentencia;
}

namespace {

// In order: the long forms of the transaction words before the short ones.
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kLimpiezaScript = {{
    {"SET NOCOUNT ON", ""},
    {"SET NOCOUNT OFF", ""},
    {" GO ", " "},
    {"\r\nGO ", " "},
    {"\r\nGO\r\n", " "},
    {"\r", " "},
    {"BEGIN TRANSACTION", "SET TRANSACTION"},
    {"BEGIN TRANS", "SET TRANSACTION"},
    {"COMMIT TRANSACTION", "COMMIT"},
    {"COMMIT TRANS", "COMMIT"},
    {"ROLLBACK TRANSACTION", "ROLLBACK"},
    {"ROLLBACK TRANS", "ROLLBACK"},
}};

}  // namespace

QString limpiarScript(const QString& script) {
  Texto t(script);
  for (const auto& [clave, nuevo] : kLimpiezaScript) t.reemplazar(clave, nuevo);
  return t.texto();
}

namespace {

constexpr std::array<std::string_view, 12> kPalabrasScript = {"INSERT ",  "DELETE ",      "UPDATE ",         "CREATE ",
                                                              "DROP ",    "ALTER ",       "SET TRANSACTION", "COMMIT",
                                                              "ROLLBACK", "IF NOT EXIST", "IF EXIST",        "GRANT "};

qsizetype primeraPalabra(const Texto& t, qsizetype desde) {
  qsizetype mejor = -1;
  for (std::string_view palabra : kPalabrasScript) {
    const qsizetype p = t.pos(palabra, desde);
    if (p >= 0 && (mejor < 0 || p < mejor)) mejor = p;
  }
  return mejor;
}

}  // namespace

bool siguienteSentencia(const QString& script, qsizetype& desde, QString& sentencia) {
  const Texto t(script);
  const qsizetype inicio = primeraPalabra(t, desde);
  if (inicio < 0) {
    desde = script.size();
    return false;
  }
  qsizetype fin = primeraPalabra(t, inicio + 1);
  if (fin < 0) fin = script.size();
  sentencia = script.mid(inicio, fin - inicio);
  desde = fin;
  return true;
}

}  // namespace reescritura
