// The scripted UI that every other test relies on to answer the program's boxes.
#include "tests/support/guion_ui.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using prueba::CajaMostrada;

// A small login-like dialog: refuses an empty user with a message box.
class DialogoUsuario : public QDialog {
 public:
  DialogoUsuario() {
    setObjectName(QStringLiteral("frmUsuario"));
    setWindowTitle(QStringLiteral("Control de Acceso"));
    auto* capa = new QVBoxLayout(this);
    usuario = new QLineEdit(this);
    usuario->setObjectName(QStringLiteral("txtUsuario"));
    auto* aceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    aceptar->setObjectName(QStringLiteral("CmdAceptar"));
    auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    capa->addWidget(usuario);
    capa->addWidget(aceptar);
    capa->addWidget(cancelar);
    connect(aceptar, &QPushButton::clicked, this, [this] {
      if (usuario->text().isEmpty()) {
        ui::servicio().MsgBox(QStringLiteral("Falta el usuario"), ui::vbExclamation, QStringLiteral("Aviso"));
        return;
      }
      leido = usuario->text();
      accept();
    });
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
  }
  QLineEdit* usuario;
  QString leido;
};

TEST(GuionUi, AnswersInOrderAndRecordsWhatWasShown) {
  auto& guion = prueba::instalarGuion();
  guion.esperarMensaje(ui::vbRetry, "No se encuentra", "Aviso al Operador")
      .esperarEntrada("ana", "Usuario")
      .esperarMensaje(ui::vbNo);

  auto& s = ui::servicio();
  EXPECT_EQ(s.MsgBox("No se encuentra el Archivo x.rpt", ui::vbRetryCancel + ui::vbCritical, "Aviso al Operador"),
            ui::vbRetry);
  EXPECT_EQ(s.InputBox("Usuario:", "Entrada", "def"), "ana");
  EXPECT_EQ(s.MsgBox("¿Seguir?", ui::vbYesNo), ui::vbNo);
  EXPECT_EQ(guion.pendientes(), 0);

  ASSERT_EQ(guion.mostradas().size(), 3u);
  EXPECT_EQ(guion.mostradas()[0].botones, ui::vbRetryCancel + ui::vbCritical);
  EXPECT_EQ(guion.mostradas()[1].tipo, CajaMostrada::Tipo::Entrada);
  EXPECT_EQ(guion.textos(), QStringList({"No se encuentra el Archivo x.rpt", "Usuario:", "¿Seguir?"}));
  // A box without a title shows the program's.
  EXPECT_EQ(guion.titulos(), QStringList({"Aviso al Operador", "Entrada", ui::tituloPrograma()}));
}

TEST(GuionUi, FailsOnBoxesNobodyExpected) {
  auto& guion = prueba::instalarGuion();
  int respuesta = 0;
  EXPECT_NONFATAL_FAILURE(respuesta = ui::servicio().MsgBox("Sorpresa", ui::vbAbortRetryIgnore),
                          "unexpected message box");
  EXPECT_EQ(respuesta, ui::vbAbort);  // what nobody answers is the cancel answer

  QString texto = "x";
  EXPECT_NONFATAL_FAILURE(texto = ui::servicio().InputBox("Clave"), "unexpected input box");
  EXPECT_TRUE(texto.isEmpty());

  DialogoUsuario dialogo;
  dialogo.setResult(QDialog::Accepted);
  int resultado = -1;
  EXPECT_NONFATAL_FAILURE(resultado = ui::servicio().MostrarModal(dialogo), "unexpected modal dialog");
  EXPECT_EQ(resultado, QDialog::Rejected);
  EXPECT_EQ(dialogo.result(), QDialog::Rejected);
  EXPECT_EQ(guion.mostradas().size(), 3u);  // recorded all the same
}

TEST(GuionUi, FailsOnWrongKindTextOrAnswer) {
  auto& guion = prueba::instalarGuion();
  // A message box where an input box is due leaves the input box waiting.
  guion.esperarEntrada("ana");
  EXPECT_NONFATAL_FAILURE(ui::servicio().MsgBox("Hola"), "expected next: input box");
  EXPECT_EQ(guion.pendientes(), 1);
  EXPECT_EQ(ui::servicio().InputBox("Usuario"), "ana");

  guion.esperarMensaje(ui::vbOK, "Archivo", "Aviso");
  EXPECT_NONFATAL_FAILURE(ui::servicio().MsgBox("Otra cosa", ui::vbOKOnly, "Aviso"), "expected text containing");
  guion.esperarMensaje(ui::vbOK, "Archivo", "Aviso");
  EXPECT_NONFATAL_FAILURE(ui::servicio().MsgBox("Archivo", ui::vbOKOnly, "Error"), "expected title containing");
  // Retry is no answer to an OK-only box: the routine under test shows the wrong buttons.
  guion.esperarMensaje(ui::vbRetry);
  EXPECT_NONFATAL_FAILURE(ui::servicio().MsgBox("Error"), "is not a button");
}

