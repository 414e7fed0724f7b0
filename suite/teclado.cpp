#include "suite/teclado.h"

#include <QApplication>
#include <QWidget>

#include "platform/ctx/programa.h"
#include "platform/vb/error.h"

namespace ZepaKit2 {

namespace {

bool aceptaFoco(const QWidget* w) {
  return w->isEnabled() && w->isVisibleTo(w->window()) && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

// The next (or previous) control of the window's tab order that takes the
// focus, or nullptr.
QWidget* vecino(QWidget* desde, bool adelante) {
  QWidget* w = desde;
  for (;;) {
    w = adelante ? w->nextInFocusChain() : w->previousInFocusChain();
    if (!w || w == desde) return nullptr;
    if (w->window() == desde->window() && w != desde->window() && aceptaFoco(w)) return w;
  }
}

void moverFoco(QWidget* desde, bool adelante) {
  if (!desde) return;
  if (QWidget* destino = vecino(desde, adelante))
    destino->setFocus(adelante ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

QString nombreCampo(const QWidget* w) { return w ? w->property(kPropiedadCampo).toString().trimmed() : QString(); }

}  // namespace

int codigoTecla(int t) {
  if (t >= Qt::Key_A && t <= Qt::Key_Z) return vbKeyA + (t - Qt::Key_A);
  if (t >= Qt::Key_0 && t <= Qt::Key_9) return vbKey0 + (t - Qt::Key_0);
  if (t >= Qt::Key_F1 && t <= Qt::Key_F12) return vbKeyF1 + (t - Qt::Key_F1);
  switch (t) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Alt: return vbKeyMenu;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Insert: return vbKeyInsert;
    case Qt::Key_Delete: return vbKeyDelete;
    default: return 0;
  }
}

int estadoShift(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? vbShiftMask : 0) | (m & Qt::ControlModifier ? vbCtrlMask : 0) |
         (m & Qt::AltModifier ? vbAltMask : 0);
}

void Teclado::TeclaAbajo(int& codigo, int shift) {
  if (shift != 0 || (codigo != vbKeyDown && codigo != vbKeyUp)) return;
  moverFoco(QApplication::focusWidget(), codigo == vbKeyDown);
  codigo = 0;
}

void Teclado::TeclaPresionada(QWidget* campo, int& codigoCaracter) {
  if (!campo) throw vb::Error(vb::kObjectVariableNotSet, {}, QStringLiteral("TeclaPresionada"));
  if (codigoCaracter == vbKeyReturn) moverFoco(campo, true);
}

int Teclado::IndiceControl(const QString& nombre, const QList<QWidget*>& controles, std::optional<int> siNoEsta) const {
  const QString buscado = nombre.trimmed();
  if (!buscado.isEmpty())
    for (qsizetype i = 0; i < controles.size(); ++i)
      if (nombreCampo(controles[i]).compare(buscado, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  if (siNoEsta) return *siNoEsta;
  throw vb::Error(vb::kControlArrayElementMissing, {}, QStringLiteral("IndiceControl"));
}

int Teclado::IndiceControl(const QString& nombre, const QMap<int, QWidget*>& controles,
                           std::optional<int> siNoEsta) const {
  const QString buscado = nombre.trimmed();
  if (!buscado.isEmpty())
    for (auto it = controles.cbegin(); it != controles.cend(); ++it)
      if (nombreCampo(it.value()).compare(buscado, Qt::CaseInsensitive) == 0) return it.key();
  if (siNoEsta) return *siNoEsta;
  throw vb::Error(vb::kControlArrayElementMissing, {}, QStringLiteral("IndiceControl"));
}

Teclado& teclado() { return ctx::actual().instancia<Teclado>(); }

}  // namespace ZepaKit2
