#pragma once
// The list lookup dialog: the statement's rows in a report-style list with a
// search box over each column, check boxes, quantities and stock colours.
// Rows live in a model (ModeloConsulta), so a table of 100,000 articles opens
// without one widget per cell.
#include <QAbstractTableModel>
#include <QColor>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "platform/vb/variant.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTreeView;
class QWidget;

namespace ado { class Recordset; }

// A collection that may be Nothing.
using Coleccion = std::optional<QStringList>;

// The rows of a lookup: texts by row and column, a check state and a stock
// colour per row. Sorting reorders the rows themselves, so the list order the
// searches walk is the model's order.
class ModeloConsulta : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void reiniciar(QStringList encabezados);
  void setCheckable(bool si);
  bool checkable() const { return checkable_; }
  // Appends a row; celdas has one text per column. colorBgr < 0: no colour.
  void agregar(std::vector<QString>&& celdas, bool marcada, long colorBgr = -1);
  void terminarCarga();  // tells the view after a batch of agregar()

  int filas() const { return static_cast<int>(filas_.size()); }
  int columnas() const { return static_cast<int>(encabezados_.size()); }
  const QString& celda(int fila, int columna) const { return filas_[fila].celdas[columna]; }
  void setCelda(int fila, int columna, const QString& texto);
  bool marcada(int fila) const { return filas_[fila].marcada; }
  void setMarcada(int fila, bool si);
  long color(int fila) const { return filas_[fila].color; }
  QString encabezado(int columna) const { return encabezados_.value(columna); }
  void setEncabezado(int columna, const QString& texto);

  // Sorts by the column's text, ignoring case; stable.
  void ordenar(int columna, Qt::SortOrder orden);

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  bool setData(const QModelIndex& indice, const QVariant& valor, int rol) override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override;

 private:
  struct Fila {
    std::vector<QString> celdas;
    long color = -1;
    bool marcada = false;
  };
  QStringList encabezados_;
  std::vector<Fila> filas_;
  int cargadas_ = 0;  // rows the view has been told about
  bool checkable_ = false;
};

// A platform colour number (&HBBGGRR) as a colour.
QColor colorBgr(long valor);

class Lib_FrmCons3 : public QDialog {
  Q_OBJECT
 public:
  explicit Lib_FrmCons3(QWidget* padre = nullptr);
  ~Lib_FrmCons3() override;

  // ---- Public properties --------------------------------------------
  vb::Variant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
  QString MuestraStock;
  QString SQL;
  QString CampoDevuelto;
  Coleccion CmpsDevueltos;
  bool CheckBoxes = false;
  QString gConnString;
  vb::Variant ValorDevuelto;
  QString FiltroInicial;
  QString CampoBusqueda;
  bool OrdenarPorLwv = false;
  Coleccion Valores;
  Coleccion Cantidades;
  bool UsaCantidades = false;
  QString ValoresDefault;
  bool CfgUsaConsultaLIKE = false;
  bool GrabarCfg = false;

  // ---- Operations ----------------------------------------------------
  // The form's load: runs when shown, on "Nueva Busqueda" and after F5.
  void Cargar();
  // Both arguments are accepted and not used: every row is loaded.
  void Leer(long Cdesde, long Cuantas);
  void Encolumnar();
  void CalcularAncho();
  int IndiceColumna(const QString& Columna) const;   // 1-based, 0 when none
  int Busqueda(int Clave, const QString& QueValor) const;  // 1-based, 0 when none
  // The form's unload: saves the widths and empties the list.
  void Descargar();

  // ---- For the option menus and the tests ----------------------------
  ModeloConsulta& modelo() { return modelo_; }
  QTreeView* lista() const { return lista_; }
  QLineEdit* cajaBusqueda(int i) const;
  int cajasVisibles() const;
  QScrollBar* barra() const { return barra_; }
  QWidget* campos() const { return picFields_; }
  QPushButton* botonNueva() const { return cmdNueva_; }
  // The selected row (0-based), or -1.
  int filaSeleccionada() const;
  void seleccionar(int fila);
  // Column widths, in twips.
  int anchoColumna(int columna) const;
  void setAnchoColumna(int columna, int twips);
  int anchoVentana() const;  // in twips
  void setAnchoVentana(int twips);
  QString sqlInicial() const { return SQLInicial; }
  QString tablaConsulta() const { return TablaConsulta; }
  int indiceBusqueda() const { return IndiceBusqueda; }
  // Drops every column and row (the option menus build their own column).
  void limpiarColumnas();
  void agregarColumna(const QString& encabezado, int anchoTwips);

  void CmdAceptar_Click();
  void CmdCancelar_Click();
  void CmdNueva_Click();

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;
  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void CargarAnchos();
  void GrabarAnchos();
  void buscarIncremental(int caja);
  void F5(int caja);
  bool teclaLista(QKeyEvent* evento);  // true when consumed
  void cantidades(QKeyEvent* evento);
  void informarFaltante();
  void ordenarPorColumna(int columna);
  void acomodar();
  void moverCampos(int valor);
  QLineEdit* crearCaja(int indice);
  QString valorEnColumna(int fila, int columna1) const;  // 1-based column
  long colorStock(const ado::Recordset& rs, int punto, int stock) const;

  ModeloConsulta modelo_;
  std::unique_ptr<ado::Recordset> rs_;  // open while loading
  QWidget* marco_ = nullptr;      // clips picFields as the scroll bar moves it
  QWidget* picFields_ = nullptr;
  QTreeView* lista_ = nullptr;
  QScrollBar* barra_ = nullptr;
  QFrame* frame1_ = nullptr;
  QPushButton* cmdAceptar_ = nullptr;
  QPushButton* cmdCancelar_ = nullptr;
  QPushButton* cmdNueva_ = nullptr;
  QLabel* lblFieldName_ = nullptr;
  std::vector<QLineEdit*> cajas_;

  bool EsArticulos = false;
  QString SQLInicial, SQLBase, SQLCola, TablaConsulta;
  int IndiceBusqueda = 0;
  long filasLeidas_ = 0;
  int columnaOrden_ = 0;
  Qt::SortOrder orden_ = Qt::AscendingOrder;
  bool ordenado_ = false;
  bool cargado_ = false;
  bool descargado_ = false;
};
