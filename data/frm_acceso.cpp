#include "data/frm_acceso.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/ui/twips.h"

namespace {

QLabel* etiqueta(QWidget* padre, const char* nombre, const QString& texto, int arriba, const QFont& fuente) {
  auto* l = new QLabel(texto, padre);
  l->setObjectName(QString::fromLatin1(nombre));
  l->setFont(fuente);
  l->setGeometry(ui::rectTwips(240, arriba + 30, 1575, 255));
  return l;
}

QLineEdit* campo(QWidget* padre, const char* nombre, int arriba, const QFont& fuente) {
  auto* t = new QLineEdit(padre);
  t->setObjectName(QString::fromLatin1(nombre));
  t->setFont(fuente);
  t->setGeometry(ui::rectTwips(1920, arriba, 2535, 315));
  return t;
}

}  // namespace

frmAcceso::frmAcceso(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAcceso"));
  setWindowTitle(QStringLiteral("Control de Acceso"));
  setFixedSize(ui::tamanoTwips(4935, 3180));

  QFont fuenteEtiqueta(QStringLiteral("Courier"));
  fuenteEtiqueta.setStyleHint(QFont::TypeWriter);
  QFont fuenteCampo(QStringLiteral("MS Sans Serif"));
  fuenteCampo.setStyleHint(QFont::SansSerif);

  framAcceso = new QFrame(this);
  framAcceso->setObjectName(QStringLiteral("framAcceso"));
  framAcceso->setFrameShape(QFrame::Box);
  framAcceso->setGeometry(ui::rectTwips(120, 60, 4695, 2445));

  lbUsuario = etiqueta(framAcceso, "lbUsuario", QStringLiteral("&Usuario"), 300, fuenteEtiqueta);
  TxtUserId = campo(framAcceso, "TxtUserId", 300, fuenteCampo);
  lbcontrasena = etiqueta(framAcceso, "lbcontrasena", QStringLiteral("&Contraseña"), 720, fuenteEtiqueta);
  TxtUserPassword = campo(framAcceso, "TxtUserPassword", 720, fuenteCampo);
  TxtUserPassword->setEchoMode(QLineEdit::Password);
  // The suite's dialogs mask with "*", not with the style's bullet.
  TxtUserPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
  Label1 = etiqueta(framAcceso, "Label1", QStringLiteral("&Base de Datos"), 1140, fuenteEtiqueta);
  TxtDbName = campo(framAcceso, "TxtDbName", 1140, fuenteCampo);
  Label2 = etiqueta(framAcceso, "Label2", QStringLiteral("&Servidor"), 1560, fuenteEtiqueta);
  TxtServidor = campo(framAcceso, "TxtServidor", 1560, fuenteCampo);

  lbUsuario->setBuddy(TxtUserId);
  lbcontrasena->setBuddy(TxtUserPassword);
  Label1->setBuddy(TxtDbName);
  Label2->setBuddy(TxtServidor);

  CboPlataformaDB = new QComboBox(framAcceso);
  CboPlataformaDB->setObjectName(QStringLiteral("CboPlataformaDB"));
  CboPlataformaDB->setFont(fuenteCampo);
  CboPlataformaDB->addItem(QStringLiteral("SQL Server"));
  CboPlataformaDB->addItem(QStringLiteral("ORACLE"));
  CboPlataformaDB->setGeometry(ui::rectTwips(1920, 1980, 2535, 315));

  bcAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  bcAceptar->setObjectName(QStringLiteral("bcAceptar"));
  bcAceptar->setGeometry(ui::rectTwips(1320, 2640, 1575, 405));
  bcAceptar->setDefault(true);
  bcCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  bcCancelar->setObjectName(QStringLiteral("bcCancelar"));
  bcCancelar->setGeometry(ui::rectTwips(3000, 2640, 1575, 405));

  setTabOrder(TxtUserId, TxtUserPassword);
  setTabOrder(TxtUserPassword, TxtDbName);
  setTabOrder(TxtDbName, TxtServidor);
  setTabOrder(TxtServidor, CboPlataformaDB);
  setTabOrder(CboPlataformaDB, bcAceptar);
  setTabOrder(bcAceptar, bcCancelar);

  connect(bcAceptar, &QPushButton::clicked, this, [this] { bcAceptar_Click(); });
  connect(bcCancelar, &QPushButton::clicked, this, [this] { bcCancelar_Click(); });
}

void frmAcceso::Load() {
  const QSize pantalla = ui::servicio().Pantalla();
  move(pantalla.width() / 2 - width() / 2, pantalla.height() / 2 - height() / 2);
  TxtUserId->setFocus();
}

void frmAcceso::Unload() { hide(); }

void frmAcceso::keyPressEvent(QKeyEvent* evento) {
  // Esc is the "Cancelar" button, so it records the answer; the close box
  // (reject) does not.
  if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier) {
    bcCancelar->click();
    return;
  }
  QDialog::keyPressEvent(evento);
}

void frmAcceso::bcAceptar_Click() {
  Aceptar = true;
  done(QDialog::Accepted);
}

void frmAcceso::bcCancelar_Click() {
  Aceptar = false;
  done(QDialog::Rejected);
}

frmAcceso& accesoDialogo() { return ctx::actual().instancia<frmAcceso>(); }
