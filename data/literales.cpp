// Literal formatting: how a value of each ADO type is written into SQL text,
// and the cleaning of object names taken from schema lists.
#include <algorithm>
#include <initializer_list>
#include <optional>

#include "data/db_dll.h"
#include "platform/vb/convert.h"
#include "suite/util_general.h"

namespace {

// The code compared by value: 7 and "7" are the same; a code that is not a
// number belongs to no group.
bool enGrupo(const vb::Variant& codigo, std::initializer_list<int> grupo) {
  if (codigo.isNull() || codigo.isEmpty() || !codigo.isNumeric()) return false;
  double valor = 0;
  try {
    valor = codigo.toDouble();
  } catch (const vb::Error&) {
    return false;
  }
  return std::any_of(grupo.begin(), grupo.end(), [valor](int c) { return valor == c; });
}

}  // namespace

bool DB_Dll::adodate(const vb::Variant& Qtype) const { return enGrupo(Qtype, {7, 64, 133, 134, 135, 137}); }

bool DB_Dll::ADOText(const vb::Variant& Qtype) const { return enGrupo(Qtype, {8, 129, 130, 200, 201, 202, 203}); }

bool DB_Dll::ADONumeric(const vb::Variant& Qtype) const {
  return enGrupo(Qtype, {2, 3, 4, 5, 14, 16, 17, 18, 19, 20, 21, 131});
}

bool DB_Dll::ADOCurrency(const vb::Variant& Qtype) const { return enGrupo(Qtype, {6}); }

bool DB_Dll::ADOBoolean(const vb::Variant& Qtype) const { return enGrupo(Qtype, {11}); }

QString DB_Dll::ADOComilla(const vb::Variant& Qtype) const {
  return (adodate(Qtype) || ADOText(Qtype)) ? QStringLiteral("'") : QString();
}

vb::Variant DB_Dll::SQLValue(vb::Variant Valor, const QString& Tipo) const {
  if (Tipo == QLatin1String("@")) {
    if (Valor.isNull() || Valor.isEmpty()) return vb::Variant(QStringLiteral("0"));
    // An amount is a number or nothing: "12abc" is not 12, nor junk 0.
    const QString texto = vb::CStr(Valor).trimmed();
    if (!vb::IsNumeric(texto)) throw vb::Error(vb::kTypeMismatch, {}, QStringLiteral("SQLValue"));
    const vb::Currency importe = ZepaKit2::util().ValorNumerico(texto);
    return vb::Variant(
        ZepaKit2::util().Reemplazar(vb::CStr(vb::Variant(importe)), QStringLiteral(","), QStringLiteral(".")));
  }
  if (Valor.isNull()) return vb::Variant(QStringLiteral("NULL"));
  // A quote inside is doubled, so that the value stays one literal whatever it holds.
  if (Tipo == QLatin1String("'"))
    return vb::Variant(QLatin1Char('\'') + vb::CStr(Valor).replace(QLatin1Char('\''), QStringLiteral("''")) +
                       QLatin1Char('\''));
  return vb::Variant(vb::CStr(Valor));
}

QString DB_Dll::AddBrackets(const QString& rObjName) const {
  if (rObjName.contains(QLatin1Char(' ')) && !rObjName.startsWith(QLatin1Char('[')))
    return QLatin1Char('[') + rObjName + QLatin1Char(']');
  return rObjName;
}

QString DB_Dll::StripBrackets(const QString& rsObjName) const {
  if (!rsObjName.startsWith(QLatin1Char('['))) return rsObjName;
  if (rsObjName.size() < 2) throw vb::Error(vb::kInvalidProcedureCall);
  return rsObjName.mid(1, rsObjName.size() - 2);
}

QString DB_Dll::StripConnect(const QString& rsTblName) const {
  const qsizetype p = rsTblName.indexOf(QLatin1String("->"));
  if (p < 0) return rsTblName;
  // One more character goes: the blank written before the arrow.
  if (p < 1) throw vb::Error(vb::kInvalidProcedureCall);
  return rsTblName.left(p - 1);
}

QString DB_Dll::StripOwner(QString& rsTblName) const {
  const qsizetype p = rsTblName.indexOf(QLatin1Char('.'));
  if (p >= 0) rsTblName = rsTblName.mid(p + 1);
  return rsTblName;
}

QString DB_Dll::StripFileName(const QString& rsFileName) const {
  // Names come from both worlds: the suite's own paths and this system's.
  const qsizetype p = std::max(rsFileName.lastIndexOf(QLatin1Char('\\')), rsFileName.lastIndexOf(QLatin1Char('/')));
  return p <= 0 ? QString() : rsFileName.left(p);
}

QString DB_Dll::stSTF(QString& rsName, bool rnPart) const {
  if (rsName.count(QLatin1Char('.')) >= 2) return StripOwner(rsName);
  const qsizetype p = rsName.indexOf(QLatin1Char('.'));
  if (rnPart) return p < 0 ? rsName : rsName.mid(p + 1);
  if (p < 0) throw vb::Error(vb::kInvalidProcedureCall);
  return rsName.left(p);
}

void DB_Dll::QConsulta(const vb::Variant&, const vb::Variant&, const vb::Variant&, const vb::Variant&,
                       const vb::Variant&, const vb::Variant&) const {}

void DB_Dll::QGridConsulta(const vb::Variant&, const vb::Variant&, const vb::Variant&, const vb::Variant&,
                           const vb::Variant&) const {}
