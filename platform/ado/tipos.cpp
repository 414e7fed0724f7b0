#include "platform/ado/tipos.h"

namespace ado::detalle {

namespace {

long tamanoEntreParentesis(QStringView d, long porDefecto) {
  const qsizetype abre = d.indexOf(u'(');
  if (abre < 0) return porDefecto;
  const qsizetype cierra = d.indexOf(u')', abre);
  QStringView dentro = d.mid(abre + 1, cierra < 0 ? -1 : cierra - abre - 1).trimmed();
  const qsizetype coma = dentro.indexOf(u',');
  if (coma >= 0) dentro = dentro.left(coma).trimmed();
  if (dentro.compare(u"max", Qt::CaseInsensitive) == 0) return kTextoLargo;
  bool ok = false;
  const long n = dentro.toLong(&ok);
  return ok && n > 0 ? n : porDefecto;
}

TipoAdo fijo(DataTypeEnum tipo) { return {tipo, tamanoFijo(tipo, 0)}; }

}  // namespace

TipoAdo tipoDeclarado(QStringView declarado) {
  QStringView d = declarado.trimmed();
  qsizetype fin = 0;
  while (fin < d.size() && (d[fin].isLetterOrNumber() || d[fin] == u'_' || d[fin] == u' ')) {
    if (d[fin] == u' ') {
      // Two-word names such as "DOUBLE PRECISION" or "UNSIGNED BIG INT".
      qsizetype k = fin;
      while (k < d.size() && d[k] == u' ') ++k;
      if (k >= d.size() || !d[k].isLetter()) break;
    }
    ++fin;
  }
  const QString base = d.left(fin).trimmed().toString().toUpper();
  auto es = [&](const char* n) { return base == QLatin1String(n); };
  auto empieza = [&](const char* n) { return base.startsWith(QLatin1String(n)); };

  if (base.isEmpty()) return {adVarWChar, 0};
  if (es("INTEGER") || es("INT") || es("LONG") || es("MEDIUMINT") || es("INT4")) return fijo(adInteger);
  if (es("SMALLINT") || es("INT2") || es("SHORT")) return fijo(adSmallInt);
  if (es("TINYINT") || es("BYTE")) return fijo(adUnsignedTinyInt);
  if (es("BIGINT") || es("INT8") || es("UNSIGNED BIG INT")) return fijo(adBigInt);
  if (es("BIT") || es("BOOLEAN") || es("BOOL") || es("YESNO") || es("LOGICAL")) return fijo(adBoolean);
  if (es("MONEY") || es("SMALLMONEY") || es("CURRENCY")) return fijo(adCurrency);
  if (es("DECIMAL") || es("NUMERIC") || es("NUMBER")) return fijo(adNumeric);
  if (es("REAL") || es("FLOAT") || es("DOUBLE") || es("DOUBLE PRECISION")) return fijo(adDouble);
  if (es("SINGLE")) return fijo(adSingle);
  if (es("DATETIME") || es("DATETIME2") || es("SMALLDATETIME") || es("TIMESTAMP")) return fijo(adDBTimeStamp);
  if (es("DATE")) return fijo(adDate);
  if (es("TIME")) return fijo(adDBTime);
  if (es("NVARCHAR") || es("NATIONAL VARCHAR") || es("NATIONAL CHARACTER VARYING"))
    return {adVarWChar, tamanoEntreParentesis(d, kTextoLargo)};
  if (es("VARCHAR") || es("CHARACTER VARYING") || es("VARYING CHARACTER") || es("VARCHAR2"))
    return {adVarChar, tamanoEntreParentesis(d, kTextoLargo)};
  if (es("NCHAR") || es("NATIONAL CHAR") || es("NATIONAL CHARACTER")) return {adWChar, tamanoEntreParentesis(d, 1)};
  if (es("CHAR") || es("CHARACTER")) return {adChar, tamanoEntreParentesis(d, 1)};
  if (es("TEXT") || es("NTEXT") || es("CLOB") || es("MEMO") || es("LONGTEXT")) return {adVarWChar, kTextoLargo};
  if (es("BLOB") || es("IMAGE") || es("VARBINARY") || es("BINARY")) return {adLongVarBinary, kTextoLargo};
  if (es("UNIQUEIDENTIFIER") || es("GUID")) return fijo(adGUID);
  // SQLite's affinity rules for anything else.
  if (base.contains(QLatin1String("INT"))) return fijo(adInteger);
  if (base.contains(QLatin1String("CHAR")) || base.contains(QLatin1String("TEXT")) ||
      base.contains(QLatin1String("CLOB")))
    return {adVarWChar, tamanoEntreParentesis(d, kTextoLargo)};
  if (base.contains(QLatin1String("REAL")) || base.contains(QLatin1String("FLOA")) ||
      base.contains(QLatin1String("DOUB")))
    return fijo(adDouble);
  if (empieza("DATE")) return fijo(adDBTimeStamp);
  return {adVarWChar, kTextoLargo};
}

long tamanoFijo(DataTypeEnum tipo, long propio) {
  switch (tipo) {
    case adUnsignedTinyInt:
    case adTinyInt: return 1;
    case adSmallInt:
    case adBoolean: return 2;
    case adInteger:
    case adSingle: return 4;
    case adBigInt:
    case adDouble:
    case adCurrency:
    case adDate: return 8;
    case adDBDate:
    case adDBTime: return 6;
    case adDBTimeStamp:
    case adGUID: return 16;
    case adNumeric:
    case adDecimal: return 19;
    default: return propio;
  }
}

bool esTexto(DataTypeEnum tipo) {
  switch (tipo) {
    case adBSTR:
    case adChar:
    case adWChar:
    case adVarChar:
    case adLongVarChar:
    case adVarWChar:
    case adLongVarWChar: return true;
    default: return false;
  }
}

vb::Variant valorEntero(std::int64_t v, DataTypeEnum tipo) {
  switch (tipo) {
    case adBoolean: return vb::Variant(v != 0);
    case adCurrency: return vb::Variant(vb::Currency{v * 10000});
    case adDouble:
    case adNumeric:
    case adDecimal: return vb::Variant(static_cast<double>(v));
    case adSingle: return vb::Variant(static_cast<float>(v));
    case adBigInt: return vb::Variant(v);
    case adSmallInt:
      if (v >= INT16_MIN && v <= INT16_MAX) return vb::Variant(static_cast<std::int16_t>(v));
      break;
    case adUnsignedTinyInt:
      if (v >= 0 && v <= 255) return vb::Variant(static_cast<std::uint8_t>(v));
      break;
    default:
      if (esTexto(tipo)) return vb::Variant(QString::number(v));
      break;
  }
  if (v >= INT32_MIN && v <= INT32_MAX) return vb::Variant(static_cast<std::int32_t>(v));
  return vb::Variant(v);
}

}  // namespace ado::detalle
