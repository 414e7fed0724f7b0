#include "platform/ado/tipos.h"

namespace ado::detalle {

namespace {

constexpr long kTextoLargo = 1073741823;  // what ADO reports for a text without a limit

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
  if (es("INTEGER") || es("INT") || es("LONG") || es("MEDIUMINT") || es("INT4")) return {adInteger, 4};
  if (es("SMALLINT") || es("INT2") || es("SHORT")) return {adSmallInt, 2};
  if (es("TINYINT") || es("BYTE")) return {adUnsignedTinyInt, 1};
  if (es("BIGINT") || es("INT8") || es("UNSIGNED BIG INT")) return {adBigInt, 8};
  if (es("BIT") || es("BOOLEAN") || es("BOOL") || es("YESNO") || es("LOGICAL")) return {adBoolean, 2};
  if (es("MONEY") || es("SMALLMONEY") || es("CURRENCY")) return {adCurrency, 8};
  if (es("DECIMAL") || es("NUMERIC") || es("NUMBER")) return {adNumeric, 19};
  if (es("REAL") || es("FLOAT") || es("DOUBLE") || es("DOUBLE PRECISION")) return {adDouble, 8};
  if (es("SINGLE")) return {adSingle, 4};
  if (es("DATETIME") || es("DATETIME2") || es("SMALLDATETIME") || es("TIMESTAMP")) return {adDBTimeStamp, 16};
  if (es("DATE")) return {adDate, 8};
  if (es("TIME")) return {adDBTime, 6};
  if (es("NVARCHAR") || es("NATIONAL VARCHAR") || es("NATIONAL CHARACTER VARYING"))
    return {adVarWChar, tamanoEntreParentesis(d, kTextoLargo)};
  if (es("VARCHAR") || es("CHARACTER VARYING") || es("VARYING CHARACTER") || es("VARCHAR2"))
    return {adVarChar, tamanoEntreParentesis(d, kTextoLargo)};
  if (es("NCHAR") || es("NATIONAL CHAR") || es("NATIONAL CHARACTER")) return {adWChar, tamanoEntreParentesis(d, 1)};
  if (es("CHAR") || es("CHARACTER")) return {adChar, tamanoEntreParentesis(d, 1)};
  if (es("TEXT") || es("NTEXT") || es("CLOB") || es("MEMO") || es("LONGTEXT")) return {adVarWChar, kTextoLargo};
  if (es("BLOB") || es("IMAGE") || es("VARBINARY") || es("BINARY")) return {adLongVarBinary, kTextoLargo};
  if (es("UNIQUEIDENTIFIER") || es("GUID")) return {adGUID, 16};
  // SQLite's affinity rules for anything else.
  if (base.contains(QLatin1String("INT"))) return {adInteger, 4};
  if (base.contains(QLatin1String("CHAR")) || base.contains(QLatin1String("TEXT")) || base.contains(QLatin1String("CLOB")))
    return {adVarWChar, tamanoEntreParentesis(d, kTextoLargo)};
  if (base.contains(QLatin1String("REAL")) || base.contains(QLatin1String("FLOA")) || base.contains(QLatin1String("DOUB")))
    return {adDouble, 8};
  if (empieza("DATE")) return {adDBTimeStamp, 16};
  return {adVarWChar, kTextoLargo};
}

bool esTexto(DataTypeEnum tipo) {
  switch (tipo) {
    case adBSTR: case adChar: case adWChar: case adVarChar: case adLongVarChar: case adVarWChar:
    case adLongVarWChar:
      return true;
    default:
      return false;
  }
}

}  // namespace ado::detalle
