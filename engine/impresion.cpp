#include "engine/impresion.h"

#include <cups/cups.h>
#include <sys/socket.h>
#include <QPrinter>
#include <QString>

#include "engine/errores.h"

namespace engine {

void comprobarServicioImpresion() {
  // The server the clients are set to (CUPS_SERVER, client.conf, else the
  // local socket), asked as Qt's printer will ask it.
  const char* servidor = cupsServer();
  if (http_t* h = httpConnect2(servidor, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr)) {
    httpClose(h);
    return;
  }
  lanzar(kErrorSalida, QStringLiteral("No se puede imprimir: el servicio de impresión (CUPS) no responde en %1.\n"
                                      "Verifique que esté en marcha o avise al administrador del sistema.")
                           .arg(QString::fromLocal8Bit(servidor)));
}

void comprobarTrabajoAceptado(const QPrinter& impresora) {
  // Qt's printer sent the job last of all and keeps no answer; the library
  // keeps the last one for this thread.
  if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) return;
  lanzar(kErrorSalida, QStringLiteral("La impresora %1 no aceptó el reporte: %2")
                           .arg(impresora.printerName(), QString::fromUtf8(cupsLastErrorString())));
}

}  // namespace engine
