#include "menu/arbol.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <algorithm>
#include <cstring>

#include "platform/vb/error.h"

namespace {

[[noreturn]] void fueraDeRango() {
  throw vb::Error(ListaImagenes::kErrorIndiceFuera, QStringLiteral("Índice fuera de los límites"));
}

}  // namespace

// ---- The model the view reads ----------------------------------------------

// Rows are a node's children in order; each index carries its node.
class ModeloArbol final : public QAbstractItemModel {
 public:
  explicit ModeloArbol(Arbol& arbol) : arbol_(arbol) {}

  QModelIndex index(int fila, int columna, const QModelIndex& padre = {}) const override {
    if (columna != 0 || fila < 0) return {};
    const std::vector<Nodo*>& filas = padre.isValid() ? nodo(padre)->hijos() : arbol_.raiz_;
    if (fila >= static_cast<int>(filas.size())) return {};
    return createIndex(fila, 0, filas[static_cast<size_t>(fila)]);
  }
  QModelIndex parent(const QModelIndex& hijo) const override {
    if (!hijo.isValid()) return {};
    Nodo* p = nodo(hijo)->padre_;
    return p ? createIndex(p->fila_, 0, p) : QModelIndex();
  }
  int rowCount(const QModelIndex& padre = {}) const override {
    if (!padre.isValid()) return static_cast<int>(arbol_.raiz_.size());
    return padre.column() == 0 ? nodo(padre)->Children() : 0;
  }
  int columnCount(const QModelIndex& = {}) const override { return 1; }
  bool hasChildren(const QModelIndex& padre = {}) const override { return rowCount(padre) > 0; }

