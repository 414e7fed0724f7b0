#include "suite/dialogo_archivo.h"

#include <QFileDialog>
#include <QFileInfo>

#include "platform/ui/servicio.h"

namespace ZepaKit2 {

QStringList DialogoArchivo::filtrosQt(const QString& filtro) {
  const QStringList partes = filtro.split(QLatin1Char('|'));
  QStringList r;
  for (qsizetype i = 0; i + 1 < partes.size(); i += 2) {
    const QString descripcion = partes[i].trimmed();
    QStringList patrones;
    for (const QString& p : partes[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString t = p.trimmed();
      if (t.isEmpty()) continue;
      // Linux names are case sensitive; the suite's patterns were not.
      for (const QString& v : {t, t.toLower(), t.toUpper()})
        if (!patrones.contains(v)) patrones.append(v);
    }
    if (patrones.isEmpty()) continue;
    r.append(QStringLiteral("%1 (%2)").arg(descripcion.isEmpty() ? patrones.first() : descripcion,
                                           patrones.join(QLatin1Char(' '))));
  }
  return r;
}

void DialogoArchivo::MostrarAbrir() {
  QFileDialog dialogo;
  dialogo.setObjectName(QStringLiteral("dlgAbrirArchivo"));
  dialogo.setWindowTitle(titulo_.isEmpty() ? QStringLiteral("Abrir") : titulo_);
  dialogo.setAcceptMode(QFileDialog::AcceptOpen);
  dialogo.setFileMode(QFileDialog::ExistingFile);
  // The same dialog everywhere, and one that tests can drive.
  dialogo.setOption(QFileDialog::DontUseNativeDialog, true);
  const QStringList filtros = filtrosQt(filtro_);
  if (!filtros.isEmpty()) dialogo.setNameFilters(filtros);
  if (!nombreArchivo_.isEmpty()) {
    const QFileInfo inicial(nombreArchivo_);
    if (inicial.dir().exists()) dialogo.setDirectory(inicial.absolutePath());
    dialogo.selectFile(inicial.fileName());
  }
  ui::servicio().MostrarModal(dialogo);
  const QStringList elegidos = dialogo.selectedFiles();
  cancelado_ = dialogo.result() != QDialog::Accepted || elegidos.isEmpty() || elegidos.first().isEmpty();
  if (!cancelado_) nombreArchivo_ = elegidos.first();
}

}  // namespace ZepaKit2
