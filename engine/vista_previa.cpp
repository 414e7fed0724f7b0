#include "engine/vista_previa.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

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

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const Documento& doc = v_.documento();
    const int i = v_.paginaActual() - 1;
    if (i < 0 || i >= doc.paginas()) return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    doc.componer(i, pagina_);
    pintarPagina(p, doc.letras, pagina_, v_.escala(), doc.completo() ? doc.paginas() : -1);
  }

 private:
  VistaPrevia& v_;
  Pagina pagina_;  // the page shown, composed again at each paint
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

}  // namespace

VistaPrevia::VistaPrevia(std::unique_ptr<ReportePreparado> reporte, const SolicitudReporte& opciones, QWidget* padre)
    : QDialog(padre ? padre : opciones.padre), reporte_(std::move(reporte)), opciones_(opciones) {
  setObjectName(QStringLiteral("VistaPrevia"));
  setWindowTitle(reporte_->definicion().titulo.isEmpty() ? QStringLiteral("Reporte") : reporte_->definicion().titulo);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  resize(900, 700);

  auto* barra = new QHBoxLayout;
  const auto boton = [&](const char* nombre, const QString& texto) {
    auto* b = new QPushButton(texto, this);
    b->setObjectName(QLatin1String(nombre));
    b->setAutoDefault(false);
    barra->addWidget(b);
    return b;
  };
  primera_ = boton("cmdPrimera", QStringLiteral("|<"));
  anterior_ = boton("cmdAnterior", QStringLiteral("<"));
  etiqueta_ = new QLabel(this);
  etiqueta_->setObjectName(QStringLiteral("lblPagina"));
  barra->addWidget(etiqueta_);
  siguiente_ = boton("cmdSiguiente", QStringLiteral(">"));
  ultima_ = boton("cmdUltima", QStringLiteral(">|"));
  cboZoom_ = new QComboBox(this);
  cboZoom_->setObjectName(QStringLiteral("cboZoom"));
  cboZoom_->addItem(QStringLiteral("Ancho de página"), 0);
  for (int z : {50, 75, 100, 125, 150, 200}) cboZoom_->addItem(QStringLiteral("%1 %").arg(z), z);
  barra->addWidget(cboZoom_);
  imprimir_ = boton("cmdImprimir", QStringLiteral("Imprimir"));
  exportar_ = boton("cmdExportar", QStringLiteral("Exportar"));
  detener_ = boton("cmdDetener", QStringLiteral("Detener"));
  barra->addStretch();
  auto* cerrar = boton("cmdCerrar", QStringLiteral("Cerrar"));
  imprimir_->setVisible(opciones_.opcionA);
  exportar_->setVisible(opciones_.opcionB);

  area_ = new QScrollArea(this);
  area_->setObjectName(QStringLiteral("area"));
  area_->setAlignment(Qt::AlignHCenter);
  area_->setBackgroundRole(QPalette::Dark);
  hoja_ = new HojaVista(*this);
  area_->setWidget(hoja_);
  estado_ = new QLabel(this);
  estado_->setObjectName(QStringLiteral("lblEstado"));

  auto* columna = new QVBoxLayout(this);
  columna->addLayout(barra);
  columna->addWidget(area_, 1);
  columna->addWidget(estado_);

  connect(primera_, &QPushButton::clicked, this, [this] { irA(1); });
  connect(anterior_, &QPushButton::clicked, this, [this] { irA(actual_ - 1); });
  connect(siguiente_, &QPushButton::clicked, this, [this] { irA(actual_ + 1); });
  connect(ultima_, &QPushButton::clicked, this, [this] {
    // The last page is only known once everything is laid out; after
    // "Detener" it is the last one laid out.
    const Ventana v = ventanaDe(opciones_);
    completarConAvance(v.avance);
    irA(paginasMaquetadas());
  });
  connect(cboZoom_, &QComboBox::activated, this, [this](int i) { setZoom(cboZoom_->itemData(i).toInt()); });
  connect(imprimir_, &QPushButton::clicked, this, [this] { alPulsarImprimir(); });
  connect(exportar_, &QPushButton::clicked, this, [this] { alPulsarExportar(); });
  connect(detener_, &QPushButton::clicked, this, [this] { detener(); });
  connect(cerrar, &QPushButton::clicked, this, &QDialog::accept);

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
  setZoom(z >= 25 && z <= 400 ? z : 0);
  if (!completo() && !fallo_) temporizador_->start();
  actualizar();
}

VistaPrevia::~VistaPrevia() = default;

int VistaPrevia::paginasMaquetadas() const { return reporte_->documento().paginas(); }
bool VistaPrevia::completo() const { return reporte_->documento().completo(); }
const Documento& VistaPrevia::documento() const { return reporte_->documento(); }

double VistaPrevia::escala() const {
  const double ancho = reporte_->documento().tamano.width();
  if (zoom_ <= 0) {
    const int disponible = std::max(200, area_->viewport()->width() - 24);
    return disponible / ancho;
  }
  return zoom_ / 100.0 * logicalDpiX() / kUnidadesPorPulgada;
}

void VistaPrevia::setZoom(int porcentaje) {
  zoom_ = porcentaje;
  const int i = cboZoom_->findData(porcentaje);
  if (i >= 0) cboZoom_->setCurrentIndex(i);
  hoja_->ajustar();
}

// The page's width follows the window's while it is fitted to it.
void VistaPrevia::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (zoom_ <= 0) hoja_->ajustar();
}

void VistaPrevia::irA(int pagina) {
  pagina = std::clamp(pagina, 1, std::max(1, paginasMaquetadas()));
  if (pagina != actual_) {
    actual_ = pagina;
    area_->verticalScrollBar()->setValue(0);
  }
  actualizar();
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
  etiqueta_->setText(doc.completo() ? QStringLiteral("Página %1 de %2").arg(actual_).arg(n)
                                    : QStringLiteral("Página %1 de %2+").arg(actual_).arg(n));
  if (doc.completo()) estado_->setText(QStringLiteral("%1 registros, %2 páginas").arg(doc.filas()).arg(n));
  else if (detenido_) estado_->setText(QStringLiteral("Reporte detenido en la página %1: faltan páginas").arg(n));
  else if (enCurso) estado_->setText(QStringLiteral("Preparando... %1 registros, %2 páginas").arg(doc.filas()).arg(n));
  primera_->setEnabled(actual_ > 1);
  anterior_->setEnabled(actual_ > 1);
  siguiente_->setEnabled(actual_ < n);
  ultima_->setEnabled(enCurso || actual_ < n);
  detener_->setEnabled(enCurso);
  // A stopped or failed report is not printed or exported half made.
  imprimir_->setEnabled(!detenido_ && !fallo_);
  exportar_->setEnabled(!detenido_ && !fallo_);
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
      estado_->setText(QStringLiteral("Reporte impreso en %1").arg(QDir::toNativeSeparators(impresora.outputFileName())));
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
