#include "platform/ui/consola_servicio.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "platform/ui/botones.h"

namespace ui {

namespace {

// What the dialog says, as a person would read it: its labels' texts, in
// order, leaving out the hidden ones and the captions of fields (labels with
// a buddy). A dialog that says nothing is named by its objectName.
QString textoDialogo(const QDialog& dialogo) {
  QStringList textos;
  for (const QLabel* l : dialogo.findChildren<QLabel*>()) {
    if (l->buddy() || !l->isVisibleTo(&dialogo)) continue;
    const QString t = l->text().trimmed();
    if (!t.isEmpty()) textos << t;
  }
  return textos.isEmpty() ? dialogo.objectName() : textos.join(QStringLiteral("; "));
}

}  // namespace

ConsolaServicio::ConsolaServicio(std::ostream& salida) : salida_(salida) {}

void ConsolaServicio::escribir(const QString& titulo, const QString& texto, const QString& respuesta) {
  const QString linea = (titulo.isEmpty() ? tituloPrograma() : titulo) + QStringLiteral(": ") + textoCaja(texto) +
                        QStringLiteral(" [") + respuesta + QStringLiteral("]\n");
  salida_ << linea.toStdString();
  salida_.flush();
}

int ConsolaServicio::MsgBox(const QString& prompt, int botones, const QString& titulo, const QString& detalle) {
  const int respuesta = respuestaCancelar(botones);
  escribir(titulo, prompt, textoRespuesta(respuesta));
  if (!detalle.isEmpty()) {
    salida_ << (QStringLiteral("  Detalle: ") + textoCaja(detalle) + QLatin1Char('\n')).toStdString();
    salida_.flush();
  }
  return respuesta;
}

QString ConsolaServicio::InputBox(const QString& prompt, const QString& titulo, const QString&) {
  escribir(titulo, prompt, textoRespuesta(vbCancel));
  return {};
}

int ConsolaServicio::MostrarModal(QDialog& dialogo) {
  escribir(dialogo.windowTitle(), textoDialogo(dialogo), textoRespuesta(vbCancel));
  dialogo.setResult(QDialog::Rejected);
  return QDialog::Rejected;
}

QSize ConsolaServicio::Pantalla() const { return kPantallaConsola; }

void ConsolaServicio::DoEvents() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void ConsolaServicio::End(int codigo) {
  salida_.flush();
  terminarProceso(codigo);
}

void terminarProceso(int codigo) {
  std::cout.flush();
  std::cerr.flush();
  std::clog.flush();
  std::fflush(nullptr);
  // _Exit, not exit: the program ends where it stands, without running the
  // destructors of forms and objects still in use further up the stack.
  std::_Exit(codigo);
}

}  // namespace ui
