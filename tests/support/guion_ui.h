#pragma once
// The scripted UI service for tests. Every message box, input box and modal
// dialog the program shows takes the next expectation of a queue, in order;
// any box nobody expected fails the test, and so does an expectation left
// unshown at the end. Modal dialogs are real: a script drives the shown
// dialog with QTest, so the dialog's own code runs.
//
//   auto& ui = prueba::instalarGuion();
//   ui.esperarMensaje(ui::vbRetry, "No se encuentra", "Aviso al Operador");
//   ui.esperarModal([](QDialog& d) { prueba::teclear(d, "txtUsuario", "ana");
//                                    prueba::pulsar(d, "Aceptar"); });
#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <source_location>
#include <vector>

#include "platform/ui/servicio.h"

class QWidget;

namespace prueba {

// One box the program showed.
struct CajaMostrada {
  enum class Tipo { Mensaje, Entrada, Modal, Progreso };
  Tipo tipo;
  QString texto;    // the prompt; for a modal dialog its objectName; for a progress window its first text
  QString titulo;   // the title shown (the program's title when none was given)
  int botones = 0;  // the message box's button code
  QString detalle;  // the message box's folded detail
};

class GuionUi : public ui::Servicio {
 public:
  using Guion = std::function<void(QDialog&)>;

  GuionUi();
  ~GuionUi() override;  // fails the test for every expectation not shown
  GuionUi(const GuionUi&) = delete;
  GuionUi& operator=(const GuionUi&) = delete;

  // The next box is a message box answered with `respuesta` (which must be one
  // of its buttons); when given, its text and title must contain these texts.
  GuionUi& esperarMensaje(int respuesta, const QString& texto = {}, const QString& titulo = {},
                          std::source_location donde = std::source_location::current());
  // The next box is an input box in which the user types `tecleado` and
  // accepts (an empty text is what a cancel gives too).
  GuionUi& esperarEntrada(const QString& tecleado, const QString& texto = {}, const QString& titulo = {},
                          std::source_location donde = std::source_location::current());
  // The next box is a modal dialog, shown and handed to `guion`, which must
  // close it (accept, reject or hide). `nombre`, when given, must be contained
  // in the dialog's objectName or window title.
  GuionUi& esperarModal(Guion guion, const QString& nombre = {},
                        std::source_location donde = std::source_location::current());

  // The next box is a progress window: one that lasted long enough to show
  // (ui::Progreso::kDemoraMs). With `cancelar` the person presses Cancelar
  // as soon as it shows; else it runs to its end. A job short enough to show
  // none consumes no expectation; as that depends on the machine's speed, a
  // window nobody expected is only recorded in mostradas().
  GuionUi& esperarProgreso(bool cancelar, const QString& texto = {}, const QString& titulo = {},
                           std::source_location donde = std::source_location::current());

  // Fails the test for every expectation not shown yet and forgets them.
  void verificar();
  int pendientes() const { return static_cast<int>(esperas_.size()); }

  // Every box shown, in order, expected or not.
  const std::vector<CajaMostrada>& mostradas() const { return mostradas_; }
  QStringList textos() const;
  QStringList titulos() const;

  // Whether End() was called, and with which code.
  bool terminado() const { return terminado_; }
  int codigoFin() const { return codigoFin_; }

  void setPantalla(QSize tamano) { pantalla_ = tamano; }

  int MsgBox(const QString& prompt, int botones = ui::vbOKOnly, const QString& titulo = {},
             const QString& detalle = {}) override;
  QString InputBox(const QString& prompt, const QString& titulo = {}, const QString& predeterminado = {}) override;
  int MostrarModal(QDialog& dialogo) override;
  std::unique_ptr<ui::Progreso> IniciarProgreso(const QString& titulo = {}) override;
  QSize Pantalla() const override { return pantalla_; }
  void DoEvents() override;
  // Records the end and throws ui::FinPrograma, so no further code runs.
  [[noreturn]] void End(int codigo = 0) override;

 private:
  class ProgresoGuion;
  struct Espera {
    CajaMostrada::Tipo tipo = CajaMostrada::Tipo::Mensaje;
    int respuesta = 0;  // a progress window: vbCancel when Cancelar is pressed
    QString tecleado;
    Guion guion;
    QString texto;
    QString titulo;
    std::source_location donde;
  };
  // The next expectation when it is of this kind; else fails the test.
  bool tomar(CajaMostrada::Tipo tipo, const CajaMostrada& caja, Espera& espera);
  void comprobar(const Espera& espera, const CajaMostrada& caja);

  std::deque<Espera> esperas_;
  std::vector<CajaMostrada> mostradas_;
  QSize pantalla_;
  bool terminado_ = false;
  int codigoFin_ = 0;
};

// Installs a fresh scripted UI in the current context and returns it.
GuionUi& instalarGuion();
// The current context's scripted UI (every test starts with one installed).
GuionUi& guion();

// Clicks the button of `ventana` whose objectName or caption (without "&") is
// `boton`; fails the test when there is none or more than one.
void pulsar(QWidget& ventana, const QString& boton);
// Types `texto` into the QLineEdit of `ventana` named `campo`, over what it held.
void teclear(QWidget& ventana, const QString& campo, const QString& texto);

}  // namespace prueba
