#pragma once
// Keyboard handling shared by the suite's forms. Key codes are the
// platform's (vbKeyReturn 13, vbKeyF5 116, ...); codigoTecla() turns a Qt key
// into one, so a form's key handler can pass its events on.
#include <QtCore/qnamespace.h>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

class QWidget;

namespace ZepaKit2 {

enum CodigoTecla : int {
  vbKeyBack = 8,
  vbKeyTab = 9,
  vbKeyReturn = 13,
  vbKeyShift = 16,
  vbKeyControl = 17,
  vbKeyMenu = 18,
  vbKeyEscape = 27,
  vbKeySpace = 32,
  vbKeyPageUp = 33,
  vbKeyPageDown = 34,
  vbKeyEnd = 35,
  vbKeyHome = 36,
  vbKeyLeft = 37,
  vbKeyUp = 38,
  vbKeyRight = 39,
  vbKeyDown = 40,
  vbKeyInsert = 45,
  vbKeyDelete = 46,
  vbKey0 = 48,  // to vbKey0 + 9
  vbKeyA = 65,  // to vbKeyA + 25
  vbKeyF1 = 112,
  vbKeyF2,
  vbKeyF3,
  vbKeyF4,
  vbKeyF5,
  vbKeyF6,
  vbKeyF7,
  vbKeyF8,
  vbKeyF9,
  vbKeyF10,
  vbKeyF11,
  vbKeyF12,
};

// Shift-state bits of a key event.
enum EstadoShift : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

// The key code of a Qt key (Qt::Key_*), or 0 for a key without one.
int codigoTecla(int teclaQt);
// The shift-state bits of Qt modifiers.
int estadoShift(Qt::KeyboardModifiers modificadores);

// The name of the dynamic property by which a control says which data field
// it shows (set with setProperty(kPropiedadCampo, "UsuarioDesde")).
inline constexpr char kPropiedadCampo[] = "DataField";

class Teclado {
 public:
  // Key down in a form's field: Down and Up without shift move the focus to
  // the next or previous control and consume the key (code becomes 0); any
  // other key is left as it is.
  void TeclaAbajo(int& codigo, int shift = 0);

  // Character typed in a text field: Enter (13) moves the focus to the next
  // control and keeps the code 13, so that the form's own Enter handling
  // still runs. Other codes are left as they are.
  void TeclaPresionada(QWidget* campo, int& codigoCaracter);

  // The index of the control whose data-field name (property kPropiedadCampo)
  // is nombre, ignoring case: the position in a list, the key in a map of
  // control-array elements. When none matches, siNoEsta when given, else
  // error 340 (the control array has no such element).
  int IndiceControl(const QString& nombre, const QList<QWidget*>& controles,
                    std::optional<int> siNoEsta = std::nullopt) const;
  int IndiceControl(const QString& nombre, const QMap<int, QWidget*>& controles,
                    std::optional<int> siNoEsta = std::nullopt) const;
};

Teclado& teclado();

}  // namespace ZepaKit2
