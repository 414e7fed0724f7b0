#pragma once
// The UI service with real widgets: QMessageBox with the platform's Spanish
// buttons, an input box dialog, QDialog::exec for modal shows.
#include "platform/ui/consola_servicio.h"
#include "platform/ui/servicio.h"

namespace ui {

class QtServicio : public Servicio {
 public:
  // Esc answers Cancel where the box has it and OK where OK is alone; on
  // Yes/No and Abort/Retry/Ignore Esc and the window's close do nothing,
  // as on the platform. A box closed some other way answers respuestaCancelar().
  // The box never outgrows the screen: a prompt too long for it is cut, and
  // the whole of it goes to the folded detail with `detalle`.
  int MsgBox(const QString& prompt, int botones = vbOKOnly, const QString& titulo = {},
             const QString& detalle = {}) override;
  QString InputBox(const QString& prompt, const QString& titulo = {}, const QString& predeterminado = {}) override;
  int MostrarModal(QDialog& dialogo) override;
  // A QProgressDialog, modal to the whole program while it shows.
  std::unique_ptr<Progreso> IniciarProgreso(const QString& titulo = {}) override;
  QSize Pantalla() const override;
  QRect AreaDisponible() const override;
  void DoEvents() override;
  [[noreturn]] void End(int codigo = 0) override;

 private:
  // Without a QApplication there are no widgets to show: boxes go to the console.
  static bool hayWidgets();
  ConsolaServicio consola_;
};

}  // namespace ui
