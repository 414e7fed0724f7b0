#include "lookup/lib_frmcons3tree.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "data/db_dll.h"
#include "lookup/pie_consulta.h"
#include "lookup/traza.h"
#include "lookup/ventana_consulta.h"
#include "platform/ui/servicio.h"
#include "platform/ui/twips.h"
#include "platform/vb/manejo.h"
#include "suite/util_general.h"

namespace {
constexpr int kNivelesCheck = 6;
const QString kClave = QStringLiteral("A");
}  // namespace

Lib_FrmCons3Tree::Lib_FrmCons3Tree(QWidget* padre) : QDialog(padre) {
  setObjectName(QStringLiteral("Lib_FrmCons3Tree"));
  setWindowTitle(QStringLiteral("Consulta..."));
  resize(ui::tamanoTwips(6000, 6500));
  auto* picFields = new QWidget(this);
  picFields->setObjectName(QStringLiteral("picFields"));
  picFields->setGeometry(0, 0, width(), ui::twips(5400));
  cmbSearch_ = new QLineEdit(picFields);
  cmbSearch_->setObjectName(QStringLiteral("CmbSearch(0)"));
  cmbSearch_->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
  cmbSearch_->setGeometry(ui::rectTwips(60, 0, 5800, 300));
  cmbSearch_->installEventFilter(this);
  connect(cmbSearch_, &QLineEdit::textChanged, this, [this](const QString& t) { buscar(t); });
  treeV_ = new QTreeWidget(picFields);
  treeV_->setObjectName(QStringLiteral("TreeV"));
  treeV_->setHeaderHidden(true);
  treeV_->setGeometry(ui::rectTwips(60, 330, 5800, 5000));
  connect(treeV_, &QTreeWidget::itemDoubleClicked, this, [this] { CmdAceptar_Click(); });
  connect(treeV_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
    if (propagando_ || !CheckBoxes) return;
    propagando_ = true;
    propagar(item, item->checkState(0), kNivelesCheck);
    propagando_ = false;
  });
  auto* lbl = new QLabel(this);
  lbl->setObjectName(QStringLiteral("lblFieldName"));
  lbl->hide();
  aviso_ = crearAvisoVacio(*treeV_);
  pie_ = crearPie(
      *this, *this, [this] { CmdAceptar_Click(); }, [this] { CmdNueva_Click(); });
  pie_.marco->setGeometry(0, ui::twips(5450), width(), ui::twips(615));
  pie_.aceptar->setGeometry(ui::rectTwips(100, 100, kAnchoBotonPie, kAltoBotonPie));
  pie_.cancelar->setGeometry(ui::rectTwips(2250, 100, kAnchoBotonPie, kAltoBotonPie));
  pie_.nueva->setGeometry(ui::rectTwips(5850 - pie_.anchoNueva, 100, pie_.anchoNueva, kAltoBotonPie));
}

Lib_FrmCons3Tree::~Lib_FrmCons3Tree() = default;

void Lib_FrmCons3Tree::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  if (treeV_->topLevelItemCount() == 0) Cargar();
  colocarEnPantalla(*this, true);
}

void Lib_FrmCons3Tree::keyPressEvent(QKeyEvent* evento) {
  if (evento->key() == Qt::Key_Escape) {
    pie_.cancelar->click();
    return;
  }
  QDialog::keyPressEvent(evento);
}

void Lib_FrmCons3Tree::vaciar() {
  treeV_->clear();
  porClave_.clear();
  nodos_.clear();
}

void Lib_FrmCons3Tree::closeEvent(QCloseEvent* evento) { QDialog::closeEvent(evento); }

void Lib_FrmCons3Tree::Cargar() {
  auto& u = ZepaKit2::util();
  vb::Pasos pasos({traza::lookup(), "FORM_LOAD"},
                  [&](const vb::Error& e) { return u.DialogoError(e, {}, QStringLiteral("FORM_LOAD")); });
  Valores = QStringList();
  aviso_->hide();
  pasos.run([&] { vaciar(); });
  pasos.run([&] { ArmarTreeVAutomatico(); });
}

