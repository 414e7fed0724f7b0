#pragma once
// The UI service for batch runs with no person at the screen: every box is
// written to a stream (standard error) and takes its cancel answer.
#include <iostream>

#include "platform/ui/servicio.h"

namespace ui {

// The screen size reported where there is no screen.
inline const QSize kPantallaConsola{1920, 1080};

class ConsolaServicio : public Servicio {
 public:
  explicit ConsolaServicio(std::ostream& salida = std::cerr);

  // Writes "title: text [answer]", then the detail, if any, on a line of its
  // own ("  Detalle: ..."), and answers respuestaCancelar().
  int MsgBox(const QString& prompt, int botones = vbOKOnly, const QString& titulo = {},
             const QString& detalle = {}) override;
  // Writes "title: prompt [Cancelar]" and answers an empty text.
  QString InputBox(const QString& prompt, const QString& titulo = {}, const QString& predeterminado = {}) override;
  // The dialog is not shown: "title: what it says [Cancelar]" is written (an
  // error dialog's number, description and routine), it is left rejected and
  // 0 is returned.
  int MostrarModal(QDialog& dialogo) override;
  QSize Pantalla() const override;
  void DoEvents() override;
  [[noreturn]] void End(int codigo = 0) override;

 private:
  void escribir(const QString& titulo, const QString& texto, const QString& respuesta);
  std::ostream& salida_;
};

// Flushes the standard streams and every open C stream, then ends the process
// with the code; no destructor, handler or further program code runs.
[[noreturn]] void terminarProceso(int codigo);

}  // namespace ui
