#include <QFont>
#include <algorithm>
#include <numeric>

#include "lookup/lib_frmcons3.h"

QColor colorBgr(long valor) {
  return QColor(static_cast<int>(valor & 0xFF), static_cast<int>((valor >> 8) & 0xFF),
                static_cast<int>((valor >> 16) & 0xFF));
}

namespace {

inline bool blanco(char16_t c) {
  if (c > u' ' && c < 0x80) return false;
  return QChar::isSpace(c);
}

// A search text ready to compare with cells: folded, and beside each folded
// character its upper case, so most cell characters match or fail on a plain
// comparison. A cell character outside ASCII is folded to decide.
class Prefijo {
 public:
  explicit Prefijo(const QString& valor) : plegado_(valor.trimmed().toCaseFolded()) {
    mayusculas_.reserve(static_cast<size_t>(plegado_.size()));
    for (QChar c : plegado_) {
      if (c.isSurrogate()) complejo_ = true;
      mayusculas_.push_back(c.toUpper().unicode());
    }
  }
  bool vacio() const { return plegado_.isEmpty(); }
  const QString& plegado() const { return plegado_; }

  // Whether the trimmed `texto` begins with the text, ignoring case. Trailing
  // blanks cannot matter: the text ends in a character that is not blank.
  bool empieza(QStringView texto) const {
    const QChar* d = texto.data();
    const qsizetype n = texto.size();
    qsizetype i = 0;
    while (i < n && blanco(d[i].unicode())) ++i;
    const qsizetype largo = plegado_.size();
    if (n - i < largo) return false;
    if (complejo_) return QStringView(d + i, n - i).startsWith(plegado_, Qt::CaseInsensitive);
    const QChar* p = plegado_.constData();
    const char16_t* m = mayusculas_.data();
    for (qsizetype k = 0; k < largo; ++k) {
      const char16_t c = d[i + k].unicode();
      if (c == p[k].unicode() || c == m[k]) continue;
      if (c < 0x80) return false;
      if (QChar::isSurrogate(c)) return QStringView(d + i, n - i).startsWith(plegado_, Qt::CaseInsensitive);
      if (QChar::toCaseFolded(c) != p[k].unicode()) return false;
    }
    return true;
  }

 private:
  QString plegado_;
  std::vector<char16_t> mayusculas_;
  bool complejo_ = false;  // a character outside the basic plane
};

QString plegar(QStringView texto) { return texto.trimmed().toString().toCaseFolded(); }

}  // namespace

void ModeloConsulta::Columna::agregar(QStringView t) {
  tramos.push_back(Tramo{texto.size(), static_cast<std::uint32_t>(t.size())});
  texto.insert(texto.end(), t.utf16(), t.utf16() + t.size());
}

void ModeloConsulta::reiniciar(QStringList encabezados) {
  beginResetModel();
  encabezados_ = std::move(encabezados);
  columnas_.assign(static_cast<size_t>(encabezados_.size()), {});
  marcadas_.clear();
  colores_.clear();
  orden_.clear();
  clavesOrden_.clear();
  columnaOrden_ = -1;
  ordenVigente_ = false;
  cargadas_ = 0;
  endResetModel();
}

void ModeloConsulta::reservar(int filas) {
  for (auto& c : columnas_) {
    c.tramos.reserve(static_cast<size_t>(filas));
    c.texto.reserve(static_cast<size_t>(filas) * 12);
  }
  marcadas_.reserve(static_cast<size_t>(filas));
  colores_.reserve(static_cast<size_t>(filas));
}

void ModeloConsulta::setCheckable(bool si) {
  if (checkable_ == si) return;
  checkable_ = si;
  if (cargadas_ > 0) emit dataChanged(index(0, 0), index(cargadas_ - 1, 0), {Qt::CheckStateRole});
}

void ModeloConsulta::agregar(const std::vector<QStringView>& celdas, bool marcada, long color) {
  const size_t n = columnas_.size();
  for (size_t c = 0; c < n; ++c) columnas_[c].agregar(c < celdas.size() ? celdas[c] : QStringView());
  marcadas_.push_back(marcada ? 1 : 0);
  colores_.push_back(static_cast<std::int32_t>(color < 0 ? -1 : color & 0xFFFFFF));
  const int r = static_cast<int>(marcadas_.size()) - 1;
  // A row added after a sort goes at the end of the list.
  if (!orden_.empty()) orden_.push_back(r);
  if (columnaOrden_ >= 0) clavesOrden_.push_back(plegar(vista(r, columnaOrden_)));
  ordenVigente_ = false;
}

void ModeloConsulta::agregar(const QStringList& celdas, bool marcada, long color) {
  std::vector<QStringView> vistas(celdas.begin(), celdas.end());
  agregar(vistas, marcada, color);
}

void ModeloConsulta::terminarCarga() {
  if (cargadas_ >= filas()) return;
  // The rows are already in place; the view only needs telling.
  beginInsertRows({}, cargadas_, filas() - 1);
  cargadas_ = filas();
  endInsertRows();
}

