#include "engine/formula.h"

#include <QDate>
#include <QHash>
#include <algorithm>

#include "engine/errores.h"

namespace engine {

namespace {

// The deepest nesting of parentheses, NOT, functions and signs a formula may
// have; every walk of the tree recurses once per level.
constexpr int kAnidamientoMaximo = 200;

[[noreturn]] void errorSintaxis(int posicion, const QString& detalle) {
  lanzar(kErrorFormula, QStringLiteral("Error en la fórmula de selección, posición %1: %2").arg(posicion).arg(detalle));
}

struct Token {
  enum class Tipo { Fin, Campo, Texto, Numero, Nombre, Operador, AbreParen, CierraParen, Coma, Menos };
  Tipo tipo = Tipo::Fin;
  QString texto;  // Campo: inside the braces; Texto: unquoted; Nombre/Operador: as written
  double numero = 0;
  int posicion = 0;
};

class Lexico {
 public:
  explicit Lexico(const QString& s) : s_(s) {}

  Token siguiente() {
    while (i_ < s_.size() && s_.at(i_).isSpace()) ++i_;
    Token t;
    t.posicion = int(i_) + 1;
    if (i_ >= s_.size()) return t;
    const QChar c = s_.at(i_);
    if (c == QLatin1Char('{')) {
      const qsizetype fin = s_.indexOf(QLatin1Char('}'), i_ + 1);
      if (fin < 0) errorSintaxis(t.posicion, QStringLiteral("falta la llave de cierre '}' del campo"));
      t.tipo = Token::Tipo::Campo;
      t.texto = s_.mid(i_ + 1, fin - i_ - 1).trimmed();
      if (t.texto.isEmpty()) errorSintaxis(t.posicion, QStringLiteral("campo sin nombre '{}'"));
      i_ = fin + 1;
      return t;
    }
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      t.tipo = Token::Tipo::Texto;
      ++i_;
      for (;;) {
        if (i_ >= s_.size()) errorSintaxis(t.posicion, QStringLiteral("falta la comilla de cierre del texto"));
        const QChar d = s_.at(i_++);
        if (d == c) {
          // A doubled quote inside the text stands for one.
          if (i_ < s_.size() && s_.at(i_) == c) {
            t.texto += c;
            ++i_;
            continue;
          }
          break;
        }
        t.texto += d;
      }
      return t;
    }
    if (c.isDigit() || (c == QLatin1Char('.') && i_ + 1 < s_.size() && s_.at(i_ + 1).isDigit())) {
      const qsizetype inicio = i_;
      while (i_ < s_.size() && s_.at(i_).isDigit()) ++i_;
      if (i_ < s_.size() && s_.at(i_) == QLatin1Char('.')) {
        ++i_;
        while (i_ < s_.size() && s_.at(i_).isDigit()) ++i_;
      }
      if (i_ < s_.size() && (s_.at(i_).isLetter() || s_.at(i_) == QLatin1Char('_')))
        errorSintaxis(int(i_) + 1, QStringLiteral("número mal escrito"));
      t.tipo = Token::Tipo::Numero;
      t.texto = s_.mid(inicio, i_ - inicio);
      t.numero = t.texto.toDouble();
      return t;
    }
    if (c.isLetter() || c == QLatin1Char('_')) {
      const qsizetype inicio = i_;
      while (i_ < s_.size() && (s_.at(i_).isLetterOrNumber() || s_.at(i_) == QLatin1Char('_'))) ++i_;
      t.tipo = Token::Tipo::Nombre;
      t.texto = s_.mid(inicio, i_ - inicio);
      return t;
    }
    ++i_;
    switch (c.unicode()) {
      case '(': t.tipo = Token::Tipo::AbreParen; return t;
      case ')': t.tipo = Token::Tipo::CierraParen; return t;
      case ',': t.tipo = Token::Tipo::Coma; return t;
      case '-': t.tipo = Token::Tipo::Menos; return t;
      case '=':
        t.tipo = Token::Tipo::Operador;
        t.texto = QStringLiteral("=");
        return t;
      case '<':
        t.tipo = Token::Tipo::Operador;
        if (i_ < s_.size() && (s_.at(i_) == QLatin1Char('>') || s_.at(i_) == QLatin1Char('='))) {
          t.texto = QStringLiteral("<") + s_.at(i_++);
        } else {
          t.texto = QStringLiteral("<");
        }
        return t;
      case '>':
        t.tipo = Token::Tipo::Operador;
        if (i_ < s_.size() && s_.at(i_) == QLatin1Char('=')) {
          t.texto = QStringLiteral(">=");
          ++i_;
        } else
          t.texto = QStringLiteral(">");
        return t;
      default: break;
    }
    errorSintaxis(t.posicion, QStringLiteral("carácter inesperado '%1'").arg(c));
  }

