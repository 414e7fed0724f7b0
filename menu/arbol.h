#pragma once
// A tree with a check box on each node, whose nodes are keyed: the tree of
// menu tasks. Nodes are counted from 1 in the order they were added, and are
// found by key through a hash. The icons come from an image list bound to
// the tree (ListaImagenes), by position.
//
//   arbol.setImageList(&lista);
//   Nodo& raiz = arbol.Nodes().Add({}, tvwLast, "D30", "Presupuestos", 4);
//   arbol.Nodes().Add("D30", tvwChild, "D3010", "Alta", 0).setTag("PRE001");
//   for (int i = 1; i <= arbol.Nodes().Count(); ++i) arbol.Nodes()(i).Checked();
#include <QHash>
#include <QPointer>
#include <QString>
#include <QTreeWidget>
#include <vector>

#include "menu/lista_imagenes.h"

class Arbol;

// Where a new node goes relative to an existing one.
enum RelacionNodo : int { tvwFirst = 0, tvwLast = 1, tvwNext = 2, tvwPrevious = 3, tvwChild = 4 };

class Nodo : public QTreeWidgetItem {
 public:
  const QString& Key() const { return clave_; }
  const QString& Text() const { return texto_; }
  void setText(const QString& texto) { QTreeWidgetItem::setText(0, texto); }
  const QString& Tag() const { return tag_; }
  void setTag(const QString& tag) { tag_ = tag; }
  // Position in the tree's image list; 0 for none.
  int Image() const { return imagen_; }
  void setImage(int imagen);
  // A node without children keeps the state itself and hands it to the view
  // when its first child arrives: the view keeps an index for every expanded
  // item, and with one for each leaf of a large menu its inserts slow down
  // far more than in proportion.
  // A node still waiting for the view (Arbol::Carga) keeps it too.
  bool Expanded() const { return enVista() ? isExpanded() : expandido_; }
  void setExpanded(bool expandido) {
    expandido_ = expandido;
    if (enVista()) QTreeWidgetItem::setExpanded(expandido);
  }
  // Setting it from code does not raise the tree's nodeCheck.
  bool Checked() const { return marca_ == Qt::Checked; }
  void setChecked(bool marcado);
  // 1-based position among the tree's nodes.
  int Index() const { return indice_; }

  Nodo* Parent() const { return padre_; }
  Nodo* Child() const { return primerHijo_; }  // first child, or null
  Nodo* Next() const { return siguiente_; }    // next sibling, or null
  Nodo* Previous() const { return anterior_; }
  int Children() const { return hijos_; }

  // The text, the check box and the image of the one column are kept in the
  // node's own members rather than in the item's list of values: a large
  // menu then takes a fraction of the memory, and starts that much sooner.
  QVariant data(int column, int role) const override;
  void setData(int column, int role, const QVariant& value) override;

 private:
  friend class Arbol;
  Nodo(Arbol& arbol, QString clave, int indice) : arbol_(arbol), clave_(std::move(clave)), indice_(indice) {}
  bool enVista() const { return hijos_ && treeWidget(); }

  Arbol& arbol_;
  QString clave_;
  QString texto_;
  QString tag_;
  int imagen_ = 0;
  int indice_;
  Qt::CheckState marca_ = Qt::Unchecked;
  bool enArbol_ = false;
  bool expandido_ = false;  // while it has no children
  // The links are kept here: the item's own sibling search is linear.
  Nodo* padre_ = nullptr;
  Nodo* primerHijo_ = nullptr;
  Nodo* ultimoHijo_ = nullptr;
  Nodo* siguiente_ = nullptr;
  Nodo* anterior_ = nullptr;
  int hijos_ = 0;
};

class Arbol : public QTreeWidget {
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
    // 1-based; error 35600 outside 1..Count().
    Nodo& Item(int indice) const;
    // Error 35601 for a key not in the tree.
    Nodo& Item(const QString& clave) const;
    Nodo& operator()(int indice) const { return Item(indice); }
    Nodo& operator()(const QString& clave) const { return Item(clave); }
    bool contiene(const QString& clave) const { return arbol_.porClave_.contains(clave); }
    void Clear();

   private:
    friend class Arbol;
    explicit Coleccion(Arbol& arbol) : arbol_(arbol) {}
    Arbol& arbol_;
  };

  // While one is alive, the nodes added go to the view all at once when the
  // last one ends: the view then lays out a large tree once instead of on
  // every add. Keys, indexes and links are there as each node is added;
  // only the widget sees them later.
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

 signals:
  // The user ticked or cleared a node's check box.
  void nodeCheck(Nodo* nodo);

 private:
  friend class Nodo;
  void enlazar(Nodo* nodo, Nodo* padre, Nodo* antes, Nodo* despues);
  void iniciarCarga();
  void terminarCarga();
  void borrarPendientes();

  Coleccion nodes_{*this};
  std::vector<Nodo*> nodos_;
  QHash<QString, Nodo*> porClave_;
  Nodo* ultimoRelativo_ = nullptr;
  // The top level's ends; its nodes are linked like any others.
  Nodo* primeroRaiz_ = nullptr;
  Nodo* ultimoRaiz_ = nullptr;
  int cargas_ = 0;            // Carga objects alive
  size_t desdeCarga_ = 0;     // first node added since the outermost began
  bool hayPendientes_ = false;  // top-level nodes not yet in the widget
  QPointer<ListaImagenes> lista_;
  int silencio_ = 0;
};
