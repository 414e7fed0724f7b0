#include "platform/ui/qt_servicio.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "platform/ui/botones.h"

namespace ui {

namespace {

QWidget* ventanaPadre() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QMessageBox::Icon iconoQt(int botones) {
  switch (iconoCaja(botones)) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// Restores a dialog's delete-on-close once the modal show is over, so that a
// dialog the caller owns is never deleted under it.
class SinBorrarAlCerrar {
 public:
  explicit SinBorrarAlCerrar(QDialog& d) : d_(d), borrar_(d.testAttribute(Qt::WA_DeleteOnClose)) {
    d_.setAttribute(Qt::WA_DeleteOnClose, false);
  }
  ~SinBorrarAlCerrar() { d_.setAttribute(Qt::WA_DeleteOnClose, borrar_); }
  SinBorrarAlCerrar(const SinBorrarAlCerrar&) = delete;
  SinBorrarAlCerrar& operator=(const SinBorrarAlCerrar&) = delete;

 private:
  QDialog& d_;
  bool borrar_;
};

// The captions of the message box's detail button, which Qt writes in English.
class TextosCaja : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* contexto, const char* fuente, const char* /*desambiguacion*/,
                    int /*n*/) const override {
    if (qstrcmp(contexto, "QMessageBox") != 0) return {};
    if (qstrcmp(fuente, "Show Details...") == 0) return QStringLiteral("Mostrar detalles...");
    if (qstrcmp(fuente, "Hide Details...") == 0) return QStringLiteral("Ocultar detalles...");
    return {};
  }
};

void instalarTextosCaja() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app->findChild<TextosCaja*>(QString(), Qt::FindDirectChildrenOnly)) return;
  QCoreApplication::installTranslator(new TextosCaja(app));
}

// What a box shows of a prompt: a few hundred characters and lines. The
// rest would make it taller than the screen, with its buttons off it.
constexpr qsizetype kLargoCaja = 600;
constexpr qsizetype kLineasCaja = 15;
// The folded area is read, not searched: a longer detail is cut there.
constexpr qsizetype kLargoDetalle = 100000;

QString cortar(const QString& texto) {
  qsizetype fin = std::min(texto.size(), kLargoCaja);
  qsizetype lineas = 0;
  for (qsizetype i = 0; i < fin; ++i)
    if (texto.at(i) == QLatin1Char('\n') && ++lineas == kLineasCaja) fin = i;
  return fin == texto.size() ? texto : texto.left(fin) + QStringLiteral("…");
}

class ProgresoQt final : public Progreso {
 public:
  explicit ProgresoQt(QString titulo) : titulo_(std::move(titulo)) {}

 protected:
  bool mostrar(const QString& texto, long hechas, long total) override {
    if (!ventana_) {
      ventana_ = std::make_unique<QProgressDialog>(ventanaPadre());
      ventana_->setObjectName(QStringLiteral("Progreso"));
      ventana_->setWindowTitle(titulo_.isEmpty() ? tituloPrograma() : titulo_);
      ventana_->setCancelButtonText(textoRespuesta(vbCancel));
      // The rest of the program waits for the job: only Cancelar takes input.
      ventana_->setWindowModality(Qt::ApplicationModal);
      ventana_->setMinimumDuration(0);
      ventana_->setAutoClose(false);
      ventana_->setAutoReset(false);
      ventana_->setMinimumWidth(380);
      ventana_->show();
    }
    ventana_->setLabelText(texto);
    if (total > 0) {
      const int maximo = int(std::min<long>(total, INT_MAX));
      ventana_->setRange(0, maximo);
      ventana_->setValue(int(std::clamp<long>(hechas, 0, maximo)));
    } else {
      ventana_->setRange(0, 0);  // a bar that only says it is working
    }
    QCoreApplication::processEvents();
    return !ventana_->wasCanceled();
  }

 private:
  QString titulo_;
  std::unique_ptr<QProgressDialog> ventana_;
};

}  // namespace

bool QtServicio::hayWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

