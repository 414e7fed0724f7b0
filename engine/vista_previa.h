#pragma once
// The screen destination: a preview window over a report being laid out.
// The first page shows at once; later pages are found in the background of
// the event loop, a slice at a time, while the user reads, and each is
// composed when it is painted. It offers page navigation (buttons, a page
// box, PgUp/PgDn and the wheel past the page's end, Home/End), zoom (Ctrl
// with the wheel or +/-), finding a text on the pages laid out (Ctrl+F),
// printing (Ctrl+P) and export to PDF or a spreadsheet (Ctrl+S), as the
// request's switches allow;
// finishing the layout for those, and sending the pages, shows the UI
// service's progress window. It is a plain QDialog, so tests build it
// offscreen.
#include <QDialog>
#include <memory>

#include "engine/motor.h"
#include "platform/vb/error.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QTimer;

namespace engine {

class HojaVista;

class VistaPrevia : public QDialog {
  Q_OBJECT
 public:
  VistaPrevia(std::unique_ptr<ReportePreparado> reporte, const SolicitudReporte& opciones, QWidget* padre = nullptr);
  ~VistaPrevia() override;

  int paginaActual() const { return actual_; }  // 1-based
  int paginasMaquetadas() const;
  bool completo() const;
  bool detenido() const { return detenido_; }  // "Detener", or a cancelled finish: never printed half made
  const Documento& documento() const;
  // Device pixels per decipoint at the current zoom.
  double escala() const;
  // kZoomAncho fits the page width, kZoomPagina the whole page; else percent.
  void setZoom(int porcentaje);
  int zoom() const { return zoom_; }
  void irA(int pagina);
  // Goes to the next (or previous) occurrence of `texto` on the pages laid
  // out, from the one shown, around the end; false when there is none.
  bool buscar(const QString& texto, bool adelante = true);

  // Finish laying out and write / print, with the progress window. False
  // when cancelled. The printer's page range, current page and copies hold.
  bool exportarPdf(const QString& ruta);
  // Destino::Pdf, Xlsx or Csv.
  bool exportar(const QString& ruta, Destino formato);
  bool imprimir(QPrinter& impresora);

 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override;

 private:
  void maquetarTramo();
  void irAUltima();
  void irAPagina(int pagina);
  void avanzar(int sentido);
  void elegirZoom(int zoom);
  void cambiarZoom(int sentido);
  void detener();
  void actualizar();
  void alPulsarImprimir();
  void alPulsarExportar();
  bool completarConAvance(const Avance& avance);
  void mostrarError(const vb::Error& e);

  std::unique_ptr<ReportePreparado> reporte_;
  SolicitudReporte opciones_;
  int actual_ = 1;
  int zoom_ = 0;
  HojaVista* hoja_ = nullptr;
  QScrollArea* area_ = nullptr;
  QLineEdit* pagina_ = nullptr;
  QLabel* etiqueta_ = nullptr;
  QLabel* estado_ = nullptr;
  QComboBox* cboZoom_ = nullptr;
  QLineEdit* buscado_ = nullptr;
  QAction *primera_ = nullptr, *anterior_ = nullptr, *siguiente_ = nullptr, *ultima_ = nullptr;
  QAction *imprimir_ = nullptr, *exportar_ = nullptr, *detener_ = nullptr;
  QTimer* temporizador_ = nullptr;
  // The occurrence found last: its page (1-based) and place among the page's.
  QString textoBuscado_;
  int paginaHallada_ = 0;
  int hallazgo_ = -1;
  bool fallo_ = false;
  bool detenido_ = false;

  friend class HojaVista;
};

}  // namespace engine
