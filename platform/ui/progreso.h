#pragma once
// The progress window of a long job, as every UI service shows it: nothing
// for the first half second, so a short job shows nothing at all; then a
// window with a text, a bar when the total is known, and Cancelar. The job
// calls avanzar() as often as it likes (each page, or from a database's
// wait): the window changes, and window events are processed, only every
// few hundredths of a second.
#include <QElapsedTimer>
#include <QString>

namespace ui {

class Progreso {
 public:
  static constexpr qint64 kDemoraMs = 500;
  static constexpr qint64 kIntervaloMs = 40;

  Progreso() { reloj_.start(); }
  virtual ~Progreso() = default;  // the window, if shown, closes
  Progreso(const Progreso&) = delete;
  Progreso& operator=(const Progreso&) = delete;

  // How far the job is: `hechas` of `total` (total <= 0: not known). False
  // once the person cancelled, and from then on.
  bool avanzar(const QString& texto, long hechas = 0, long total = 0);
  bool cancelado() const { return cancelado_; }

 protected:
  // Shows the window (the first call, once the job has lasted kDemoraMs) or
  // changes what it shows, and processes window events; false: cancelled.
  virtual bool mostrar(const QString& texto, long hechas, long total) = 0;

 private:
  QElapsedTimer reloj_;
  qint64 ultima_ = 0;
  bool cancelado_ = false;
};

// A progress window nobody sees: batch runs, programs without widgets.
class ProgresoMudo final : public Progreso {
 protected:
  bool mostrar(const QString&, long, long) override { return true; }
};

}  // namespace ui
