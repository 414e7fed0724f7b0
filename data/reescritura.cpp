#include "data/reescritura.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "suite/util_general.h"
#include "data/texto_sql.h"
#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/regional.h"

namespace reescritura {

namespace {

// The keys are upper-case ASCII and match letters of either case, ASCII
// letters only. A text keeps a copy of itself with one byte a character, as
// the SQLite dialect does: ASCII with its letters in upper case, anything else
// 0x01, which no key holds. A key is a plain search in the copy, found at the
// same position as in the text.
QByteArray copiaMayusculas(QStringView s) {
  const qsizetype n = s.size();
  const char16_t* o = s.utf16();
  QByteArray r(n, Qt::Uninitialized);
  char* d = r.data();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = o[i];
    d[i] = c >= u'a' && c <= u'z' ? char(c - 32) : c < 0x80 ? char(c) : '\x01';
  }
  return r;
}

std::string_view vista(QLatin1StringView s) { return {s.data(), static_cast<std::size_t>(s.size())}; }

class Texto {
 public:
  explicit Texto(const QString& s) { fijar(s); }

  const QString& texto() const { return s_; }

  // Whether `clave` is at position p.
  bool en(qsizetype p, QLatin1StringView clave) const {
    return p >= 0 && p <= mayus_.size() && copia().substr(p).starts_with(vista(clave));
  }

  // Some thirty keys are looked for in every statement: string_view's find
  // jumps with memchr to each place of the key's first character, where
  // QString::indexOf and QByteArray::indexOf hash every character of a text
  // this short, several times slower.
  qsizetype pos(QLatin1StringView clave, qsizetype desde = 0) const {
    const std::size_t p = copia().find(vista(clave), std::max<qsizetype>(desde, 0));
    return p == std::string_view::npos ? -1 : static_cast<qsizetype>(p);
  }
  bool tiene(QLatin1StringView clave) const { return pos(clave) >= 0; }

  // Every occurrence of `clave` from `desde` on, left to right and without
  // overlaps, becomes `nuevo`; the copy changes alike.
  void reemplazar(QLatin1StringView clave, QLatin1StringView nuevo, qsizetype desde = 0) {
    qsizetype p = pos(clave, desde);
    if (p < 0) return;
    const QByteArray nuevaCopia = copiaMayusculas(QString(nuevo));
    QString r;
    QByteArray m;
    r.reserve(s_.size() + 8 * (nuevo.size() + 1));
    m.reserve(r.capacity());
    qsizetype hecho = 0;
    while (p >= 0) {
      r.append(QStringView(s_).sliced(hecho, p - hecho)).append(nuevo);
      m.append(QByteArrayView(mayus_).sliced(hecho, p - hecho)).append(nuevaCopia);
      hecho = p + clave.size();
      p = pos(clave, hecho);
    }
    r.append(QStringView(s_).sliced(hecho));
    m.append(QByteArrayView(mayus_).sliced(hecho));
    s_ = std::move(r);
    mayus_ = std::move(m);
  }

  void fijar(const QString& s) {
    s_ = s;
    mayus_ = copiaMayusculas(s_);
  }

 private:
  std::string_view copia() const { return {mayus_.constData(), static_cast<std::size_t>(mayus_.size())}; }

  QString s_;
  QByteArray mayus_;
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
  // No synonym holds the marker or makes one.
  const bool marcado = t.tiene(kMarca);
  if (!esAdmin) {
    for (const ClavesTabla& c : clavesSinonimos()) {
      if (t.tiene(QLatin1StringView(c.tabla)))
        for (const auto& [clave, nuevo] : c.contextos) t.reemplazar(QLatin1StringView(clave), QLatin1StringView(nuevo));
      if (marcado && &c == &clavesSinonimos().front())
        t.reemplazar(QLatin1StringView("@ADMIN_MA_CUENTAS"), QLatin1StringView("MA_CUENTAS"));
    }
  }
  if (marcado) t.reemplazar(kMarca, QLatin1StringView(""));
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
  if (!db_texto::contiene(connString, QStringLiteral("ORACLE"))) return valor;
  if (!variasPalabras(valor) && ZepaKit2::util().EvaluarTexto(valor) <= 1)
    return db_texto::iguales(valor, QStringLiteral("LEN")) ? QStringLiteral("LENGTH") : valor;

  Texto t(valor);
  limiteFilas(t);
  if (t.tiene(QLatin1StringView(" LEN")))
    for (const char* len : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("})
      t.reemplazar(QLatin1StringView(len), QLatin1StringView(" LENGTH("));
  t.reemplazar(QLatin1StringView("["), QLatin1StringView("\""));
  t.reemplazar(QLatin1StringView("]"), QLatin1StringView("\""));
  literalesFecha(t);
  t.reemplazar(QLatin1StringView("CHARINDEX"), QLatin1StringView("InStr"));
  if (t.tiene(QLatin1StringView("CONVERT("))) {
    t.reemplazar(QLatin1StringView("CONVERT(NVARCHAR,"), QLatin1StringView("TO_CHAR("));
    t.reemplazar(QLatin1StringView("CONVERT(INT,"), QLatin1StringView("TO_NUMBER("));
  }
  const qsizetype where = t.pos(QLatin1StringView("WHERE "));
  if (where >= 0 && t.pos(QLatin1StringView("''"), where) >= 0) {
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

namespace {

// In order: the long forms of the transaction words before the short ones.
constexpr std::array<std::pair<QLatin1StringView, QLatin1StringView>, 12> kLimpiezaScript = {{
    {QLatin1StringView("SET NOCOUNT ON"), QLatin1StringView("")},
    {QLatin1StringView("SET NOCOUNT OFF"), QLatin1StringView("")},
    {QLatin1StringView(" GO "), QLatin1StringView(" ")},
    {QLatin1StringView("\r\nGO "), QLatin1StringView(" ")},
    {QLatin1StringView("\r\nGO\r\n"), QLatin1StringView(" ")},
    {QLatin1StringView("\r"), QLatin1StringView(" ")},
    {QLatin1StringView("BEGIN TRANSACTION"), QLatin1StringView("SET TRANSACTION")},
    {QLatin1StringView("BEGIN TRANS"), QLatin1StringView("SET TRANSACTION")},
    {QLatin1StringView("COMMIT TRANSACTION"), QLatin1StringView("COMMIT")},
    {QLatin1StringView("COMMIT TRANS"), QLatin1StringView("COMMIT")},
    {QLatin1StringView("ROLLBACK TRANSACTION"), QLatin1StringView("ROLLBACK")},
    {QLatin1StringView("ROLLBACK TRANS"), QLatin1StringView("ROLLBACK")},
}};

}  // namespace

QString limpiarScript(const QString& script) {
  Texto t(script);
  for (const auto& [clave, nuevo] : kLimpiezaScript) t.reemplazar(clave, nuevo);
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