 private:
  const QString& s_;
  qsizetype i_ = 0;
};

bool esPalabra(const Token& t, const char* palabra) {
  return t.tipo == Token::Tipo::Nombre && t.texto.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0;
}

QString describir(const Token& t) {
  switch (t.tipo) {
    case Token::Tipo::Fin: return QStringLiteral("el final de la fórmula");
    case Token::Tipo::Campo: return QStringLiteral("el campo {%1}").arg(t.texto);
    case Token::Tipo::Texto: return QStringLiteral("el texto '%1'").arg(t.texto);
    case Token::Tipo::Numero: return QStringLiteral("el número %1").arg(t.texto);
    case Token::Tipo::Nombre: return QStringLiteral("'%1'").arg(t.texto);
    case Token::Tipo::Operador: return QStringLiteral("'%1'").arg(t.texto);
    case Token::Tipo::AbreParen: return QStringLiteral("'('");
    case Token::Tipo::CierraParen: return QStringLiteral("')'");
    case Token::Tipo::Coma: return QStringLiteral("','");
    case Token::Tipo::Menos: return QStringLiteral("'-'");
  }
  return {};
}

struct NombreFuncion {
  const char* nombre;
  Funcion funcion;
};
constexpr NombreFuncion kFunciones[] = {
    {"TrimLeft", Funcion::TrimLeft},   {"TrimRight", Funcion::TrimRight}, {"Trim", Funcion::Trim},
    {"UpperCase", Funcion::UpperCase}, {"LowerCase", Funcion::LowerCase}, {"tonumber", Funcion::ToNumber},
    {"ToText", Funcion::ToText},       {"Length", Funcion::Length},
};

std::unique_ptr<Nodo> nodo(Nodo::Clase clase, int posicion) {
  auto n = std::make_unique<Nodo>();
  n->clase = clase;
  n->posicion = posicion;
  return n;
}

class Analizador {
 public:
  explicit Analizador(const QString& s) : lex_(s) { avanzar(); }

  std::unique_ptr<Nodo> todo() {
    auto n = disyuncion();
    if (t_.tipo != Token::Tipo::Fin) errorSintaxis(t_.posicion, QStringLiteral("sobra %1").arg(describir(t_)));
    return n;
  }

 private:
  void avanzar() { t_ = lex_.siguiente(); }

  void esperar(Token::Tipo tipo, const QString& que) {
    if (t_.tipo != tipo)
      errorSintaxis(t_.posicion, QStringLiteral("se esperaba %1 y se encontró %2").arg(que, describir(t_)));
    avanzar();
  }

  // One more level of nesting; refused past kAnidamientoMaximo.
  class Nivel {
   public:
    explicit Nivel(Analizador& a) : a_(a) {
      if (++a_.profundidad_ > kAnidamientoMaximo)
        errorSintaxis(a_.t_.posicion, QStringLiteral("la fórmula anida más de %1 niveles").arg(kAnidamientoMaximo));
    }
    ~Nivel() { --a_.profundidad_; }
    Nivel(const Nivel&) = delete;
    Nivel& operator=(const Nivel&) = delete;

   private:
    Analizador& a_;
  };

  // A run of operands joined by one operator is one node; a parenthesised
  // run of the same operator joins it.
  static void agregar(Nodo& padre, std::unique_ptr<Nodo> hijo) {
    if (hijo->clase != padre.clase) {
      padre.hijos.push_back(std::move(hijo));
      return;
    }
    for (auto& nieto : hijo->hijos) padre.hijos.push_back(std::move(nieto));
  }

