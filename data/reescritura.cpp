#include "data/reescritura.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "suite/util_general.h"
#include "data/texto_sql.h"
#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/regional.h"

namespace reescritura {

namespace {

// Every statement the program reads passes through here, so the fixed keys
// (upper-case ASCII) are matched by hand, folding ASCII letters only:
// non-ASCII characters never equal an ASCII key.
inline bool igualLetra(char16_t t, char16_t c) { return t == c || (c >= u'A' && c <= u'Z' && t == c + 32); }

// A character as the pair table keys it: ASCII folded to upper case, and
// DEL for every other character. No key holds DEL, so the pairs a non-ASCII
// character is in are marked harmlessly, and the marking needs no test.
constexpr std::array<unsigned char, 128> kPliegue = [] {
  std::array<unsigned char, 128> r{};
  for (unsigned c = 0; c < 128; ++c) r[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return r;
}();
inline unsigned pliegue(char16_t u) { return kPliegue[u < 128 ? u : 127]; }

// The positions i in [desde, hasta) where d[i] is `a` or `b`, in order, until
// `probar` accepts one: that one, or -1. Eight characters are compared at a
// time; a position is offered only where one of the two is.
template <class Probar>
qsizetype primeraQue(const char16_t* d, qsizetype desde, qsizetype hasta, char16_t a, char16_t b, Probar&& probar) {
  qsizetype i = desde;
#ifdef __SSE2__
  const __m128i va = _mm_set1_epi16(static_cast<short>(a));
  const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
  for (; i + 8 <= hasta; i += 8) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    // Two bits for each character that is one of them.
    unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(x, va), _mm_cmpeq_epi16(x, vb))));
    while (bits != 0) {
      const int bit = __builtin_ctz(bits);
      if (probar(i + bit / 2)) return i + bit / 2;
      bits &= ~(3u << bit);
    }
  }
#endif
  for (; i < hasta; ++i)
    if ((d[i] == a || d[i] == b) && probar(i)) return i;
  return -1;
}

// Whether the upper-case ASCII `clave` is at position p of `s`.
bool claveEn(QStringView s, qsizetype p, QLatin1StringView clave) {
  if (p < 0 || p + clave.size() > s.size()) return false;
  const auto* d = reinterpret_cast<const char16_t*>(s.data());
  for (qsizetype j = 0; j < clave.size(); ++j)
    if (!igualLetra(d[p + j], static_cast<unsigned char>(clave.data()[j]))) return false;
  return true;
}

// The character to look for first: the rarest-looking one of the key that
// folds to itself, so that one comparison per character turns most away.
// Lower is rarer in SQL text; 0 means a letter (it has two forms).
constexpr std::array<unsigned char, 128> kRango = [] {
  std::array<unsigned char, 128> r{};
  const char* raras = "[]{}@#'=,()_.0123456789 ";
  for (unsigned char i = 0; raras[i]; ++i) r[static_cast<unsigned char>(raras[i])] = static_cast<unsigned char>(i + 1);
  return r;
}();
qsizetype ancla(QLatin1StringView clave) {
  qsizetype mejor = -1;
  unsigned rango = 255;
  for (qsizetype i = 0; i < clave.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(clave.data()[i]);
    const unsigned r = c < 128 ? kRango[c] : 0;
    if (r != 0 && r < rango) {
      rango = r;
      mejor = i;
    }
  }
  return mejor;
}

// The first position at or after `desde` where the upper-case ASCII `clave`
// is in `s`, ignoring the case of ASCII letters; -1 if none.
qsizetype buscarClave(QStringView s, QLatin1StringView clave, qsizetype desde) {
  const qsizetype m = clave.size();
  const qsizetype n = s.size();
  if (desde < 0) desde = 0;
  if (m == 0) return desde <= n ? desde : -1;
  if (n - m < desde) return -1;
  const auto* d = reinterpret_cast<const char16_t*>(s.data());
  const char* c = clave.data();
  const qsizetype a = ancla(clave);
  if (a >= 0) {
    const char16_t ch = static_cast<unsigned char>(c[a]);
    const qsizetype i = primeraQue(d, desde + a, n - m + a + 1, ch, ch, [&](qsizetype i) { return claveEn(s, i - a, clave); });
    return i < 0 ? -1 : i - a;
  }
  const char16_t c0 = static_cast<unsigned char>(c[0]);
  const char16_t c0b = (c0 >= u'A' && c0 <= u'Z') ? char16_t(c0 + 32) : c0;
  return primeraQue(d, desde, n - m + 1, c0, c0b, [&](qsizetype i) {
    qsizetype j = 1;
    while (j < m && igualLetra(d[i + j], static_cast<unsigned char>(c[j]))) ++j;
    return j == m;
  });
}

