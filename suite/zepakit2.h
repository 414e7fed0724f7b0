#pragma once
// The suite's utility library, whole: general utilities, workstation,
// settings files, keyboard, file dialog and report launcher.
#include "suite/archivo_ini.h"
#include "suite/dialogo_archivo.h"
#include "suite/estacion.h"
#include "suite/lanzador.h"
#include "suite/teclado.h"
#include "suite/util_general.h"
