#include "lookup/lib_frmcons3.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextStream>
#include <QTreeView>
#include <climits>
#include <cmath>
#include <cstdio>

#include "data/db_dll.h"
#include "lookup/anchos_columnas.h"
#include "lookup/pie_consulta.h"
#include "lookup/traza.h"
#include "lookup/ventana_consulta.h"
#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/ui/twips.h"
#include "platform/vb/formato.h"
#include "platform/vb/manejo.h"
#include "platform/vb/reloj.h"
#include "services/configuracion.h"
#include "suite/util_general.h"

namespace {

constexpr int kAltoCaja = 300;  // twips
constexpr int kAltoFrame = 615;
// The window's frame: the form's Width and Height count it, Qt's size does not.
constexpr int kMarcoAncho = 120;
constexpr int kMarcoAlto = 420;
const QString kCantidad = QStringLiteral("**Cantidad**");

bool contiene(const QString& t, const QString& b) { return t.contains(b, Qt::CaseInsensitive); }

QString archivoAnchos(const QString& nombre) {
  return ZepaKit2::util().CarpetaConBarra(ctx::actual().carpetaPrograma()) + nombre;
}

// Quotes inside a value, doubled for an SQL text constant.
QString comillas(const QString& v) {
  QString r = v;
  return r.replace(QLatin1Char('\''), QStringLiteral("''"));
}

// The database's refusal of a statement, as the connection recorded it.
vb::Error rechazo() {
  ado::Errors& errores = db().gCnn.Errors();
  if (errores.Count() == 0) return vb::Error(vb::kOperationNotAllowedWhenClosed);
  const ado::Error& e = errores.Item(0L);
  return vb::Error(e.Number(), e.Description(), e.Source());
}

}  // namespace

Lib_FrmCons3::Lib_FrmCons3(QWidget* padre) : QDialog(padre) {
  setObjectName(QStringLiteral("Lib_FrmCons3"));
  setWindowTitle(QStringLiteral("Consulta..."));
  picFields_ = new QWidget(this);
  picFields_->setObjectName(QStringLiteral("picFields"));
  lista_ = new QTreeView(picFields_);
  lista_->setObjectName(QStringLiteral("ListView1"));
  lista_->setRootIsDecorated(false);
  lista_->setUniformRowHeights(true);  // keeps 100,000 rows cheap to lay out
  lista_->setItemsExpandable(false);
  lista_->setAllColumnsShowFocus(true);
  lista_->setSelectionMode(QAbstractItemView::SingleSelection);
  lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lista_->setModel(&modelo_);
  lista_->header()->setStretchLastSection(false);
  lista_->header()->setSectionsMovable(false);
  lista_->header()->setSectionsClickable(true);
  lista_->installEventFilter(this);
  connect(lista_->header(), &QHeaderView::sectionClicked, this, [this](int c) {
    vb::Seguir seguir({traza::lookup(), "ListView1_ColumnClick"});
    seguir([&] { ordenarPorColumna(c); });
  });
  // Boxes follow the columns when the user drags a header edge.
  connect(lista_->header(), &QHeaderView::sectionResized, this, [this] { colocarCajas(); });
  connect(lista_, &QTreeView::doubleClicked, this, [this] { CmdAceptar_Click(); });
  crearCaja(0);

  // The list scrolls its columns with its own bar, and the boxes go with them.
  barra_ = lista_->horizontalScrollBar();
  barra_->setObjectName(QStringLiteral("HScroll1"));
  connect(barra_, &QScrollBar::valueChanged, this, [this] { colocarCajas(); });
  aviso_ = crearAvisoVacio(*lista_);

  pie_ = crearPie(
      *this, *this, [this] { CmdAceptar_Click(); }, [this] { CmdNueva_Click(); });
  lblFieldName_ = new QLabel(this);
  lblFieldName_->setObjectName(QStringLiteral("lblFieldName"));
  lblFieldName_->hide();
  resize(ui::tamanoTwips(9000, 6000));
}

Lib_FrmCons3::~Lib_FrmCons3() = default;

QLineEdit* Lib_FrmCons3::crearCaja(int indice) {
  while (static_cast<int>(cajas_.size()) <= indice) {
    const int i = static_cast<int>(cajas_.size());
    auto* c = new QLineEdit(picFields_);
    c->setObjectName(QStringLiteral("CmbSearch(%1)").arg(i));
    c->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
    c->installEventFilter(this);
    connect(c, &QLineEdit::textChanged, this, [this, i] { buscarIncremental(i); });
    cajas_.push_back(c);
  }
  return cajas_[indice];
}

QLineEdit* Lib_FrmCons3::cajaBusqueda(int i) const {
  return i >= 0 && i < static_cast<int>(cajas_.size()) ? cajas_[i] : nullptr;
}