class Texto {
 public:
  explicit Texto(const QString& s) : s_(s) {}

  const QString& texto() const { return s_; }

  // Whether `clave` is at position p.
  bool en(qsizetype p, QLatin1StringView clave) const { return claveEn(s_, p, clave); }

  qsizetype pos(QLatin1StringView clave, qsizetype desde = 0) const {
    if (!puedeEstar(clave)) return -1;
    return buscarClave(s_, clave, desde);
  }
  bool tiene(QLatin1StringView clave) const { return pos(clave) >= 0; }

  // Every occurrence of `clave` from `desde` on, left to right and without
  // overlaps, becomes `nuevo` (ASCII).
  void reemplazar(QLatin1StringView clave, QLatin1StringView nuevo, qsizetype desde = 0) {
    qsizetype p = pos(clave, desde);
    if (p < 0) return;
    QString r;
    r.reserve(s_.size() + 8 * (nuevo.size() + 1));
    qsizetype hecho = 0;
    while (p >= 0) {
      r.append(QStringView(s_).mid(hecho, p - hecho));
      // New pairs come only from the replacement and its borders; pairs
      // that went away merely cost a search later.
      const qsizetype inicio = r.size();
      r.append(nuevo);
      hecho = p + clave.size();
      if (pares_) {
        const char16_t* d = reinterpret_cast<const char16_t*>(r.constData());
        for (qsizetype i = inicio > 0 ? inicio - 1 : 0; i + 1 < r.size(); ++i) marcar(d[i], d[i + 1]);
        if (hecho < s_.size() && r.size() > 0) marcar(d[r.size() - 1], datos()[hecho]);
      }
      p = buscarClave(s_, clave, hecho);
    }
    r.append(QStringView(s_).mid(hecho));
    s_ = std::move(r);
  }

  void fijar(const QString& s) {
    s_ = s;
    pares_.reset();
  }

 private:
  const char16_t* datos() const { return reinterpret_cast<const char16_t*>(s_.constData()); }

  // Most keys are absent from most statements: a table of the pairs of
  // adjacent characters present turns them away without a search.
  bool puedeEstar(QLatin1StringView clave) const {
    if (!pares_) marcarTodo();
    const char* c = clave.data();
    for (qsizetype i = 0; i + 1 < clave.size(); ++i)
      if (!marcado(static_cast<unsigned char>(c[i]), static_cast<unsigned char>(c[i + 1]))) return false;
    return true;
  }
  void marcar(char16_t a, char16_t b) const { marcarPlegados(pliegue(a), pliegue(b)); }
  void marcarPlegados(unsigned a, unsigned b) const {
    const unsigned k = a * 128u + b;
    (*pares_)[k >> 6] |= std::uint64_t(1) << (k & 63);
  }
  // Each character is folded once, for the pair it ends and the one it begins.
  void marcarTodo() const {
    ParesRecientes& r = recientes();
    if (r.hay && r.texto == s_) {
      pares_ = r.pares;
      return;
    }
    pares_.emplace();
    pares_->fill(0);
    const char16_t* d = datos();
    const qsizetype n = s_.size();
    if (n < 2) return;
    unsigned antes = pliegue(d[0]);
    for (qsizetype i = 1; i < n; ++i) {
      const unsigned este = pliegue(d[i]);
      marcarPlegados(antes, este);
      antes = este;
    }
    if (s_.size() <= kMayorParaRecordar) {
      // A text without data of its own may change under it: the copy is deep.
      r.texto = s_.data_ptr().isMutable() ? s_ : QString(s_.constData(), s_.size());
      r.pares = *pares_;
      r.hay = true;
    }
  }
  bool marcado(unsigned a, unsigned b) const {
    const unsigned k = a * 128u + b;
    return ((*pares_)[k >> 6] >> (k & 63)) & 1;
  }

