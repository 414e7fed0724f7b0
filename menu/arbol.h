#pragma once
// A tree with a check box on each node, whose nodes are keyed: the tree of
// menu tasks. Nodes are counted from 1 in the order they were added, and are
// found by key through a hash. The icons come from an image list bound to
// the tree (ListaImagenes), by position.
//
// The nodes are the tree's own data; the widget is a view over them through
// an item model, which draws only the rows on screen. A menu of many
// thousand tasks then costs little more than its texts.
//
//   arbol.setImageList(&lista);
//   Nodo& raiz = arbol.Nodes().Add({}, tvwLast, "D30", "Presupuestos", 4);
//   arbol.Nodes().Add("D30", tvwChild, "D3010", "Alta", 0).setTag("PRE001");
//   for (int i = 1; i <= arbol.Nodes().Count(); ++i) arbol.Nodes()(i).Checked();
#include <QModelIndex>
#include <QPointer>
#include <QString>
#include <QTreeView>
#include <deque>
#include <memory>
#include <vector>

#include "menu/lista_imagenes.h"
#include "menu/tabla_por_clave.h"

class Arbol;

// Where a new node goes relative to an existing one.
enum RelacionNodo : int { tvwFirst = 0, tvwLast = 1, tvwNext = 2, tvwPrevious = 3, tvwChild = 4 };

class Nodo {
 public:
  // Only the tree makes nodes.
  class Permiso {
    friend class Arbol;
    Permiso() = default;
  };
  Nodo(Permiso, Arbol& arbol, QStringView clave, QStringView texto, QStringView tag, int imagen, int indice)
      : arbol_(arbol), imagen_(imagen), indice_(indice) {
    guardarTextos(clave, texto, tag);
  }
  Nodo(const Nodo&) = delete;
  Nodo& operator=(const Nodo&) = delete;

  // The three texts are kept together, in one piece of memory: a menu of
  // many thousand nodes starts that much sooner.
  QString Key() const { return claveVista().toString(); }
  QString Text() const { return textoVista().toString(); }
  void setText(const QString& texto);
  QString Tag() const { return tagVista().toString(); }
  void setTag(const QString& tag) { guardarTextos(claveVista(), textoVista(), tag); }
  QStringView claveVista() const { return QStringView(textos_).first(finClave_); }
  QStringView textoVista() const { return QStringView(textos_).sliced(finClave_, finTexto_ - finClave_); }
  QStringView tagVista() const { return QStringView(textos_).sliced(finTexto_); }
  // Position in the tree's image list; 0 for none.
  int Image() const { return imagen_; }
  void setImage(int imagen);
  // A node without children keeps the state itself and hands it to the view
  // when its first child arrives; collapsing or expanding it in the view is
  // what it reports.
  bool Expanded() const { return expandido_; }
  void setExpanded(bool expandido);
  // Setting it from code does not raise the tree's nodeCheck.
  bool Checked() const { return marca_ == quint8(Qt::Checked); }
  void setChecked(bool marcado);
  // 1-based position among the tree's nodes.
  int Index() const { return indice_; }

  Nodo* Parent() const { return padre_; }
  Nodo* Child() const { return hijos_ && !hijos_->empty() ? hijos_->front() : nullptr; }  // first child, or null
  Nodo* Next() const;                                                                     // next sibling, or null
  Nodo* Previous() const;
  int Children() const { return hijos_ ? static_cast<int>(hijos_->size()) : 0; }

 private:
  friend class Arbol;
  friend class ModeloArbol;
  const std::vector<Nodo*>& hermanos() const;
  const std::vector<Nodo*>& hijos() const;
  std::vector<Nodo*>& hijosParaAgregar();
  // The views may point into the node's own texts.
  void guardarTextos(QStringView clave, QStringView texto, QStringView tag);

