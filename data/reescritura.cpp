#include "data/reescritura.h"

#include <array>

#include "app/suite/util_general.h"
#include "data/texto_sql.h"
#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/regional.h"

namespace reescritura {

namespace {

// Every statement the program reads passes through here, so the fixed
// keywords are searched in an ASCII upper-case copy kept beside the text
// instead of folding case on every search. The copy has the same length, so
// positions carry over. Non-ASCII letters never equal an ASCII keyword.
QChar mayusculaAscii(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'a' && u <= u'z') ? QChar(char16_t(u - 32)) : c;
}

QString mayusculasAscii(const QString& s) {
  QString r(s.size(), Qt::Uninitialized);
  const QChar* o = s.constData();
  QChar* d = r.data();
  for (qsizetype i = 0; i < s.size(); ++i) d[i] = mayusculaAscii(o[i]);
  return r;
}

class Texto {
 public:
  explicit Texto(const QString& s) : s_(s), u_(mayusculasAscii(s)) {}

  const QString& texto() const { return s_; }
  const QString& mayus() const { return u_; }

  // `clave` is upper-case ASCII.
  qsizetype pos(QLatin1StringView clave, qsizetype desde = 0) const { return u_.indexOf(clave, desde); }
  bool tiene(QLatin1StringView clave) const { return pos(clave) >= 0; }

  // Every occurrence of `clave` from `desde` on, left to right and without
  // overlaps, becomes `nuevo` (ASCII).
  void reemplazar(QLatin1StringView clave, QLatin1StringView nuevo, qsizetype desde = 0) {
    qsizetype p = pos(clave, desde);
    if (p < 0) return;
    QString s, u;
    s.reserve(s_.size() + 16);
    u.reserve(s_.size() + 16);
    qsizetype hecho = 0;
    while (p >= 0) {
      s.append(QStringView(s_).mid(hecho, p - hecho)).append(nuevo);
      u.append(QStringView(u_).mid(hecho, p - hecho)).append(nuevo);
      hecho = p + clave.size();
      p = pos(clave, hecho);
    }
    s.append(QStringView(s_).mid(hecho));
    u.append(QStringView(u_).mid(hecho));
    s_ = std::move(s);
    u_ = std::move(u);
  }

  void reemplazar(QLatin1StringView clave, const QString& nuevo, qsizetype desde = 0) {
    reemplazar(clave, QLatin1StringView(nuevo.toLatin1()), desde);
  }

  void fijar(const QString& s) {
    s_ = s;
    u_ = mayusculasAscii(s);
  }

 private:
  QString s_;
  QString u_;
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

}  // namespace

QString SS_TSinonimos(const QString& sql, bool esAdmin) {
  Texto t(sql);
  if (!esAdmin) {
    for (const Sinonimo& s : kSinonimos) {
      const bool esCuentas = s.tabla == QLatin1StringView("MA_CUENTAS");
      if (t.tiene(s.tabla)) {
        // The brace form is the report-formula one, written only for MA_CUENTAS.
        const std::size_t contextos = esCuentas ? kContextos.size() : kContextos.size() - 1;
        for (std::size_t i = 0; i < contextos; ++i) {
          const auto [antes, despues] = kContextos[i];
          const QByteArray clave = antes + QByteArray(s.tabla.data(), s.tabla.size()) + despues;
          const QByteArray nuevo = antes + QByteArray(s.sinonimo.data(), s.sinonimo.size()) + despues;
          t.reemplazar(QLatin1StringView(clave), QLatin1StringView(nuevo));
        }
      }
      if (esCuentas) t.reemplazar(QLatin1StringView("@ADMIN_MA_CUENTAS"), QLatin1StringView("MA_CUENTAS"));
    }
  }
  quitarMarcas(t);
  return t.texto();
}

namespace {

// Step 1: SQL Server's "TOP n" becomes a ROWNUM condition placed before any
// GROUP BY or ORDER BY.
void limiteFilas(Texto& t, const QString& valor) {
  const Texto v(valor);
  if (!v.tiene(QLatin1StringView("TOP "))) return;
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

bool puedeSerFecha(QStringView literal) {
  // Every date the regional reader accepts holds a digit; most literals
  // (names, codes) are turned away here without parsing.
  for (QChar c : literal)
    if (c.isDigit()) return true;
  return false;
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
    if (puedeSerFecha(literal)) {
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
    const qsizetype parentesis = t.mayus().lastIndexOf(QLatin1Char('('), p);
    if (parentesis >= 7 && QStringView(t.mayus()).mid(parentesis - 7, 8) == QLatin1StringView("TO_CHAR(")) {
      QString s = t.texto();
      s.replace(p, 3, QStringLiteral("'DD/MM/YYYY'"));
      t.fijar(s);
    }
    p = t.pos(QLatin1StringView("103"), p + 3);
  }
}

}  // namespace

QString ORACLE_Dicc(const QString& valor, const QString& connString) {
  if (!db_texto::contiene(connString, QStringLiteral("ORACLE"))) return valor;
  if (ZepaKit2::util().EvaluarTexto(valor) <= 1)
    return db_texto::iguales(valor, QStringLiteral("LEN")) ? QStringLiteral("LENGTH") : valor;

  Texto t(valor);
  limiteFilas(t, valor);
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

qsizetype primeraPalabra(const QString& mayus, qsizetype desde) {
  qsizetype mejor = -1;
  for (QLatin1StringView palabra : kPalabrasScript) {
    const qsizetype p = mayus.indexOf(palabra, desde);
    if (p >= 0 && (mejor < 0 || p < mejor)) mejor = p;
  }
  return mejor;
}

}  // namespace

bool siguienteSentencia(const QString& script, qsizetype& desde, QString& sentencia) {
  const QString mayus = mayusculasAscii(script);
  const qsizetype inicio = primeraPalabra(mayus, desde);
  if (inicio < 0) {
    desde = script.size();
    return false;
  }
  qsizetype fin = primeraPalabra(mayus, inicio + 1);
  if (fin < 0) fin = script.size();
  sentencia = script.mid(inicio, fin - inicio);
  desde = fin;
  return true;
}

}  // namespace reescritura