void Lib_FrmCons3Tree::ArmarTreeVAutomatico() {
  auto& u = ZepaKit2::util();
  vb::Pasos pasos({traza::lookup(), "ArmarTreeVAutomatico"},
                  [&](const vb::Error& e) { return u.DialogoError(e, {}, QStringLiteral("ArmarTreeVAutomatico")); });
  const QSignalBlocker bloqueo(treeV_);
  vaciar();
  treeV_->setRootIsDecorated(true);
  auto* raiz = new QTreeWidgetItem(treeV_, QStringList{QStringLiteral("Consulta...")});
  raiz->setData(0, Qt::UserRole, kClave);
  if (CheckBoxes) raiz->setCheckState(0, Qt::Unchecked);
  porClave_.insert(kClave, raiz);
  nodos_.push_back(raiz);
  raiz->setExpanded(true);
  ado::Recordset rs;
  if (!pasos.run([&] { db().AbrirRecordset(SQL, rs, nullptr, ado::adOpenDynamic, 1); })) return;
  std::vector<std::vector<vb::Variant>> filas;
  pasos.run([&] {
    if (rs.EOF() && rs.BOF()) return;
    rs.MoveFirst();
    rs.MoveLast();
    rs.MoveFirst();
    filas = rs.GetRows();
  });
  pasos.run([&] {
    if (rs.State() == ado::adStateOpen) db().CierraRecordset(rs);
  });
  // GetRows gives fields by rows; each row's node hangs from the longest
  // existing prefix of its key.
  const size_t campos = filas.size();
  const size_t n = campos ? filas[0].size() : 0;
  for (size_t r = 0; r < n && campos >= 1; ++r) {
    pasos.run([&] {
      const QString codigo = filas[0][r].toText();
      const QString descripcion = campos > 1 ? filas[1][r].toText() : QString();
      const QString clave = kClave + codigo;
      QTreeWidgetItem* padre = raiz;
      const QString may = clave.toUpper();
      for (int largo = may.size() - 1; largo >= 1; --largo) {
        if (auto* p = porClave_.value(may.left(largo))) {
          padre = p;
          break;
        }
      }
      auto* item = new QTreeWidgetItem(padre, QStringList{codigo + QStringLiteral(" - ") + descripcion});
      item->setData(0, Qt::UserRole, clave);
      if (CheckBoxes) item->setCheckState(0, Qt::Unchecked);
      if (!porClave_.contains(may)) porClave_.insert(may, item);
      nodos_.push_back(item);
    });
  }
}

QTreeWidgetItem* Lib_FrmCons3Tree::nodo(const QString& codigo) const {
  return porClave_.value((kClave + codigo).toUpper());
}

void Lib_FrmCons3Tree::propagar(QTreeWidgetItem* item, Qt::CheckState estado, int niveles) {
  if (niveles <= 0) return;
  for (int i = 0; i < item->childCount(); ++i) {
    item->child(i)->setCheckState(0, estado);
    propagar(item->child(i), estado, niveles - 1);
  }
}

void Lib_FrmCons3Tree::buscar(const QString& texto) {
  const QString t = texto.trimmed();
  for (QTreeWidgetItem* n : nodos_) {
    const QString s = n->text(0);
    const int guion = s.indexOf(QLatin1Char('-'));
    const QString codigo = (guion < 0 ? s : s.left(guion)).trimmed();
    const QString descripcion = guion < 0 ? QString() : s.mid(guion + 1).trimmed();
    if (codigo.startsWith(t, Qt::CaseInsensitive) || descripcion.startsWith(t, Qt::CaseInsensitive)) {
      treeV_->setCurrentItem(n);
      treeV_->scrollToItem(n);
      return;
    }
  }
}

void Lib_FrmCons3Tree::F5() {
  cmbSearch_->setProperty("Tag", QStringLiteral("Descripcion"));
  const int orden = SQL.indexOf(QStringLiteral("order"), 0, Qt::CaseInsensitive);
  const int ob = SQL.indexOf(QStringLiteral("order by"), 0, Qt::CaseInsensitive);
  if (orden >= 0 && ob >= 0) {
    cola_ = SQL.mid(ob);
    SQLBaseArbol = SQL.left(ob);
  } else {
    SQLBaseArbol = SQL;
    cola_.clear();
  }
  const QString une =
      SQL.contains(QStringLiteral("where"), Qt::CaseInsensitive) ? QStringLiteral(" and ") : QStringLiteral(" where ");
  QString texto = cmbSearch_->text();
  texto.replace(QLatin1Char('\''), QStringLiteral("''"));  // O'Brien finds O'Brien
  SQL = SQLBaseArbol + une + QStringLiteral("Descripcion like '%") + texto + QStringLiteral("%' ") + cola_;
  // The box keeps the text, so the person sees what was searched for.
  SQLBaseArbol = SQL;
  Cargar();
  if (nodos_.size() <= 1) aviso_->show();  // the root alone
}

