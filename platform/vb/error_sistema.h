#pragma once
// System error texts in Spanish. The C library and Qt word a failure in
// English ("No such file or directory"); the messages the program composes
// around one name the common causes in Spanish, through these.
#include <QString>

namespace vb {

// The text for a system error number (errno): Spanish for a missing file or
// folder, no permission, a full disk and a read-only one; the system's own
// words for the rest.
QString textoErrorSistema(int numero);

// The same for a text Qt gave (QFile::errorString() and the like), which is
// the system's words for the error number; any other text is kept.
QString textoErrorSistema(const QString& textoQt);

}  // namespace vb
