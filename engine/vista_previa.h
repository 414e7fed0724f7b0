#pragma once
// The screen destination: a preview window over a report being laid out.
// The first page shows at once; later pages are laid out in the background
// of the event loop, a slice at a time, while the user reads. It offers page
// navigation, zoom, printing and export to PDF or a spreadsheet (as the
// request's switches allow). It is a plain QDialog, so tests build it offscreen.
#include <QDialog>
#include <memory>

#include "engine/motor.h"
#include "platform/vb/error.h"

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
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
  const Documento& documento() const;
  // Device pixels per decipoint at the current zoom.
  double escala() const;
  // 0 fits the page width; else percent.
  void setZoom(int porcentaje);
  void irA(int pagina);

  // Finish laying out (with the progress window) and write / print. False when cancelled.
  bool exportarPdf(const QString& ruta);
  // Destino::Pdf, Xlsx or Csv.
  bool exportar(const QString& ruta, Destino formato);
  bool imprimir(QPrinter& impresora);

 private:
  void maquetarTramo();
  void detener();
  void actualizar();
  void alPulsarImprimir();
  void alPulsarExportar();
  bool completarConAvance();
  void mostrarError(const vb::Error& e);

  std::unique_ptr<ReportePreparado> reporte_;
  SolicitudReporte opciones_;
  int actual_ = 1;
  int zoom_ = 0;
  HojaVista* hoja_ = nullptr;
  QScrollArea* area_ = nullptr;
  QLabel* etiqueta_ = nullptr;
  QLabel* estado_ = nullptr;
  QComboBox* cboZoom_ = nullptr;
  QPushButton *primera_ = nullptr, *anterior_ = nullptr, *siguiente_ = nullptr, *ultima_ = nullptr;
  QPushButton *imprimir_ = nullptr, *exportar_ = nullptr, *detener_ = nullptr;
  QTimer* temporizador_ = nullptr;
  bool fallo_ = false;

  friend class HojaVista;
};

}  // namespace engine
