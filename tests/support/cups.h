#pragma once
// The private print service scripts/test starts for the printing tests: a
// CUPS scheduler on its own socket (CUPS_SERVER) whose default queue is a
// cups-pdf printer writing each job as a PDF into KV_CUPS_PDF. Header-only.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>

namespace prueba {

// The folder the queue writes into; empty when no private service runs
// (the test is then skipped: the command that runs every test starts one).
inline QString carpetaCupsPdf() { return qEnvironmentVariable("KV_CUPS_PDF"); }

#define KV_REQUIERE_CUPS()                                                                                  \
  do {                                                                                                      \
    if (prueba::carpetaCupsPdf().isEmpty()) GTEST_SKIP() << "sin el servicio de impresión de scripts/test"; \
  } while (0)

// The jobs' PDFs written so far.
inline QStringList trabajosCups() {
  return QDir(carpetaCupsPdf()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

// Waits for the queue to finish a job of the document `titulo` that was not
// among `antes` and returns its PDF; empty (the test failed) when none comes
// in time. The queue names each PDF after its job's title, blanks made "_",
// so tests running at once each find their own.
inline QString esperarTrabajoCups(const QStringList& antes, const QString& titulo, int ms = 60000) {
  const QString prefijo = QString(titulo).replace(QLatin1Char(' '), QLatin1Char('_'));
  QDeadlineTimer plazo(ms);
  while (!plazo.hasExpired()) {
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o")});
    lpstat.waitForFinished(10000);
    const bool pendientes = !lpstat.readAllStandardOutput().trimmed().isEmpty();
    if (!pendientes) {
      for (const QString& n : trabajosCups())
        if (!antes.contains(n) && n.startsWith(prefijo)) return QDir(carpetaCupsPdf()).absoluteFilePath(n);
    }
    QThread::msleep(200);
  }
  ADD_FAILURE() << "la cola de impresión no terminó el trabajo de " << titulo.toStdString();
  return {};
}

}  // namespace prueba
