#include "engine/vista_previa.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <iterator>

#include "engine/busqueda.h"
#include "engine/errores.h"
#include "engine/tabla.h"
#include "engine/traza.h"
#include "platform/ui/servicio.h"

namespace engine {

class HojaVista : public QWidget {
 public:
  explicit HojaVista(VistaPrevia& v) : QWidget(nullptr), v_(v) { setObjectName(QStringLiteral("hoja")); }
  void ajustar() {
    const QSizeF t = v_.documento().tamano * v_.escala();
    setFixedSize(t.toSize() + QSize(1, 1));
    update();
  }
  // The occurrences to highlight on the page shown, the current one apart.
  void resaltar(std::vector<QRectF> marcas, int actual) {
    marcas_ = std::move(marcas);
    marcaActual_ = actual;
    update();
  }
  // Where an occurrence lies on this widget.
  QRect lugar(const QRectF& marca) const {
    const double e = v_.escala();
    return QRectF(marca.topLeft() * e, marca.size() * e).toAlignedRect();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const Documento& doc = v_.documento();
    const int i = v_.paginaActual() - 1;
    if (i < 0 || i >= doc.paginas()) return;
    for (size_t m = 0; m < marcas_.size(); ++m)
      p.fillRect(lugar(marcas_[m]), int(m) == marcaActual_ ? QColor(255, 150, 40) : QColor(255, 235, 90));
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    doc.componer(i, pagina_);
    pintarPagina(p, doc.letras, pagina_, v_.escala(), doc.completo() ? doc.paginas() : -1);
  }

 private:
  VistaPrevia& v_;
  Pagina pagina_;  // the page shown, composed again at each paint
  std::vector<QRectF> marcas_;
  int marcaActual_ = -1;
};

namespace {

// The progress window of one thing the person asked for, from finishing the
// layout to the last page sent; the request's own Avance replaces it.
struct Ventana {
  std::unique_ptr<ui::Progreso> progreso;
  Avance avance;
};

Ventana ventanaDe(const SolicitudReporte& opciones) {
  Ventana v;
  v.avance = opciones.avance;
  if (!v.avance && opciones.opcionC) {
    v.progreso = ui::servicio().IniciarProgreso(QStringLiteral("Reporte"));
    v.avance = avanceDe(*v.progreso);
  }
  return v;
}

constexpr int kPorcentajes[] = {50, 75, 100, 125, 150, 200};
constexpr int kMargen = 6;  // pixels around a page fitted to the window

QString cantidad(long n, const char* una, const char* varias) {
  return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? una : varias));
}

}  // namespace

