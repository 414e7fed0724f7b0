#pragma once
// The suite look of a form: the suite icon and the workstation's toolbar style.
class QWidget;

namespace ModGlobal {

// Gives the form the icon named by the settings file (section "Iconos", key
// "IconoDelSistema", default "ICONKORVANE"), or the icon of "korvane.ico"
// in the current folder when that name has no resource; then, unless the
// form is the suite's MDI frame, the workstation's toolbar adjustment and
// gFlatToolbars as the style of its "UtilQzr1", "TBarRep1" and "Util0011"
// toolbars. A failing step is skipped: no error leaves it.
void PrepararVentana(QWidget& form);

}  // namespace ModGlobal