  Arbol& arbol_;
  QString textos_;  // key, text and tag, one after another
  quint32 finClave_ = 0, finTexto_ = 0;
  int imagen_ = 0;
  int indice_;
  int fila_ = 0;  // place among its siblings: its row in the view
  quint8 marca_ = Qt::Unchecked;
  bool expandido_ = false;
  Nodo* padre_ = nullptr;
  std::unique_ptr<std::vector<Nodo*>> hijos_;  // only for nodes that have children
};

class ModeloArbol;

class Arbol : public QTreeView {
  Q_OBJECT
 public:
  explicit Arbol(QWidget* parent = nullptr);
  ~Arbol() override;

  // The node collection.
  class Coleccion {
   public:
    int Count() const { return static_cast<int>(arbol_.nodos_.size()); }
    // Without a relative the node goes to the top level, last. A relative
    // that is not in the tree is error 35601; a key already in it, 35602; an
    // image outside the bound list, 35600. An empty key leaves the node
    // without one. A failing Add adds nothing.
    Nodo& Add(const QString& relativo = {}, int relacion = tvwLast, const QString& clave = {},
              const QString& texto = {}, int imagen = 0);
    // The same with the node's tag given at once, as a loader that knows it
    // reads it: the three texts go into memory taken once.
    Nodo& Add(const QString& relativo, int relacion, const QString& clave, const QString& texto, int imagen,
              const QString& tag);
    // 1-based; error 35600 outside 1..Count().
    Nodo& Item(int indice) const;
    // Error 35601 for a key not in the tree.
    Nodo& Item(const QString& clave) const;
    Nodo& operator()(int indice) const { return Item(indice); }
    Nodo& operator()(const QString& clave) const { return Item(clave); }
    bool contiene(const QString& clave) const { return arbol_.buscar(clave) != nullptr; }
    void Clear();

   private:
    friend class Arbol;
    explicit Coleccion(Arbol& arbol) : arbol_(arbol) {}
    Arbol& arbol_;
  };

  // While one is alive, the view is not told of each node added: it takes
  // them all when the last one ends, and lays out a large tree once instead
  // of on every add. Keys, indexes and links are there as each node is added.
  class Carga {
   public:
    explicit Carga(Arbol& arbol) : arbol_(arbol) { arbol_.iniciarCarga(); }
    ~Carga() { arbol_.terminarCarga(); }
    Carga(const Carga&) = delete;
    Carga& operator=(const Carga&) = delete;

   private:
    Arbol& arbol_;
  };

  Coleccion& Nodes() { return nodes_; }
  const Coleccion& Nodes() const { return nodes_; }

  // The image list the nodes' images refer to; null for none. Binding it
  // keeps it from being cleared while the tree uses it.
  ListaImagenes* ImageList() const { return lista_; }
  void setImageList(ListaImagenes* lista);

  // Ticks or clears every node, 1 to Count(), without raising nodeCheck.
  void marcarTodos(bool marcado);

  // The node's row in the view, and the node of a row (null for none).
  QModelIndex indice(const Nodo& nodo) const;
  Nodo* nodo(const QModelIndex& indice) const;
  // The picture the view shows for the node: its image in the bound list.
  QIcon icono(const Nodo& nodo) const;

 signals:
  // The user ticked or cleared a node's check box.
  void nodeCheck(Nodo* nodo);

 private:
  friend class Nodo;
  friend class ModeloArbol;
  void iniciarCarga();
  void terminarCarga();
  bool avisando() const { return cargas_ == 0; }  // the view is told of each change
  void cambio(const Nodo& n, int rol);
  void marcar(Nodo& n, Qt::CheckState marca, bool porUsuario);
  Nodo* buscar(const QString& clave) const;

  Coleccion nodes_{*this};
  std::deque<Nodo> nodos_;   // in the order added; they never move
  std::vector<Nodo*> raiz_;  // the top level, in view order
  TablaPorClave porClave_;   // positions in nodos_
  Nodo* ultimoRelativo_ = nullptr;
  QPointer<ListaImagenes> lista_;
  std::unique_ptr<ModeloArbol> modelo_;
  int cargas_ = 0;
};
