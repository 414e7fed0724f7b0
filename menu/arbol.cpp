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
  if (treeWidget()) emitDataChanged();
}

void Nodo::setChecked(bool marcado) {
  Silencio s(arbol_.silencio_);
  setCheckState(0, marcado ? Qt::Checked : Qt::Unchecked);
}

QVariant Nodo::data(int column, int role) const {
  if (column == 0) {
    switch (role) {
      case Qt::DisplayRole:
      case Qt::EditRole:
        return texto_;
      case Qt::CheckStateRole:
        return static_cast<int>(marca_);
      case Qt::DecorationRole: {
        const ListaImagenes* lista = arbol_.lista_;
        if (lista && imagen_ >= 1 && imagen_ <= lista->Count()) return lista->Picture(imagen_);
        return QVariant();
      }
      default:
        break;
    }
  }
  return QTreeWidgetItem::data(column, role);
}

void Nodo::setData(int column, int role, const QVariant& value) {
  if (column != 0 || (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole)) {
    QTreeWidgetItem::setData(column, role, value);
    return;
  }
  if (role == Qt::CheckStateRole) {
    const auto marca = static_cast<Qt::CheckState>(value.toInt());
    if (marca == marca_) return;
    marca_ = marca;
    if (treeWidget()) emitDataChanged();
    if (enArbol_ && arbol_.silencio_ == 0) emit arbol_.nodeCheck(this);
    return;
  }
  QString texto = value.toString();
  if (texto == texto_) return;
  texto_ = std::move(texto);
  if (treeWidget()) emitDataChanged();
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
  borrarPendientes();
}

void Arbol::setImageList(ListaImagenes* lista) {
  if (lista_ == lista) return;
  if (lista_) lista_->desvincular(this);
  lista_ = lista;
  if (lista_) {
    lista_->vincular(this);
    setIconSize(QSize(lista_->ImageWidth(), lista_->ImageHeight()));
  }
  // The icons are read from the list as rows are drawn.
  if (!nodos_.empty()) viewport()->update();
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
    if (++padre->hijos_ == 1 && padre->expandido_ && padre->treeWidget()) padre->QTreeWidgetItem::setExpanded(true);
  } else {
    if (!antes) primeroRaiz_ = nodo;
    if (!despues) ultimoRaiz_ = nodo;
  }
}

void Arbol::iniciarCarga() {
  if (cargas_++ == 0) desdeCarga_ = nodos_.size();
}

void Arbol::terminarCarga() {
  if (--cargas_ > 0) return;
  if (hayPendientes_) {
    hayPendientes_ = false;
    // The waiting top-level nodes go in at their places in the chain, each
    // run of them in one insert.
    int posicion = 0;
    QList<QTreeWidgetItem*> tramo;
    for (Nodo* n = primeroRaiz_;; n = n->siguiente_) {
      if (n && !n->treeWidget()) {
        tramo.append(n);
        continue;
      }
      if (!tramo.isEmpty()) {
        insertTopLevelItems(posicion, tramo);
        posicion += static_cast<int>(tramo.size());
        tramo.clear();
      }
      if (!n) break;
      ++posicion;
    }
  }
  // The view knew nothing of these nodes' state while they waited.
  for (size_t i = desdeCarga_; i < nodos_.size(); ++i) {
    Nodo* n = nodos_[i];
    if (n->hijos_ && n->expandido_) n->QTreeWidgetItem::setExpanded(true);
  }
  desdeCarga_ = nodos_.size();
}

// Top-level nodes of an unfinished load are not the widget's to delete.
void Arbol::borrarPendientes() {
  if (!hayPendientes_) return;
  hayPendientes_ = false;
  for (Nodo* n = primeroRaiz_; n;) {
    Nodo* siguiente = n->siguiente_;
    if (!n->treeWidget()) delete n;
    n = siguiente;
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
  n->texto_ = texto;
  n->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  n->imagen_ = imagen;

  auto primeroDe = [&](Nodo* padre) { return padre ? padre->primerHijo_ : a.primeroRaiz_; };
  auto ultimoDe = [&](Nodo* padre) { return padre ? padre->ultimoHijo_ : a.ultimoRaiz_; };
  auto item = [&](Nodo* padre) -> QTreeWidgetItem* { return padre ? padre : a.invisibleRootItem(); };
  // During a load a top-level node waits for its end (terminarCarga); below
  // it, the widget's own lists are kept as usual.
  const auto enLaRaiz = [&](Nodo* padre) { return !padre && a.cargas_ > 0; };
  auto insertar = [&](Nodo* padre, int pos) {
    if (enLaRaiz(padre)) {
      a.hayPendientes_ = true;
      return;
    }
    QTreeWidgetItem* contenedor = item(padre);
    if (pos < 0) contenedor->addChild(n);
    else contenedor->insertChild(pos, n);
  };
  // Position of a node among its siblings in the widget.
  auto posicionDe = [&](Nodo* x) { return enLaRaiz(x->padre_) ? 0 : item(x->padre_)->indexOfChild(x); };

  Nodo* padre = nullptr;
  if (rel && relacion == tvwChild) {
    padre = rel;
    Nodo* ultimo = ultimoDe(padre);
    insertar(padre, -1);
    a.enlazar(n, padre, ultimo, nullptr);
  } else if (rel && relacion != tvwLast && relacion != tvwFirst) {
    padre = rel->padre_;
    const int pos = posicionDe(rel);
    if (relacion == tvwNext) {
      insertar(padre, pos + 1);
      a.enlazar(n, padre, rel, rel->siguiente_);
    } else {
      insertar(padre, pos);
      a.enlazar(n, padre, rel->anterior_, rel);
    }
  } else {
    // tvwFirst / tvwLast: among the relative's siblings, or at the top level.
    if (rel) padre = rel->padre_;
    if (relacion == tvwFirst) {
      Nodo* primero = primeroDe(padre);
      insertar(padre, 0);
      a.enlazar(n, padre, nullptr, primero);
    } else {
      Nodo* ultimo = ultimoDe(padre);
      insertar(padre, -1);
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
  arbol_.borrarPendientes();
  arbol_.ultimoRelativo_ = nullptr;
  arbol_.primeroRaiz_ = arbol_.ultimoRaiz_ = nullptr;
  arbol_.desdeCarga_ = 0;
  arbol_.porClave_.clear();
  arbol_.nodos_.clear();
  arbol_.clear();
}
