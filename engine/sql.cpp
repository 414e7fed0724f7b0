#include "engine/sql.h"

#include <optional>

namespace engine {

namespace {

bool tieneCampo(const Nodo& n);
bool constantesAscii(const Nodo& n);
bool textoAscii(const QString& s);

// SQLite's parser gives up ("parser stack overflow") at about thirty nested
// parentheses; a condition nested deeper than this stays in memory.
constexpr int kAnidamientoSql = 12;

class Traductor {
 public:
  Traductor(const std::vector<Columna>& columnas, Dialecto d, const Limites& l)
      : columnas_(columnas), dialecto_(d), limites_(l) {}

  std::vector<Valor> parametros;

  Valor::Tipo tipo(const Nodo& n) const {
    return tipoEstatico(
        n, [this](int c) { return size_t(c) < columnas_.size() ? columnas_[size_t(c)].tipo : Valor::Tipo::Nulo; });
  }

  // A condition, or nullopt when SQL cannot say it exactly. Parameters are
  // appended as they are met; a failed attempt rolls them back.
  std::optional<QString> condicion(const Nodo& n) {
    const size_t marca = parametros.size();
    std::optional<QString> r;
    if (++profundidad_ <= kAnidamientoSql) r = condicionSinDeshacer(n);
    --profundidad_;
    if (!r) parametros.resize(marca);
    return r;
  }

 private:
  std::optional<QString> condicionSinDeshacer(const Nodo& n) {
    switch (n.clase) {
      case Nodo::Clase::Y:
      case Nodo::Clase::O: {
        const QString junta = n.clase == Nodo::Clase::Y ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
        QString s = QStringLiteral("(");
        for (size_t i = 0; i < n.hijos.size(); ++i) {
          auto c = condicion(*n.hijos[i]);
          if (!c) return std::nullopt;
          if (i > 0) s += junta;
          s += *c;
        }
        return s + QLatin1Char(')');
      }
      case Nodo::Clase::En: return lista(n);
      case Nodo::Clase::No: {
        auto a = condicion(*n.hijos[0]);
        if (!a) return std::nullopt;
        return QStringLiteral("(NOT %1)").arg(*a);
      }
      case Nodo::Clase::Constante:
        if (n.constante.tipo() == Valor::Tipo::Logico)
          return n.constante.comoLogico() ? QStringLiteral("(1 = 1)") : QStringLiteral("(1 = 0)");
        return std::nullopt;
      case Nodo::Clase::Campo: {
        const auto t = tipo(n);
        if (t != Valor::Tipo::Logico && t != Valor::Tipo::Numero) return std::nullopt;
        auto x = expresion(n);
        if (!x) return std::nullopt;
        return QStringLiteral("(%1 <> 0)").arg(*x);
      }
      case Nodo::Clase::Comparacion: return comparacion(n);
      case Nodo::Clase::Like: {
        if (tipo(*n.hijos[0]) != Valor::Tipo::Texto) return std::nullopt;
        const Nodo& p = *n.hijos[1];
        if (p.clase != Nodo::Clase::Constante || p.constante.tipo() != Valor::Tipo::Texto) return std::nullopt;
        auto x = expresion(*n.hijos[0]);
        if (!x) return std::nullopt;
        parametros.push_back(Valor::texto(patronSql(p.constante.comoTexto())));
        return QStringLiteral("(%1 LIKE ? ESCAPE '\\')").arg(*x);
      }
      default: return std::nullopt;
    }
  }