VistaPrevia::VistaPrevia(std::unique_ptr<ReportePreparado> reporte, const SolicitudReporte& opciones, QWidget* padre)
    : QDialog(padre ? padre : opciones.padre), reporte_(std::move(reporte)), opciones_(opciones) {
  setObjectName(QStringLiteral("VistaPrevia"));
  setWindowTitle(reporte_->definicion().titulo.isEmpty() ? QStringLiteral("Reporte") : reporte_->definicion().titulo);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  resize(960, 720);

  // A tool bar: what does not fit a narrow window goes, whole, to its ">>" menu.
  auto* barra = new QToolBar(this);
  barra->setObjectName(QStringLiteral("barra"));
  barra->setToolButtonStyle(Qt::ToolButtonTextOnly);
  const auto boton = [&](const char* nombre, const QString& texto, const QString& ayuda, QKeySequence tecla = {}) {
    auto* a = barra->addAction(texto);
    a->setToolTip(tecla.isEmpty() ? ayuda
                                  : QStringLiteral("%1 (%2)").arg(ayuda, tecla.toString(QKeySequence::NativeText)));
    if (!tecla.isEmpty()) a->setShortcut(tecla);
    barra->widgetForAction(a)->setObjectName(QLatin1String(nombre));
    return a;
  };
  // Keys of the whole window, with no button of their own.
  const auto atajo = [this](QKeySequence k, auto hacer) {
    auto* a = new QAction(this);
    a->setShortcut(k);
    connect(a, &QAction::triggered, this, hacer);
    addAction(a);
  };
  primera_ = boton("cmdPrimera", QStringLiteral("|<"), QStringLiteral("Primera página"), Qt::Key_Home);
  anterior_ = boton("cmdAnterior", QStringLiteral("<"), QStringLiteral("Página anterior"));
  pagina_ = new QLineEdit(this);
  pagina_->setObjectName(QStringLiteral("txtPagina"));
  pagina_->setValidator(new QIntValidator(1, 9999999, pagina_));
  pagina_->setAlignment(Qt::AlignRight);
  pagina_->setToolTip(QStringLiteral("Página: escriba un número y pulse Intro"));
  pagina_->setFixedWidth(pagina_->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
  barra->addWidget(pagina_);
  etiqueta_ = new QLabel(this);
  etiqueta_->setObjectName(QStringLiteral("lblPagina"));
  // Wide enough for long reports, so the bar does not move as pages are laid out.
  etiqueta_->setMinimumWidth(etiqueta_->fontMetrics().horizontalAdvance(QStringLiteral(" de 0000+")));
  barra->addWidget(etiqueta_);
  siguiente_ = boton("cmdSiguiente", QStringLiteral(">"), QStringLiteral("Página siguiente"));
  ultima_ = boton("cmdUltima", QStringLiteral(">|"), QStringLiteral("Última página"), Qt::Key_End);
  barra->addSeparator();
  cboZoom_ = new QComboBox(this);
  cboZoom_->setObjectName(QStringLiteral("cboZoom"));
  cboZoom_->setToolTip(QStringLiteral("Zoom (Ctrl + rueda, Ctrl+más, Ctrl+menos)"));
  cboZoom_->addItem(QStringLiteral("Ancho de página"), kZoomAncho);
  cboZoom_->addItem(QStringLiteral("Página completa"), kZoomPagina);
  for (int z : kPorcentajes) cboZoom_->addItem(QStringLiteral("%1 %").arg(z), z);
  barra->addWidget(cboZoom_);
  barra->addSeparator();
  buscado_ = new QLineEdit(this);
  buscado_->setObjectName(QStringLiteral("txtBuscar"));
  buscado_->setPlaceholderText(QStringLiteral("Buscar"));
  buscado_->setClearButtonEnabled(true);
  buscado_->setToolTip(QStringLiteral("Buscar en el reporte (Ctrl+F); Intro: siguiente"));
  buscado_->setFixedWidth(buscado_->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 9);
  barra->addWidget(buscado_);
  auto* buscarAnterior = boton("cmdBuscarAnterior", QStringLiteral("Anterior"), QStringLiteral("Buscar anterior"),
                               QKeySequence(Qt::SHIFT | Qt::Key_F3));
  auto* buscarSiguiente =
      boton("cmdBuscarSiguiente", QStringLiteral("Siguiente"), QStringLiteral("Buscar siguiente"), Qt::Key_F3);
  barra->addSeparator();
  imprimir_ = boton("cmdImprimir", QStringLiteral("Imprimir"), QStringLiteral("Imprimir"), QKeySequence::Print);
  exportar_ = boton("cmdExportar", QStringLiteral("Exportar"), QStringLiteral("Exportar a un archivo"),
                    QKeySequence(Qt::CTRL | Qt::Key_S));
  detener_ = boton("cmdDetener", QStringLiteral("Detener"), QStringLiteral("Detener la preparación del reporte"));
  auto* resto = new QWidget(this);
  resto->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  barra->addWidget(resto);
  // Escape is the dialog's own.
  auto* cerrar = boton("cmdCerrar", QStringLiteral("Cerrar"), QStringLiteral("Cerrar la vista previa (Esc)"));
  imprimir_->setVisible(opciones_.opcionA);
  exportar_->setVisible(opciones_.opcionB);

  area_ = new QScrollArea(this);
  area_->setObjectName(QStringLiteral("area"));
  area_->setAlignment(Qt::AlignCenter);
  area_->setBackgroundRole(QPalette::Dark);
  area_->setFocusPolicy(Qt::StrongFocus);
  hoja_ = new HojaVista(*this);
  area_->setWidget(hoja_);
  area_->installEventFilter(this);
  area_->viewport()->installEventFilter(this);
  estado_ = new QLabel(this);
  estado_->setObjectName(QStringLiteral("lblEstado"));
  // Long messages are cut rather than widening the window.
  estado_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

  auto* columna = new QVBoxLayout(this);
  columna->addWidget(barra);
  columna->addWidget(area_, 1);
  columna->addWidget(estado_);

  connect(primera_, &QAction::triggered, this, [this] { irA(1); });
  connect(anterior_, &QAction::triggered, this, [this] { irA(actual_ - 1); });
  connect(siguiente_, &QAction::triggered, this, [this] { irA(actual_ + 1); });
  connect(ultima_, &QAction::triggered, this, [this] { irAUltima(); });
  connect(pagina_, &QLineEdit::returnPressed, this, [this] {
    irAPagina(pagina_->text().toInt());
    area_->setFocus();
  });
  connect(cboZoom_, &QComboBox::activated, this, [this](int i) { elegirZoom(cboZoom_->itemData(i).toInt()); });
  connect(buscado_, &QLineEdit::returnPressed, this, [this] { buscar(buscado_->text(), true); });
  connect(buscarSiguiente, &QAction::triggered, this, [this] { buscar(buscado_->text(), true); });
  connect(buscarAnterior, &QAction::triggered, this, [this] { buscar(buscado_->text(), false); });
  connect(imprimir_, &QAction::triggered, this, [this] { alPulsarImprimir(); });
  connect(exportar_, &QAction::triggered, this, [this] { alPulsarExportar(); });
  connect(detener_, &QAction::triggered, this, [this] { detener(); });
  connect(cerrar, &QAction::triggered, this, &QDialog::accept);
  atajo(QKeySequence::Find, [this] {
    buscado_->setFocus();
    buscado_->selectAll();
  });
  atajo(Qt::Key_PageDown, [this] { avanzar(1); });
  atajo(Qt::Key_PageUp, [this] { avanzar(-1); });
  for (QKeySequence k : {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)})
    atajo(k, [this] { cambiarZoom(1); });
  atajo(QKeySequence::ZoomOut, [this] { cambiarZoom(-1); });

  temporizador_ = new QTimer(this);
  temporizador_->setInterval(0);
  connect(temporizador_, &QTimer::timeout, this, [this] { maquetarTramo(); });

  // Page one now (the request may have laid it out already), the rest in
  // slices of the event loop.
  try {
    if (reporte_->documento().paginas() == 0) reporte_->siguientePagina();
  } catch (const vb::Error& e) {
    fallo_ = true;
    estado_->setText(e.Description());
  }
  const int z = opciones_.ajuste;
  setZoom(z == kZoomPagina || (z >= 25 && z <= 400) ? z : kZoomAncho);
  if (!completo() && !fallo_) temporizador_->start();
  actualizar();
  area_->setFocus();
}