TEST(GuionUi, FailsForExpectationsNeverShown) {
  auto& guion = prueba::instalarGuion();
  guion.esperarMensaje(ui::vbOK, "Listo");
  EXPECT_NONFATAL_FAILURE(guion.verificar(), "expected message box was never shown");
  EXPECT_EQ(guion.pendientes(), 0);

  EXPECT_NONFATAL_FAILURE(
      {
        prueba::GuionUi local;
        local.esperarModal([](QDialog&) {});
      },
      "expected modal dialog was never shown");
}

TEST(GuionUi, ModalScriptDrivesTheRealDialog) {
  auto& guion = prueba::instalarGuion();
  guion
      .esperarModal(
          [](QDialog& d) {
            EXPECT_TRUE(d.isVisible());
            EXPECT_TRUE(d.isModal());
            prueba::teclear(d, "txtUsuario", "");
            prueba::pulsar(d, "Aceptar");  // empty user: the dialog's own message box, then it stays
            EXPECT_TRUE(d.isVisible());
            prueba::teclear(d, "txtUsuario", "zz");
            prueba::teclear(d, "txtUsuario", "ana");
            prueba::pulsar(d, "CmdAceptar");
          },
          "frmUsuario")
      .esperarMensaje(ui::vbOK, "Falta el usuario", "Aviso");

  DialogoUsuario dialogo;
  dialogo.usuario->setText("previo");  // typed over, not appended to
  EXPECT_EQ(ui::servicio().MostrarModal(dialogo), QDialog::Accepted);
  EXPECT_EQ(dialogo.leido, "ana");
  EXPECT_FALSE(dialogo.isVisible());
  EXPECT_EQ(guion.titulos(), QStringList({"Control de Acceso", "Aviso"}));
}

TEST(GuionUi, ModalDialogEndsHiddenAndKeepsItsOwner) {
  auto& guion = prueba::instalarGuion();
  // A script that leaves the dialog open fails: the real program would still be waiting.
  guion.esperarModal([](QDialog&) {});
  DialogoUsuario abierto;
  EXPECT_NONFATAL_FAILURE(ui::servicio().MostrarModal(abierto), "still open after its script");
  EXPECT_FALSE(abierto.isVisible());

  // Hiding itself ends the show with result 0; delete-on-close does not delete it.
  guion.esperarModal([](QDialog& d) { d.hide(); });
  auto* propio = new DialogoUsuario;
  propio->setAttribute(Qt::WA_DeleteOnClose);
  propio->setResult(QDialog::Accepted);
  QPointer<QDialog> vivo(propio);
  EXPECT_EQ(ui::servicio().MostrarModal(*propio), 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(vivo.isNull());
  EXPECT_TRUE(propio->testAttribute(Qt::WA_DeleteOnClose));
  delete propio;
}

TEST(GuionUi, HelpersFailOnMissingOrDisabledControls) {
  DialogoUsuario dialogo;
  EXPECT_NONFATAL_FAILURE(prueba::pulsar(dialogo, "Salir"), "no button");
  EXPECT_NONFATAL_FAILURE(prueba::teclear(dialogo, "txtClave", "x"), "no text field");
  auto* aceptar = dialogo.findChild<QPushButton*>("CmdAceptar");
  aceptar->setEnabled(false);
  dialogo.show();
  bool pulsado = false;
  QObject::connect(aceptar, &QPushButton::clicked, [&] { pulsado = true; });
  EXPECT_NONFATAL_FAILURE(prueba::pulsar(dialogo, "CmdAceptar"), "cannot be pressed");
  EXPECT_FALSE(pulsado);
}

TEST(GuionUi, EndThrowsAndIsRecorded) {
  auto& guion = prueba::instalarGuion();
  bool siguio = false;
  try {
    ui::servicio().End(3);
    siguio = true;
  } catch (const ui::FinPrograma& fin) {
    EXPECT_EQ(fin.codigo, 3);
  }
  EXPECT_FALSE(siguio);
  EXPECT_TRUE(guion.terminado());
  EXPECT_EQ(guion.codigoFin(), 3);
}

TEST(GuionUi, EveryTestStartsWithOne) {
  // Installed by the test main: a stray box fails instead of waiting for a person.
  EXPECT_NE(dynamic_cast<prueba::GuionUi*>(&ui::servicio()), nullptr);
  EXPECT_EQ(&prueba::guion(), &ui::servicio());
}

}  // namespace