int Lib_FrmCons3::cajasVisibles() const {
  int n = 0;
  for (auto* c : cajas_) n += c->isVisibleTo(const_cast<Lib_FrmCons3*>(this)) ? 1 : 0;
  return n;
}

int Lib_FrmCons3::filaSeleccionada() const {
  const auto filas = lista_->selectionModel() ? lista_->selectionModel()->selectedRows() : QModelIndexList{};
  return filas.isEmpty() ? -1 : filas.first().row();
}

void Lib_FrmCons3::seleccionar(int fila) {
  const QModelIndex i = modelo_.index(fila, 0);
  lista_->setCurrentIndex(i);
  lista_->selectionModel()->select(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  lista_->scrollTo(i);
}

int Lib_FrmCons3::anchoColumna(int columna) const { return ui::aTwips(lista_->header()->sectionSize(columna)); }
void Lib_FrmCons3::setAnchoColumna(int columna, int twips) {
  lista_->header()->resizeSection(columna, std::max(0, ui::twips(twips)));
}
int Lib_FrmCons3::anchoVentana() const { return ui::aTwips(width()) + kMarcoAncho; }
int Lib_FrmCons3::altoVentana() const { return ui::aTwips(height()) + kMarcoAlto; }
void Lib_FrmCons3::setAnchoVentana(int twips) { resize(std::max(1, ui::twips(twips - kMarcoAncho)), height()); }

void Lib_FrmCons3::limpiarColumnas() { modelo_.reiniciar({}); }

void Lib_FrmCons3::agregarColumna(const QString& encabezado, int anchoTwips) {
  QStringList e;
  for (int i = 0; i < modelo_.columnas(); ++i) e << modelo_.encabezado(i);
  e << encabezado;
  modelo_.reiniciar(e);
  setAnchoColumna(modelo_.columnas() - 1, anchoTwips);
}

// ---- Loading ------------------------------------------------------------

void Lib_FrmCons3::Cargar() {
  auto& u = ZepaKit2::util();
  cargado_ = true;
  vb::Pasos pasos({traza::lookup(), "FORM_LOAD"},
                  [&](const vb::Error& e) { return u.DialogoError(e, {}, QStringLiteral("FORM_LOAD")); });
  EsArticulos = contiene(SQL, QStringLiteral("articulos"));
  Valores = QStringList();
  Cantidades = QStringList();
  modelo_.reiniciar({});
  aviso_->hide();
  if (SQL.trimmed().isEmpty()) {
    pasos.run([&] { u.PrepararForm(this, false); });
    return;
  }
  SQL += QLatin1Char(' ');
  const int desde = SQL.indexOf(QStringLiteral("from"), 0, Qt::CaseInsensitive);
  if (desde >= 0) {
    int i = desde + 4;
    while (i < SQL.size() && SQL[i] == QLatin1Char(' ')) ++i;
    const int fin = SQL.indexOf(QLatin1Char(' '), i);
    TablaConsulta = SQL.mid(i, fin < 0 ? -1 : fin - i).trimmed();
  } else {
    TablaConsulta.clear();
  }
  if (SQLInicial.isEmpty()) SQLInicial = SQL;
  SQLBase = SQL;
  rs_ = std::make_unique<ado::Recordset>();
  // The rows are read once, forward, into the list: a server-side cursor
  // streams them instead of holding a second copy of every row.
  rs_->setCursorLocation(ado::adUseServer);
  if (!pasos.run([&] {
        db().AbrirRecordset(SQL, *rs_, nullptr, 0, 1);
        // AbrirRecordset has reported the refusal and left the recordset
        // closed; the load reports it as its own failure, with Retry.
        if (rs_->State() != ado::adStateOpen) throw rechazo();
      })) {
    rs_.reset();
    return;
  }
  modelo_.setCheckable(CheckBoxes);
  if (rs_->State() == ado::adStateOpen) {
    Encolumnar();
    Leer(1, 0);
    ensancharColumnasCortas();
  }
  // A sort the user chose by a header outlives the reload.
  if (OrdenarPorLwv || ordenado_) {
    ordenado_ = true;
    modelo_.ordenar(columnaOrden_, orden_);
  }
  if (!FiltroInicial.trimmed().isEmpty()) cajas_[0]->setText(FiltroInicial);
  pasos.run([&] {
    if (rs_->State() == ado::adStateOpen) db().CierraRecordset(*rs_);
  });
  rs_.reset();
  pasos.run([&] { CargarAnchos(); });
  pasos.run([&] { CalcularAncho(); });
  pasos.run([&] { u.PrepararForm(this, false); });
}

void Lib_FrmCons3::Encolumnar() {
  try {
    const ado::Fields& campos = rs_->Fields();
    const long n = campos.Count();
    const bool precios =
        contiene(SQL, QStringLiteral("V_MA_ARTICULOS")) || contiene(SQL, QStringLiteral("STK_MA_ARTICULOS"));
    QStringList encabezados;
    std::vector<int> anchos;
    const QFontMetrics fm(lista_->font());
    for (long i = 0; i < n; ++i) {
      const ado::Field& f = campos.Item(i);
      QLineEdit* caja = crearCaja(static_cast<int>(i));
      caja->setProperty("Tag", f.Name());
      caja->setVisible(true);
      const long largo = std::clamp<long>(f.DefinedSize(), 0, 60);
      anchos.push_back(ui::aTwips(fm.horizontalAdvance(QString(static_cast<int>(largo), QLatin1Char('X')))));
      QString encabezado = f.Name();
      if (precios) {
        for (int p = 1; p <= 8; ++p)
          if (f.Name().compare(QStringLiteral("PRECIO%1").arg(p), Qt::CaseInsensitive) == 0)
            encabezado = ModGlobal::Cfg(QStringLiteral("NOM_PCLASE%1").arg(p));
      }
      encabezados << encabezado;
    }
    for (size_t i = static_cast<size_t>(n); i < cajas_.size(); ++i) cajas_[i]->setVisible(false);
    modelo_.reiniciar(encabezados);
    for (int i = 0; i < static_cast<int>(anchos.size()); ++i) setAnchoColumna(i, anchos[i]);
  } catch (const vb::Error& e) {
    ui::servicio().MsgBox(e.Description(), ui::vbOKOnly);
  }
}

namespace {

// An amount read as currency. A whole number of ten-thousandths (every
// stock and reorder point in practice) converts exactly on the spot; the
// rest goes through CCur and its rounding.
vb::Currency moneda(const vb::Variant& v) {
  if (const double* d = v.get<double>()) {
    const double t = *d * 10000.0;
    if (t == std::trunc(t) && std::fabs(t) < 9.0e15)
      return vb::Currency::desdeDiezMilesimos(static_cast<std::int64_t>(t));
  } else if (const std::int32_t* l = v.get<std::int32_t>()) {
    return vb::Currency::desdeDiezMilesimos(std::int64_t{*l} * 10000);
  } else if (const std::int16_t* i = v.get<std::int16_t>()) {
    return vb::Currency::desdeDiezMilesimos(std::int64_t{*i} * 10000);
  }
  return v.toCurrency();
}

}  // namespace

long Lib_FrmCons3::colorStock(const vb::Variant& punto, const vb::Variant& stock, const long (&niveles)[4]) const {
  const vb::Currency p = moneda(punto);
  const vb::Currency s = moneda(stock);
  const vb::Currency cero{};
  if (p == cero && s > cero) return niveles[0];
  if (p > cero && s > p) return niveles[1];
  if (p > cero && s < p) return niveles[2];
  return niveles[3];
}

namespace {

// A stock level as a colour number; a blank level is no colour (-1).
long colorNivel(const vb::Variant& nivel) {
  if (nivel.toText().trimmed().isEmpty()) return -1;
  try {
    return static_cast<long>(nivel.toDouble());
  } catch (const vb::Error&) {
    return -1;  // a level that is not a number colours nothing
  }
}

// A field's value as the list shows it; Null reads as an empty cell.
inline QString textoCelda(const vb::Variant& v) {
  if (const QString* s = v.get<QString>()) return *s;
  return v.toText();
}

// TextoFiltro without a length: the text without NUL characters, trimmed.
// Done here on the text already in hand, so a plain cell is not copied.
inline QStringView filtrado(QString& texto) {
  if (texto.contains(QChar(0))) texto = ZepaKit2::util().TextoFiltro(texto);
  return QStringView(texto).trimmed();
}

}  // namespace

void Lib_FrmCons3::Leer(long, long) {
  auto& u = ZepaKit2::util();
  ado::Recordset& rs = *rs_;
  if (rs.EOF()) return;
  const ado::Fields& campos = rs.Fields();
  const int n = static_cast<int>(campos.Count());
  std::vector<const ado::Field*> campo(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) campo[static_cast<size_t>(i)] = &campos.Item(i);
  // The returned column, for the rows that start checked.
  int devuelto = CampoDevuelto.trimmed().isEmpty() ? 0 : -1;
  for (int i = 0; i < n && devuelto < 0; ++i)
    if (campo[static_cast<size_t>(i)]->Name().trimmed().compare(CampoDevuelto.trimmed(), Qt::CaseInsensitive) == 0)
      devuelto = i;
  const bool colorear = MuestraStock.trimmed().compare(QStringLiteral("SI"), Qt::CaseInsensitive) == 0 && EsArticulos;
  // Without both stock fields no row is coloured.
  int punto = -1, stock = -1;
  for (int i = 0; i < n; ++i) {
    if (campo[static_cast<size_t>(i)]->Name().compare(QStringLiteral("PUNTOPEDIDO"), Qt::CaseInsensitive) == 0)
      punto = i;
    if (campo[static_cast<size_t>(i)]->Name().compare(QStringLiteral("Stock"), Qt::CaseInsensitive) == 0) stock = i;
  }
  const bool hayStock = colorear && punto >= 0 && stock >= 0;
  const long niveles[4] = {colorNivel(StkNivel1), colorNivel(StkNivel2), colorNivel(StkNivel3), colorNivel(StkNivel4)};
  const long total = rs.RecordCount();
  if (total > 0) modelo_.reservar(static_cast<int>(std::min<long>(total, 50'000'000)));
  std::vector<QString> textos(static_cast<size_t>(n));
  std::vector<QStringView> celdas(static_cast<size_t>(n));
  std::vector<vb::Variant> valores(static_cast<size_t>(n));
  while (!rs.EOF()) {
    bool siguiente = true;
    try {
      ++filasLeidas_;
      for (int i = 0; i < n; ++i) valores[static_cast<size_t>(i)] = campo[static_cast<size_t>(i)]->Value();
      long color = -1;
      if (hayStock) {
        try {
          color = colorStock(valores[static_cast<size_t>(punto)], valores[static_cast<size_t>(stock)], niveles);
        } catch (const vb::Error&) {
          color = -1;  // an amount that cannot be read colours nothing
        }
      }
      // Null reads as an empty cell: one error box per empty cell would make
      // a table with optional columns unusable.
      textos[0] = textoCelda(valores[0]);
      celdas[0] = QStringView(textos[0]).trimmed();
      for (int i = 1; i < n; ++i) {
        textos[static_cast<size_t>(i)] = textoCelda(valores[static_cast<size_t>(i)]);
        celdas[static_cast<size_t>(i)] = filtrado(textos[static_cast<size_t>(i)]);
      }
      bool marcada = false;
      if (CheckBoxes && devuelto >= 0) {
        marcada = ValoresDefault.contains(celdas[static_cast<size_t>(devuelto)].trimmed(), Qt::CaseInsensitive);
      }
      modelo_.agregar(celdas, marcada, color);
    } catch (const vb::Error& e) {
      const int r = u.DialogoError(e, {}, QStringLiteral("FORM_LOAD"));
      vb::registrar({traza::lookup(), "FORM_LOAD"}, e, QStringLiteral("respuesta %1 al leer las filas").arg(r));
      if (r == vb::Pasos::kReintentar)
        siguiente = false;
      else if (r != vb::Pasos::kIgnorar)
        break;
    }
    if (siguiente) rs.MoveNext();
  }
  modelo_.terminarCarga();
}

int Lib_FrmCons3::IndiceColumna(const QString& Columna) const {
  const QString buscada = Columna.trimmed();
  for (int i = 0; i < modelo_.columnas(); ++i)
    if (modelo_.encabezado(i).trimmed().compare(buscada, Qt::CaseInsensitive) == 0) return i + 1;
  return 0;
}

void Lib_FrmCons3::CalcularAncho() {
  long long suma = 0;
  for (int i = 0; i < modelo_.columnas(); ++i) suma += anchoColumna(i);
  const long long anchoLista = suma + 360;
  const int pantalla = ui::aTwips(ui::servicio().AreaDisponible().width());
  // Never narrower than its buttons, nor wider than the screen: the list
  // scrolls what does not fit.
  // Narrowest window that holds the three buttons of the foot side by side.
  const int minimo = pie_.nueva->isVisibleTo(this) ? 2 * kAnchoBotonPie + pie_.anchoNueva + 500 : 0;
  if (anchoLista + 360 < pantalla)
    setAnchoVentana(std::min<int>(std::max<int>(static_cast<int>(anchoLista) + 280, minimo), pantalla));
  else
    setAnchoVentana(pantalla - 480);
  acomodar();
  if (isVisible()) colocarEnPantalla(*this, false);
}

void Lib_FrmCons3::ensancharColumnasCortas() {
  // A column as wide as its defined size in "X" can still cut a value short
  // (the list draws a margin around each text, a BIT reads False). Each
  // column widens to what its name and its first rows need, up to 60 "X".
  const QFontMetrics fm(lista_->font());
  const int tope = fm.horizontalAdvance(QString(60, QLatin1Char('X')));
  const QAbstractItemView& vista = *lista_;  // the tree view's own measure, public from here
  for (int i = 0; i < modelo_.columnas(); ++i) {
    // The header's name too: "Admi" tells a person nothing.
    const int necesita = std::min(std::max(vista.sizeHintForColumn(i), lista_->header()->sectionSizeHint(i)), tope);
    if (necesita > lista_->header()->sectionSize(i)) lista_->header()->resizeSection(i, necesita);
  }
}

void Lib_FrmCons3::colocarCajas() {
  const int origen = lista_->x() + lista_->viewport()->x();
  QHeaderView* h = lista_->header();
  for (int i = 0; i < modelo_.columnas() && i < static_cast<int>(cajas_.size()); ++i)
    cajas_[i]->setGeometry(origen + h->sectionViewportPosition(i), 0, std::max(0, h->sectionSize(i) - ui::twips(50)),
                           ui::twips(kAltoCaja));
}

// ---- Column widths --------------------------------------------------------

void Lib_FrmCons3::CargarAnchos() {
  QFile f(archivoAnchos(QStringLiteral("CONSULTASLEN.QZX")));
  if (!f.exists()) return;
  if (TablaConsulta.compare(QStringLiteral("Stk_ma_articulos"), Qt::CaseInsensitive) == 0)
    TablaConsulta = QStringLiteral("VT_MA_ARTICULOS");
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) throw vb::Error(vb::kFileNotFound);
  QTextStream in(&f);
  while (!in.atEnd()) {
    const QStringList c = camposLinea(in.readLine());
    if (c.size() < 2 || c[0].compare(TablaConsulta, Qt::CaseInsensitive) != 0) continue;
    // No stored column wider than the screen; one that is no width keeps its own.
    const int pantalla = ui::aTwips(ui::servicio().AreaDisponible().width());
    const std::vector<int> anchos = anchosLinea(c[1], modelo_.columnas(), pantalla);
    for (int i = 0; i < static_cast<int>(anchos.size()); ++i)
      if (anchos[i] >= 0) setAnchoColumna(i, anchos[i]);
    colocarCajas();
  }
}