int QtServicio::MsgBox(const QString& prompt, int botones, const QString& titulo, const QString& detalle) {
  if (!hayWidgets()) return consola_.MsgBox(prompt, botones, titulo, detalle);

  QMessageBox caja(ventanaPadre());
  caja.setObjectName(QStringLiteral("MsgBox"));
  caja.setWindowTitle(titulo.isEmpty() ? tituloPrograma() : titulo);
  // Messages carry database texts; they are never markup.
  caja.setTextFormat(Qt::PlainText);
  const QString texto = textoCaja(prompt);
  const QString visible = cortar(texto);
  caja.setText(visible);
  QString plegado = visible.size() == texto.size() ? QString() : texto;
  if (!detalle.isEmpty()) plegado += (plegado.isEmpty() ? QString() : QStringLiteral("\n\n")) + textoCaja(detalle);
  if (!plegado.isEmpty()) {
    instalarTextosCaja();
    caja.setDetailedText(plegado.size() > kLargoDetalle ? plegado.left(kLargoDetalle) + QStringLiteral("…") : plegado);
  }
  caja.setIcon(iconoQt(botones));
  if (botones & vbSystemModal) caja.setWindowFlag(Qt::WindowStaysOnTopHint);

  // One role for all keeps the platform's left-to-right order; Esc is set
  // explicitly, and with none set Qt leaves Esc and close without effect.
  std::vector<std::pair<QAbstractButton*, int>> pulsadores;
  for (const auto& b : botonesCaja(botones))
    pulsadores.emplace_back(caja.addButton(b.texto, QMessageBox::ActionRole), b.respuesta);
  caja.setDefaultButton(static_cast<QPushButton*>(pulsadores[indicePredeterminado(botones)].first));
  if (const int esc = respuestaEscape(botones)) {
    for (const auto& [boton, respuesta] : pulsadores)
      if (respuesta == esc) caja.setEscapeButton(boton);
  }

  caja.exec();
  for (const auto& [boton, respuesta] : pulsadores)
    if (caja.clickedButton() == boton) return respuesta;
  return respuestaCancelar(botones);
}

QString QtServicio::InputBox(const QString& prompt, const QString& titulo, const QString& predeterminado) {
  if (!hayWidgets()) return consola_.InputBox(prompt, titulo, predeterminado);

  QDialog dialogo(ventanaPadre());
  dialogo.setObjectName(QStringLiteral("InputBox"));
  dialogo.setWindowTitle(titulo.isEmpty() ? tituloPrograma() : titulo);

  auto* etiqueta = new QLabel(textoCaja(prompt), &dialogo);
  etiqueta->setObjectName(QStringLiteral("prompt"));
  etiqueta->setTextFormat(Qt::PlainText);
  etiqueta->setWordWrap(true);
  etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* texto = new QLineEdit(predeterminado, &dialogo);
  texto->setObjectName(QStringLiteral("texto"));
  texto->selectAll();

  auto* aceptar = new QPushButton(textoRespuesta(vbOK), &dialogo);
  aceptar->setObjectName(QStringLiteral("aceptar"));
  aceptar->setDefault(true);
  auto* cancelar = new QPushButton(textoRespuesta(vbCancel), &dialogo);
  cancelar->setObjectName(QStringLiteral("cancelar"));
  QObject::connect(aceptar, &QPushButton::clicked, &dialogo, &QDialog::accept);
  QObject::connect(cancelar, &QPushButton::clicked, &dialogo, &QDialog::reject);

  // Prompt on the left, buttons on the right, the text field across the bottom.
  auto* pulsadores = new QVBoxLayout;
  pulsadores->addWidget(aceptar);
  pulsadores->addWidget(cancelar);
  pulsadores->addStretch();
  auto* rejilla = new QGridLayout(&dialogo);
  rejilla->addWidget(etiqueta, 0, 0);
  rejilla->addLayout(pulsadores, 0, 1);
  rejilla->addWidget(texto, 1, 0, 1, 2);
  rejilla->setColumnStretch(0, 1);
  dialogo.setMinimumWidth(360);
  texto->setFocus();

  return dialogo.exec() == QDialog::Accepted ? texto->text() : QString();
}

int QtServicio::MostrarModal(QDialog& dialogo) {
  if (!hayWidgets()) return consola_.MostrarModal(dialogo);
  SinBorrarAlCerrar guarda(dialogo);
  return dialogo.exec();
}

std::unique_ptr<Progreso> QtServicio::IniciarProgreso(const QString& titulo) {
  if (!hayWidgets()) return consola_.IniciarProgreso(titulo);
  return std::make_unique<ProgresoQt>(titulo);
}

QSize QtServicio::Pantalla() const {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (const QScreen* pantalla = QGuiApplication::primaryScreen()) return pantalla->size();
  }
  return kPantallaConsola;
}

QRect QtServicio::AreaDisponible() const {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (const QScreen* pantalla = QGuiApplication::primaryScreen()) return pantalla->availableGeometry();
  }
  return Servicio::AreaDisponible();
}

void QtServicio::DoEvents() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void QtServicio::End(int codigo) { terminarProceso(codigo); }

}  // namespace ui
