#pragma once
// The foot both lookup dialogs share: Frame1 with Aceptar, Cancelar and
// Nueva Busqueda, none of them a default button. Aceptar and Nueva Busqueda
// run the dialog's own; Cancelar leaves with nothing chosen.
#include <functional>

class QDialog;
class QFrame;
class QPushButton;
struct PropiedadesConsulta;

constexpr int kAnchoBotonPie = 1500;  // twips
constexpr int kAltoBotonPie = 400;

struct PieConsulta {
  QFrame* marco = nullptr;
  QPushButton* aceptar = nullptr;
  QPushButton* cancelar = nullptr;
  QPushButton* nueva = nullptr;
  int anchoNueva = kAnchoBotonPie;  // twips: wider when its text needs it
};

// Builds the foot in `dialogo`, whose properties are `propiedades` (the same
// object). The buttons are kAnchoBotonPie x kAltoBotonPie; the dialog
// places them.
PieConsulta crearPie(QDialog& dialogo, PropiedadesConsulta& propiedades, std::function<void()> aceptar,
                     std::function<void()> nueva);