void Lib_FrmCons3::GrabarAnchos() {
  if (!GrabarCfg) return;
  const QString qzx = archivoAnchos(QStringLiteral("CONSULTASLEN.QZX"));
  const QString aux = archivoAnchos(QStringLiteral("CONSULTASLEN.AUX"));
  QFile salida(aux);
  if (!salida.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    throw vb::Error(vb::kPathFileAccessError);
  QTextStream out(&salida);
  QFile entrada(qzx);
  if (entrada.open(QIODevice::ReadOnly | QIODevice::Text)) {
    QTextStream in(&entrada);
    while (!in.atEnd()) {
      const QString linea = in.readLine();
      const QStringList c = camposLinea(linea);
      if (!c.isEmpty() && c[0].compare(TablaConsulta, Qt::CaseInsensitive) == 0) continue;
      if (!linea.trimmed().isEmpty()) out << linea << '\n';
    }
    entrada.close();
  }
  QString anchos;
  for (int i = 0; i < modelo_.columnas(); ++i) anchos += QString::number(anchoColumna(i)) + QLatin1Char('|');
  out << '"' << TablaConsulta << "\",\"" << anchos << "\"\n";
  out.flush();
  const bool escrito = out.status() == QTextStream::Ok && salida.flush();
  salida.close();
  if (!escrito) {
    QFile::remove(aux);
    throw vb::Error(vb::kDeviceIOError);
  }
  // Renamed over the old file: a failure leaves the old widths or the new ones.
  if (std::rename(QFile::encodeName(aux).constData(), QFile::encodeName(qzx).constData()) != 0)
    throw vb::Error(vb::kPathFileAccessError);
}

void Lib_FrmCons3::Descargar() {
  if (descargado_) return;
  descargado_ = true;
  try {
    GrabarAnchos();
    modelo_.reiniciar({});
  } catch (const vb::Error& e) {
    ui::servicio().MsgBox(e.Description(), ui::vbCritical, QStringLiteral("Aviso al Operador"));
  }
}

// ---- Layout -----------------------------------------------------------------

void Lib_FrmCons3::resizeEvent(QResizeEvent* evento) {
  QDialog::resizeEvent(evento);
  acomodar();
}

void Lib_FrmCons3::acomodar() {
  // Sizes in twips, the window's measured with its frame as the form measured
  // it: 120 across, 420 down with the caption.
  const int alto = altoVentana(), ancho = anchoVentana();
  const int altoFrame = kAltoFrame;
  const int picAlto = std::max(0, alto - altoFrame - 480);
  // picFields is as wide as the window; the list fills it under the boxes
  // and scrolls with its own bars, so both of them stay in view.
  const int picAncho = std::max(0, ancho - 120);
  picFields_->setGeometry(0, 0, ui::twips(picAncho), ui::twips(picAlto));
  lista_->setGeometry(0, ui::twips(kAltoCaja), ui::twips(std::max(0, picAncho - 20)),
                      std::max(0, ui::twips(picAlto) - ui::twips(kAltoCaja)));
  pie_.marco->setGeometry(0, ui::twips(alto - altoFrame - 420), ui::twips(ancho), ui::twips(altoFrame));

  const int fAncho = ancho;
  const int arriba = 100;
  int anchoAceptar = kAnchoBotonPie, anchoCancelar = kAnchoBotonPie;
  int xAceptar = 100, xCancelar = (fAncho - anchoCancelar) / 2, xNueva = fAncho - (pie_.anchoNueva + 150);
  if (!pie_.nueva->isVisibleTo(this)) {
    // Measured against the buttons' own widths, so one resize after another
    // does not halve them again and again.
    if (kAnchoBotonPie + kAnchoBotonPie + 400 > fAncho) {
      anchoAceptar = kAnchoBotonPie / 2;
      anchoCancelar = anchoAceptar;
      xAceptar = 100;
      xCancelar = fAncho - anchoCancelar - 150;
      xNueva = xCancelar;
    } else {
      xCancelar = fAncho - (anchoCancelar + 150);  // where Nueva Busqueda stands
      xNueva = xCancelar;
    }
  }
  pie_.aceptar->setGeometry(ui::rectTwips(xAceptar, arriba, anchoAceptar, kAltoBotonPie));
  pie_.cancelar->setGeometry(ui::rectTwips(xCancelar, arriba, anchoCancelar, kAltoBotonPie));
  pie_.nueva->setGeometry(ui::rectTwips(xNueva, arriba, pie_.anchoNueva, kAltoBotonPie));
  pie_.marco->raise();
  colocarCajas();
}

void Lib_FrmCons3::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  if (!cargado_) Cargar();
  // Loading sized the window after Qt had placed it for its first size.
  colocarEnPantalla(*this, true);
}

