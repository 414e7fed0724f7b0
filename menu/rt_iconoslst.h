#pragma once
// Rt_IconosLst: the suite's icons into image lists, and a system's task menu
// (TA_MENU) into a checkable tree.
#include <QIcon>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "menu/arbol.h"
#include "menu/lista_imagenes.h"

namespace Rt_IconosLst {

// The icon keys, in the order the lists hold them (position = index from 1).
const QStringList& clavesIconos();

// The program's icon resource of that name, letter case ignored, drawn at
// 16, 32 and 48 pixels. A name with no resource is error 326.
QIcon iconoRecurso(const QString& nombre);
inline constexpr long kErrorRecursoNoEncontrado = 326;

// Clears both lists, sizes them 16 and 32, and adds the 35 icons to each,
// tagged by key. Failures go to the error dialog (retry, skip the step, or
// leave). The lists must not be bound to a control.
void CargarIconosLst(ListaImagenes& chica, ListaImagenes& grande);

// 1-based position of the first image whose tag matches (blanks around and
// letter case ignored); 0 when none does.
std::int16_t IndiceImagen(const ListaImagenes& lista, const QString& tag);

// Adds the enabled rows of `menu` to the tree (not cleared first), each under
// its parent row, leaving out the child rows of switched-off modules. With no
// menu rows at all in the database, tells the user and ends the program.
void CargarArbolMenu(Arbol& arbol, const ListaImagenes& lista, const QString& menu, bool expandir);

// The ten suite modules, in the order they are tested.
inline constexpr int kModulos = 10;
struct Modulo {
  const char* clavePrefijo;
  const char* prefijoPorDefecto;
  const char* claveSwitch;
};
const std::array<Modulo, kModulos>& modulos();

// What the last run of CargarArbolMenu read; kept while the program runs.
struct Estado {
  std::array<QString, kModulos> prefijos;
  std::array<bool, kModulos> activos{};
};
Estado& estado();

}  // namespace Rt_IconosLst
