// The error box with its log: TratamientoErrores shows a run-time error and
// appends a line with the user's answer to the suite's error log.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <exception>

#include "data/registro_errores.h"

#include "data/db_dll.h"
#include "data/traza.h"
#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/vb/dates.h"
#include "platform/vb/manejo.h"
#include "platform/vb/reloj.h"
#include "platform/vb/strings.h"

namespace {

QString textoRespuesta(int respuesta) {
  switch (respuesta) {
    case ui::vbRetry: return QStringLiteral("Reintentar");
    case ui::vbIgnore: return QStringLiteral("Ignorar");
    case ui::vbAbort: return QStringLiteral("Abortar");
    case ui::vbCancel: return QStringLiteral("Cancelar");
    case ui::vbYes: return QStringLiteral("Sí");
    case ui::vbNo: return QStringLiteral("No");
    default: return {};
  }
}

}  // namespace

void registro_errores::anexarLinea(const QString& ruta, const QByteArray& linea) {
  const QByteArray nombre = QFile::encodeName(ruta);
  const int fd = ::open(nombre.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  ::flock(fd, LOCK_EX);
  // A full disk can take half a line: the log is cut back to where it was,
  // so that it never ends in a broken line that the next one would continue.
  struct stat st;
  const off_t antes = ::fstat(fd, &st) == 0 ? st.st_size : -1;
  const char* p = linea.constData();
  qsizetype falta = linea.size();
  while (falta > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(falta));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    p += n;
    falta -= n;
  }
  if (falta > 0 && antes >= 0 && ::ftruncate(fd, antes) != 0) {
    // Nothing more can be done for a log that cannot even be cut.
  }
  ::flock(fd, LOCK_UN);
  ::close(fd);
}

QString DB_Dll::rutaRegistroErrores() const {
  if (!gLogErr.isEmpty()) return gLogErr;
  QString carpeta = ctx::actual().carpetaPrograma();
  if (!carpeta.endsWith(QLatin1Char('/'))) carpeta += QLatin1Char('/');
  return carpeta + QStringLiteral("KVERR.LOG");
}

namespace {

QString mensajeDe(const vb::Error& e) {
  return QStringLiteral("Ha ocurrido el Siguiente Error (") + QString::number(e.Number()) + QStringLiteral(") ") +
         vb::Trim(e.Description());
}

}  // namespace

void DB_Dll::RegistrarError(const vb::Error& CodErr, const QString& Rutina, int respuesta) {
  const QDateTime ahora = vb::Now();
  QString mensaje = vb::Trim(mensajeDe(CodErr));
  if (!CodErr.Detalle().isEmpty()) mensaje += QStringLiteral(" Detalle: ") + CodErr.Detalle();
  // One line per error, whatever the texts hold.
  mensaje.replace(QLatin1String("\r\n"), QLatin1String(" "));
  mensaje.replace(QLatin1Char('\n'), QLatin1Char(' '));
  mensaje.replace(QLatin1Char('\r'), QLatin1Char(' '));
  const QString linea = ahora.toString(QStringLiteral("MM-dd-yyyy")) + QLatin1Char(' ') +
                        ahora.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" Rutina: ") + vb::Trim(Rutina) +
                        QStringLiteral(" Mensaje ") + mensaje + QStringLiteral(" Respondió : ") +
                        textoRespuesta(respuesta) + QStringLiteral("\r\n");
  registro_errores::anexarLinea(rutaRegistroErrores(), linea.toUtf8());
}

int DB_Dll::TratamientoErrores(const vb::Error& CodErr, std::optional<int> Botones,
                               const std::optional<vb::Variant>& Rutina) {
  int respuesta = 0;
  try {
    const QString mensaje = mensajeDe(CodErr);
    const QString rutina = Rutina ? QStringLiteral(" - ") + Rutina->toText() : QString();
    const QString titulo = CodErr.Source() + rutina + QStringLiteral(" Aviso al operador!!! ");
    if (CodErr.Number() == 0) return 0;

    respuesta = ui::servicio().MsgBox(mensaje, Botones.value_or(ui::vbAbortRetryIgnore | ui::vbCritical), titulo,
                                      CodErr.Detalle());
    RegistrarError(CodErr, rutina, respuesta);
  } catch (const vb::Error& e) {
    // Nothing here may stop the caller's own handling: the answer stands.
    vb::registrar({traza::data(), "TratamientoErrores"}, e, u"el error no llegó al registro; la respuesta vale");
  } catch (const std::exception& e) {
    vb::registrar({traza::data(), "TratamientoErrores"}, vb::comoError(e),
                  u"el error no llegó al registro; la respuesta vale");
  }
  return respuesta;
}