void Lib_FrmCons3::closeEvent(QCloseEvent* evento) {
  // Closed by the frame: nothing chosen; Valores stays as the last load left it.
  QDialog::closeEvent(evento);
}

// ---- Search -------------------------------------------------------------------

int Lib_FrmCons3::Busqueda(int Clave, const QString& QueValor) const {
  return modelo_.buscar(Clave <= 0 ? 0 : Clave, QueValor) + 1;
}

void Lib_FrmCons3::buscarIncremental(int caja) {
  vb::Seguir seguir({traza::lookup(), "TxtBusqueda_Change"});
  seguir([&] {
    const int columna = ZepaKit2::util().ValorEntero(QString::number(caja));
    const int i = Busqueda(columna, cajas_[caja]->text().trimmed());
    if (i > 0) seleccionar(i - 1);
  });
}

void Lib_FrmCons3::F5(int caja) {
  QLineEdit* c = cajas_[caja];
  SQLCola.clear();
  const int orden = SQL.indexOf(QStringLiteral("order"), 0, Qt::CaseInsensitive);
  if (orden >= 0) {
    const int ob = SQL.indexOf(QStringLiteral("order by"), 0, Qt::CaseInsensitive);
    if (ob >= 0) {
      SQLCola = SQL.mid(ob);
      SQLBase = SQL.left(ob);
    }
  }
  const int gb = SQL.indexOf(QStringLiteral("group by"), 0, Qt::CaseInsensitive);
  if (gb >= 0) {
    const QString cola = SQL.mid(gb);
    if (!cola.trimmed().isEmpty()) SQLCola = cola;
    SQLBase = SQL.left(gb);
  }
  QString prefijo;
  if (contiene(SQLBase, QStringLiteral("stk_ma_articulos."))) prefijo = QStringLiteral("stk_ma_articulos.");
  if (contiene(SQLBase, QStringLiteral("v_ma_articulos."))) prefijo = QStringLiteral("v_ma_articulos.");
  const QString une = contiene(SQL, QStringLiteral("where")) ? QStringLiteral(" and ") : QStringLiteral(" where ");
  const QString campo = c->property("Tag").toString();
  QString texto = c->text();
  QString patron;
  if (CfgUsaConsultaLIKE) {
    patron = QStringLiteral("%") + texto + QStringLiteral("%");
  } else {
    texto = ZepaKit2::util().Reemplazar(texto, QStringLiteral("*"), QStringLiteral("%"));
    {
      const QSignalBlocker b(c);
      c->setText(texto);
    }
    patron = texto + QStringLiteral("%");
  }
  // The quote doubled: O'Brien searches for O'Brien instead of breaking the statement.
  SQL = SQLBase + une + prefijo + campo + QStringLiteral(" like '") + comillas(patron) + QStringLiteral("' ") + SQLCola;
  // The box keeps the text, so the person sees what was searched for.
  SQLBase = SQL;
  Cargar();
  if (modelo_.filas() == 0) aviso_->show();
}

