#pragma once
// The report toolbar: "Pantalla", "Impresora", "Consultar" and "Cerrar".
// A click, or its key passed to TeclaPulsada, raises BotonPulsado with the
// button's key text. Keys: F5 Pantalla, F6 Impresora, F3 Consultar, Esc
// Cerrar; the toolbar installs no shortcuts of its own, so the keys act
// where the form passes them on (its user-name fields).
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QToolBar>

class QAction;
class QToolButton;

namespace ToolsRep {

class TBarRep : public QToolBar {
  Q_OBJECT
  Q_PROPERTY(bool HabilitaConsulta READ HabilitaConsulta WRITE setHabilitaConsulta)
  Q_PROPERTY(int StyleBar READ StyleBar WRITE setStyleBar)

 public:
  static inline const QString kPantalla = QStringLiteral("PANTALLA");
  static inline const QString kImpresora = QStringLiteral("IMPRESORA");
  static inline const QString kConsultar = QStringLiteral("CONSULTAR");
  static inline const QString kCerrar = QStringLiteral("CERRAR");

  explicit TBarRep(QWidget* parent = nullptr);

  // Whether the "Consultar" button can be pressed (by click or key).
  bool HabilitaConsulta() const;
  void setHabilitaConsulta(bool habilitada);

  // 0: flat buttons that rise under the mouse; any other number (1): raised
  // buttons, the workstation's default.
  int StyleBar() const { return estilo_; }
  void setStyleBar(int estilo);

  // A key code (vbKeyF5, ...) pressed in a field of the form; a button's key
  // acts as a click on it, when the button is enabled. Other codes do nothing.
  void TeclaPulsada(int codigo);

  // The button and the action of a key text ("PANTALLA", ...); nullptr for
  // another text.
  QAction* accion(const QString& clave) const;
  QToolButton* boton(const QString& clave) const;
  static QStringList claves() { return {kPantalla, kImpresora, kConsultar, kCerrar}; }

  // An icon of the suite's resources, drawn from its SVG file
  // (":/suite/iconos/<nombre>.svg"); a null icon when there is none.
  static QIcon iconoSuite(const QString& nombre);

 signals:
  void BotonPulsado(const QString& clave);

 private:
  QAction* agregar(const QString& clave, const QString& texto, const QString& icono, const QString& ayuda);
  void pulsar(const QString& clave);

  QAction* pantalla_ = nullptr;
  QAction* impresora_ = nullptr;
  QAction* consultar_ = nullptr;
  QAction* cerrar_ = nullptr;
  int estilo_ = 1;
};

}  // namespace ToolsRep