  std::unique_ptr<Nodo> disyuncion() {
    Nivel nivel(*this);
    auto primero = conjuncion();
    if (!esPalabra(t_, "OR")) return primero;
    auto n = nodo(Nodo::Clase::O, t_.posicion);
    agregar(*n, std::move(primero));
    while (esPalabra(t_, "OR")) {
      avanzar();
      agregar(*n, conjuncion());
    }
    return n;
  }

  std::unique_ptr<Nodo> conjuncion() {
    auto primero = negacion();
    if (!esPalabra(t_, "AND")) return primero;
    auto n = nodo(Nodo::Clase::Y, t_.posicion);
    agregar(*n, std::move(primero));
    while (esPalabra(t_, "AND")) {
      avanzar();
      agregar(*n, negacion());
    }
    return n;
  }

  std::unique_ptr<Nodo> negacion() {
    if (esPalabra(t_, "NOT")) {
      Nivel nivel(*this);
      auto n = nodo(Nodo::Clase::No, t_.posicion);
      avanzar();
      n->hijos.push_back(negacion());
      return n;
    }
    return comparacion();
  }

  std::unique_ptr<Nodo> comparacion() {
    auto izq = operando();
    if (t_.tipo == Token::Tipo::Operador) {
      auto n = nodo(Nodo::Clase::Comparacion, t_.posicion);
      const QString& o = t_.texto;
      n->op = o == QLatin1String("=")    ? Operador::Igual
              : o == QLatin1String("<>") ? Operador::Distinto
              : o == QLatin1String("<")  ? Operador::Menor
              : o == QLatin1String(">")  ? Operador::Mayor
              : o == QLatin1String("<=") ? Operador::MenorIgual
                                         : Operador::MayorIgual;
      avanzar();
      n->hijos.push_back(std::move(izq));
      n->hijos.push_back(operando());
      return n;
    }
    if (esPalabra(t_, "LIKE")) {
      auto n = nodo(Nodo::Clase::Like, t_.posicion);
      avanzar();
      n->hijos.push_back(std::move(izq));
      n->hijos.push_back(operando());
      return n;
    }
    return izq;
  }

  std::unique_ptr<Nodo> operando() {
    const Token t = t_;
    switch (t.tipo) {
      case Token::Tipo::Campo: {
        avanzar();
        auto n = nodo(Nodo::Clase::Campo, t.posicion);
        const qsizetype punto = t.texto.lastIndexOf(QLatin1Char('.'));
        if (punto >= 0) {
          n->tabla = t.texto.left(punto).trimmed();
          n->campo = t.texto.mid(punto + 1).trimmed();
        } else {
          n->campo = t.texto;
        }
        if (n->campo.isEmpty()) errorSintaxis(t.posicion, QStringLiteral("campo sin nombre {%1}").arg(t.texto));
        return n;
      }
      case Token::Tipo::Texto: {
        avanzar();
        auto n = nodo(Nodo::Clase::Constante, t.posicion);
        n->constante = Valor::texto(t.texto);
        return n;
      }
      case Token::Tipo::Numero: {
        avanzar();
        auto n = nodo(Nodo::Clase::Constante, t.posicion);
        n->constante = Valor::numero(t.numero);
        return n;
      }
      case Token::Tipo::Menos: {
        Nivel nivel(*this);
        avanzar();
        auto n = nodo(Nodo::Clase::Negativo, t.posicion);
        n->hijos.push_back(operando());
        // A negated number literal folds to a constant so it can be bound as one.
        if (n->hijos[0]->clase == Nodo::Clase::Constante && n->hijos[0]->constante.tipo() == Valor::Tipo::Numero) {
          auto c = nodo(Nodo::Clase::Constante, t.posicion);
          c->constante = Valor::numero(-n->hijos[0]->constante.comoNumero());
          return c;
        }
        return n;
      }
      case Token::Tipo::AbreParen: {
        avanzar();
        auto n = disyuncion();
        esperar(Token::Tipo::CierraParen, QStringLiteral("')'"));
        return n;
      }
      case Token::Tipo::Nombre: {
        avanzar();
        if (esPalabra(t, "TRUE") || esPalabra(t, "FALSE")) {
          auto n = nodo(Nodo::Clase::Constante, t.posicion);
          n->constante = Valor::logico(esPalabra(t, "TRUE"));
          return n;
        }
        if (esPalabra(t, "Date")) return fecha(t);
        for (const auto& f : kFunciones) {
          if (esPalabra(t, f.nombre)) {
            auto n = nodo(Nodo::Clase::Funcion, t.posicion);
            n->funcion = f.funcion;
            esperar(Token::Tipo::AbreParen, QStringLiteral("'(' después de %1").arg(t.texto));
            n->hijos.push_back(disyuncion());
            esperar(Token::Tipo::CierraParen, QStringLiteral("')' que cierra %1").arg(t.texto));
            return n;
          }
        }
        errorSintaxis(t.posicion, QStringLiteral("nombre desconocido '%1'").arg(t.texto));
      }
      default: break;
    }
    errorSintaxis(t.posicion, QStringLiteral("se esperaba un valor y se encontró %1").arg(describir(t)));
  }