void ModeloConsulta::setCelda(int fila, int columna, const QString& texto) {
  const int r = real(fila);
  Columna& c = columnas_[static_cast<size_t>(columna)];
  // The new text goes at the end of the buffer; the old one is left unused.
  const Tramo nuevo{c.texto.size(), static_cast<std::uint32_t>(texto.size())};
  c.texto.insert(c.texto.end(), texto.utf16(), texto.utf16() + texto.size());
  c.tramos[static_cast<size_t>(r)] = nuevo;
  if (columna == columnaOrden_) {
    clavesOrden_[static_cast<size_t>(r)] = plegar(texto);
    ordenVigente_ = false;  // the row keeps its place, so the order no longer holds
  }
  if (fila < cargadas_) emit dataChanged(index(fila, columna), index(fila, columna));
}

void ModeloConsulta::setMarcada(int fila, bool si) {
  marcadas_[static_cast<size_t>(real(fila))] = si ? 1 : 0;
  if (fila < cargadas_) emit dataChanged(index(fila, 0), index(fila, 0), {Qt::CheckStateRole});
}

void ModeloConsulta::setEncabezado(int columna, const QString& texto) {
  encabezados_[columna] = texto;
  emit headerDataChanged(Qt::Horizontal, columna, columna);
}

void ModeloConsulta::ordenar(int columna, Qt::SortOrder sentido) {
  if (columna < 0 || columna >= columnas()) return;
  emit layoutAboutToBeChanged();
  const QModelIndexList viejos = persistentIndexList();
  std::vector<int> antes;
  antes.reserve(static_cast<size_t>(viejos.size()));
  for (const QModelIndex& v : viejos) antes.push_back(real(v.row()));

  // Folded once per row, not once per comparison; kept for the searches.
  if (columna != columnaOrden_) {
    clavesOrden_.resize(marcadas_.size());
    for (size_t i = 0; i < clavesOrden_.size(); ++i) clavesOrden_[i] = plegar(vista(static_cast<int>(i), columna));
    columnaOrden_ = columna;
  }
  if (orden_.size() != marcadas_.size()) {
    orden_.resize(marcadas_.size());
    std::iota(orden_.begin(), orden_.end(), 0);
  }
  // Stable from the current order, as the list shows it.
  const auto& k = clavesOrden_;
  if (sentido == Qt::AscendingOrder)
    std::stable_sort(orden_.begin(), orden_.end(), [&](int a, int b) { return k[a] < k[b]; });
  else
    std::stable_sort(orden_.begin(), orden_.end(), [&](int a, int b) { return k[b] < k[a]; });
  sentido_ = sentido;
  ordenVigente_ = true;

  std::vector<int> posicion(orden_.size());
  for (size_t i = 0; i < orden_.size(); ++i) posicion[static_cast<size_t>(orden_[i])] = static_cast<int>(i);
  QModelIndexList nuevos;
  nuevos.reserve(viejos.size());
  for (qsizetype i = 0; i < viejos.size(); ++i)
    nuevos << index(posicion[static_cast<size_t>(antes[static_cast<size_t>(i)])], viejos[i].column());
  changePersistentIndexList(viejos, nuevos);
  emit layoutChanged();
}

int ModeloConsulta::buscar(int columna, const QString& valor) const {
  if (columna < 0 || columna >= columnas() || filas() == 0) return -1;
  const Prefijo prefijo(valor);
  if (prefijo.vacio()) return 0;
  const int n = filas();
  if (ordenVigente_ && columna == columnaOrden_ && orden_.size() == static_cast<size_t>(n)) {
    // Sorted by this column: the rows that begin with the text stand together,
    // and the first of them is where the ones before it stop.
    const QStringView p(prefijo.plegado());
    auto antes = [&](int r) {
      const int c = QStringView(clavesOrden_[static_cast<size_t>(r)]).left(p.size()).compare(p);
      return sentido_ == Qt::AscendingOrder ? c < 0 : c > 0;
    };
    const auto it = std::partition_point(orden_.begin(), orden_.end(), antes);
    if (it == orden_.end()) return -1;
    return QStringView(clavesOrden_[static_cast<size_t>(*it)]).startsWith(p) ? static_cast<int>(it - orden_.begin())
                                                                             : -1;
  }
  if (orden_.empty()) {
    for (int i = 0; i < n; ++i)
      if (prefijo.empieza(vista(i, columna))) return i;
  } else {
    for (int i = 0; i < n; ++i)
      if (prefijo.empieza(vista(orden_[static_cast<size_t>(i)], columna))) return i;
  }
  return -1;
}

int ModeloConsulta::rowCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : cargadas_; }
int ModeloConsulta::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : columnas(); }

QVariant ModeloConsulta::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid() || indice.row() >= cargadas_) return {};
  const size_t r = static_cast<size_t>(real(indice.row()));
  switch (rol) {
    case Qt::DisplayRole: return vista(static_cast<int>(r), indice.column()).toString();
    case Qt::CheckStateRole:
      if (checkable_ && indice.column() == 0) return marcadas_[r] ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::ForegroundRole:
      if (colores_[r] >= 0) return colorBgr(colores_[r]);
      return {};
    case Qt::FontRole:
      if (colores_[r] >= 0) {
        // One font for every coloured cell, so painting finds it resolved.
        if (!negrita_) {
          negrita_.emplace();
          negrita_->setBold(true);
        }
        return *negrita_;
      }
      return {};
    default: return {};
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