  using Pares = std::array<std::uint64_t, 128 * 128 / 64>;
  // The table last built on this thread, with its text: the rewrites of a
  // statement run one after the other, and the second one, given the text
  // the first left unchanged, takes the table instead of building it again.
  struct ParesRecientes {
    QString texto;
    Pares pares;
    bool hay = false;
  };
  static constexpr qsizetype kMayorParaRecordar = 16384;
  static ParesRecientes& recientes() {
    thread_local ParesRecientes r;
    return r;
  }

  QString s_;
  // Built on first need.
  mutable std::optional<Pares> pares_;
};

struct Sinonimo {
  QLatin1StringView tabla;
  QLatin1StringView sinonimo;
};

constexpr std::array<Sinonimo, 7> kSinonimos = {{
    {QLatin1StringView("MA_CUENTAS"), QLatin1StringView("SS_MA_CUENTAS")},
    {QLatin1StringView("V_TA_DEPOSITO"), QLatin1StringView("SS_V_TA_DEPOSITO")},
    {QLatin1StringView("MV_ASIENTOS"), QLatin1StringView("SS_MV_ASIENTOS")},
    {QLatin1StringView("V_TA_FAMILIAS"), QLatin1StringView("SS_V_TA_FAMILIAS")},
    {QLatin1StringView("V_TA_CAJAS"), QLatin1StringView("SS_V_TA_CAJAS")},
    {QLatin1StringView("AC_CUENTASDIARIO"), QLatin1StringView("SS_AC_CUENTASDIARIO")},
    {QLatin1StringView("AC_CUENTASDIARIO_CCOSTO"), QLatin1StringView("SS_AC_CUENTAS_DIARIO_CCOSTO")},
}};

// Context before and after the table name, in the order they are replaced.
constexpr std::array<std::pair<char, char>, 6> kContextos = {{
    {' ', ' '}, {'(', ' '}, {' ', '.'}, {'(', '.'}, {',', '.'}, {'{', '.'}}};

constexpr QLatin1StringView kMarca("@ADMIN_");

void quitarMarcas(Texto& t) { t.reemplazar(kMarca, QLatin1StringView("")); }

// The keys of each table, built once: its name alone (to tell whether it is
// there at all) and the contexts with their replacements, in order.
struct ClavesTabla {
  QByteArray tabla;
  std::vector<std::pair<QByteArray, QByteArray>> contextos;
};

const std::vector<ClavesTabla>& clavesSinonimos() {
  static const std::vector<ClavesTabla> claves = [] {
    std::vector<ClavesTabla> r;
    for (const Sinonimo& s : kSinonimos) {
      ClavesTabla c{QByteArray(s.tabla.data(), s.tabla.size()), {}};
      // The brace form is the report-formula one, written only for MA_CUENTAS.
      const std::size_t n = s.tabla == QLatin1StringView("MA_CUENTAS") ? kContextos.size() : kContextos.size() - 1;
      for (std::size_t i = 0; i < n; ++i) {
        const auto [antes, despues] = kContextos[i];
        c.contextos.emplace_back(antes + c.tabla + despues,
                                 antes + QByteArray(s.sinonimo.data(), s.sinonimo.size()) + despues);
      }
      r.push_back(std::move(c));
    }
    return r;
  }();
  return claves;
}

}  // namespace

QString SS_TSinonimos(const QString& sql, bool esAdmin) {
  Texto t(sql);
  if (!esAdmin) {
    for (const ClavesTabla& c : clavesSinonimos()) {
      if (t.tiene(QLatin1StringView(c.tabla)))
        for (const auto& [clave, nuevo] : c.contextos) t.reemplazar(QLatin1StringView(clave), QLatin1StringView(nuevo));
      if (&c == &clavesSinonimos().front())
        t.reemplazar(QLatin1StringView("@ADMIN_MA_CUENTAS"), QLatin1StringView("MA_CUENTAS"));
    }
  }
  quitarMarcas(t);
  return t.texto();
}

