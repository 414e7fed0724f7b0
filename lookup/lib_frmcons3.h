#pragma once
// The list lookup dialog: the statement's rows in a report-style list with a
// search box over each column, check boxes, quantities and stock colours.
// Rows live in a model (ModeloConsulta), so a table of 100,000 articles opens
// without one widget per cell.
#include <QAbstractTableModel>
#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "lookup/pie_consulta.h"
#include "platform/vb/variant.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTreeView;
class QWidget;

namespace ado {
class Recordset;
}

// A collection that may be Nothing.
using Coleccion = std::optional<QStringList>;

// The rows of a lookup, kept by column: each column's texts one after the
// other in one buffer, with a check state and a stock colour per row. No
// cell has an allocation of its own, so 100,000 articles load, search and
// close quickly, and a search walks memory in order. Sorting keeps the rows
// where they were loaded and reorders a list of positions, so the list order
// the searches walk is the order the view shows.
class ModeloConsulta : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void reiniciar(QStringList encabezados);
  void reservar(int filas);  // room for the rows about to be added
  void setCheckable(bool si);
  bool checkable() const { return checkable_; }
  // Appends a row, one text per column (missing ones are empty); the texts
  // are copied. colorBgr < 0: no colour.
  void agregar(const std::vector<QStringView>& celdas, bool marcada, long colorBgr = -1);
  void agregar(const QStringList& celdas, bool marcada, long colorBgr = -1);
  void terminarCarga();  // tells the view after a batch of agregar()

  // Rows are numbered in list order (as shown), from 0.
  int filas() const { return static_cast<int>(marcadas_.size()); }
  int columnas() const { return static_cast<int>(encabezados_.size()); }
  QString celda(int fila, int columna) const { return vista(real(fila), columna).toString(); }
  void setCelda(int fila, int columna, const QString& texto);
  bool marcada(int fila) const { return marcadas_[static_cast<size_t>(real(fila))] != 0; }
  void setMarcada(int fila, bool si);
  long color(int fila) const { return colores_[static_cast<size_t>(real(fila))]; }
  QString encabezado(int columna) const { return encabezados_.value(columna); }
  void setEncabezado(int columna, const QString& texto);

  // Sorts by the column's trimmed text, ignoring case; stable.
  void ordenar(int columna, Qt::SortOrder orden);
  // The first row in list order whose trimmed cell in `columna` begins with
  // the trimmed `valor`, ignoring case; -1 when none (an empty `valor` gives
  // the first row). Sorted by that column, it is a binary search.
  int buscar(int columna, const QString& valor) const;

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  bool setData(const QModelIndex& indice, const QVariant& valor, int rol) override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override;

 private:
  struct Tramo {
    std::size_t inicio;
    std::uint32_t largo;
  };
  struct Columna {
    std::vector<char16_t> texto;  // the cells' texts, one after the other
    std::vector<Tramo> tramos;    // where each row's text stands, by row as loaded
    void agregar(QStringView t);
  };
  int real(int fila) const { return orden_.empty() ? fila : orden_[static_cast<size_t>(fila)]; }
  QStringView vista(int real, int columna) const {
    const Columna& c = columnas_[static_cast<size_t>(columna)];
    const Tramo& t = c.tramos[static_cast<size_t>(real)];
    return QStringView(c.texto.data() + t.inicio, static_cast<qsizetype>(t.largo));
  }

  QStringList encabezados_;
  std::vector<Columna> columnas_;
  std::vector<unsigned char> marcadas_;
  std::vector<std::int32_t> colores_;  // -1: no colour
  std::vector<int> orden_;             // list position -> row as loaded; empty: as loaded
  std::vector<QString> clavesOrden_;   // folded texts of the sort column, by row as loaded
  int columnaOrden_ = -1;
  Qt::SortOrder sentido_ = Qt::AscendingOrder;
  bool ordenVigente_ = false;  // orden_ still follows clavesOrden_
  int cargadas_ = 0;           // rows the view has been told about
  bool checkable_ = false;
  mutable std::optional<QFont> negrita_;  // the stock colours' bold font
};

// A platform colour number (&HBBGGRR) as a colour.
QColor colorBgr(long valor);

// What the lookup service sets on either dialog before showing it, and reads
// back after: the statement, the columns to return and the user's choice.
struct PropiedadesConsulta {
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
};

class Lib_FrmCons3 : public QDialog, public PropiedadesConsulta {
  Q_OBJECT
 public:
  explicit Lib_FrmCons3(QWidget* padre = nullptr);
  ~Lib_FrmCons3() override;

  // ---- Public properties --------------------------------------------
  vb::Variant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
  QString MuestraStock;
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
  int IndiceColumna(const QString& Columna) const;         // 1-based, 0 when none
  int Busqueda(int Clave, const QString& QueValor) const;  // 1-based, 0 when none
  // The form's unload: saves the widths and empties the list.
  void Descargar();

  // ---- For the option menus and the tests ----------------------------
  ModeloConsulta& modelo() { return modelo_; }
  QTreeView* lista() const { return lista_; }
  QLineEdit* cajaBusqueda(int i) const;
  int cajasVisibles() const;
  QScrollBar* barra() const { return barra_; }  // the list's own horizontal scroll bar
  QWidget* campos() const { return picFields_; }
  QPushButton* botonNueva() const { return pie_.nueva; }
  // The selected row (0-based), or -1.
  int filaSeleccionada() const;
  void seleccionar(int fila);
  // Column widths, in twips.
  int anchoColumna(int columna) const;
  void setAnchoColumna(int columna, int twips);
  // The window's size in twips, its frame included, as the form measured it.
  int anchoVentana() const;
  int altoVentana() const;
  void setAnchoVentana(int twips);
  QString sqlInicial() const { return SQLInicial; }
  QString tablaConsulta() const { return TablaConsulta; }
  int indiceBusqueda() const { return IndiceBusqueda; }
  // Drops every column and row (the option menus build their own column).
  void limpiarColumnas();
  void agregarColumna(const QString& encabezado, int anchoTwips);

  void CmdAceptar_Click();
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
  void colocarCajas();  // each search box over its column, as the list has scrolled it
  void ensancharColumnasCortas();
  QLineEdit* crearCaja(int indice);
  QString valorEnColumna(int fila, int columna1) const;  // 1-based column
  long colorStock(const vb::Variant& punto, const vb::Variant& stock, const long (&niveles)[4]) const;

  ModeloConsulta modelo_;
  std::unique_ptr<ado::Recordset> rs_;  // open while loading
  QWidget* picFields_ = nullptr;
  QTreeView* lista_ = nullptr;
  QScrollBar* barra_ = nullptr;
  PieConsulta pie_;
  QLabel* lblFieldName_ = nullptr;
  QLabel* aviso_ = nullptr;  // a search that found nothing says so
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