VistaPrevia::~VistaPrevia() = default;

int VistaPrevia::paginasMaquetadas() const { return reporte_->documento().paginas(); }
bool VistaPrevia::completo() const { return reporte_->documento().completo(); }
const Documento& VistaPrevia::documento() const { return reporte_->documento(); }

double VistaPrevia::escala() const {
  const QSizeF pagina = reporte_->documento().tamano;
  if (zoom_ > 0) return zoom_ / 100.0 * logicalDpiX() / kUnidadesPorPulgada;
  // The room the scroll area has, with no bars; the page's width leaves the
  // vertical bar its place, as a page fitted to its width is taller than the window.
  const QSize hueco = area_->maximumViewportSize();
  const double ancho = hueco.width() - 2 * kMargen;
  const double alto = hueco.height() - 2 * kMargen;
  if (zoom_ == kZoomPagina) return std::max(0.05, std::min(ancho / pagina.width(), alto / pagina.height()));
  const int barra = area_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area_->verticalScrollBar());
  return std::max(0.05, (ancho - barra) / pagina.width());
}

void VistaPrevia::setZoom(int porcentaje) {
  zoom_ = porcentaje;
  const int i = cboZoom_->findData(porcentaje);
  if (i >= 0) cboZoom_->setCurrentIndex(i);
  hoja_->ajustar();
}

