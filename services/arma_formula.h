#pragma once
// The range filter builder: from/to ranges over report fields turned into a
// record-selection formula of the report engine ({TABLA.CAMPO} fields,
// quoted text constants, AND / OR and parentheses).
#include <QString>
#include <cstdint>
#include <vector>

namespace ModGlobal {

// One range. Tipo is the field's ADO data type: 2, 4, 5, 6 and 20 are
// numbers, 7 a date, anything else text.
struct FiltroRango {
  QString Desde;
  QString Hasta;
  QString Campo;
  std::int16_t Tipo = 0;
  bool SinTrim = false;  // text fields: compare the field without trimming it
  QString Operador;      // "AND" or "OR" joining this range to the earlier ones; empty is AND
};

// Builds the formula of every range, in order. On success `formula` gets it
// (empty when no range holds a value) and `mensaje` is left alone; at the
// first fault `mensaje` gets its text and `formula` keeps what it held. A
// number bound that does not convert raises its error (13, 6) to the caller,
// and so does an empty list (9), which has no bounds to walk.
void ArmaFormula(const std::vector<FiltroRango>& rangos, QString& formula, QString* mensaje = nullptr);

}  // namespace ModGlobal
