#pragma once
// The record-selection formula language: {TABLE.FIELD}, texts in single (or
// double) quotes, numbers, TRUE/FALSE, Date(y,m,d), comparisons, LIKE with *
// and ?, AND/OR/NOT, parentheses and the text functions the program writes.
// A formula is parsed once, its fields resolved against the report's columns,
// then either translated to SQL (sql.h) or evaluated row by row.
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "engine/valor.h"

namespace engine {

using Fila = std::vector<Valor>;

enum class Operador { Igual, Distinto, Menor, Mayor, MenorIgual, MayorIgual };
enum class Funcion { TrimLeft, TrimRight, Trim, UpperCase, LowerCase, ToNumber, ToText, Length };

// AND and OR nodes hold every operand of a run of them (a OR b OR c is one
// node of three), so that a selection of thousands of values is one level
// deep. En, "expression = one of the constants", is not written in formulas:
// conListas() makes it of an OR of equalities.
struct Nodo {
  enum class Clase { Campo, Constante, Comparacion, Like, Y, O, No, Funcion, Negativo, En };
  Clase clase = Clase::Constante;
  int posicion = 0;      // 1-based character position in the formula text
  QString tabla, campo;  // Campo: {tabla.campo}; tabla empty for {campo}
  int columna = -1;      // Campo: resolved column index
  Valor constante;       // Constante
  Operador op = Operador::Igual;
  Funcion funcion = Funcion::Trim;
  std::vector<std::unique_ptr<Nodo>> hijos;
  std::vector<Valor> lista;  // En: the constants, of one kind, sorted, each once

  std::unique_ptr<Nodo> clonar() const;
};

// Resolves a field of the formula to a column index, or -1 when the report's
// query has no such column.
using ResolverCampo = std::function<int(const QString& tabla, const QString& campo)>;
// The value of a formula field {@Name}; nullopt-like: returns false when unknown.
using ResolverFormula = std::function<bool(const QString& nombre, Valor& valor)>;
// The kind of a column as far as it is known (Nulo: unknown).
using TipoColumna = std::function<Valor::Tipo(int columna)>;

class Formula {
 public:
  Formula() = default;
  // Parses the text; an empty or blank text selects every row. A syntax
  // error, or nesting deeper than 200 levels, raises vb::Error naming the position.
  static Formula analizar(const QString& texto);

  const QString& texto() const { return texto_; }
  bool vacia() const { return !raiz_; }
  const Nodo* raiz() const { return raiz_.get(); }

  // Binds fields to columns and {@Name} to the formula fields' values; an
  // unknown field, or an operand whose known kind cannot take part in its
  // comparison, raises vb::Error naming the field and its position.
  void resolver(const ResolverCampo& campos, const ResolverFormula& formulas, const TipoColumna& tipos = {});

  // The formula's value for a row (three-valued: null when unknown).
  Valor evaluar(const Fila& fila) const;
  // True only when the formula is TRUE for the row; an empty formula keeps every row.
  bool selecciona(const Fila& fila) const;

  // Builds a formula around an already resolved tree (the part of a
  // selection left to evaluate in memory).
  static Formula desdeNodo(QString texto, std::unique_ptr<Nodo> raiz);

 private:
  QString texto_;
  std::unique_ptr<Nodo> raiz_;
};

// A copy of a resolved tree in which each OR of equalities between one
// field expression and constants of one kind ({T.F} = 'a' OR {T.F} = 'b')
// is one En node, looked up instead of compared term by term.
std::unique_ptr<Nodo> conListas(const Nodo& raiz);

// Whole-text match of a LIKE pattern (* any run, ? one character), ignoring case.
bool coincidePatron(const QString& texto, const QString& patron);

// The kind a node yields when evaluated, as far as it is known statically.
Valor::Tipo tipoEstatico(const Nodo& n, const TipoColumna& tipos);

}  // namespace engine