void VistaPrevia::elegirZoom(int zoom) {
  setZoom(zoom);
  if (opciones_.alElegirZoom) opciones_.alElegirZoom(zoom);
}

// One step along the percentages from the size the page has now.
void VistaPrevia::cambiarZoom(int sentido) {
  const int ahora = qRound(escala() * kUnidadesPorPulgada / logicalDpiX() * 100);
  int elegido = sentido > 0 ? kPorcentajes[std::size(kPorcentajes) - 1] : kPorcentajes[0];
  for (int z : kPorcentajes) {
    if (sentido > 0 && z > ahora + 1) {
      elegido = z;
      break;
    }
    if (sentido < 0 && z < ahora - 1) elegido = z;
  }
  elegirZoom(elegido);
}

bool VistaPrevia::eventFilter(QObject* objeto, QEvent* e) {
  // The page follows the window's size while fitted to it.
  if (objeto == area_ && e->type() == QEvent::Resize && zoom_ <= 0) hoja_->ajustar();
  if (objeto == area_->viewport() && e->type() == QEvent::Wheel) {
    const auto* rueda = static_cast<QWheelEvent*>(e);
    const int dy = rueda->angleDelta().y();
    if (rueda->modifiers() & Qt::ControlModifier) {
      if (dy != 0) cambiarZoom(dy > 0 ? 1 : -1);
      return true;
    }
    // Past the end of the page, the wheel turns it.
    const QScrollBar* barra = area_->verticalScrollBar();
    if ((dy < 0 && barra->value() == barra->maximum() && actual_ < paginasMaquetadas()) ||
        (dy > 0 && barra->value() == barra->minimum() && actual_ > 1)) {
      avanzar(dy < 0 ? 1 : -1);
      return true;
    }
  }
  return QDialog::eventFilter(objeto, e);
}

// PgDn/PgUp: a screenful down or up, and the next or previous page at the end of this one.
void VistaPrevia::avanzar(int sentido) {
  QScrollBar* barra = area_->verticalScrollBar();
  const bool alFinal = sentido > 0 ? barra->value() >= barra->maximum() : barra->value() <= barra->minimum();
  if (!alFinal) {
    barra->setValue(barra->value() + sentido * barra->pageStep());
    return;
  }
  const int antes = actual_;
  irA(actual_ + sentido);
  if (actual_ != antes && sentido < 0) barra->setValue(barra->maximum());
}

void VistaPrevia::irA(int pagina) {
  pagina = std::clamp(pagina, 1, std::max(1, paginasMaquetadas()));
  if (pagina != actual_) {
    actual_ = pagina;
    area_->verticalScrollBar()->setValue(0);
  }
  actualizar();
}

void VistaPrevia::irAUltima() {
  // The last page is only known once everything is laid out; after
  // "Detener" it is the last one laid out.
  const Ventana v = ventanaDe(opciones_);
  completarConAvance(v.avance);
  irA(paginasMaquetadas());
}

// A page typed in the box: laid out up to it first, if need be.
void VistaPrevia::irAPagina(int pagina) {
  if (pagina > paginasMaquetadas() && !completo() && !detenido_ && !fallo_) {
    const Ventana v = ventanaDe(opciones_);
    try {
      while (paginasMaquetadas() < pagina && !completo())
        if (!reporte_->siguientePagina(v.avance) && !completo()) break;
    } catch (const vb::Error& e) {
      if (!esCancelacion(e)) {
        fallo_ = true;
        temporizador_->stop();
        mostrarError(e);
      }
    }
  }
  pagina_->setModified(false);
  irA(pagina);
}

