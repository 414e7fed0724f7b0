#pragma once
// A value as the routines see it: Empty (never assigned) and Null (no data)
// are different things, and several routines depend on the difference.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <variant>

namespace vb {

// Fixed-point amount with four decimals, stored as ten-thousandths.
struct Currency {
  std::int64_t diezMilesimos = 0;

  static Currency desdeDiezMilesimos(std::int64_t v) { return Currency{v}; }
  double toDouble() const { return static_cast<double>(diezMilesimos) / 10000.0; }
  friend bool operator==(Currency a, Currency b) { return a.diezMilesimos == b.diezMilesimos; }
  friend auto operator<=>(Currency a, Currency b) { return a.diezMilesimos <=> b.diezMilesimos; }
};

// The kinds, numbered as the platform's VarType numbers them.
enum class VarType : int {
  Empty = 0,
  Null = 1,
  Integer = 2,  // 16-bit
  Long = 3,     // 32-bit
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Boolean = 11,
  Byte = 17,
  LongLong = 20,
};

struct NullTag {
  friend bool operator==(NullTag, NullTag) { return true; }
};

class Variant {
 public:
  Variant() = default;  // Empty
  static Variant Null() {
    Variant v;
    v.valor_ = NullTag{};
    return v;
  }

  Variant(bool b) : valor_(b) {}
  Variant(std::int16_t i) : valor_(i) {}
  Variant(std::int32_t l) : valor_(l) {}
  Variant(std::int64_t l) : valor_(l) {}
  Variant(std::uint8_t b) : valor_(b) {}
  Variant(float f) : valor_(f) {}
  Variant(double d) : valor_(d) {}
  Variant(Currency c) : valor_(c) {}
  Variant(const QDateTime& f) : valor_(f) {}
  Variant(const QString& s) : valor_(s) {}
  Variant(QString&& s) : valor_(std::move(s)) {}
  Variant(const char* s) : valor_(QString::fromUtf8(s)) {}

  VarType type() const;
  bool isEmpty() const { return valor_.index() == 0; }
  bool isNull() const { return std::holds_alternative<NullTag>(valor_); }
  bool isNumeric() const;  // a number kind, or a text that reads whole as a number
  bool isText() const { return std::holds_alternative<QString>(valor_); }

  // Direct access to the stored alternative; nullptr when it holds another kind.
  template <class T>
  const T* get() const {
    return std::get_if<T>(&valor_);
  }

  // Conversions with the platform's rules (see convert.h for the details):
  // Null raises error 94 except in toText(), which gives an empty text.
  QString toString() const;        // CStr
  QString toText() const;          // null-safe text: Null and Empty give ""
  double toDouble() const;         // CDbl
  std::int16_t toInteger() const;  // CInt, half to even, error 6 on overflow
  std::int32_t toLong() const;     // CLng, half to even, error 6 on overflow
  Currency toCurrency() const;     // CCur
  bool toBool() const;             // CBool
  QDateTime toDate() const;        // CDate

  friend bool operator==(const Variant& a, const Variant& b) { return a.valor_ == b.valor_; }

 private:
  using Valor = std::variant<std::monostate, NullTag, bool, std::int16_t, std::int32_t, std::int64_t, std::uint8_t,
                             float, double, Currency, QDateTime, QString>;
  Valor valor_;
};

}  // namespace vb
