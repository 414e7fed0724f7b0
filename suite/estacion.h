#pragma once
// The workstation: who and where the program runs, known before any
// connection is opened, and the look of a form's toolbars.
#include <QSize>
#include <QString>

class QWidget;

namespace ZepaKit2 {

class Estacion {
 public:
  // The machine's name.
  QString Identidad1() const;
  // The logged-on account: $USER, else the account of the process's user id.
  QString Identidad2() const;

  // Gives every toolbar of the form the same look: fixed in place (neither
  // movable nor floatable, and not hidden through the window's context
  // menu), icons of kTamanoIconos, captions under the icons.
  void AjustarBarra(QWidget* form);

  static constexpr QSize kTamanoIconos{24, 24};
};

Estacion& estacion();

}  // namespace ZepaKit2