  std::unique_ptr<Nodo> fecha(const Token& t) {
    esperar(Token::Tipo::AbreParen, QStringLiteral("'(' después de Date"));
    int partes[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      if (i > 0) esperar(Token::Tipo::Coma, QStringLiteral("','"));
      if (t_.tipo != Token::Tipo::Numero || t_.texto.contains(QLatin1Char('.')))
        errorSintaxis(t_.posicion, QStringLiteral("Date espera año, mes y día enteros"));
      partes[i] = t_.texto.toInt();
      avanzar();
    }
    esperar(Token::Tipo::CierraParen, QStringLiteral("')' que cierra Date"));
    const QDate d(partes[0], partes[1], partes[2]);
    if (!d.isValid())
      errorSintaxis(t.posicion,
                    QStringLiteral("la fecha Date(%1,%2,%3) no existe").arg(partes[0]).arg(partes[1]).arg(partes[2]));
    auto n = nodo(Nodo::Clase::Constante, t.posicion);
    n->constante = Valor::fecha(QDateTime(d, QTime(0, 0)));
    return n;
  }

  Lexico lex_;
  Token t_;
  int profundidad_ = 0;
};

[[noreturn]] void errorTipos(const Nodo& n, const QString& detalle) {
  lanzar(kErrorFormula,
         QStringLiteral("Error en la fórmula de selección, posición %1: %2").arg(n.posicion).arg(detalle));
}

const char* nombreTipo(Valor::Tipo t) {
  switch (t) {
    case Valor::Tipo::Nulo: return "nulo";
    case Valor::Tipo::Logico: return "lógico";
    case Valor::Tipo::Numero: return "número";
    case Valor::Tipo::Texto: return "texto";
    case Valor::Tipo::Fecha: return "fecha";
  }
  return "";
}

bool comparables(Valor::Tipo a, Valor::Tipo b) {
  if (a == Valor::Tipo::Nulo || b == Valor::Tipo::Nulo || a == b) return true;
  // Bit fields come back as numbers from some databases.
  return (a == Valor::Tipo::Logico && b == Valor::Tipo::Numero) ||
         (a == Valor::Tipo::Numero && b == Valor::Tipo::Logico);
}

void comprobarTipos(const Nodo& n, const TipoColumna& tipos) {
  for (const auto& h : n.hijos) comprobarTipos(*h, tipos);
  auto tipo = [&](int i) { return tipoEstatico(*n.hijos[i], tipos); };
  switch (n.clase) {
    case Nodo::Clase::Comparacion:
      if (!comparables(tipo(0), tipo(1)))
        errorTipos(n, QStringLiteral("no se puede comparar un %1 con un %2")
                          .arg(QLatin1String(nombreTipo(tipo(0))), QLatin1String(nombreTipo(tipo(1)))));
      break;
    case Nodo::Clase::Like:
      for (int i = 0; i < 2; ++i)
        if (tipo(i) != Valor::Tipo::Nulo && tipo(i) != Valor::Tipo::Texto)
          errorTipos(n, QStringLiteral("LIKE compara textos y recibió un %1").arg(QLatin1String(nombreTipo(tipo(i)))));
      break;
    case Nodo::Clase::Y:
    case Nodo::Clase::O:
    case Nodo::Clase::No:
      for (const auto& h : n.hijos) {
        const auto t = tipoEstatico(*h, tipos);
        if (t == Valor::Tipo::Texto || t == Valor::Tipo::Fecha)
          errorTipos(*h,
                     QStringLiteral("se esperaba una condición y se encontró un %1").arg(QLatin1String(nombreTipo(t))));
      }
      break;
    case Nodo::Clase::Funcion: {
      const auto t = tipo(0);
      const bool deTexto = n.funcion != Funcion::ToNumber && n.funcion != Funcion::ToText;
      if (deTexto && t != Valor::Tipo::Nulo && t != Valor::Tipo::Texto)
        errorTipos(n, QStringLiteral("la función espera un texto y recibió un %1").arg(QLatin1String(nombreTipo(t))));
      break;
    }
    case Nodo::Clase::Negativo:
      if (tipo(0) != Valor::Tipo::Nulo && tipo(0) != Valor::Tipo::Numero)
        errorTipos(n, QStringLiteral("el signo menos espera un número"));
      break;
    default: break;
  }
}

// Three-valued truth of a value used as a condition.
int verdad(const Nodo& n, const Valor& v) {  // 1 true, 0 false, -1 unknown
  switch (v.tipo()) {
    case Valor::Tipo::Nulo: return -1;
    case Valor::Tipo::Logico: return v.comoLogico() ? 1 : 0;
    case Valor::Tipo::Numero: return v.comoNumero() != 0 ? 1 : 0;
    default: break;
  }
  errorTipos(n,
             QStringLiteral("se esperaba una condición y se encontró un %1").arg(QLatin1String(nombreTipo(v.tipo()))));
}

Valor deVerdad(int v) { return v < 0 ? Valor() : Valor::logico(v == 1); }

// Orders two non-null operands of the comparison n as the formula compares them.
int compararOperandos(const Nodo& n, const Valor& a, const Valor& b) {
  if (a.tipo() == b.tipo()) return compararValores(a, b);
  if (comparables(a.tipo(), b.tipo())) {
    // A boolean against a bit stored as a number: compare truth, false < true.
    const auto ver = [](const Valor& v) {
      return v.tipo() == Valor::Tipo::Logico ? v.comoLogico() : v.comoNumero() != 0;
    };
    return int(ver(a)) - int(ver(b));
  }
  errorTipos(n, QStringLiteral("no se puede comparar un %1 con un %2")
                    .arg(QLatin1String(nombreTipo(a.tipo())), QLatin1String(nombreTipo(b.tipo()))));
}

bool menorValor(const Valor& a, const Valor& b) { return compararValores(a, b) < 0; }

Valor evaluarNodo(const Nodo& n, const Fila& fila) {
  switch (n.clase) {
    case Nodo::Clase::Campo:
      return n.columna >= 0 && size_t(n.columna) < fila.size() ? fila[size_t(n.columna)] : Valor();
    case Nodo::Clase::Constante: return n.constante;
    case Nodo::Clase::Comparacion: {
      const Valor a = evaluarNodo(*n.hijos[0], fila);
      if (a.esNulo()) return {};
      const Valor b = evaluarNodo(*n.hijos[1], fila);
      if (b.esNulo()) return {};
      const int c = compararOperandos(n, a, b);
      switch (n.op) {
        case Operador::Igual: return Valor::logico(c == 0);
        case Operador::Distinto: return Valor::logico(c != 0);
        case Operador::Menor: return Valor::logico(c < 0);
        case Operador::Mayor: return Valor::logico(c > 0);
        case Operador::MenorIgual: return Valor::logico(c <= 0);
        case Operador::MayorIgual: return Valor::logico(c >= 0);
      }
      return {};
    }
    case Nodo::Clase::En: {
      const Valor a = evaluarNodo(*n.hijos[0], fila);
      if (a.esNulo() || n.lista.empty()) return {};
      if (a.tipo() == n.lista.front().tipo())
        return Valor::logico(std::binary_search(n.lista.begin(), n.lista.end(), a, menorValor));
      // Another kind than the constants' (a bit stored as a number): each
      // equality as the comparison would test it.
      for (const Valor& c : n.lista)
        if (compararOperandos(n, a, c) == 0) return Valor::logico(true);
      return Valor::logico(false);
    }
    case Nodo::Clase::Like: {
      const Valor a = evaluarNodo(*n.hijos[0], fila);
      const Valor p = evaluarNodo(*n.hijos[1], fila);
      if (a.esNulo() || p.esNulo()) return {};
      if (a.tipo() != Valor::Tipo::Texto || p.tipo() != Valor::Tipo::Texto)
        errorTipos(n, QStringLiteral("LIKE compara textos"));
      return Valor::logico(coincidePatron(a.comoTexto(), p.comoTexto()));
    }
    case Nodo::Clase::Y:
    case Nodo::Clase::O: {
      // AND stops at the first false operand, OR at the first true one; an
      // unknown one leaves the result unknown unless one decides it.
      const int decide = n.clase == Nodo::Clase::Y ? 0 : 1;
      bool desconocido = false;
      for (const auto& h : n.hijos) {
        const int v = verdad(*h, evaluarNodo(*h, fila));
        if (v == decide) return Valor::logico(decide == 1);
        if (v < 0) desconocido = true;
      }
      return desconocido ? Valor() : Valor::logico(decide == 0);
    }
    case Nodo::Clase::No: {
      const int a = verdad(*n.hijos[0], evaluarNodo(*n.hijos[0], fila));
      return deVerdad(a < 0 ? -1 : 1 - a);
    }
    case Nodo::Clase::Negativo: {
      const Valor a = evaluarNodo(*n.hijos[0], fila);
      if (a.esNulo()) return {};
      if (a.tipo() != Valor::Tipo::Numero) errorTipos(n, QStringLiteral("el signo menos espera un número"));
      return Valor::numero(-a.comoNumero());
    }
    case Nodo::Clase::Funcion: {
      const Valor a = evaluarNodo(*n.hijos[0], fila);
      if (a.esNulo()) return {};
      if (n.funcion == Funcion::ToText) {
        return a.tipo() == Valor::Tipo::Texto ? a : Valor::texto(a.mostrar());
      }
      if (n.funcion == Funcion::ToNumber) {
        if (a.tipo() == Valor::Tipo::Numero) return a;
        if (a.tipo() == Valor::Tipo::Logico) return Valor::numero(a.comoLogico() ? 1 : 0);
        if (a.tipo() == Valor::Tipo::Texto) {
          bool ok = false;
          const double d = a.comoTexto().trimmed().toDouble(&ok);
          if (ok) return Valor::numero(d);
          errorTipos(n, QStringLiteral("tonumber recibió '%1', que no es un número").arg(a.comoTexto()));
        }
        errorTipos(n, QStringLiteral("tonumber no acepta una fecha"));
      }
      if (a.tipo() != Valor::Tipo::Texto) errorTipos(n, QStringLiteral("la función espera un texto"));
      const QString& s = a.comoTexto();
      switch (n.funcion) {
        case Funcion::TrimLeft: return Valor::texto(recortarIzquierda(s));
        case Funcion::TrimRight: return Valor::texto(recortarDerecha(s));
        case Funcion::Trim: return Valor::texto(recortarIzquierda(recortarDerecha(s)));
        case Funcion::UpperCase: return Valor::texto(s.toUpper());
        case Funcion::LowerCase: return Valor::texto(s.toLower());
        case Funcion::Length: return Valor::numero(double(s.size()));
        default: break;
      }
      return {};
    }
  }
  return {};
}

void resolverNodo(Nodo& n, const ResolverCampo& campos, const ResolverFormula& formulas) {
  if (n.clase == Nodo::Clase::Campo) {
    if (n.tabla.isEmpty() && n.campo.startsWith(QLatin1Char('@'))) {
      // {@Name}: a formula field of the report, a constant for this run.
      Valor v;
      const QString nombre = n.campo.mid(1).trimmed();
      if (!formulas || !formulas(nombre, v))
        lanzar(kErrorCampo,
               QStringLiteral(
                   "La fórmula de selección nombra, en la posición %1, la fórmula {@%2}, que el reporte no tiene")
                   .arg(n.posicion)
                   .arg(nombre));
      n.clase = Nodo::Clase::Constante;
      n.constante = v;
      return;
    }
    n.columna = campos ? campos(n.tabla, n.campo) : -1;
    if (n.columna < 0) {
      const QString nombre = n.tabla.isEmpty() ? n.campo : n.tabla + QLatin1Char('.') + n.campo;
      lanzar(
          kErrorCampo,
          QStringLiteral(
              "La fórmula de selección nombra, en la posición %1, el campo {%2}, que la consulta del reporte no tiene")
              .arg(n.posicion)
              .arg(nombre));
    }
  }
  for (auto& h : n.hijos) resolverNodo(*h, campos, formulas);
}

// A field seen through one-operand functions and signs ({T.F},
// TrimLeft(TrimRight({T.F}))) as a key that two equal such expressions
// share; empty for any other expression.
QString claveExpresion(const Nodo& n) {
  switch (n.clase) {
    case Nodo::Clase::Campo: return n.columna >= 0 ? QString::number(n.columna) : QString();
    case Nodo::Clase::Funcion:
    case Nodo::Clase::Negativo: {
      const QString k = claveExpresion(*n.hijos[0]);
      if (k.isEmpty()) return {};
      const QString f = n.clase == Nodo::Clase::Negativo ? QStringLiteral("-") : QString::number(int(n.funcion));
      return f + QLatin1Char('(') + k + QLatin1Char(')');
    }
    default: return {};
  }
}

// "expression = constant", either way round, with a constant a list can hold.
bool igualdadConConstante(const Nodo& n, const Nodo*& expresion, const Valor*& constante) {
  if (n.clase != Nodo::Clase::Comparacion || n.op != Operador::Igual) return false;
  for (size_t i : {size_t(0), size_t(1)}) {
    const Nodo& c = *n.hijos[i];
    const Nodo& e = *n.hijos[1 - i];
    const auto t = c.constante.tipo();
    if (c.clase == Nodo::Clase::Constante && e.clase != Nodo::Clase::Constante &&
        (t == Valor::Tipo::Texto || t == Valor::Tipo::Numero || t == Valor::Tipo::Fecha)) {
      expresion = &e;
      constante = &c.constante;
      return true;
    }
  }
  return false;
}

std::unique_ptr<Nodo> sinHijos(const Nodo& n) {
  auto c = std::make_unique<Nodo>();
  c->clase = n.clase;
  c->posicion = n.posicion;
  return c;
}

}  // namespace

