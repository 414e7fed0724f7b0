#include "menu/arbol.h"

#include <QHeaderView>

#include "platform/vb/error.h"

namespace {

[[noreturn]] void fueraDeRango() {
  throw vb::Error(ListaImagenes::kErrorIndiceFuera, QStringLiteral("Índice fuera de los límites"));
}

// While alive, check changes come from code, not from the user.
struct Silencio {
  int& n;
  explicit Silencio(int& contador) : n(contador) { ++n; }
  ~Silencio() { --n; }
};

}  // namespace

// ---- Nodo --------------------------------------------------------------

void Nodo::setImage(int imagen) {
  ListaImagenes* lista = arbol_.lista_;
  if (imagen < 0 || (imagen > 0 && (!lista || imagen > lista->Count()))) fueraDeRango();
  imagen_ = imagen;
  ponerIcono();
}

void Nodo::ponerIcono() {
  ListaImagenes* lista = arbol_.lista_;
  if (lista && imagen_ >= 1 && imagen_ <= lista->Count())
    setIcon(0, lista->Picture(imagen_));
  else
    setIcon(0, QIcon());
}

void Nodo::setChecked(bool marcado) {
  Silencio s(arbol_.silencio_);
  setCheckState(0, marcado ? Qt::Checked : Qt::Unchecked);
}

void Nodo::setData(int column, int role, const QVariant& value) {
  if (role != Qt::CheckStateRole || column != 0) {
    QTreeWidgetItem::setData(column, role, value);
    return;
  }
  const bool antes = Checked();
  QTreeWidgetItem::setData(column, role, value);
  if (enArbol_ && arbol_.silencio_ == 0 && Checked() != antes) emit arbol_.nodeCheck(this);
}

// ---- Arbol -------------------------------------------------------------

Arbol::Arbol(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  setHeaderHidden(true);
  setUniformRowHeights(true);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

Arbol::~Arbol() {
  if (lista_) lista_->desvincular(this);
}

void Arbol::setImageList(ListaImagenes* lista) {
  if (lista_ == lista) return;
  if (lista_) lista_->desvincular(this);
  lista_ = lista;
  if (lista_) {
    lista_->vincular(this);
    setIconSize(QSize(lista_->ImageWidth(), lista_->ImageHeight()));
  }
  for (Nodo* n : nodos_) n->ponerIcono();
}

void Arbol::marcarTodos(bool marcado) {
  for (Nodo* n : nodos_) n->setChecked(marcado);
}

void Arbol::enlazar(Nodo* nodo, Nodo* padre, Nodo* antes, Nodo* despues) {
  nodo->padre_ = padre;
  nodo->anterior_ = antes;
  nodo->siguiente_ = despues;
  if (antes) antes->siguiente_ = nodo;
  if (despues) despues->anterior_ = nodo;
  if (padre) {
    if (!antes) padre->primerHijo_ = nodo;
    if (!despues) padre->ultimoHijo_ = nodo;
    if (++padre->hijos_ == 1 && padre->expandido_) padre->QTreeWidgetItem::setExpanded(true);
  }
}

Nodo& Arbol::Coleccion::Add(const QString& relativo, int relacion, const QString& clave, const QString& texto,
                            int imagen) {
  Arbol& a = arbol_;
  Nodo* rel = nullptr;
  if (!relativo.isEmpty()) {
    // Siblings usually come one after another: the last relative found is
    // tried before the hash.
    rel = a.ultimoRelativo_ && a.ultimoRelativo_->clave_ == relativo ? a.ultimoRelativo_
                                                                      : a.porClave_.value(relativo, nullptr);
    if (!rel) throw vb::Error(vb::kElementNotFound);
    a.ultimoRelativo_ = rel;
  }
  if (relacion < tvwFirst || relacion > tvwChild) throw vb::Error(vb::kInvalidProcedureCall);
  if (imagen < 0 || (imagen > 0 && (!a.lista_ || imagen > a.lista_->Count()))) fueraDeRango();
  // The key's place in the hash is taken last, when nothing else can fail.
  Nodo** lugar = nullptr;
  if (!clave.isEmpty()) {
    lugar = &a.porClave_[clave];
    if (*lugar) throw vb::Error(vb::kKeyNotUnique);
  }

  Nodo* n = nullptr;
  try {
    n = new Nodo(a, clave, Count() + 1);
  } catch (...) {
    if (lugar) a.porClave_.remove(clave);
    throw;
  }
  if (lugar) *lugar = n;
  n->QTreeWidgetItem::setText(0, texto);
  n->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  n->QTreeWidgetItem::setData(0, Qt::CheckStateRole, Qt::Unchecked);
  n->imagen_ = imagen;
  n->ponerIcono();

  // The top level has no node of its own; its first and last are found from
  // the widget, which holds few items there.
  auto primeroDe = [&](Nodo* padre) -> Nodo* {
    if (padre) return padre->primerHijo_;
    return a.topLevelItemCount() ? static_cast<Nodo*>(a.topLevelItem(0)) : nullptr;
  };
  auto ultimoDe = [&](Nodo* padre) -> Nodo* {
    if (padre) return padre->ultimoHijo_;
    const int k = a.topLevelItemCount();
    return k ? static_cast<Nodo*>(a.topLevelItem(k - 1)) : nullptr;
  };
  auto item = [&](Nodo* padre) -> QTreeWidgetItem* { return padre ? padre : a.invisibleRootItem(); };

  Nodo* padre = nullptr;
  if (rel && relacion == tvwChild) {
    padre = rel;
    Nodo* ultimo = ultimoDe(padre);
    padre->addChild(n);
    a.enlazar(n, padre, ultimo, nullptr);
  } else if (rel && relacion != tvwLast && relacion != tvwFirst) {
    padre = rel->padre_;
    QTreeWidgetItem* contenedor = item(padre);
    const int pos = contenedor->indexOfChild(rel);
    if (relacion == tvwNext) {
      contenedor->insertChild(pos + 1, n);
      a.enlazar(n, padre, rel, rel->siguiente_);
    } else {
      contenedor->insertChild(pos, n);
      a.enlazar(n, padre, rel->anterior_, rel);
    }
  } else {
    // tvwFirst / tvwLast: among the relative's siblings, or at the top level.
    if (rel) padre = rel->padre_;
    QTreeWidgetItem* contenedor = item(padre);
    if (relacion == tvwFirst) {
      Nodo* primero = primeroDe(padre);
      contenedor->insertChild(0, n);
      a.enlazar(n, padre, nullptr, primero);
    } else {
      Nodo* ultimo = ultimoDe(padre);
      contenedor->addChild(n);
      a.enlazar(n, padre, ultimo, nullptr);
    }
  }
  n->enArbol_ = true;
  a.nodos_.push_back(n);
  return *n;
}

Nodo& Arbol::Coleccion::Item(int indice) const {
  if (indice < 1 || indice > Count()) fueraDeRango();
  return *arbol_.nodos_[static_cast<size_t>(indice - 1)];
}

Nodo& Arbol::Coleccion::Item(const QString& clave) const {
  Nodo* n = arbol_.porClave_.value(clave, nullptr);
  if (!n) throw vb::Error(vb::kElementNotFound);
  return *n;
}

void Arbol::Coleccion::Clear() {
  arbol_.ultimoRelativo_ = nullptr;
  arbol_.porClave_.clear();
  arbol_.nodos_.clear();
  arbol_.clear();
}