// ---- Keys -----------------------------------------------------------------

bool Lib_FrmCons3::eventFilter(QObject* objeto, QEvent* evento) {
  try {
    for (int i = 0; i < static_cast<int>(cajas_.size()); ++i) {
      if (objeto != cajas_[i]) continue;
      if (evento->type() == QEvent::FocusIn) {
        cajas_[i]->setStyleSheet(QStringLiteral("background-color: #00FFFF;"));  // &HFFFF00
        IndiceBusqueda = i;
      } else if (evento->type() == QEvent::FocusOut) {
        cajas_[i]->setStyleSheet(QStringLiteral("background-color: #FFFFFF;"));
      } else if (evento->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(evento);
        if (k->key() == Qt::Key_F12 && EsArticulos && filaSeleccionada() >= 0) {
          informarFaltante();
          return true;
        }
        switch (k->key()) {
          case Qt::Key_Down:
          case Qt::Key_Up:
          case Qt::Key_PageDown:
          case Qt::Key_PageUp: {
            // Handed to the list's own key handling, which has nothing to do
            // for them; the selection stays and the focus goes to the list.
            QKeyEvent sinShift(QEvent::KeyPress, k->key(), Qt::NoModifier);
            teclaLista(&sinShift);
            lista_->setFocus();
            return true;
          }
          case Qt::Key_F5: F5(i); return true;
          default: break;
        }
      }
      return false;
    }
    if (objeto == lista_ && evento->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(evento);
      if (k->key() == Qt::Key_F12 && EsArticulos && filaSeleccionada() >= 0) {
        informarFaltante();
        return true;
      }
      return teclaLista(k);
    }
  } catch (const vb::Error& e) {
    ui::servicio().MsgBox(e.Description(), ui::vbCritical, QStringLiteral("Aviso al Operador"));
    return true;
  }
  return QDialog::eventFilter(objeto, evento);
}

