#pragma once
// Journeys: the built program in a real X server, used as a person uses it.
// Each journey starts an Xvfb of its own, of the size it asks for, with no
// window manager (as in CI), runs rp_usuarios on it on the xcb platform,
// waits for windows by title, sends keys and clicks through the X server
// (xdotool) and grabs windows as PNG files (ImageMagick's import) under
// build/<kind>/journeys/<suite>.<test>/ for review.
//
//   recorrido::PantallaX pantalla({1024, 768});
//   recorrido::Programa p(pantalla, {prueba::kParametrosDemo, "--consulta", "TA_USUARIOS"}, empresa);
//   auto v = p.esperarVentana("Consulta...");
//   p.captura(*v, "abierta");
//   p.teclas(*v, "Escape");
//   EXPECT_EQ(p.esperarFin(), 1);
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace prueba {
class EmpresaDemo;
}

namespace recorrido {

// A window on the screen: its X id and where it lies.
struct Ventana {
  QString id;
  QRect geometria;
};

// An Xvfb of its own, on a free display number; stopped at the end.
class PantallaX {
 public:
  explicit PantallaX(QSize tamano);  // a failure to start fails the test
  ~PantallaX();
  PantallaX(const PantallaX&) = delete;
  PantallaX& operator=(const PantallaX&) = delete;

  bool lista() const { return !display_.isEmpty(); }
  QString display() const { return display_; }  // ":N"
  QRect rect() const { return QRect(QPoint(0, 0), tamano_); }
  // The whole screen, as a window to grab.
  Ventana raiz() const { return {QStringLiteral("root"), rect()}; }
  // Runs an X tool on this display; its standard output, or nullopt when it
  // failed or took longer than `espera` milliseconds.
  std::optional<QString> correr(const QString& programa, const QStringList& argumentos, int espera = 10000) const;

 private:
  QSize tamano_;
  QProcess xvfb_;
  QString display_;
};

// The built program on a display, ended (killed if need be) at the end.
class Programa {
 public:
  // With `empresa`, the program reads the demo company's settings folder.
  Programa(const PantallaX& pantalla, const QStringList& argumentos, const prueba::EmpresaDemo* empresa = nullptr);
  ~Programa();
  Programa(const Programa&) = delete;
  Programa& operator=(const Programa&) = delete;

  // The visible window titled `titulo`, once it has stopped moving; nullopt
  // (the test failed) when none shows within `espera` milliseconds.
  std::optional<Ventana> esperarVentana(const QString& titulo, int espera = 20000);
  // Whether a visible window titled `titulo` is on the screen now.
  bool hayVentana(const QString& titulo) const;
  // Gives `v` the keyboard focus and types keys as xdotool names them
  // ("Escape", "Return", "ctrl+s", "Next"), one after the other.
  bool teclas(const Ventana& v, const QString& teclas);
  // Gives `v` the focus and types a text.
  bool escribir(const Ventana& v, const QString& texto);
  // A left click at a point of the window.
  bool clic(const Ventana& v, QPoint punto);
  // The window as it is on the screen, also saved as `nombre`.png in
  // carpetaCapturas(); a null image (the test failed) when it cannot.
  QImage captura(const Ventana& v, const QString& nombre);
  // The exit status once the program ends; nullopt (the test failed) when
  // it crashed or was still running after `espera` milliseconds.
  std::optional<int> esperarFin(int espera = 20000);
  QString salida() const { return salida_; }
  QString errores() const { return errores_; }

 private:
  std::optional<Ventana> buscar(const QString& titulo) const;
  const PantallaX& pantalla_;
  QProcess proceso_;
  QString salida_, errores_;
};

// Where the current test's screenshots go: journeys/<suite>.<test>/ under the
// build folder, emptied when the test starts.
QString carpetaCapturas();

}  // namespace recorrido
