#pragma once
// The message box's rules shared by every implementation of the UI service:
// which buttons a code shows, which one is the default, what Esc or closing
// answers, and how the prompt's line breaks read.
#include <QString>
#include <vector>

namespace ui {

struct BotonCaja {
  QString texto;  // caption, as the Spanish platform shows it
  int respuesta;  // answer code returned when it is pressed
};

// The buttons of a button code, left to right. Unknown groups show OK alone.
std::vector<BotonCaja> botonesCaja(int botones);

// Index into botonesCaja() of the default button (256: second, 512: third);
// a default beyond the last button falls back to the first, as the platform does.
int indicePredeterminado(int botones);

// The icon part of a button code: 0, vbCritical, vbQuestion, vbExclamation or
// vbInformation.
int iconoCaja(int botones);

// The answer Esc gives, or 0 when Esc does nothing (Yes/No, Abort/Retry/Ignore).
int respuestaEscape(int botones);

// The answer of a box nobody can answer (closed by other means, batch runs):
// Cancel, No or Abort where the box has it, OK where OK is alone.
int respuestaCancelar(int botones);

// Whether the answer is one of the buttons the code shows.
bool esRespuestaDe(int botones, int respuesta);

// The caption of an answer code ("Aceptar", "Reintentar"...), empty when unknown.
QString textoRespuesta(int respuesta);

// The prompt with the platform's line breaks (CR, CR LF) as "\n".
QString textoCaja(const QString& prompt);

}  // namespace ui
