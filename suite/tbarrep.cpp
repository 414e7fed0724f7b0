#include "suite/tbarrep.h"

#include <QAction>
#include <QToolButton>
#include <exception>

#include "platform/ui/servicio.h"
#include "platform/vb/error.h"
#include "suite/icono_svg.h"
#include "suite/teclado.h"
#include "suite/traza.h"

// Resources of a static library are not registered on their own.
static void registrarIconosSuite() { Q_INIT_RESOURCE(suite_iconos); }

namespace ToolsRep {

QIcon TBarRep::iconoSuite(const QString& nombre) {
  static const bool registrados = (registrarIconosSuite(), true);
  (void)registrados;
  return ZepaKit2::iconoSvg(QStringLiteral(":/suite/iconos/%1.svg").arg(nombre), {16, 24, 32, 48});
}

TBarRep::TBarRep(QWidget* parent) : QToolBar(parent) {
  setMovable(false);
  setFloatable(false);
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  setIconSize(QSize(24, 24));
  pantalla_ = agregar(kPantalla, QStringLiteral("Pantalla"), QStringLiteral("pantalla"),
                      QStringLiteral("Ver el reporte en pantalla (F5)"));
  impresora_ = agregar(kImpresora, QStringLiteral("Impresora"), QStringLiteral("impresora"),
                       QStringLiteral("Imprimir el reporte (F6)"));
  consultar_ = agregar(kConsultar, QStringLiteral("Consultar"), QStringLiteral("consultar"),
                       QStringLiteral("Consultar valores del campo (F3)"));
  addSeparator();
  cerrar_ =
      agregar(kCerrar, QStringLiteral("Cerrar"), QStringLiteral("cerrar"), QStringLiteral("Cerrar la ventana (Esc)"));
  setStyleBar(estilo_);
}

QAction* TBarRep::agregar(const QString& clave, const QString& texto, const QString& icono, const QString& ayuda) {
  QAction* a = addAction(iconoSuite(icono), texto);
  a->setObjectName(QStringLiteral("btn") + texto);
  a->setData(clave);
  a->setToolTip(ayuda);
  a->setStatusTip(ayuda);
  if (QWidget* b = widgetForAction(a)) b->setObjectName(QStringLiteral("btn") + texto);
  connect(a, &QAction::triggered, this, [this, clave] {
    // A click comes from the event loop: no error may go past this point.
    try {
      pulsar(clave);
    } catch (const vb::Error& e) {
      vb::registrar({traza::suite(), "TBarRep_ButtonClick"}, e, u"se avisa");
      ui::servicio().MsgBox(e.Description(), ui::vbCritical);
    } catch (const ui::FinPrograma&) {
      // The program ended inside the handler: nothing more to run or report.
    } catch (const std::exception& e) {
      ui::servicio().MsgBox(QString::fromLocal8Bit(e.what()), ui::vbCritical);
    } catch (...) {
      ui::servicio().MsgBox(vb::descripcionError(vb::kAutomationError), ui::vbCritical);
    }
  });
  return a;
}

void TBarRep::pulsar(const QString& clave) { emit BotonPulsado(clave); }

bool TBarRep::HabilitaConsulta() const { return consultar_->isEnabled(); }

void TBarRep::setHabilitaConsulta(bool habilitada) { consultar_->setEnabled(habilitada); }

void TBarRep::setStyleBar(int estilo) {
  estilo_ = estilo;
  for (QAction* a : actions())
    if (auto* b = qobject_cast<QToolButton*>(widgetForAction(a))) b->setAutoRaise(estilo == 0);
}

void TBarRep::TeclaPulsada(int codigo) {
  QAction* a = nullptr;
  switch (codigo) {
    case ZepaKit2::vbKeyF5: a = pantalla_; break;
    case ZepaKit2::vbKeyF6: a = impresora_; break;
    case ZepaKit2::vbKeyF3: a = consultar_; break;
    case ZepaKit2::vbKeyEscape: a = cerrar_; break;
    default: return;
  }
  // Called from the form's own code, so errors go back to it.
  if (a->isEnabled()) pulsar(a->data().toString());
}

QAction* TBarRep::accion(const QString& clave) const {
  for (QAction* a : actions())
    if (!a->isSeparator() && a->data().toString().compare(clave, Qt::CaseInsensitive) == 0) return a;
  return nullptr;
}

QToolButton* TBarRep::boton(const QString& clave) const {
  QAction* a = accion(clave);
  return a ? qobject_cast<QToolButton*>(widgetForAction(a)) : nullptr;
}

}  // namespace ToolsRep