bool Lib_FrmCons3Tree::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == cmbSearch_ && evento->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(evento);
    switch (k->key()) {
      case Qt::Key_Down:
      case Qt::Key_Up:
      case Qt::Key_PageDown:
      case Qt::Key_PageUp: treeV_->setFocus(); return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:  // Enter searches too: the tooltip's F5 is easy to miss
      case Qt::Key_F5: {
        vb::Seguir seguir({traza::lookup(), "TreeV_KeyDown"});
        seguir([&] { F5(); });
        return true;
      }
      default: break;
    }
  }
  return QDialog::eventFilter(objeto, evento);
}

void Lib_FrmCons3Tree::CmdAceptar_Click() {
  auto& u = ZepaKit2::util();
  vb::Pasos pasos({traza::lookup(), "CmdAceptar_Click"},
                  [&](const vb::Error& e) { return u.DialogoError(e, {}, QStringLiteral("CmdAceptar_Click")); });
  auto codigoDe = [](QTreeWidgetItem* i) { return i->data(0, Qt::UserRole).toString().mid(1); };
  const QString campo = CampoDevuelto.trimmed().toUpper();
  // The row of `codigo` in the first of the tables that holds it.
  auto traducir = [&](const QString& codigo, std::initializer_list<std::pair<const char*, const char*>> tablas,
                      bool& hallado) {
    QString valor;
    hallado = false;
    for (const auto& [tabla, columna] : tablas) {
      ado::Recordset rs;
      if (db().ExisteEnTabla(QString::fromUtf8(tabla), codigo, QString::fromUtf8(columna), &rs)) {
        valor = u.ValorCampo(rs.Fields(CampoDevuelto.trimmed()));
        hallado = true;
      }
      if (rs.State() == ado::adStateOpen) db().CierraRecordset(rs);
      if (hallado) break;
    }
    return valor;
  };
  if (CheckBoxes) {
    if (!Valores) Valores = QStringList();
    for (QTreeWidgetItem* n : nodos_) {
      if (n->checkState(0) != Qt::Checked) continue;
      const QString codigo = codigoDe(n);
      pasos.run([&] {
        if (campo == QStringLiteral("IDFAMILIA") || campo == QStringLiteral("CODIGO")) {
          Valores->append(codigo.trimmed());
        } else if (campo == QStringLiteral("IDPOSICION")) {
          bool hallado = false;
          const QString v = traducir(codigo, {{"MA_POSICIONES", "IDPOSICION"}}, hallado);
          if (hallado) Valores->append(v.trimmed());
        }
      });
    }
  } else if (QTreeWidgetItem* actual = treeV_->currentItem()) {
    const QString codigo = codigoDe(actual);
    pasos.run([&] {
      bool hallado = false;
      QString v;
      if (campo == QStringLiteral("IDFAMILIA"))
        v = traducir(codigo, {{"V_TA_FAMILIAS", "IDFAMILIA"}}, hallado);
      else if (campo == QStringLiteral("IDPOSICION"))
        v = traducir(codigo, {{"MA_POSICIONES", "IDPOSICION"}}, hallado);
      else if (campo == QStringLiteral("CODIGO"))
        v = traducir(codigo, {{"TA_CCOSTO", "CODIGO"}, {"MA_CUENTAS", "CODIGO"}}, hallado);
      else
        return;
      ValorDevuelto = hallado ? v : QString();
    });
  }
  accept();
}

void Lib_FrmCons3Tree::CmdNueva_Click() {
  vb::Seguir seguir({traza::lookup(), "CmdNueva_Click"});
  seguir([&] { ArmarTreeVAutomatico(); });
}

void Lib_FrmCons3Tree::Descargar() {
  if (descargado_) return;
  descargado_ = true;
  try {
    vaciar();
  } catch (const vb::Error& e) {
    ui::servicio().MsgBox(e.Description(), ui::vbCritical, QStringLiteral("Aviso al Operador"));
  }
}