std::unique_ptr<Nodo> conListas(const Nodo& n) {
  if (n.clase == Nodo::Clase::Y || n.clase == Nodo::Clase::No) {
    auto c = sinHijos(n);
    for (const auto& h : n.hijos) c->hijos.push_back(conListas(*h));
    return c;
  }
  if (n.clase != Nodo::Clase::O) return n.clonar();

  // Each run of equalities on one expression and kind of constant stands
  // where its first equality stood.
  struct Grupo {
    size_t indice;
    const Nodo* expresion;
    std::vector<Valor> valores;
  };
  std::vector<Grupo> grupos;
  QHash<QString, size_t> porClave;
  auto o = sinHijos(n);
  for (const auto& h : n.hijos) {
    const Nodo* expresion = nullptr;
    const Valor* constante = nullptr;
    QString clave;
    if (igualdadConConstante(*h, expresion, constante)) clave = claveExpresion(*expresion);
    if (clave.isEmpty()) {
      o->hijos.push_back(conListas(*h));
      continue;
    }
    clave += QLatin1Char('|') + QString::number(int(constante->tipo()));
    const auto it = porClave.constFind(clave);
    if (it != porClave.constEnd()) {
      grupos[*it].valores.push_back(*constante);
      continue;
    }
    porClave.insert(clave, grupos.size());
    grupos.push_back({o->hijos.size(), expresion, {*constante}});
    o->hijos.push_back(h->clonar());
  }
  for (Grupo& g : grupos) {
    if (g.valores.size() < 2) continue;
    auto en = std::make_unique<Nodo>();
    en->clase = Nodo::Clase::En;
    en->posicion = o->hijos[g.indice]->posicion;
    en->hijos.push_back(g.expresion->clonar());
    std::sort(g.valores.begin(), g.valores.end(), menorValor);
    g.valores.erase(std::unique(g.valores.begin(), g.valores.end(),
                                [](const Valor& a, const Valor& b) { return compararValores(a, b) == 0; }),
                    g.valores.end());
    en->lista = std::move(g.valores);
    o->hijos[g.indice] = std::move(en);
  }
  if (o->hijos.size() == 1) return std::move(o->hijos.front());
  return o;
}

