#include "report/frmrp_usuarios.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>
#include <exception>
#include <utility>

#include "lookup/lib_frmcons3.h"
#include "menu/lista_imagenes.h"
#include "menu/rt_iconoslst.h"
#include "platform/ui/servicio.h"
#include "platform/vb/manejo.h"
#include "platform/vb/strings.h"
#include "report/motor_programa.h"
#include "report/traza.h"
#include "report/unidades_negocio.h"
#include "services/reportes.h"
#include "services/sesion.h"
#include "session/inicia_sesion.h"
#include "session/preparar_ventana.h"
#include "suite/lanzador.h"
#include "suite/tbarrep.h"
#include "suite/teclado.h"
#include "suite/util_general.h"

namespace {

constexpr int kDesde = 14;
constexpr int kHasta = 15;
const QString kTituloAviso = QStringLiteral("Aviso al Operador");

QToolButton* botonChico(const QString& nombre, const QString& texto, const QString& ayuda, QWidget* padre) {
  auto* b = new QToolButton(padre);
  b->setText(texto);
  b->setObjectName(nombre);
  b->setToolTip(ayuda);
  b->setFocusPolicy(Qt::TabFocus);
  b->setFixedSize(30, 28);
  return b;
}

}  // namespace

struct frmRp_Usuarios::Controles {
  ToolsRep::TBarRep* barra = nullptr;
  QTabWidget* tab = nullptr;
  QGroupBox* frmUneg = nullptr;
  QListWidget* lstUNeg = nullptr;
  QToolButton* cmdTodo = nullptr;
  QToolButton* cmdNada = nullptr;
  Arbol* arbol = nullptr;
  QToolButton* cmdTodo2 = nullptr;
  QToolButton* cmdNada2 = nullptr;
  QMap<int, QLineEdit*> campos;  // the txtfields array, by index
  std::array<QLabel*, 2> etiquetas{};
  QGroupBox* frame4 = nullptr;
  std::array<QRadioButton*, 3> opciones{};
  ListaImagenes imgLstTree{nullptr, 16};
  ListaImagenes imgLstTreeGr{nullptr, 32};

  QString tablaReporte;
  std::int16_t indiceActual = 0;

  // The index of a txtfields element, or -1 for another object.
  int indiceDe(const QObject* o) const {
    for (auto it = campos.cbegin(); it != campos.cend(); ++it)
      if (it.value() == o) return it.key();
    return -1;
  }
  QMap<int, QWidget*> arreglo() const {
    QMap<int, QWidget*> r;
    for (auto it = campos.cbegin(); it != campos.cend(); ++it) r.insert(it.key(), it.value());
    return r;
  }
};