namespace {

// Step 1: SQL Server's "TOP n" becomes a ROWNUM condition placed before any
// GROUP BY or ORDER BY.
void limiteFilas(Texto& t) {
  const Texto& v = t;  // still the statement as given
  if (!v.tiene(QLatin1StringView("TOP "))) return;
  const QString valor = v.texto();
  const qsizetype p = v.pos(QLatin1StringView("TOP"));
  const QString antes = valor.left(p);
  const QString resto = db_texto::recortar(valor.mid(p + 3));
  const qsizetype blanco = resto.indexOf(QLatin1Char(' '));
  const QString n = blanco < 0 ? resto : resto.left(blanco);
  QString cuerpo = blanco < 0 ? QString() : resto.mid(blanco + 1);
  QString grupo, orden;
  const qsizetype g = v.pos(QLatin1StringView(" GROUP BY "));
  if (g >= 0) {
    grupo = valor.mid(g);
  } else {
    const qsizetype o = v.pos(QLatin1StringView("ORDER BY "));
    if (o >= 0) orden = valor.mid(o);
  }
  const QString condicion = (v.tiene(QLatin1StringView(" WHERE ")) ? QStringLiteral(" AND ROWNUM <= ")
                                                                    : QStringLiteral(" WHERE ROWNUM <= ")) + n;
  cuerpo = db_texto::reemplazar(cuerpo, db_texto::recortar(grupo), QStringLiteral(" "));
  cuerpo = db_texto::reemplazar(cuerpo, db_texto::recortar(orden), QStringLiteral(" "));
  t.fijar(antes + QLatin1Char(' ') + cuerpo + QLatin1Char(' ') + condicion + QLatin1Char(' ') + grupo +
          QLatin1Char(' ') + orden);
}

bool puedeSerFecha(QStringView literal, QChar separador) {
  // Every date or time the regional reader accepts holds a digit and a
  // separator; most literals (names, codes) are turned away without parsing.
  bool digito = false, separa = false;
  for (QChar c : literal) {
    if (c.isDigit()) digito = true;
    else if (c == u'/' || c == u'-' || c == u':' || c == separador) separa = true;
  }
  return digito && separa;
}

// Step 4: quoted literals that read as dates become TO_DATE calls. Pairs are
// taken left to right; a quote without a partner is error 5.
void literalesFecha(Texto& t) {
  const QString& s = t.texto();
  qsizetype abre = s.indexOf(QLatin1Char('\''));
  if (abre < 0) return;
  QString r;
  r.reserve(s.size() + 32);
  qsizetype hecho = 0;
  bool cambio = false;
  const QChar sep = vb::regional().separadorFecha;
  while (abre >= 0) {
    const qsizetype cierra = s.indexOf(QLatin1Char('\''), abre + 1);
    if (cierra < 0) throw vb::Error(vb::kInvalidProcedureCall);
    const QStringView literal = QStringView(s).mid(abre + 1, cierra - abre - 1);
    if (puedeSerFecha(literal, sep)) {
      if (const auto fecha = vb::leerFecha(literal.toString())) {
        const QDate d = fecha->date();
        r.append(QStringView(s).mid(hecho, abre - hecho));
        r.append(QStringLiteral("TO_DATE('%1%2%3%4%5','DD/MM/YYYY')")
                     .arg(d.day(), 2, 10, QLatin1Char('0'))
                     .arg(sep)
                     .arg(d.month(), 2, 10, QLatin1Char('0'))
                     .arg(sep)
                     .arg(d.year(), 4, 10, QLatin1Char('0')));
        hecho = cierra + 1;
        cambio = true;
      }
    }
    abre = s.indexOf(QLatin1Char('\''), cierra + 1);
  }
  if (!cambio) return;
  r.append(QStringView(s).mid(hecho));
  t.fijar(r);
  // A literal already inside TO_DATE( ... ,'DD/MM/YYYY') was wrapped twice.
  while (t.tiene(QLatin1StringView("TO_DATE(TO_DATE("))) {
    t.reemplazar(QLatin1StringView("TO_DATE(TO_DATE("), QLatin1StringView("TO_DATE("));
    t.reemplazar(QLatin1StringView("'DD/MM/YYYY'),'DD/MM/YYYY')"), QLatin1StringView("'DD/MM/YYYY')"));
  }
}

// Step 8: style 103 of a converted date becomes Oracle's format mask, but
// only inside TO_CHAR( ... ).
void estiloFecha(Texto& t) {
  qsizetype p = t.pos(QLatin1StringView("103"));
  while (p >= 0) {
    const qsizetype parentesis = t.texto().lastIndexOf(QLatin1Char('('), p);
    if (parentesis >= 7 && t.en(parentesis - 7, QLatin1StringView("TO_CHAR("))) {
      QString s = t.texto();
      s.replace(p, 3, QStringLiteral("'DD/MM/YYYY'"));
      t.fijar(s);
    }
    p = t.pos(QLatin1StringView("103"), p + 3);
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

}  // namespace

QString ORACLE_Dicc(const QString& valor, const QString& connString) {
  if (buscarClave(connString, QLatin1StringView("ORACLE"), 0) < 0) return valor;
  if (!variasPalabras(valor) && ZepaKit2::util().EvaluarTexto(valor) <= 1)
    return db_texto::iguales(valor, QStringLiteral("LEN")) ? QStringLiteral("LENGTH") : valor;

  Texto t(valor);
  limiteFilas(t);
  for (const char* len : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("})
    t.reemplazar(QLatin1StringView(len), QLatin1StringView(" LENGTH("));
  t.reemplazar(QLatin1StringView("["), QLatin1StringView("\""));
  t.reemplazar(QLatin1StringView("]"), QLatin1StringView("\""));
  literalesFecha(t);
  t.reemplazar(QLatin1StringView("CHARINDEX"), QLatin1StringView("InStr"));
  t.reemplazar(QLatin1StringView("CONVERT(NVARCHAR,"), QLatin1StringView("TO_CHAR("));
  t.reemplazar(QLatin1StringView("CONVERT(INT,"), QLatin1StringView("TO_NUMBER("));
  const qsizetype where = t.pos(QLatin1StringView("WHERE "));
  if (where >= 0) {
    t.reemplazar(QLatin1StringView("= ''"), QLatin1StringView(" IS NULL "), where);
    t.reemplazar(QLatin1StringView("=''"), QLatin1StringView(" IS NULL "), where);
  }
  estiloFecha(t);
  t.reemplazar(QLatin1StringView("SUBSTRING("), QLatin1StringView("SUBSTR("));
  t.reemplazar(QLatin1StringView("ISNULL("), QLatin1StringView("NVL("));
  return t.texto();
}

QString DescartaSentenciaSQLServer(QString& sentencia) {
  if (db_texto::contiene(sentencia, QStringLiteral("SET NOCOUNT")) ||
      db_texto::contiene(sentencia, QStringLiteral("IF NOT EXIST")))
    sentencia.clear();
  return sentencia;
}

QString limpiarScript(const QString& script) {
  Texto t(script);
  t.reemplazar(QLatin1StringView("SET NOCOUNT ON"), QLatin1StringView(""));
  t.reemplazar(QLatin1StringView("SET NOCOUNT OFF"), QLatin1StringView(""));
  t.reemplazar(QLatin1StringView(" GO "), QLatin1StringView(" "));
  t.reemplazar(QLatin1StringView("\r\nGO "), QLatin1StringView(" "));
  t.reemplazar(QLatin1StringView("\r\nGO\r\n"), QLatin1StringView(" "));
  t.reemplazar(QLatin1StringView("\r"), QLatin1StringView(" "));
  t.reemplazar(QLatin1StringView("BEGIN TRANSACTION"), QLatin1StringView("SET TRANSACTION"));
  t.reemplazar(QLatin1StringView("BEGIN TRANS"), QLatin1StringView("SET TRANSACTION"));
  t.reemplazar(QLatin1StringView("COMMIT TRANSACTION"), QLatin1StringView("COMMIT"));
  t.reemplazar(QLatin1StringView("COMMIT TRANS"), QLatin1StringView("COMMIT"));
  t.reemplazar(QLatin1StringView("ROLLBACK TRANSACTION"), QLatin1StringView("ROLLBACK"));
  t.reemplazar(QLatin1StringView("ROLLBACK TRANS"), QLatin1StringView("ROLLBACK"));
  return t.texto();
}

namespace {

constexpr std::array<QLatin1StringView, 12> kPalabrasScript = {
    QLatin1StringView("INSERT "),     QLatin1StringView("DELETE "),          QLatin1StringView("UPDATE "),
    QLatin1StringView("CREATE "),     QLatin1StringView("DROP "),            QLatin1StringView("ALTER "),
    QLatin1StringView("SET TRANSACTION"), QLatin1StringView("COMMIT"),     QLatin1StringView("ROLLBACK"),
    QLatin1StringView("IF NOT EXIST"), QLatin1StringView("IF EXIST"),       QLatin1StringView("GRANT ")};

qsizetype primeraPalabra(const Texto& t, qsizetype desde) {
  qsizetype mejor = -1;
  for (QLatin1StringView palabra : kPalabrasScript) {
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
