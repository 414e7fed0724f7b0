#include <QFont>
#include <algorithm>
#include <numeric>

#include "lookup/lib_frmcons3.h"

QColor colorBgr(long valor) {
  return QColor(static_cast<int>(valor & 0xFF), static_cast<int>((valor >> 8) & 0xFF),
                static_cast<int>((valor >> 16) & 0xFF));
}

void ModeloConsulta::reiniciar(QStringList encabezados) {
  beginResetModel();
  encabezados_ = std::move(encabezados);
  filas_.clear();
  cargadas_ = 0;
  endResetModel();
}

void ModeloConsulta::setCheckable(bool si) {
  if (checkable_ == si) return;
  checkable_ = si;
  if (!filas_.empty()) emit dataChanged(index(0, 0), index(filas() - 1, 0));
}

void ModeloConsulta::agregar(std::vector<QString>&& celdas, bool marcada, long color) {
  celdas.resize(encabezados_.size());
  filas_.push_back(Fila{std::move(celdas), color, marcada});
}

void ModeloConsulta::terminarCarga() {
  if (cargadas_ >= filas()) return;
  // The rows are already in place; the view only needs telling.
  beginInsertRows({}, cargadas_, filas() - 1);
  cargadas_ = filas();
  endInsertRows();
}

void ModeloConsulta::setCelda(int fila, int columna, const QString& texto) {
  filas_[fila].celdas[columna] = texto;
  emit dataChanged(index(fila, columna), index(fila, columna));
}

void ModeloConsulta::setMarcada(int fila, bool si) {
  filas_[fila].marcada = si;
  emit dataChanged(index(fila, 0), index(fila, 0), {Qt::CheckStateRole});
}

void ModeloConsulta::setEncabezado(int columna, const QString& texto) {
  encabezados_[columna] = texto;
  emit headerDataChanged(Qt::Horizontal, columna, columna);
}

void ModeloConsulta::ordenar(int columna, Qt::SortOrder orden) {
  if (columna < 0 || columna >= columnas()) return;
  emit layoutAboutToBeChanged();
  // Folded once per row, not once per comparison.
  std::vector<QString> claves(filas_.size());
  for (size_t i = 0; i < filas_.size(); ++i) claves[i] = filas_[i].celdas[columna].toCaseFolded();
  std::vector<int> orden_filas(filas_.size());
  std::iota(orden_filas.begin(), orden_filas.end(), 0);
  std::stable_sort(orden_filas.begin(), orden_filas.end(), [&](int a, int b) {
    return orden == Qt::AscendingOrder ? claves[a] < claves[b] : claves[b] < claves[a];
  });
  std::vector<Fila> nuevas;
  nuevas.reserve(filas_.size());
  for (int i : orden_filas) nuevas.push_back(std::move(filas_[i]));
  filas_ = std::move(nuevas);
  const QModelIndexList viejos = persistentIndexList();
  QModelIndexList nuevos;
  std::vector<int> posicion(orden_filas.size());
  for (size_t i = 0; i < orden_filas.size(); ++i) posicion[orden_filas[i]] = static_cast<int>(i);
  for (const QModelIndex& v : viejos) nuevos << index(posicion[v.row()], v.column());
  changePersistentIndexList(viejos, nuevos);
  emit layoutChanged();
}

int ModeloConsulta::rowCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : cargadas_; }
int ModeloConsulta::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : columnas(); }

QVariant ModeloConsulta::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid() || indice.row() >= cargadas_) return {};
  const Fila& f = filas_[indice.row()];
  switch (rol) {
    case Qt::DisplayRole:
      return f.celdas[indice.column()];
    case Qt::CheckStateRole:
      if (checkable_ && indice.column() == 0) return f.marcada ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::ForegroundRole:
      if (f.color >= 0) return colorBgr(f.color);
      return {};
    case Qt::FontRole:
      if (f.color >= 0) {
        QFont negrita;
        negrita.setBold(true);
        return negrita;
      }
      return {};
    default:
      return {};
  }
}

bool ModeloConsulta::setData(const QModelIndex& indice, const QVariant& valor, int rol) {
  if (rol != Qt::CheckStateRole || !checkable_ || indice.column() != 0) return false;
  setMarcada(indice.row(), valor.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags ModeloConsulta::flags(const QModelIndex& indice) const {
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;  // label editing stays off
  if (checkable_ && indice.column() == 0) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant ModeloConsulta::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion == Qt::Horizontal && rol == Qt::DisplayRole) return encabezados_.value(seccion);
  return {};
}