  std::optional<QString> comparacion(const Nodo& n) {
    const Nodo& a = *n.hijos[0];
    const Nodo& b = *n.hijos[1];
    const auto ta = tipo(a), tb = tipo(b);
    // field = TRUE / FALSE: bit columns hold 0/1 (or -1), so test against zero.
    const bool constA = a.clase == Nodo::Clase::Constante && ta == Valor::Tipo::Logico;
    const bool constB = b.clase == Nodo::Clase::Constante && tb == Valor::Tipo::Logico;
    if (constA != constB) {
      const Nodo& valor = constA ? b : a;
      const bool verdadero = (constA ? a : b).constante.comoLogico();
      const auto tv = constA ? tb : ta;
      if (tv != Valor::Tipo::Logico && tv != Valor::Tipo::Numero) return std::nullopt;
      if (n.op != Operador::Igual && n.op != Operador::Distinto) return std::nullopt;
      auto x = expresion(valor);
      if (!x) return std::nullopt;
      const bool esCero = (n.op == Operador::Igual) != verdadero;
      return QStringLiteral("(%1 %2 0)").arg(*x, esCero ? QStringLiteral("=") : QStringLiteral("<>"));
    }
    if (ta != tb || ta == Valor::Tipo::Nulo || ta == Valor::Tipo::Logico) return std::nullopt;
    // SQLite's NOCASE folds only ASCII letters: a comparison that could set
    // two non-ASCII letters against each other (Ñ and ñ) stays in memory.
    if (ta == Valor::Tipo::Texto && dialecto_ == Dialecto::Sqlite &&
        ((tieneCampo(a) && tieneCampo(b)) || !constantesAscii(a) || !constantesAscii(b)))
      return std::nullopt;
    auto x = expresion(a);
    if (!x) return std::nullopt;
    auto y = expresion(b);
    if (!y) return std::nullopt;
    // Dates are texts in SQLite, some written without the time: compare
    // them normalised, as the formula compares date values.
    if (ta == Valor::Tipo::Fecha && dialecto_ == Dialecto::Sqlite) {
      x = QStringLiteral("datetime(%1)").arg(*x);
      y = QStringLiteral("datetime(%1)").arg(*y);
    }
    static const char* const ops[] = {"=", "<>", "<", ">", "<=", ">="};
    QString s = QStringLiteral("(%1 %2 %3").arg(*x, QLatin1String(ops[int(n.op)]), *y);
    if (ta == Valor::Tipo::Texto && dialecto_ == Dialecto::Sqlite) s += QStringLiteral(" COLLATE NOCASE");
    return s + QLatin1Char(')');
  }

  // expression IN (?, ?, ...), cut into lists the database takes, ORed.
  std::optional<QString> lista(const Nodo& n) {
    const Nodo& e = *n.hijos[0];
    const auto t = tipo(e);
    if (n.lista.empty() || t != n.lista.front().tipo() || t == Valor::Tipo::Nulo || t == Valor::Tipo::Logico)
      return std::nullopt;
    if (t == Valor::Tipo::Texto && dialecto_ == Dialecto::Sqlite)
      for (const Valor& v : n.lista)
        if (!textoAscii(v.comoTexto())) return std::nullopt;
    const size_t antes = parametros.size();
    auto x = expresion(e);
    // The expression is written once per list: it must bind nothing itself.
    if (!x || parametros.size() != antes) return std::nullopt;
    const bool fechaSqlite = t == Valor::Tipo::Fecha && dialecto_ == Dialecto::Sqlite;
    QString campo = fechaSqlite ? QStringLiteral("datetime(%1)").arg(*x) : *x;
    if (t == Valor::Tipo::Texto && dialecto_ == Dialecto::Sqlite) campo += QStringLiteral(" COLLATE NOCASE");
    const QString marca = fechaSqlite ? QStringLiteral("datetime(?)") : QStringLiteral("?");
    const size_t porLista = std::max<size_t>(1, limites_.lista);
    QString s = QStringLiteral("(");
    s.reserve(qsizetype(n.lista.size() * size_t(marca.size() + 2) + 64));
    for (size_t i = 0; i < n.lista.size(); ++i) {
      if (i % porLista == 0) {
        if (i > 0) s += QStringLiteral(") OR ");
        s += campo + QStringLiteral(" IN (");
      } else {
        s += QStringLiteral(", ");
      }
      s += marca;
      parametros.push_back(n.lista[i]);
    }
    return s + QStringLiteral("))");
  }