frmRp_Usuarios::frmRp_Usuarios(QWidget* parent) : QWidget(parent, Qt::Window), c_(std::make_unique<Controles>()) {
  setObjectName(QStringLiteral("frmRp_Usuarios"));
  setWindowTitle(QStringLiteral("Reporte de Usuarios"));

  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(0, 0, 0, 8);
  raiz->setSpacing(8);

  c_->barra = new ToolsRep::TBarRep(this);
  c_->barra->setObjectName(QStringLiteral("TBarRep1"));
  raiz->addWidget(c_->barra);

  auto* cuerpo = new QHBoxLayout;
  cuerpo->setContentsMargins(10, 0, 10, 0);
  cuerpo->setSpacing(12);
  raiz->addLayout(cuerpo, 1);

  // Left: the user-name range and the grouping.
  auto* izquierda = new QVBoxLayout;
  izquierda->setSpacing(10);
  cuerpo->addLayout(izquierda);

  auto* rango = new QGridLayout;
  rango->setHorizontalSpacing(8);
  const std::array<std::pair<int, const char*>, 2> usuarios{{{kDesde, "UsuarioDesde"}, {kHasta, "UsuarioHasta"}}};
  const std::array<QString, 2> textos{QStringLiteral("Usuario Desde"), QStringLiteral("Usuario Hasta")};
  for (int i = 0; i < 2; ++i) {
    const int indice = usuarios[size_t(i)].first;
    auto* campo = new QLineEdit(this);
    campo->setObjectName(QStringLiteral("txtfields(%1)").arg(indice));
    campo->setProperty(ZepaKit2::kPropiedadCampo, QString::fromLatin1(usuarios[size_t(i)].second));
    campo->setProperty("Tag", QString());
    campo->setMaxLength(30);
    campo->setMinimumWidth(170);
    campo->setAutoFillBackground(true);
    campo->installEventFilter(this);
    c_->campos.insert(indice, campo);

    auto* etiqueta = new QLabel(textos[size_t(i)], this);
    etiqueta->setObjectName(QStringLiteral("Label1(%1)").arg(i));
    etiqueta->setBuddy(campo);
    c_->etiquetas[size_t(i)] = etiqueta;
    rango->addWidget(etiqueta, i, 0);
    rango->addWidget(campo, i, 1);
  }
  izquierda->addLayout(rango);

  c_->frame4 = new QGroupBox(QStringLiteral("Agrupamiento"), this);
  c_->frame4->setObjectName(QStringLiteral("Frame4"));
  auto* grupos = new QVBoxLayout(c_->frame4);
  const std::array<QString, 3> captions{QStringLiteral("Grupo de Usuario"), QStringLiteral("Unidad de Negocio"),
                                        QStringLiteral("Tareas del Menú")};
  for (int i = 0; i < 3; ++i) {
    auto* o = new QRadioButton(captions[size_t(i)], c_->frame4);
    o->setObjectName(QStringLiteral("OptTipoReporte(%1)").arg(i));
    c_->opciones[size_t(i)] = o;
    grupos->addWidget(o);
    connect(o, &QRadioButton::clicked, this, [this, i] { OptTipoReporte_Click(i); });
  }
  c_->opciones[0]->setChecked(true);
  izquierda->addWidget(c_->frame4);
  izquierda->addStretch(1);

  // Right: business units and menu tasks.
  c_->tab = new QTabWidget(this);
  c_->tab->setObjectName(QStringLiteral("SSTab1"));
  c_->tab->setMinimumSize(360, 280);
  cuerpo->addWidget(c_->tab, 1);

  auto* pagina0 = new QWidget;
  auto* l0 = new QVBoxLayout(pagina0);
  c_->frmUneg = new QGroupBox(QStringLiteral("Unidad de Negocio"), pagina0);
  c_->frmUneg->setObjectName(QStringLiteral("frmUneg"));
  auto* lu = new QHBoxLayout(c_->frmUneg);
  c_->lstUNeg = new QListWidget(c_->frmUneg);
  c_->lstUNeg->setObjectName(QStringLiteral("LstUNeg"));
  c_->lstUNeg->setSelectionMode(QAbstractItemView::MultiSelection);
  // One line of text each: the list measures one entry, not every one.
  c_->lstUNeg->setUniformItemSizes(true);
  lu->addWidget(c_->lstUNeg, 1);
  auto* bu = new QVBoxLayout;
  c_->cmdTodo =
      botonChico(QStringLiteral("cmdTodo"), QStringLiteral("+"), QStringLiteral("Seleccionar Todo"), c_->frmUneg);
  c_->cmdNada =
      botonChico(QStringLiteral("cmdNada"), QStringLiteral("-"), QStringLiteral("Deseleccionar Todo"), c_->frmUneg);
  bu->addWidget(c_->cmdTodo);
  bu->addWidget(c_->cmdNada);
  bu->addStretch(1);
  lu->addLayout(bu);
  l0->addWidget(c_->frmUneg);
  c_->tab->addTab(pagina0, QStringLiteral("U.Negocio"));

  auto* pagina1 = new QWidget;
  auto* l1 = new QHBoxLayout(pagina1);
  c_->arbol = new Arbol(pagina1);
  c_->arbol->setObjectName(QStringLiteral("TreeView1"));
  l1->addWidget(c_->arbol, 1);
  auto* bt = new QVBoxLayout;
  c_->cmdTodo2 =
      botonChico(QStringLiteral("cmdTodo2"), QStringLiteral("+"), QStringLiteral("Seleccionar Todo"), pagina1);
  c_->cmdNada2 =
      botonChico(QStringLiteral("cmdNada2"), QStringLiteral("-"), QStringLiteral("Deseleccionar Todo"), pagina1);
  bt->addWidget(c_->cmdTodo2);
  bt->addWidget(c_->cmdNada2);
  bt->addStretch(1);
  l1->addLayout(bt);
  c_->tab->addTab(pagina1, QStringLiteral("Tareas"));
  // Tasks count only for the report grouped by task.
  c_->tab->setTabEnabled(1, false);

  connect(c_->cmdTodo, &QToolButton::clicked, this, [this] { SeleccionarUnidades(true); });
  connect(c_->cmdNada, &QToolButton::clicked, this, [this] { SeleccionarUnidades(false); });
  connect(c_->cmdTodo2, &QToolButton::clicked, this, [this] { c_->arbol->marcarTodos(true); });
  connect(c_->cmdNada2, &QToolButton::clicked, this, [this] { c_->arbol->marcarTodos(false); });
  connect(c_->arbol, &Arbol::nodeCheck, this, [this](Nodo* n) { TreeView1_NodeCheck(n); });
  connect(c_->barra, &ToolsRep::TBarRep::BotonPulsado, this, [this](const QString& clave) {
    // The handler shows its own failures; the end of the program is all
    // that may come out of it, and it stops here, at the event loop.
    try {
      TBarRep1_BotonPulsado(clave);
    } catch (const ui::FinPrograma&) {}
  });

  setTabOrder(c_->campos[kDesde], c_->campos[kHasta]);
  setTabOrder(c_->campos[kHasta], c_->opciones[0]);
  setTabOrder(c_->opciones[0], c_->tab);
  setTabOrder(c_->tab, c_->lstUNeg);
  setTabOrder(c_->lstUNeg, c_->cmdTodo);
  setTabOrder(c_->cmdTodo, c_->cmdNada);
  setTabOrder(c_->cmdNada, c_->arbol);
  setTabOrder(c_->arbol, c_->cmdTodo2);
  setTabOrder(c_->cmdTodo2, c_->cmdNada2);
}