bool Lib_FrmCons3::teclaLista(QKeyEvent* k) {
  const int tecla = k->key();
  if (tecla == Qt::Key_Space && CheckBoxes) {
    // The row's check, whichever of its cells was clicked.
    const QModelIndex actual = lista_->currentIndex();
    if (actual.isValid()) modelo_.setMarcada(actual.row(), !modelo_.marcada(actual.row()));
    return true;
  }
  if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
    CmdAceptar_Click();
    return true;
  }
  if (UsaCantidades && (tecla == Qt::Key_Insert || tecla == Qt::Key_Delete)) {
    cantidades(k);
    return true;
  }
  QLineEdit* caja = cajaBusqueda(IndiceBusqueda);
  if (!caja) return false;
  // Typing in the list types into the search box that had the focus last.
  if (tecla == Qt::Key_Backspace) {
    caja->setFocus();
    caja->setText(caja->text().left(caja->text().size() - 1));
    return true;
  }
  if ((tecla >= 47 && tecla <= 93 && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) ||
      tecla == Qt::Key_Space) {
    caja->setFocus();
    caja->setText(caja->text() + (k->text().isEmpty() ? QString(QChar(tecla)) : k->text()));
    return true;
  }
  return false;
}

void Lib_FrmCons3::cantidades(QKeyEvent* k) {
  auto& u = ZepaKit2::util();
  vb::Pasos pasos({traza::lookup(), "ListView1_KeyDown"},
                  [&](const vb::Error& e) { return u.DialogoError(e, {}, QStringLiteral("ListView1_KeyDown")); });
  const int fila = filaSeleccionada();
  if (fila < 0) return;
  int columna = 0;
  if (!pasos.run([&] {
        columna = IndiceColumna(kCantidad);
        if (columna == 0) throw vb::Error(vb::kInvalidProcedureCall, {}, QStringLiteral("ListView1_KeyDown"));
      }))
    return;
  if (columna == 0) return;
  const int c = columna - 1;
  const QString actual = modelo_.celda(fila, c);
  if (k->key() == Qt::Key_Insert && (k->modifiers() & Qt::ShiftModifier)) {
    const QString r = ui::servicio().InputBox(QStringLiteral("Ingrese la Cantidad del Articulo..."),
                                              QStringLiteral("Carga de Datos"), actual);
    const double v = u.ValorNumerico(r).toDouble();
    // Not a number (or 0): a placeholder within the quantity format.
    modelo_.setCelda(fila, c, vb::Format(vb::Variant(v), QStringLiteral("########0.00")));
    modelo_.setMarcada(fila, true);
  } else if (k->key() == Qt::Key_Insert) {
    const double v = u.ValorNumerico(actual).toDouble() + 1;
    modelo_.setCelda(fila, c, vb::Format(vb::Variant(v), QStringLiteral("########0.0")));
    modelo_.setMarcada(fila, true);
  } else if (k->key() == Qt::Key_Delete) {
    const double v = u.ValorNumerico(actual).toDouble() - 1;
    if (v > 0) {
      modelo_.setCelda(fila, c, vb::Format(vb::Variant(v), QStringLiteral("########0.0")));
    } else {
      modelo_.setMarcada(fila, false);
      modelo_.setCelda(fila, c, vb::Format(vb::Variant(0.0), QStringLiteral("########0.00")));
    }
  }
}

