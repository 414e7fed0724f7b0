#pragma once
// Every message box, input box, modal dialog and program end goes through the
// UI service of the program context. The Qt implementation shows real widgets;
// the scripted one (tests/support/guion_ui.h) answers tests from a queue; the
// console one (consola_servicio.h) serves batch runs with no person at the screen.
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

#include "platform/ctx/programa.h"
#include "platform/ui/progreso.h"

class QDialog;

namespace ui {

// Button and icon codes of the message box, as the platform numbers them.
enum Botones : int {
  vbOKOnly = 0,
  vbOKCancel = 1,
  vbAbortRetryIgnore = 2,
  vbYesNoCancel = 3,
  vbYesNo = 4,
  vbRetryCancel = 5,
  vbCritical = 16,
  vbQuestion = 32,
  vbExclamation = 48,
  vbInformation = 64,
  vbDefaultButton1 = 0,
  vbDefaultButton2 = 256,
  vbDefaultButton3 = 512,
  vbApplicationModal = 0,
  vbSystemModal = 4096,
};

// Answer codes.
enum Respuesta : int {
  vbOK = 1,
  vbCancel = 2,
  vbAbort = 3,
  vbRetry = 4,
  vbIgnore = 5,
  vbYes = 6,
  vbNo = 7,
};

// Thrown by Servicio::End() in implementations where the process goes on
// (tests): "the program ends at once", so no further code of the routine runs.
struct FinPrograma {
  int codigo = 0;
};

class Servicio {
 public:
  virtual ~Servicio() = default;

  // A modal message box; returns the answer code. An empty title takes the
  // program's name, as the platform does. A detail (the statement a database
  // refused) is shown folded, apart from the prompt, which should stay short.
  virtual int MsgBox(const QString& prompt, int botones = vbOKOnly, const QString& titulo = {},
                     const QString& detalle = {}) = 0;

  // A modal input box; returns the typed text, or an empty text on cancel.
  virtual QString InputBox(const QString& prompt, const QString& titulo = {}, const QString& predeterminado = {}) = 0;

  // Shows a dialog modally and returns when it is hidden; returns the
  // dialog's result code (0 when it hid itself without done()). The caller
  // keeps ownership: the dialog is not deleted even with WA_DeleteOnClose.
  virtual int MostrarModal(QDialog& dialogo) = 0;

  // The progress window of a job that starts now (see progreso.h); it
  // closes when destroyed. The console's shows nothing and never cancels.
  virtual std::unique_ptr<Progreso> IniciarProgreso(const QString& titulo = {});

  // The screen's size in pixels.
  virtual QSize Pantalla() const = 0;

  // The part of the screen a window may take (without panels and docks), in
  // pixels; where nothing tells it apart, the whole screen.
  virtual QRect AreaDisponible() const { return QRect(QPoint(0, 0), Pantalla()); }

  // Processes pending window events once.
  virtual void DoEvents() = 0;

  // Ends the program at once: no further code runs.
  [[noreturn]] virtual void End(int codigo = 0) = 0;
};

// The service of the context in force.
Servicio& servicio();

// The program's title for boxes without one: the application name when the
// program set one, else "Rp_Usuarios".
QString tituloPrograma();

}  // namespace ui

template <>
struct ctx::Fabrica<ui::Servicio> {
  static std::unique_ptr<ui::Servicio> crear();  // the Qt implementation
};
