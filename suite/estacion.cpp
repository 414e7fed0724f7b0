#include "suite/estacion.h"

#include <pwd.h>
#include <unistd.h>

#include <QAction>
#include <QSysInfo>
#include <QToolBar>
#include <QWidget>

#include "platform/ctx/programa.h"
#include "platform/vb/error.h"

namespace ZepaKit2 {

QString Estacion::Identidad1() const { return QSysInfo::machineHostName(); }

QString Estacion::Identidad2() const {
  const QString usuario = qEnvironmentVariable("USER").trimmed();
  if (!usuario.isEmpty()) return usuario;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name) return QString::fromLocal8Bit(pw->pw_name);
  return QString::number(getuid());
}

void Estacion::AjustarBarra(QWidget* form) {
  if (!form) throw vb::Error(vb::kObjectVariableNotSet, {}, QStringLiteral("AjustarBarra"));
  for (QToolBar* barra : form->findChildren<QToolBar*>()) {
    barra->setMovable(false);
    barra->setFloatable(false);
    barra->toggleViewAction()->setVisible(false);
    barra->setIconSize(kTamanoIconos);
    barra->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  }
}

Estacion& estacion() { return ctx::actual().instancia<Estacion>(); }

}  // namespace ZepaKit2
