#include "platform/vb/traza.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <cerrno>

#include "platform/vb/archivos.h"

namespace vb {

namespace {

QStringList& secretos() {
  static QStringList lista;
  return lista;
}

int archivoDeTraza = -1;
QtMessageHandler manejadorAnterior = nullptr;

void escribirTraza(QtMsgType tipo, const QMessageLogContext& contexto, const QString& mensaje) {
  const char* categoria = contexto.category ? contexto.category : "";
  if (qstrncmp(categoria, "korvane.", 8) != 0) {
    if (manejadorAnterior) manejadorAnterior(tipo, contexto, mensaje);
    return;
  }
  const QByteArray linea = (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz ")) +
                            QLatin1String(categoria) + QStringLiteral(": ") + mensaje + QLatin1Char('\n'))
                               .toUtf8();
  // One write per line, so that lines never mix; the trace is best effort.
  for (qsizetype hecho = 0; hecho < linea.size();) {
    const ssize_t n = ::write(archivoDeTraza, linea.constData() + hecho, static_cast<size_t>(linea.size() - hecho));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    hecho += n;
  }
}

}  // namespace

void trazaEnArchivo(const QString& ruta) {
  const int fd = ::open(QFile::encodeName(ruta).constData(),
                        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
  if (fd < 0) {
    if (errno == ELOOP) throw Error(kPathFileAccessError);  // a link in the file's place
    throw errorDeSistema(errno, true);
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw Error(kPathFileAccessError);
  }
  if (archivoDeTraza >= 0) ::close(archivoDeTraza);
  archivoDeTraza = fd;
  QLoggingCategory::setFilterRules(QStringLiteral("korvane.*.warning=true"));
  QtMessageHandler anterior = qInstallMessageHandler(escribirTraza);
  if (anterior != escribirTraza) manejadorAnterior = anterior;
}

void ocultarEnTraza(const QString& secreto) {
  if (secreto.isEmpty() || secretos().contains(secreto)) return;
  secretos().append(secreto);
}

QString sinSecretos(QString texto) {
  // "Password=...", "Pwd=...", "@Password=...", "Jet OLEDB:Database Password=...": up to the ";".
  static const QRegularExpression clave(QStringLiteral(R"((password|pwd)(\s*=\s*)[^;]*)"),
                                        QRegularExpression::CaseInsensitiveOption);
  texto.replace(clave, QStringLiteral(R"(\1\2***)"));
  for (const QString& s : secretos()) texto.replace(s, QStringLiteral("***"));
  return texto;
}

void registrar(const Rutina& rutina, const Error& error, QStringView como) {
  if (!rutina.categoria.isWarningEnabled()) return;
  QString texto = QStringLiteral("%1: error %2, %3")
                      .arg(QLatin1String(rutina.nombre))
                      .arg(error.Number())
                      .arg(error.Description().isEmpty() ? descripcionError(error.Number()) : error.Description());
  if (!error.Source().isEmpty()) texto += QStringLiteral(" (") + error.Source() + QLatin1Char(')');
  texto += QStringLiteral(": ");
  texto += como;
  if (!error.Detalle().isEmpty()) texto += QStringLiteral("; detalle: ") + error.Detalle();
  qCWarning(rutina.categoria).noquote() << sinSecretos(texto);
}

}  // namespace vb
