#include "platform/vb/variant.h"

#include "platform/vb/convert.h"
#include "platform/vb/error.h"

namespace vb {

VarType Variant::type() const {
  struct Visitor {
    VarType operator()(std::monostate) const { return VarType::Empty; }
    VarType operator()(NullTag) const { return VarType::Null; }
    VarType operator()(bool) const { return VarType::Boolean; }
    VarType operator()(std::int16_t) const { return VarType::Integer; }
    VarType operator()(std::int32_t) const { return VarType::Long; }
    VarType operator()(std::int64_t) const { return VarType::LongLong; }
    VarType operator()(std::uint8_t) const { return VarType::Byte; }
    VarType operator()(float) const { return VarType::Single; }
    VarType operator()(double) const { return VarType::Double; }
    VarType operator()(Currency) const { return VarType::Currency; }
    VarType operator()(const QDateTime&) const { return VarType::Date; }
    VarType operator()(const QString&) const { return VarType::String; }
  };
  return std::visit(Visitor{}, valor_);
}

bool Variant::isNumeric() const {
  switch (type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::LongLong:
    case VarType::Byte:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Empty: return true;
    case VarType::String: return IsNumeric(*get<QString>());
    default: return false;
  }
}

QString Variant::toString() const { return CStr(*this); }
QString Variant::toText() const { return (isNull() || isEmpty()) ? QString() : CStr(*this); }
double Variant::toDouble() const { return CDbl(*this); }
std::int16_t Variant::toInteger() const { return CInt(*this); }
std::int32_t Variant::toLong() const { return CLng(*this); }
Currency Variant::toCurrency() const { return CCur(*this); }
bool Variant::toBool() const { return CBool(*this); }
QDateTime Variant::toDate() const { return CDate(*this); }

}  // namespace vb
