#pragma once
// Qt's own dialogs (the file and print dialogs, their buttons) in Spanish, as
// the rest of the program, from the translations Qt installs beside itself.
class QTranslator;

namespace ui {

// Installs Qt's Spanish translations in the application, read from Qt's
// translations folder; the translator (owned by the application), or
// nullptr when there is no application or the translations are missing.
QTranslator* instalarTraducciones();

}  // namespace ui