  std::optional<QString> expresion(const Nodo& n) {
    std::optional<QString> r;
    if (++profundidad_ <= kAnidamientoSql) r = expresionSinContar(n);
    --profundidad_;
    return r;
  }

  std::optional<QString> expresionSinContar(const Nodo& n) {
    switch (n.clase) {
      case Nodo::Clase::Campo: {
        if (n.columna < 0 || size_t(n.columna) >= columnas_.size()) return std::nullopt;
        QString id = identificador(columnas_[size_t(n.columna)].nombre);
        if (id.isEmpty()) return std::nullopt;
        return id;
      }
      case Nodo::Clase::Constante:
        if (n.constante.tipo() == Valor::Tipo::Logico || n.constante.esNulo()) return std::nullopt;
        parametros.push_back(n.constante);
        return QStringLiteral("?");
      case Nodo::Clase::Negativo: {
        if (tipo(*n.hijos[0]) != Valor::Tipo::Numero) return std::nullopt;
        auto x = expresion(*n.hijos[0]);
        if (!x) return std::nullopt;
        return QStringLiteral("(-%1)").arg(*x);
      }
      case Nodo::Clase::Funcion: return funcion(n);
      default: return std::nullopt;
    }
  }

  std::optional<QString> funcion(const Nodo& n) {
    const auto t = tipo(*n.hijos[0]);
    // Conversions are pushed only where they change nothing: the database
    // would write numbers and dates differently from the formula language.
    if (n.funcion == Funcion::ToNumber) return t == Valor::Tipo::Numero ? expresion(*n.hijos[0]) : std::nullopt;
    if (n.funcion == Funcion::ToText) return t == Valor::Tipo::Texto ? expresion(*n.hijos[0]) : std::nullopt;
    if (t != Valor::Tipo::Texto) return std::nullopt;
    auto x = expresion(*n.hijos[0]);
    if (!x) return std::nullopt;
    switch (n.funcion) {
      case Funcion::TrimLeft: return QStringLiteral("LTRIM(%1)").arg(*x);
      case Funcion::TrimRight: return QStringLiteral("RTRIM(%1)").arg(*x);
      case Funcion::Trim: return QStringLiteral("LTRIM(RTRIM(%1))").arg(*x);
      case Funcion::UpperCase:
      case Funcion::LowerCase:
        // The database folds only some letters; comparisons ignore case
        // anyway, so only a LIKE or a comparison would see the difference.
        if (dialecto_ == Dialecto::Sqlite) return std::nullopt;
        return QStringLiteral("%1(%2)").arg(
            n.funcion == Funcion::UpperCase ? QStringLiteral("UPPER") : QStringLiteral("LOWER"), *x);
      case Funcion::Length:
        // The server's LEN drops trailing blanks; the formula counts them.
        if (dialecto_ == Dialecto::Sqlite) return QStringLiteral("LENGTH(%1)").arg(*x);
        return QStringLiteral("(LEN(%1 + N'.') - 1)").arg(*x);
      default: return std::nullopt;
    }
  }

  static QString patronSql(const QString& p) {
    QString s;
    s.reserve(p.size() + 4);
    for (QChar c : p) {
      switch (c.unicode()) {
        case '*': s += QLatin1Char('%'); break;
        case '?': s += QLatin1Char('_'); break;
        case '%':
        case '_':
        case '[':
        case '\\':
          s += QLatin1Char('\\');
          s += c;
          break;
        default: s += c;
      }
    }
    return s;
  }

