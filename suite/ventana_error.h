#pragma once
// The error dialog behind UtilGeneral::DialogoError: the error's number,
// description and routine, and a row of answer buttons.
#include <QDialog>
#include <QList>
#include <QString>

#include "platform/vb/error.h"

class QPushButton;

namespace ZepaKit2 {

class VentanaError : public QDialog {
  Q_OBJECT

 public:
  // botones: -1 for "Reintentar", "Ignorar" and "Cancelar"; otherwise a
  // message-box button code, whose buttons and default the dialog shows.
  VentanaError(const vb::Error& error, int botones, const QString& rutina, QWidget* parent = nullptr);

  // The answer code of the button that closed the dialog; before that, and
  // after Esc or the close box, "Cancelar" (or what a message box with those
  // buttons answers when it is closed: No, Anular, Aceptar).
  int respuesta() const { return respuesta_; }

  // The buttons in their row order (objectName "cmd" + caption without accents).
  const QList<QPushButton*>& botones() const { return botones_; }

  void reject() override;

 private:
  void agregarBoton(const QString& texto, int codigo);

  QList<QPushButton*> botones_;
  int respuestaEscape_ = 2;
  int respuesta_ = 2;
};

}  // namespace ZepaKit2
