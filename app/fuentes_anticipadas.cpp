#include "app/fuentes_anticipadas.h"

#include <QFontDatabase>
#include <QStringList>

namespace app {

// Every function of Qt's font database may be called from any thread.
FuentesAnticipadas::FuentesAnticipadas() : hilo_([] { (void)QFontDatabase::families(); }) {}

FuentesAnticipadas::~FuentesAnticipadas() { hilo_.join(); }

}  // namespace app