std::unique_ptr<Nodo> Nodo::clonar() const {
  auto n = std::make_unique<Nodo>();
  n->clase = clase;
  n->posicion = posicion;
  n->tabla = tabla;
  n->campo = campo;
  n->columna = columna;
  n->constante = constante;
  n->op = op;
  n->funcion = funcion;
  n->lista = lista;
  n->hijos.reserve(hijos.size());
  for (const auto& h : hijos) n->hijos.push_back(h->clonar());
  return n;
}

Formula Formula::analizar(const QString& texto) {
  Formula f;
  f.texto_ = texto;
  if (texto.trimmed().isEmpty()) return f;
  Analizador a(f.texto_);
  f.raiz_ = a.todo();
  return f;
}

Formula Formula::desdeNodo(QString texto, std::unique_ptr<Nodo> raiz) {
  Formula f;
  f.texto_ = std::move(texto);
  f.raiz_ = std::move(raiz);
  return f;
}

void Formula::resolver(const ResolverCampo& campos, const ResolverFormula& formulas, const TipoColumna& tipos) {
  if (!raiz_) return;
  resolverNodo(*raiz_, campos, formulas);
  comprobarTipos(*raiz_, tipos);
  const auto t = tipoEstatico(*raiz_, tipos);
  if (t == Valor::Tipo::Texto || t == Valor::Tipo::Fecha)
    errorTipos(
        *raiz_,
        QStringLiteral("la fórmula de selección debe ser una condición, no un %1").arg(QLatin1String(nombreTipo(t))));
}

