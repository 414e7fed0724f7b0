#pragma once
// The application's own style, unchanged but for when some of its standard
// pictures are read: a toolbar asks for its overflow arrow as it is built,
// and reading that picture starts Qt's image plugins and icon themes, a
// noticeable part of the program's start for an arrow seldom shown. Those
// pictures are read the first time they are drawn instead.
//
//   QApplication::setStyle(new ui::EstiloDiferido);   // after the application object
#include <QProxyStyle>

namespace ui {

class EstiloDiferido : public QProxyStyle {
 public:
  // Over the given style; without one, over the default style.
  explicit EstiloDiferido(QStyle* base = nullptr) : QProxyStyle(base) {}
  QIcon standardIcon(StandardPixmap cual, const QStyleOption* opcion = nullptr,
                     const QWidget* control = nullptr) const override;
};

}  // namespace ui