bool VistaPrevia::buscar(const QString& texto, bool adelante) {
  const Documento& doc = documento();
  const int n = paginasMaquetadas();
  if (texto.compare(textoBuscado_, Qt::CaseInsensitive) != 0) {
    textoBuscado_ = texto;
    paginaHallada_ = 0;
  }
  // From the occurrence found last while its page is shown, else from the page's edge.
  const int desde = paginaHallada_ == actual_ ? hallazgo_ : -1;
  Pagina pagina;
  // The page shown, then the others around the end, then the page shown again.
  for (int paso = 0; paso <= n && !texto.isEmpty(); ++paso) {
    const int indice = ((actual_ - 1 + (adelante ? paso : -paso)) % n + n) % n;
    doc.componer(indice, pagina);
    const std::vector<QRectF> marcas = coincidencias(doc.letras, pagina, texto);
    const int m = int(marcas.size());
    const int elegida = paso == 0 && desde >= 0 ? desde + (adelante ? 1 : -1) : (adelante ? 0 : m - 1);
    if (elegida < 0 || elegida >= m) continue;
    irA(indice + 1);
    paginaHallada_ = actual_;
    hallazgo_ = elegida;
    hoja_->resaltar(marcas, elegida);
    const QRect lugar = hoja_->lugar(marcas[size_t(elegida)]);
    area_->ensureVisible(lugar.center().x(), lugar.center().y(), lugar.width() / 2 + 40, lugar.height() / 2 + 40);
    estado_->setText(QStringLiteral("\"%1\": página %2").arg(texto).arg(actual_));
    return true;
  }
  paginaHallada_ = 0;
  hallazgo_ = -1;
  hoja_->resaltar({}, -1);
  if (!texto.isEmpty()) estado_->setText(QStringLiteral("No se encontró \"%1\" en las páginas preparadas").arg(texto));
  return false;
}

void VistaPrevia::maquetarTramo() {
  QElapsedTimer reloj;
  reloj.start();
  try {
    while (!completo() && reloj.elapsed() < 30) reporte_->siguientePagina();
  } catch (const vb::Error& e) {
    fallo_ = true;
    temporizador_->stop();
    mostrarError(e);
  }
  if (completo()) temporizador_->stop();
  actualizar();
}

void VistaPrevia::detener() {
  if (completo()) return;
  temporizador_->stop();
  detenido_ = true;
  actualizar();
}

void VistaPrevia::actualizar() {
  const Documento& doc = documento();
  const int n = paginasMaquetadas();
  const bool enCurso = !doc.completo() && !detenido_ && !fallo_;
  // What the person is typing in the box stays until Enter.
  if (!pagina_->isModified()) pagina_->setText(QString::number(actual_));
  etiqueta_->setText(doc.completo() ? QStringLiteral("de %1").arg(n) : QStringLiteral("de %1+").arg(n));
  etiqueta_->setToolTip(QStringLiteral("Página %1 de %2%3").arg(actual_).arg(n).arg(doc.completo() ? "" : "+"));
  const QString registros = cantidad(doc.filas(), "registro", "registros");
  const QString paginas = cantidad(n, "página", "páginas");
  if (doc.completo())
    estado_->setText(QStringLiteral("%1, %2").arg(registros, paginas));
  else if (detenido_)
    estado_->setText(QStringLiteral("Reporte detenido en la página %1: faltan páginas").arg(n));
  else if (enCurso)
    estado_->setText(QStringLiteral("Preparando... %1, %2").arg(registros, paginas));
  primera_->setEnabled(actual_ > 1);
  anterior_->setEnabled(actual_ > 1);
  siguiente_->setEnabled(actual_ < n);
  ultima_->setEnabled(enCurso || actual_ < n);
  detener_->setEnabled(enCurso);
  // A stopped or failed report is not printed or exported half made.
  imprimir_->setEnabled(!detenido_ && !fallo_);
  exportar_->setEnabled(!detenido_ && !fallo_);
  if (paginaHallada_ != actual_) hoja_->resaltar({}, -1);
  hoja_->update();
}

bool VistaPrevia::completarConAvance(const Avance& avance) {
  if (completo()) return true;
  if (fallo_ || detenido_) return false;
  temporizador_->stop();
  bool hecho = false;
  try {
    hecho = reporte_->completar(avance);
  } catch (const vb::Error& e) {
    fallo_ = true;
    mostrarError(e);
  }
  // Cancelled before the end: as stopped, never printed half made.
  if (!hecho && !fallo_) detenido_ = true;
  actualizar();
  return hecho;
}

