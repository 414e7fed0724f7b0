#pragma once
// Icons of the suite's SVG drawings, drawn at each size the first time it is
// shown (ui::IconoDiferido). Drawn here rather than through an icon plugin,
// which may be missing.
#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

namespace ZepaKit2 {

// `lados` are the sizes the icon says it has (availableSizes); any other
// size asked for is drawn too. A null icon when there is no such file or
// resource.
QIcon iconoSvg(const QString& ruta, const QList<int>& lados);

}  // namespace ZepaKit2
