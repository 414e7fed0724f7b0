#pragma once
// This layer's category of the error trace (platform/vb/traza.h).
#include "platform/vb/traza.h"

KV_CATEGORIA_DE_CAPA(report, "korvane.report")
