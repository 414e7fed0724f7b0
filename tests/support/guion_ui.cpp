#include "tests/support/guion_ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "platform/ui/botones.h"
#include "platform/ui/consola_servicio.h"

namespace prueba {

namespace {

using Tipo = CajaMostrada::Tipo;

std::string s(const QString& texto) { return texto.toStdString(); }

const char* nombreTipo(Tipo tipo) {
  switch (tipo) {
    case Tipo::Mensaje: return "message box";
    case Tipo::Entrada: return "input box";
    case Tipo::Modal: return "modal dialog";
    case Tipo::Progreso: return "progress window";
  }
  return "box";
}

std::string describir(const CajaMostrada& caja) {
  std::string d = std::string(nombreTipo(caja.tipo)) + " \"" + s(caja.titulo) + "\": \"" + s(caja.texto) + "\"";
  if (caja.tipo == Tipo::Mensaje) d += " (buttons " + std::to_string(caja.botones) + ")";
  return d;
}

QString tituloEfectivo(const QString& titulo) { return titulo.isEmpty() ? ui::tituloPrograma() : titulo; }

QString sinAmpersand(QString texto) { return texto.remove(QLatin1Char('&')); }

}  // namespace

GuionUi::GuionUi() : pantalla_(ui::kPantallaConsola) {}

GuionUi::~GuionUi() { verificar(); }

GuionUi& GuionUi::esperarMensaje(int respuesta, const QString& texto, const QString& titulo,
                                 std::source_location donde) {
  Espera e;
  e.tipo = Tipo::Mensaje;
  e.respuesta = respuesta;
  e.texto = texto;
  e.titulo = titulo;
  e.donde = donde;
  esperas_.push_back(std::move(e));
  return *this;
}

GuionUi& GuionUi::esperarEntrada(const QString& tecleado, const QString& texto, const QString& titulo,
                                 std::source_location donde) {
  Espera e;
  e.tipo = Tipo::Entrada;
  e.tecleado = tecleado;
  e.texto = texto;
  e.titulo = titulo;
  e.donde = donde;
  esperas_.push_back(std::move(e));
  return *this;
}

GuionUi& GuionUi::esperarModal(Guion guion, const QString& nombre, std::source_location donde) {
  Espera e;
  e.tipo = Tipo::Modal;
  e.guion = std::move(guion);
  e.texto = nombre;
  e.donde = donde;
  esperas_.push_back(std::move(e));
  return *this;
}

GuionUi& GuionUi::esperarProgreso(bool cancelar, const QString& texto, const QString& titulo,
                                  std::source_location donde) {
  Espera e;
  e.tipo = Tipo::Progreso;
  e.respuesta = cancelar ? ui::vbCancel : ui::vbOK;
  e.texto = texto;
  e.titulo = titulo;
  e.donde = donde;
  esperas_.push_back(std::move(e));
  return *this;
}

void GuionUi::verificar() {
  for (const auto& e : esperas_) {
    ADD_FAILURE_AT(e.donde.file_name(), static_cast<int>(e.donde.line()))
        << "expected " << nombreTipo(e.tipo) << " was never shown"
        << (e.texto.isEmpty() ? std::string() : " (text \"" + s(e.texto) + "\")");
  }
  esperas_.clear();
}

QStringList GuionUi::textos() const {
  QStringList lista;
  for (const auto& c : mostradas_) lista << c.texto;
  return lista;
}

QStringList GuionUi::titulos() const {
  QStringList lista;
  for (const auto& c : mostradas_) lista << c.titulo;
  return lista;
}

bool GuionUi::tomar(Tipo tipo, const CajaMostrada& caja, Espera& espera) {
  if (esperas_.empty()) {
    ADD_FAILURE() << "unexpected " << describir(caja) << "; no box was expected";
    return false;
  }
  if (esperas_.front().tipo != tipo) {
    const Espera& siguiente = esperas_.front();
    ADD_FAILURE_AT(siguiente.donde.file_name(), static_cast<int>(siguiente.donde.line()))
        << "unexpected " << describir(caja) << "; expected next: " << nombreTipo(siguiente.tipo);
    return false;
  }
  espera = std::move(esperas_.front());
  esperas_.pop_front();
  return true;
}

void GuionUi::comprobar(const Espera& e, const CajaMostrada& caja) {
  const char* archivo = e.donde.file_name();
  const int linea = static_cast<int>(e.donde.line());
  if (caja.tipo == Tipo::Modal) {
    if (!e.texto.isEmpty() && !caja.texto.contains(e.texto) && !caja.titulo.contains(e.texto))
      ADD_FAILURE_AT(archivo, linea) << "expected a dialog named \"" << s(e.texto) << "\", shown " << describir(caja);
    return;
  }
  if (!caja.texto.contains(e.texto))
    ADD_FAILURE_AT(archivo, linea) << "expected text containing \"" << s(e.texto) << "\", shown " << describir(caja);
  if (!caja.titulo.contains(e.titulo))
    ADD_FAILURE_AT(archivo, linea) << "expected title containing \"" << s(e.titulo) << "\", shown " << describir(caja);
}

int GuionUi::MsgBox(const QString& prompt, int botones, const QString& titulo, const QString& detalle) {
  const CajaMostrada caja{Tipo::Mensaje, prompt, tituloEfectivo(titulo), botones, detalle};
  mostradas_.push_back(caja);
  Espera e;
  if (!tomar(Tipo::Mensaje, caja, e)) return ui::respuestaCancelar(botones);
  comprobar(e, caja);
  if (!ui::esRespuestaDe(botones, e.respuesta))
    ADD_FAILURE_AT(e.donde.file_name(), static_cast<int>(e.donde.line()))
        << "answer " << e.respuesta << " is not a button of the " << describir(caja);
  return e.respuesta;
}

QString GuionUi::InputBox(const QString& prompt, const QString& titulo, const QString&) {
  const CajaMostrada caja{Tipo::Entrada, prompt, tituloEfectivo(titulo), 0, {}};
  mostradas_.push_back(caja);
  Espera e;
  if (!tomar(Tipo::Entrada, caja, e)) return {};
  comprobar(e, caja);
  return e.tecleado;
}

int GuionUi::MostrarModal(QDialog& dialogo) {
  const CajaMostrada caja{Tipo::Modal, dialogo.objectName(), dialogo.windowTitle(), 0, {}};
  mostradas_.push_back(caja);
  Espera e;
  if (!tomar(Tipo::Modal, caja, e)) {
    dialogo.setResult(QDialog::Rejected);
    return QDialog::Rejected;
  }
  comprobar(e, caja);

  // Shown as exec() would show it, but without blocking: the script plays the
  // person. The caller owns the dialog, so delete-on-close is held off.
  const bool borrar = dialogo.testAttribute(Qt::WA_DeleteOnClose);
  const bool modal = dialogo.testAttribute(Qt::WA_ShowModal);
  auto restaurar = [&] {
    if (dialogo.isVisible()) dialogo.hide();
    dialogo.setAttribute(Qt::WA_ShowModal, modal);
    dialogo.setAttribute(Qt::WA_DeleteOnClose, borrar);
  };
  dialogo.setAttribute(Qt::WA_DeleteOnClose, false);
  dialogo.setAttribute(Qt::WA_ShowModal, true);
  dialogo.setResult(0);
  dialogo.show();
  if (!QTest::qWaitForWindowExposed(&dialogo)) ADD_FAILURE() << "the " << describir(caja) << " was not exposed";

  try {
    if (e.guion)
      e.guion(dialogo);
    else
      ADD_FAILURE_AT(e.donde.file_name(), static_cast<int>(e.donde.line())) << "modal dialog expected without a script";
  } catch (...) {
    restaurar();
    throw;
  }
  if (dialogo.isVisible())
    ADD_FAILURE_AT(e.donde.file_name(), static_cast<int>(e.donde.line()))
        << "the " << describir(caja) << " is still open after its script; the program would wait for the user";
  restaurar();
  return dialogo.result();
}

// Shows itself once, when the job has lasted long enough, taking the next
// expectation; from then on it answers as that expectation said.
class GuionUi::ProgresoGuion final : public ui::Progreso {
 public:
  ProgresoGuion(GuionUi& guion, QString titulo) : guion_(guion), titulo_(std::move(titulo)) {}