  const std::vector<Columna>& columnas_;
  Dialecto dialecto_;
  Limites limites_;
  int profundidad_ = 0;
};

bool tieneCampo(const Nodo& n) {
  if (n.clase == Nodo::Clase::Campo) return true;
  for (const auto& h : n.hijos)
    if (tieneCampo(*h)) return true;
  return false;
}

bool textoAscii(const QString& s) {
  for (QChar c : s)
    if (c.unicode() >= 0x80) return false;
  return true;
}

bool constantesAscii(const Nodo& n) {
  if (n.clase == Nodo::Clase::Constante && n.constante.tipo() == Valor::Tipo::Texto &&
      !textoAscii(n.constante.comoTexto()))
    return false;
  for (const auto& h : n.hijos)
    if (!constantesAscii(*h)) return false;
  return true;
}

}  // namespace

QString identificador(const QString& nombre) {
  if (nombre.isEmpty() || nombre.contains(QLatin1Char(']')) || nombre.contains(QLatin1Char('[')) ||
      nombre.contains(QChar(0)))
    return {};
  return QLatin1Char('[') + nombre + QLatin1Char(']');
}

Seleccion separar(const Formula& formula, const std::vector<Columna>& columnas, Dialecto dialecto,
                  const Limites& limites) {
  Seleccion s;
  if (formula.vacia()) return s;
  const std::unique_ptr<Nodo> raiz = conListas(*formula.raiz());
  std::vector<const Nodo*> partes;
  if (raiz->clase == Nodo::Clase::Y) {
    for (const auto& h : raiz->hijos) partes.push_back(h.get());
  } else {
    partes.push_back(raiz.get());
  }

  // Each conjunct on its own, with the values it binds.
  struct Parte {
    const Nodo* nodo;
    std::optional<QString> sql;
    std::vector<Valor> parametros;
  };
  std::vector<Parte> traducidas;
  size_t enlazados = 0;
  for (const Nodo* p : partes) {
    Traductor t(columnas, dialecto, limites);
    Parte parte{p, t.condicion(*p), std::move(t.parametros)};
    if (parte.sql) enlazados += parte.parametros.size();
    traducidas.push_back(std::move(parte));
  }
  // Over the statement's bound: the conjuncts that bind the most stay in
  // memory, where a list is looked up just as fast.
  if (enlazados > limites.parametros) {
    std::vector<Parte*> porTamano;
    for (Parte& p : traducidas)
      if (p.sql) porTamano.push_back(&p);
    std::stable_sort(porTamano.begin(), porTamano.end(),
                     [](const Parte* a, const Parte* b) { return a->parametros.size() > b->parametros.size(); });
    for (Parte* p : porTamano) {
      if (enlazados <= limites.parametros) break;
      enlazados -= p->parametros.size();
      p->sql.reset();
    }
  }

  QStringList sql;
  std::vector<std::unique_ptr<Nodo>> resto;
  for (Parte& p : traducidas) {
    if (p.sql) {
      sql << *p.sql;
      for (Valor& v : p.parametros) s.parametros.push_back(std::move(v));
    } else {
      resto.push_back(p.nodo->clonar());
    }
  }
  s.donde = sql.join(QStringLiteral(" AND "));
  if (resto.size() == 1) {
    s.residuo = Formula::desdeNodo(formula.texto(), std::move(resto.front()));
  } else if (!resto.empty()) {
    auto y = std::make_unique<Nodo>();
    y->clase = Nodo::Clase::Y;
    y->posicion = resto.front()->posicion;
    y->hijos = std::move(resto);
    s.residuo = Formula::desdeNodo(formula.texto(), std::move(y));
  }
  return s;
}

QString consultaFiltrada(const QString& consulta, const QString& donde, const std::vector<ClaveOrden>& orden,
                         Dialecto dialecto) {
  QString s = QStringLiteral("SELECT * FROM (") + consulta + QStringLiteral(") AS q");
  if (!donde.isEmpty()) s += QStringLiteral(" WHERE ") + donde;
  QStringList claves;
  for (const ClaveOrden& c : orden) {
    QString id = identificador(c.columna.nombre);
    if (id.isEmpty()) continue;
    // Group breaks compare ignoring case, so the sort must too.
    if (dialecto == Dialecto::Sqlite && c.columna.tipo == Valor::Tipo::Texto) id += QStringLiteral(" COLLATE NOCASE");
    if (c.descendente) id += QStringLiteral(" DESC");
    claves << id;
  }
  if (!claves.isEmpty()) s += QStringLiteral(" ORDER BY ") + claves.join(QStringLiteral(", "));
  return s;
}

}  // namespace engine
