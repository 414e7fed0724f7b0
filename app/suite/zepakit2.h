#pragma once
// The suite's utility library, whole: general utilities, workstation,
// settings files, keyboard, file dialog and report launcher.
#include "app/suite/archivo_ini.h"
#include "app/suite/dialogo_archivo.h"
#include "app/suite/estacion.h"
#include "app/suite/lanzador.h"
#include "app/suite/teclado.h"
#include "app/suite/util_general.h"
