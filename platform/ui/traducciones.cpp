#include "platform/ui/traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

QTranslator* instalarTraducciones() {
  QCoreApplication* aplicacion = QCoreApplication::instance();
  if (!aplicacion) return nullptr;
  auto* traductor = new QTranslator(aplicacion);
  // Spanish whatever the machine's locale: the program speaks nothing else.
  if (!traductor->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(traductor)) {
    delete traductor;
    return nullptr;
  }
  return traductor;
}

}  // namespace ui