Valor Formula::evaluar(const Fila& fila) const { return raiz_ ? evaluarNodo(*raiz_, fila) : Valor::logico(true); }

bool Formula::selecciona(const Fila& fila) const {
  if (!raiz_) return true;
  return verdad(*raiz_, evaluarNodo(*raiz_, fila)) == 1;
}

bool coincidePatron(const QString& texto, const QString& patron) {
  // Iterative wildcard match with backtracking to the last '*'.
  qsizetype t = 0, p = 0, estrella = -1, marca = 0;
  const auto igual = [](QChar a, QChar b) { return a == b || a.toCaseFolded() == b.toCaseFolded(); };
  while (t < texto.size()) {
    if (p < patron.size() && patron.at(p) == QLatin1Char('*')) {
      estrella = p++;
      marca = t;
    } else if (p < patron.size() && (patron.at(p) == QLatin1Char('?') || igual(patron.at(p), texto.at(t)))) {
      ++p;
      ++t;
    } else if (estrella >= 0) {
      p = estrella + 1;
      t = ++marca;
    } else {
      return false;
    }
  }
  while (p < patron.size() && patron.at(p) == QLatin1Char('*')) ++p;
  return p == patron.size();
}

Valor::Tipo tipoEstatico(const Nodo& n, const TipoColumna& tipos) {
  switch (n.clase) {
    case Nodo::Clase::Campo: return tipos && n.columna >= 0 ? tipos(n.columna) : Valor::Tipo::Nulo;
    case Nodo::Clase::Constante: return n.constante.tipo();
    case Nodo::Clase::Comparacion:
    case Nodo::Clase::Like:
    case Nodo::Clase::En:
    case Nodo::Clase::Y:
    case Nodo::Clase::O:
    case Nodo::Clase::No: return Valor::Tipo::Logico;
    case Nodo::Clase::Negativo: return Valor::Tipo::Numero;
    case Nodo::Clase::Funcion:
      return n.funcion == Funcion::ToNumber || n.funcion == Funcion::Length ? Valor::Tipo::Numero : Valor::Tipo::Texto;
  }
  return Valor::Tipo::Nulo;
}

}  // namespace engine
