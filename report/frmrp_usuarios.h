#pragma once
// The users report form: the user-name range, the business units, the menu
// tasks and the grouping, and the report toolbar that asks for the report.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "menu/arbol.h"
#include "report/solicitud_usuarios.h"

class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;

namespace ToolsRep {
class TBarRep;
}

class frmRp_Usuarios : public QWidget {
  Q_OBJECT
 public:
  // A top-level window, objectName "frmRp_Usuarios", caption "Reporte de
  // Usuarios". Builds the controls only; no database work.
  explicit frmRp_Usuarios(QWidget* parent = nullptr);
  ~frmRp_Usuarios() override;

  // The form's load: session start-up with the program's command line, the
  // suite's form preparation and look, the business units, the icons and the
  // menu tree, tab 0 in front. Errors propagate (vb::Error; ui::FinPrograma
  // where the program ends).
  void Form_Load();
  // The form's unload: CerrarForm, hide, program end.
  void Form_Unload();

  // The toolbar's button event. True when the key was handled without
  // failure (for the screen/printer keys: the request reached the launcher
  // and the launcher returned normally); false when the request could not be
  // made or failed, its message already shown, the form left as it was.
  bool TBarRep1_BotonPulsado(const QString& clave);
  // Builds and sends the report request; throws on failure (a refused
  // user-name range as rp_usuarios::RangoInvalido).
  void GenerarReporte();

  // The controls, by their form names.
  QLineEdit* txtfields(int indice) const;  // 14 "UsuarioDesde", 15 "UsuarioHasta"
  QListWidget* LstUNeg() const;            // entries "CODE - Descripcion"
  Arbol* TreeView1() const;
  QRadioButton* OptTipoReporte(int indice) const;  // 0, 1, 2
  QTabWidget* SSTab1() const;
  ToolsRep::TBarRep* TBarRep1() const;

  // The choices on the form as the request reads them.
  rp_usuarios::Eleccion eleccion() const;
  // The user-name field that last had the focus or was clicked.
  std::int16_t IndiceActual() const;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  // The form's controls: the widgets are Qt children of the form, which
  // deletes them; this holds pointers to them and owns the image lists.
  struct Controles;
  std::unique_ptr<Controles> c_;

  void CargarUnidadesNegocio();
  void SeleccionarUnidades(bool seleccionar);
  void ConsultarCampo();
  void TreeView1_NodeCheck(Nodo* nodo);
  void OptTipoReporte_Click(int indice);
  void txtfields_GotFocus(int indice);
  void txtfields_LostFocus(int indice);
  void txtfields_KeyDown(int indice, int& codigo, int shift);
  void txtfields_KeyPress(int indice, int& codigo);
  void txtfields_MouseDown(int indice, int boton);
  // A message box for a request that could not be made; its answer, 0 when it could not be shown.
  int mostrarFallo(const QString& mensaje, int icono, const QString& detalle = {});
};
