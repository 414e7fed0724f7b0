#include "app/fuentes_anticipadas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>

namespace app {

// Every function of Qt's font database may be called from any thread. Its
// fallback families for a font, which fontconfig takes long to sort, are
// kept for every thread: measuring a text in the application's font here
// leaves them ready for the form's first texts (the font engines
// themselves are each thread's own).
FuentesAnticipadas::FuentesAnticipadas()
    : hilo_([fuente = QGuiApplication::font()] {
        (void)QFontDatabase::families();
        const QFontMetrics medidas(fuente);
        (void)medidas.height();
        (void)medidas.horizontalAdvance(QStringLiteral("Usuario"));
      }) {}

FuentesAnticipadas::~FuentesAnticipadas() { hilo_.join(); }

}  // namespace app