frmRp_Usuarios::~frmRp_Usuarios() {
  // The fields outlive this body (Qt deletes children afterwards) and may
  // still lose the focus then; their events must not reach a form that is gone.
  for (QLineEdit* campo : std::as_const(c_->campos)) campo->removeEventFilter(this);
  // The image lists go with c_, right after this body and before Qt deletes
  // the tree; the tree lets go of them first.
  c_->arbol->setImageList(nullptr);
}

// ---- Load and unload ------------------------------------------------------

void frmRp_Usuarios::Form_Load() {
  QString parametros, conexion;  // an empty parameter text takes the command line
  ModGlobal::IniciaSesion(false, parametros, conexion, 3);
  rp_usuarios::conectarMotorReportes();
  ZepaKit2::util().PrepararForm(this, false);
  ModGlobal::PrepararVentana(*this);
  c_->barra->setHabilitaConsulta(false);
  c_->tablaReporte = rp_usuarios::kTablaReporte;
  ZepaKit2::util().AbrirForm(this, QString());
  CargarUnidadesNegocio();
  c_->arbol->setImageList(nullptr);
  Rt_IconosLst::CargarIconosLst(c_->imgLstTree, c_->imgLstTreeGr);
  c_->arbol->setImageList(&c_->imgLstTree);
  Rt_IconosLst::CargarArbolMenu(*c_->arbol, c_->imgLstTree, QStringLiteral("ZEPA"), true);
  c_->tab->setCurrentIndex(0);
}

void frmRp_Usuarios::Form_Unload() {
  vb::Seguir seguir({traza::report(), "Form_Unload"});
  seguir([&] { ZepaKit2::util().CerrarForm(this, QString()); });
  seguir([&] { hide(); });
  ui::servicio().End();
}

void frmRp_Usuarios::closeEvent(QCloseEvent* evento) {
  evento->accept();
  try {
    Form_Unload();
  } catch (const ui::FinPrograma&) {}
}

void frmRp_Usuarios::CargarUnidadesNegocio() { rp_usuarios::CargarUnidadesNegocio(*c_->lstUNeg); }

// ---- Business units and tasks --------------------------------------------

void frmRp_Usuarios::SeleccionarUnidades(bool seleccionar) {
  vb::Seguir seguir({traza::report(), "SeleccionarUnidades"});
  QListWidget* lista = c_->lstUNeg;
  const QModelIndex actual = lista->currentIndex();
  for (int i = 0; i < lista->count(); ++i) seguir([&] { lista->item(i)->setSelected(seleccionar); });
  seguir([&] {
    if (actual.isValid()) lista->selectionModel()->setCurrentIndex(actual, QItemSelectionModel::NoUpdate);
  });
}

void frmRp_Usuarios::TreeView1_NodeCheck(Nodo* nodo) {
  if (!nodo) return;
  // One level only: grandchildren keep their own state.
  for (Nodo* hijo = nodo->Child(); hijo; hijo = hijo->Next()) hijo->setChecked(nodo->Checked());
}

void frmRp_Usuarios::OptTipoReporte_Click(int indice) {
  if (indice == 2) {
    c_->tab->setTabEnabled(1, true);
  } else {
    c_->tab->setTabEnabled(1, false);
    c_->tab->setCurrentIndex(0);
  }
}

// ---- User-name fields ------------------------------------------------------