QString Lib_FrmCons3::valorEnColumna(int fila, int columna1) const {
  if (fila < 0 || columna1 <= 0) return {};
  return modelo_.celda(fila, columna1 - 1);
}

void Lib_FrmCons3::informarFaltante() {
  const int fila = filaSeleccionada();
  const QString codigo = valorEnColumna(fila, IndiceColumna(QStringLiteral("idarticulo")));
  const QString descripcion = valorEnColumna(fila, IndiceColumna(QStringLiteral("Descripcion")));
  const int r =
      ui::servicio().MsgBox(QStringLiteral("Desea informar el articulo ") + codigo + QLatin1Char(' ') + descripcion +
                                QLatin1Char('\n') + QStringLiteral("como un faltante de stock?"),
                            ui::vbQuestion | ui::vbYesNo, QStringLiteral("Atención!"));
  if (r != ui::vbYes) return;
  // Quotes doubled: a description such as 1/2" O'Ring must not lose the report.
  QString s = QStringLiteral("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values('") +
              comillas(vb::Variant(vb::Now()).toString()) + QStringLiteral("','") +
              comillas(ZepaKit2::util().TextoFiltro(codigo, 25)) + QStringLiteral("','") +
              comillas(descripcion.trimmed()) + QStringLiteral("','") + comillas(db().gUsuario) + QStringLiteral("')");
  long afectados = 0;
  db().EjecutaConsultaSQL(s, afectados);
}

