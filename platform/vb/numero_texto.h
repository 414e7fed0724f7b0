#pragma once
// Reading numbers from text without passing through binary floating point, so
// that amounts keep their exact decimals: a number is kept as its decimal
// digits and a power of ten until the caller asks for a double or a Currency.
#include <QString>
#include <QStringView>
#include <optional>
#include <string>

#include "platform/vb/variant.h"

namespace vb::detalle {

// ±digitos × 10^exponente; empty digitos is zero.
struct Numero {
  bool negativo = false;
  std::string digitos;
  int exponente = 0;
};

// The whole text (blanks around it ignored) read as a number with the given
// separators: optional sign, digits (thousands only in whole groups of three),
// decimal separator, exponent E or D, or a "&H"/"&O" whole number.
// nullopt when the text is not a number; error 6 when a hex value is too big.
std::optional<Numero> leerNumero(QStringView texto, QChar decimal, QChar miles);

// The double nearest to the number; error 6 when out of range.
double aDouble(const Numero& n);
// Rounded half to even to four decimals; error 6 when out of range.
Currency aCurrency(const Numero& n);
// A double as its 15 significant digits, the precision the platform shows.
Numero desdeDouble(double d);

// d rounded half to even to a whole number (d finite).
double redondearPar(double d);

}  // namespace vb::detalle