void frmRp_Usuarios::txtfields_GotFocus(int indice) {
  QLineEdit* campo = c_->campos.value(indice);
  c_->indiceActual = static_cast<std::int16_t>(indice);
  c_->barra->setHabilitaConsulta(!vb::Trim(campo->property("Tag").toString()).isEmpty());
  const auto& s = ModGlobal::sesion();
  QPalette p = campo->palette();
  p.setColor(QPalette::Base, colorBgr(s.gColorFondoFoco));
  p.setColor(QPalette::Text, colorBgr(s.gColorLetraFoco));
  campo->setPalette(p);
}

void frmRp_Usuarios::txtfields_LostFocus(int indice) {
  QLineEdit* campo = c_->campos.value(indice);
  QPalette p = campo->palette();
  p.setColor(QPalette::Base, colorBgr(0xFFFFFF));
  p.setColor(QPalette::Text, colorBgr(0));
  campo->setPalette(p);
}

void frmRp_Usuarios::txtfields_KeyDown(int, int& codigo, int shift) {
  ZepaKit2::teclado().TeclaAbajo(codigo, shift);
  c_->barra->TeclaPulsada(codigo);
}

void frmRp_Usuarios::txtfields_KeyPress(int indice, int& codigo) {
  QLineEdit* campo = c_->campos.value(indice);
  ZepaKit2::teclado().TeclaPresionada(campo, codigo);
  if (codigo != ZepaKit2::vbKeyReturn) return;
  if (!campo->property(ZepaKit2::kPropiedadCampo).toString().contains(QStringLiteral("desde"), Qt::CaseInsensitive))
    return;
  // Enter in "Usuario Desde" offers the same name as the last of the range.
  QLineEdit* siguiente = c_->campos.value(indice + 1);
  if (!siguiente) throw vb::Error(vb::kControlArrayElementMissing);
  siguiente->setText(campo->text());
  siguiente->setSelection(0, static_cast<int>(siguiente->text().size()));
}

void frmRp_Usuarios::txtfields_MouseDown(int indice, int boton) {
  c_->indiceActual = static_cast<std::int16_t>(indice);
  if (boton == 2) ConsultarCampo();
}

void frmRp_Usuarios::ConsultarCampo() {
  QLineEdit* campo = c_->campos.value(c_->indiceActual);
  if (!campo || vb::Trim(campo->property("Tag").toString()).isEmpty()) return;
  campo->clear();
  int codigo = ZepaKit2::vbKeyReturn;
  txtfields_KeyDown(c_->indiceActual, codigo, 0);
}

bool frmRp_Usuarios::eventFilter(QObject* objeto, QEvent* evento) {
  const int indice = c_ ? c_->indiceDe(objeto) : -1;
  if (indice < 0) return QWidget::eventFilter(objeto, evento);
  // Events come from the event loop: nothing may go past this point.
  try {
    switch (evento->type()) {
      case QEvent::FocusIn: txtfields_GotFocus(indice); break;
      case QEvent::FocusOut: txtfields_LostFocus(indice); break;
      case QEvent::MouseButtonPress: {
        const auto* m = static_cast<QMouseEvent*>(evento);
        const int boton = m->button() == Qt::LeftButton     ? 1
                          : m->button() == Qt::RightButton  ? 2
                          : m->button() == Qt::MiddleButton ? 4
                                                            : 0;
        txtfields_MouseDown(indice, boton);
        break;
      }
      case QEvent::KeyPress: {
        const auto* k = static_cast<QKeyEvent*>(evento);
        int codigo = ZepaKit2::codigoTecla(k->key());
        if (codigo != 0) {
          txtfields_KeyDown(indice, codigo, ZepaKit2::estadoShift(k->modifiers()));
          if (codigo == 0) return true;  // the key was consumed
        }
        // The character the key types, if any.
        int caracter = 0;
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
          caracter = ZepaKit2::vbKeyReturn;
        else if (k->key() == Qt::Key_Escape)
          caracter = ZepaKit2::vbKeyEscape;
        else if (!k->text().isEmpty())
          caracter = k->text().at(0).unicode();
        if (caracter != 0) {
          txtfields_KeyPress(indice, caracter);
          // Enter and Esc have done their work here; a code the handler
          // cleared types nothing.
          if (caracter == 0 || caracter == ZepaKit2::vbKeyReturn || caracter == ZepaKit2::vbKeyEscape) return true;
        }
        break;
      }
      default: break;
    }
  } catch (const ui::FinPrograma&) {
    return true;
  } catch (const vb::Error& e) {
    mostrarFallo(e.Description(), ui::vbCritical);
    return true;
  } catch (const std::exception& e) {
    mostrarFallo(vb::comoError(e).Description(), ui::vbCritical);
    return true;
  }
  return QWidget::eventFilter(objeto, evento);
}

// ---- Report request -------------------------------------------------------

