#pragma once
// "Control de Acceso": the modal dialog where the user types the connection
// data when the program starts without a server. The caller fills the fields,
// shows it, and reads the fields and Aceptar back; the dialog itself only
// centres itself and records which button closed it.
#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class frmAcceso : public QDialog {
  Q_OBJECT

 public:
  explicit frmAcceso(QWidget* parent = nullptr);

  // True when last closed with "Aceptar", False when last closed with
  // "Cancelar". The close box leaves it as it was, and so does Load: the
  // object lives for the whole run.
  bool Aceptar = false;

  // Form load: centres the dialog on the screen (it may end partly off a
  // screen smaller than itself).
  void Load();
  // Form unload: hides it; the object and Aceptar survive for the next request.
  void Unload();

  QFrame* framAcceso;
  QLabel* lbUsuario;
  QLabel* lbcontrasena;
  QLabel* Label1;
  QLabel* Label2;
  QLineEdit* TxtUserId;
  QLineEdit* TxtUserPassword;
  QLineEdit* TxtDbName;
  QLineEdit* TxtServidor;
  QComboBox* CboPlataformaDB;
  QPushButton* bcAceptar;
  QPushButton* bcCancelar;

 protected:
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  void bcAceptar_Click();
  void bcCancelar_Click();
};

// The program's one access dialog.
frmAcceso& accesoDialogo();
