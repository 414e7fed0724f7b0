#pragma once
// What both lookup dialogs do with their window: keep it whole on the part of
// the screen a window may take, and say so when a search found nothing.
class QAbstractScrollArea;
class QLabel;
class QWidget;

// Makes the window no larger than the available area and moves it wholly
// onto it: centred there with `centrar`, else moved only as far as needed.
void colocarEnPantalla(QWidget& ventana, bool centrar);

// A notice in the middle of the list or tree, hidden until shown.
QLabel* crearAvisoVacio(QAbstractScrollArea& vista);
// The notice after a search that found nothing.
inline constexpr const char* kAvisoVacio = "No se encontraron registros para la búsqueda";
