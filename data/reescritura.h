#pragma once
// Statement rewriting: the restricted synonyms of the accounting tables for
// users who are not administrators, and the translation of the suite's
// SQL Server dialect into Oracle's. DB_Dll applies them with its own session
// values; they are free functions so that they can be used and measured alone.
#include <QString>
#include <QStringList>

namespace reescritura {

// Points the restricted tables at their "SS_" synonyms (unless `esAdmin`) and
// removes every "@Admin_" marker.
QString SS_TSinonimos(const QString& sql, bool esAdmin);

// The statement in the Oracle dialect when `connString` names Oracle; the
// statement unchanged otherwise. An unpaired quote raises error 5.
QString ORACLE_Dicc(const QString& valor, const QString& connString);

// The empty text for statements Oracle must not see (SET NOCOUNT, IF NOT
// EXIST...); the statement otherwise. The caller's variable gets the same.
QString DescartaSentenciaSQLServer(QString& sentencia);

// A SQL Server script cleaned for statement-by-statement running: NOCOUNT and
// GO lines dropped, CR turned to blanks, transaction statements in Oracle's words.
QString limpiarScript(const QString& script);

// The statement starting at the first keyword at or after `desde` and ending
// before the next keyword. False when no keyword is left; otherwise `desde`
// moves to the keyword that ended the statement (or the end of the script).
bool siguienteSentencia(const QString& script, qsizetype& desde, QString& sentencia);

}  // namespace reescritura