void Lib_FrmCons3::keyPressEvent(QKeyEvent* evento) {
  if (evento->key() == Qt::Key_F12 && EsArticulos && filaSeleccionada() >= 0) {
    vb::Seguir seguir({traza::lookup(), "Form_KeyDown"});
    seguir([&] { informarFaltante(); });
    return;
  }
  if (evento->key() == Qt::Key_Escape) {
    pie_.cancelar->click();
    return;
  }
  QDialog::keyPressEvent(evento);
}

void Lib_FrmCons3::ordenarPorColumna(int columna) {
  columnaOrden_ = columna;
  orden_ = orden_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
  ordenado_ = true;
  modelo_.ordenar(columna, orden_);
}

// ---- Buttons --------------------------------------------------------------

void Lib_FrmCons3::CmdAceptar_Click() {
  auto& u = ZepaKit2::util();
  vb::Pasos pasos({traza::lookup(), "CmdAceptar_Click"},
                  [&](const vb::Error& e) { return u.DialogoError(e, {}, QStringLiteral("CmdAceptar_Click")); });
  if (!Valores) Valores = QStringList();
  if (CheckBoxes) {
    if (CampoDevuelto.isEmpty()) CampoDevuelto = modelo_.encabezado(0);
    const int columna = IndiceColumna(CampoDevuelto);
    QString valor;
    for (int i = 0; i < modelo_.filas(); ++i) {
      if (!modelo_.marcada(i)) continue;
      if (columna > 0) valor = modelo_.celda(i, columna - 1);
      Valores->append(valor);
    }
  } else {
    const int fila = filaSeleccionada();
    if (fila >= 0) {
      QString valor;
      if (CmpsDevueltos) {
        for (const QString& nombre : *CmpsDevueltos) {
          const int c = IndiceColumna(nombre);
          if (c > 0) valor = modelo_.celda(fila, c - 1);  // a header naming nothing repeats the previous
          Valores->append(valor);
        }
      }
      if (!CampoDevuelto.trimmed().isEmpty()) {
        const int c = IndiceColumna(CampoDevuelto);
        if (c > 0) valor = modelo_.celda(fila, c - 1);
      }
      ValorDevuelto = valor;
    }
  }
  accept();
}

void Lib_FrmCons3::CmdNueva_Click() {
  SQL = SQLInicial;
  Cargar();
  if (!cajas_.empty()) cajas_[0]->setFocus();
}