bool VistaPrevia::exportarPdf(const QString& ruta) {
  const Ventana v = ventanaDe(opciones_);
  if (!completarConAvance(v.avance)) return false;
  return escribirPdf(documento(), ruta, v.avance);
}

bool VistaPrevia::exportar(const QString& ruta, Destino formato) {
  if (formato == Destino::Pdf) return exportarPdf(ruta);
  const Ventana v = ventanaDe(opciones_);
  if (!completarConAvance(v.avance)) return false;
  escribirTabla(reporte_->definicion(), reporte_->filas(), ruta,
                formato == Destino::Xlsx ? FormatoTabla::Xlsx : FormatoTabla::Csv);
  return true;
}

bool VistaPrevia::imprimir(QPrinter& impresora) {
  const Ventana v = ventanaDe(opciones_);
  if (!completarConAvance(v.avance)) return false;
  return imprimirDocumento(documento(), impresora, v.avance, actual_);
}

void VistaPrevia::alPulsarImprimir() {
  try {
    {
      // The print dialog offers the range of the pages there are.
      const Ventana v = ventanaDe(opciones_);
      if (!completarConAvance(v.avance)) return;
    }
    QPrinter impresora(QPrinter::HighResolution);
    QPrintDialog dialogo(&impresora, this);
    ofrecerPaginas(dialogo, paginasMaquetadas(), true);
    if (ui::servicio().MostrarModal(dialogo) != QDialog::Accepted) return;
    if (!imprimir(impresora)) return;
    if (impresora.outputFileName().isEmpty())
      estado_->setText(QStringLiteral("Reporte enviado a la impresora %1").arg(impresora.printerName()));
    else
      estado_->setText(
          QStringLiteral("Reporte impreso en %1").arg(QDir::toNativeSeparators(impresora.outputFileName())));
  } catch (const vb::Error& e) {
    mostrarError(e);
  }
}

void VistaPrevia::alPulsarExportar() {
  struct Tipo {
    const char* filtro;
    const char* extension;
    Destino formato;
  };
  static const Tipo kTipos[] = {{"Documento PDF (*.pdf)", ".pdf", Destino::Pdf},
                                {"Libro de Excel (*.xlsx)", ".xlsx", Destino::Xlsx},
                                {"Valores separados por punto y coma (*.csv)", ".csv", Destino::Csv}};
  try {
    {
      const Ventana v = ventanaDe(opciones_);
      if (!completarConAvance(v.avance)) return;
    }
    QStringList filtros;
    for (const Tipo& t : kTipos) filtros << QString::fromUtf8(t.filtro);
    QString elegido;
    QString ruta = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar"), QString(),
                                                filtros.join(QStringLiteral(";;")), &elegido);
    if (ruta.isEmpty()) return;
    // The extension typed decides; without one, the kind chosen in the list.
    const Tipo* tipo = &kTipos[std::max<qsizetype>(0, filtros.indexOf(elegido))];
    for (const Tipo& t : kTipos)
      if (ruta.endsWith(QLatin1String(t.extension), Qt::CaseInsensitive)) tipo = &t;
    if (!ruta.endsWith(QLatin1String(tipo->extension), Qt::CaseInsensitive)) ruta += QLatin1String(tipo->extension);
    const QString nativa = QDir::toNativeSeparators(ruta);
    if (!exportar(ruta, tipo->formato)) {
      estado_->setText(QStringLiteral("Exportación cancelada: %1 no se escribió").arg(nativa));
      return;
    }
    estado_->setText(QStringLiteral("Reporte guardado en %1").arg(nativa));
    ui::servicio().MsgBox(QStringLiteral("El reporte se guardó en %1").arg(nativa), ui::vbInformation,
                          QStringLiteral("Exportar"));
  } catch (const vb::Error& e) {
    mostrarError(e);
  }
}

void VistaPrevia::mostrarError(const vb::Error& e) {
  estado_->setText(e.Description());
  ui::servicio().MsgBox(e.Description(), ui::vbCritical, QStringLiteral("Reporte"), e.Detalle());
  vb::registrar({traza::engine(), "VistaPrevia"}, e, u"se avisó al usuario");
}

}  // namespace engine
