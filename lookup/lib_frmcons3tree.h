#pragma once
// The tree lookup dialog: code/description rows arranged under one root by
// code prefix, with search, single pick or checks, and the chosen codes
// translated for families, positions and cost centres or accounts.
#include <QDialog>
#include <QHash>
#include <QString>
#include <vector>

#include "lookup/lib_frmcons3.h"
#include "lookup/pie_consulta.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

class Lib_FrmCons3Tree : public QDialog, public PropiedadesConsulta {
  Q_OBJECT
 public:
  explicit Lib_FrmCons3Tree(QWidget* padre = nullptr);
  ~Lib_FrmCons3Tree() override;

  void Cargar();  // the form's load
  void ArmarTreeVAutomatico();
  void Descargar();

  void CmdAceptar_Click();
  void CmdNueva_Click();

  QTreeWidget* arbol() const { return treeV_; }
  QLineEdit* cajaBusqueda() const { return cmbSearch_; }
  // The node of a code ("" for the root), or nullptr.
  QTreeWidgetItem* nodo(const QString& codigo) const;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;
  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void buscar(const QString& texto);
  void F5();
  void propagar(QTreeWidgetItem* item, Qt::CheckState estado, int niveles);
  void vaciar();  // the tree without nodes

  QTreeWidget* treeV_ = nullptr;
  QLineEdit* cmbSearch_ = nullptr;
  QHash<QString, QTreeWidgetItem*> porClave_;  // upper-cased key -> node
  // The nodes in the order they were added, the root first: searches and
  // checks go by it, as the statement's rows came, not by the tree's shape.
  std::vector<QTreeWidgetItem*> nodos_;
  PieConsulta pie_;
  QLabel* aviso_ = nullptr;  // a search that found nothing says so
  QString SQLBaseArbol, cola_;
  bool propagando_ = false;
  bool descargado_ = false;
};