 protected:
  bool mostrar(const QString& texto, long, long) override {
    if (!mostrado_) {
      mostrado_ = true;
      const CajaMostrada caja{Tipo::Progreso, texto, tituloEfectivo(titulo_), 0, {}};
      guion_.mostradas_.push_back(caja);
      // Whether a window shows depends on the machine's speed: one nobody
      // expected is recorded, and fails nothing.
      if (!guion_.esperas_.empty() && guion_.esperas_.front().tipo == Tipo::Progreso) {
        Espera e;
        guion_.tomar(Tipo::Progreso, caja, e);
        guion_.comprobar(e, caja);
        cancelar_ = e.respuesta == ui::vbCancel;
      }
    }
    QCoreApplication::processEvents();
    return !cancelar_;
  }

 private:
  GuionUi& guion_;
  QString titulo_;
  bool mostrado_ = false;
  bool cancelar_ = false;
};

std::unique_ptr<ui::Progreso> GuionUi::IniciarProgreso(const QString& titulo) {
  return std::make_unique<ProgresoGuion>(*this, titulo);
}

void GuionUi::DoEvents() { QCoreApplication::processEvents(); }

void GuionUi::End(int codigo) {
  terminado_ = true;
  codigoFin_ = codigo;
  throw ui::FinPrograma{codigo};
}

GuionUi& instalarGuion() { return ctx::actual().instalar<ui::Servicio>(std::make_unique<GuionUi>()); }

GuionUi& guion() {
  if (ctx::actual().tiene<ui::Servicio>()) {
    if (auto* g = dynamic_cast<GuionUi*>(&ui::servicio())) return *g;
  }
  return instalarGuion();
}

void pulsar(QWidget& ventana, const QString& boton) {
  QAbstractButton* encontrado = nullptr;
  int cuantos = 0;
  for (auto* b : ventana.findChildren<QAbstractButton*>()) {
    if (b->objectName() == boton || sinAmpersand(b->text()) == boton) {
      encontrado = b;
      ++cuantos;
    }
  }
  if (cuantos != 1) {
    ADD_FAILURE() << (cuantos ? "more than one button \"" : "no button \"") << s(boton) << "\" in \""
                  << s(ventana.windowTitle()) << "\"";
    return;
  }
  if (!encontrado->isEnabled() || !encontrado->isVisible()) {
    ADD_FAILURE() << "button \"" << s(boton) << "\" cannot be pressed (disabled or hidden)";
    return;
  }
  QTest::mouseClick(encontrado, Qt::LeftButton);
}

void teclear(QWidget& ventana, const QString& campo, const QString& texto) {
  auto* editor = ventana.findChild<QLineEdit*>(campo);
  if (!editor) {
    ADD_FAILURE() << "no text field \"" << s(campo) << "\" in \"" << s(ventana.windowTitle()) << "\"";
    return;
  }
  editor->setFocus();
  editor->selectAll();
  if (texto.isEmpty())
    QTest::keyClick(editor, Qt::Key_Delete);
  else
    QTest::keyClicks(editor, texto);
}

}  // namespace prueba