int frmRp_Usuarios::mostrarFallo(const QString& mensaje, int icono, const QString& detalle) {
  int respuesta = 0;
  vb::omitir({traza::report(), "TBarRep1_BotonPulsado"},
             [&] { respuesta = ui::servicio().MsgBox(mensaje, icono, kTituloAviso, detalle); });
  return respuesta;
}

bool frmRp_Usuarios::TBarRep1_BotonPulsado(const QString& clave) {
  const QString tecla = vb::UCase(clave);
  ZepaKit2::Lanzador& l = ZepaKit2::lanzador();
  // A request that fails is told to the user and leaves the form as it was,
  // so that the user can mend the choice and ask again.
  try {
    if (tecla == ToolsRep::TBarRep::kPantalla) {
      l.setDestino(ZepaKit2::Lanzador::DestinoPantalla());
      GenerarReporte();
      return true;
    }
    if (tecla == ToolsRep::TBarRep::kImpresora) {
      l.setDestino(ZepaKit2::Lanzador::DestinoImpresora());
      GenerarReporte();
      return true;
    }
    if (tecla == ToolsRep::TBarRep::kCerrar) {
      Form_Unload();
      return true;
    }
    if (tecla == ToolsRep::TBarRep::kConsultar) {
      ConsultarCampo();
      return true;
    }
    return false;
  } catch (const rp_usuarios::RangoInvalido& e) {
    mostrarFallo(e.Description(), ui::vbExclamation);
  } catch (const vb::Error& e) {
    rp_usuarios::anotarFallo(e, "TBarRep1_BotonPulsado", mostrarFallo(e.Description(), ui::vbCritical, e.Detalle()));
  } catch (const std::exception& e) {
    mostrarFallo(vb::comoError(e).Description(), ui::vbCritical);
  }
  return false;
}

rp_usuarios::Eleccion frmRp_Usuarios::eleccion() const {
  rp_usuarios::Eleccion e;
  const auto& t = ZepaKit2::teclado();
  const QMap<int, QWidget*> arreglo = c_->arreglo();
  e.usuarioDesde = c_->campos.value(t.IndiceControl(QStringLiteral("usuarioDesde"), arreglo))->text();
  e.usuarioHasta = c_->campos.value(t.IndiceControl(QStringLiteral("usuarioHasta"), arreglo))->text();
  for (int i = 0; i < c_->lstUNeg->count(); ++i)
    if (c_->lstUNeg->item(i)->isSelected()) e.unidades << c_->lstUNeg->item(i)->text();
  const Arbol::Coleccion& nodos = c_->arbol->Nodes();
  for (int i = 1; i <= nodos.Count(); ++i)
    if (nodos(i).Checked()) e.tareas << nodos(i).Key();
  e.agrupamiento = -1;
  for (int i = 0; i < 3; ++i)
    if (c_->opciones[size_t(i)]->isChecked()) {
      e.agrupamiento = i;
      break;
    }
  if (!c_->tablaReporte.isEmpty()) e.tablaReporte = c_->tablaReporte;
  return e;
}

void frmRp_Usuarios::GenerarReporte() {
  const rp_usuarios::Solicitud s = rp_usuarios::ArmarSolicitud(eleccion());
  std::array<QString, 5> f = s.formulas;

  ZepaKit2::Lanzador& l = ZepaKit2::lanzador();
  l.setOpcionA(true);
  l.setOpcionB(true);
  l.setOpcionC(true);
  if (s.reporte.isEmpty()) return;

  const QString archivo = ModGlobal::NombreReporte(s.reporte, QString(), nullptr);
  l.EmitirReporte(archivo, {QString()}, s.formula, ModGlobal::sesion().gDsnReportes, f[0], f[1], f[2], f[3], f[4],
                  QString(), QString(), QString());
  l.setAjuste(20);
}

// ---- Controls -------------------------------------------------------------

QLineEdit* frmRp_Usuarios::txtfields(int indice) const { return c_->campos.value(indice); }
QListWidget* frmRp_Usuarios::LstUNeg() const { return c_->lstUNeg; }
Arbol* frmRp_Usuarios::TreeView1() const { return c_->arbol; }
QRadioButton* frmRp_Usuarios::OptTipoReporte(int indice) const {
  return indice >= 0 && indice < 3 ? c_->opciones[size_t(indice)] : nullptr;
}
QTabWidget* frmRp_Usuarios::SSTab1() const { return c_->tab; }
ToolsRep::TBarRep* frmRp_Usuarios::TBarRep1() const { return c_->barra; }
std::int16_t frmRp_Usuarios::IndiceActual() const { return c_->indiceActual; }