  QVariant data(const QModelIndex& i, int rol) const override {
    if (!i.isValid()) return {};
    const Nodo* n = nodo(i);
    switch (rol) {
      case Qt::DisplayRole:
      case Qt::EditRole: return n->Text();
      case Qt::CheckStateRole: return static_cast<int>(n->marca_);
      case Qt::DecorationRole: {
        const QIcon icono = arbol_.icono(*n);
        return icono.isNull() ? QVariant() : QVariant(icono);
      }
      default: return {};
    }
  }
  bool setData(const QModelIndex& i, const QVariant& valor, int rol) override {
    if (!i.isValid() || rol != Qt::CheckStateRole) return false;
    // Only the view changes data through the model: a change here is the user's.
    arbol_.marcar(*nodo(i), static_cast<Qt::CheckState>(valor.toInt()), true);
    return true;
  }
  Qt::ItemFlags flags(const QModelIndex& i) const override {
    if (!i.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
  }

  static Nodo* nodo(const QModelIndex& i) { return static_cast<Nodo*>(i.internalPointer()); }

  // Exposed for the tree, which tells the view of its own changes.
  using QAbstractItemModel::beginInsertRows;
  using QAbstractItemModel::beginResetModel;
  using QAbstractItemModel::endInsertRows;
  using QAbstractItemModel::endResetModel;

 private:
  Arbol& arbol_;
};

// ---- Nodo --------------------------------------------------------------

const std::vector<Nodo*>& Nodo::hermanos() const { return padre_ ? padre_->hijos() : arbol_.raiz_; }

const std::vector<Nodo*>& Nodo::hijos() const {
  static const std::vector<Nodo*> ninguno;
  return hijos_ ? *hijos_ : ninguno;
}

std::vector<Nodo*>& Nodo::hijosParaAgregar() {
  if (!hijos_) hijos_ = std::make_unique<std::vector<Nodo*>>();
  return *hijos_;
}

void Nodo::guardarTextos(QStringView clave, QStringView texto, QStringView tag) {
  // Made at its size and filled with plain copies.
  QString t(clave.size() + texto.size() + tag.size(), Qt::Uninitialized);
  QChar* p = t.data();
  for (QStringView parte : {clave, texto, tag}) {
    if (!parte.isEmpty()) std::memcpy(p, parte.data(), static_cast<size_t>(parte.size()) * sizeof(QChar));
    p += parte.size();
  }
  textos_ = std::move(t);
  finClave_ = static_cast<quint32>(clave.size());
  finTexto_ = static_cast<quint32>(clave.size() + texto.size());
}

Nodo* Nodo::Next() const {
  const auto& h = hermanos();
  const size_t i = static_cast<size_t>(fila_) + 1;
  return i < h.size() ? h[i] : nullptr;
}

Nodo* Nodo::Previous() const { return fila_ > 0 ? hermanos()[static_cast<size_t>(fila_ - 1)] : nullptr; }

void Nodo::setText(const QString& texto) {
  if (textoVista() == texto) return;
  guardarTextos(claveVista(), texto, tagVista());
  arbol_.cambio(*this, Qt::DisplayRole);
}

void Nodo::setImage(int imagen) {
  ListaImagenes* lista = arbol_.lista_;
  if (imagen < 0 || (imagen > 0 && (!lista || imagen > lista->Count()))) fueraDeRango();
  imagen_ = imagen;
  arbol_.cambio(*this, Qt::DecorationRole);
}

void Nodo::setExpanded(bool expandido) {
  expandido_ = expandido;
  if (Children() > 0 && arbol_.avisando()) arbol_.setExpanded(arbol_.indice(*this), expandido);
}

void Nodo::setChecked(bool marcado) { arbol_.marcar(*this, marcado ? Qt::Checked : Qt::Unchecked, false); }

// ---- Arbol -------------------------------------------------------------

Arbol::Arbol(QWidget* parent) : QTreeView(parent), modelo_(std::make_unique<ModeloArbol>(*this)) {
  setModel(modelo_.get());
  setHeaderHidden(true);
  setUniformRowHeights(true);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  // The node keeps what the user does in the view.
  connect(this, &QTreeView::expanded, this, [](const QModelIndex& i) { ModeloArbol::nodo(i)->expandido_ = true; });
  connect(this, &QTreeView::collapsed, this, [](const QModelIndex& i) { ModeloArbol::nodo(i)->expandido_ = false; });
}

Arbol::~Arbol() {
  if (lista_) lista_->desvincular(this);
  // The view lets go of the model before the model goes.
  setModel(nullptr);
}

QModelIndex Arbol::indice(const Nodo& n) const {
  return modelo_->index(n.fila_, 0, n.padre_ ? indice(*n.padre_) : QModelIndex());
}

Nodo* Arbol::nodo(const QModelIndex& i) const {
  return i.isValid() && i.model() == modelo_.get() ? ModeloArbol::nodo(i) : nullptr;
}

QIcon Arbol::icono(const Nodo& n) const {
  if (lista_ && n.imagen_ >= 1 && n.imagen_ <= lista_->Count()) return lista_->Picture(n.imagen_);
  return {};
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
  viewport()->update();
}

void Arbol::cambio(const Nodo& n, int rol) {
  if (!avisando()) return;
  const QModelIndex i = indice(n);
  emit modelo_->dataChanged(i, i, {rol});
}

void Arbol::marcar(Nodo& n, Qt::CheckState marca, bool porUsuario) {
  if (n.marca_ == quint8(marca)) return;
  n.marca_ = quint8(marca);
  cambio(n, Qt::CheckStateRole);
  if (porUsuario) emit nodeCheck(&n);
}

void Arbol::marcarTodos(bool marcado) {
  const Qt::CheckState marca = marcado ? Qt::Checked : Qt::Unchecked;
  for (Nodo& n : nodos_) n.marca_ = quint8(marca);
  // One repaint rather than a change for each of many nodes.
  viewport()->update();
}

Nodo* Arbol::buscar(const QString& clave) const {
  const qsizetype i = porClave_.buscar(clave, TablaPorClave::hashDe(clave), nodos_);
  return i < 0 ? nullptr : const_cast<Nodo*>(&nodos_[static_cast<size_t>(i)]);
}

void Arbol::iniciarCarga() {
  if (cargas_++ == 0) modelo_->beginResetModel();
}

void Arbol::terminarCarga() {
  if (--cargas_ > 0) return;
  modelo_->endResetModel();
  // The view starts over from the nodes: each keeps whether it is expanded.
  for (const Nodo& n : nodos_)
    if (n.expandido_ && n.Children() > 0) setExpanded(indice(n), true);
}

Nodo& Arbol::Coleccion::Add(const QString& relativo, int relacion, const QString& clave, const QString& texto,
                            int imagen) {
  return Add(relativo, relacion, clave, texto, imagen, QString());
}

Nodo& Arbol::Coleccion::Add(const QString& relativo, int relacion, const QString& clave, const QString& texto,
                            int imagen, const QString& tag) {
  Arbol& a = arbol_;
  Nodo* rel = nullptr;
  if (!relativo.isEmpty()) {
    // Siblings usually come one after another: the last relative found is
    // tried before the hash.
    rel = a.ultimoRelativo_ && a.ultimoRelativo_->claveVista() == relativo ? a.ultimoRelativo_ : a.buscar(relativo);
    if (!rel) throw vb::Error(vb::kElementNotFound);
    a.ultimoRelativo_ = rel;
  }
  if (relacion < tvwFirst || relacion > tvwChild) throw vb::Error(vb::kInvalidProcedureCall);
  if (imagen < 0 || (imagen > 0 && (!a.lista_ || imagen > a.lista_->Count()))) fueraDeRango();

  // Where it goes: under which parent, at which place among the siblings.
  Nodo* padre = nullptr;
  size_t lugar = 0;
  if (rel && relacion == tvwChild) {
    padre = rel;
    lugar = rel->hijos().size();
  } else if (rel) {
    padre = rel->padre_;
    const size_t hermanos = rel->hermanos().size();
    switch (relacion) {
      case tvwFirst: lugar = 0; break;
      case tvwNext: lugar = static_cast<size_t>(rel->fila_) + 1; break;
      case tvwPrevious: lugar = static_cast<size_t>(rel->fila_); break;
      default: lugar = hermanos; break;
    }
  } else {
    lugar = relacion == tvwFirst ? 0 : a.raiz_.size();
  }

  const quint32 hash = clave.isEmpty() ? 0 : TablaPorClave::hashDe(clave);
  if (!clave.isEmpty() && a.porClave_.buscar(clave, hash, a.nodos_) >= 0) throw vb::Error(vb::kKeyNotUnique);
  std::vector<Nodo*>& filas = padre ? padre->hijosParaAgregar() : a.raiz_;

  // Room is made before the node goes in anywhere; should the key's entry
  // fail, the node is taken back out.
  if (filas.size() == filas.capacity()) filas.reserve(std::max<size_t>(4, filas.size() * 2));
  a.nodos_.emplace_back(Nodo::Permiso(), a, clave, texto, tag, imagen, Count() + 1);
  Nodo* n = &a.nodos_.back();
  n->padre_ = padre;
  if (!clave.isEmpty()) {
    try {
      a.porClave_.insertar(hash, a.nodos_.size() - 1);
    } catch (...) {
      a.nodos_.pop_back();
      throw;
    }
  }

  const bool avisar = a.avisando();
  if (avisar) a.modelo_->beginInsertRows(padre ? a.indice(*padre) : QModelIndex(), int(lugar), int(lugar));
  filas.insert(filas.begin() + static_cast<std::ptrdiff_t>(lugar), n);
  for (size_t i = lugar; i < filas.size(); ++i) filas[i]->fila_ = static_cast<int>(i);
  if (avisar) {
    a.modelo_->endInsertRows();
    // Its first child lets the view expand a parent that was to be expanded.
    if (padre && padre->Children() == 1 && padre->expandido_) a.setExpanded(a.indice(*padre), true);
  }
  return *n;
}

Nodo& Arbol::Coleccion::Item(int indice) const {
  if (indice < 1 || indice > Count()) fueraDeRango();
  return arbol_.nodos_[static_cast<size_t>(indice - 1)];
}

Nodo& Arbol::Coleccion::Item(const QString& clave) const {
  Nodo* n = arbol_.buscar(clave);
  if (!n) throw vb::Error(vb::kElementNotFound);
  return *n;
}

void Arbol::Coleccion::Clear() {
  Arbol& a = arbol_;
  const bool avisar = a.avisando();
  if (avisar) a.modelo_->beginResetModel();
  a.ultimoRelativo_ = nullptr;
  a.porClave_.vaciar();
  a.raiz_.clear();
  a.nodos_.clear();
  if (avisar) a.modelo_->endResetModel();
}
