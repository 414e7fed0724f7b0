// The program's entry point: the application object and the program context,
// then the users report window with its report toolbar.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "app/suite/tbarrep.h"
#include "platform/ctx/programa.h"
#include "platform/vb/error.h"

namespace {

// With no screen nobody could close the window: show it once, keep a picture
// of it and leave.
bool sinPantalla() {
  return QGuiApplication::platformName() == QLatin1String("offscreen") ||
         QGuiApplication::platformName() == QLatin1String("minimal");
}

int captura(QWidget& ventana) {
  QApplication::processEvents();
  const QString ruta = QDir::temp().filePath(QStringLiteral("rp_usuarios-%1.png").arg(QCoreApplication::applicationPid()));
  if (!ventana.grab().save(ruta, "PNG")) {
    std::fprintf(stderr, "No se pudo guardar la imagen de la ventana en %s\n", qPrintable(ruta));
    return 1;
  }
  std::printf("Sin pantalla: imagen de la ventana en %s\n", qPrintable(ruta));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Rp_Usuarios"));
  ctx::Alcance programa;
  try {
    QMainWindow ventana;
    ventana.setObjectName(QStringLiteral("frmRp_Usuarios"));
    ventana.setWindowTitle(QStringLiteral("Reporte de Usuarios"));
    auto* barra = new ToolsRep::TBarRep(&ventana);
    barra->setObjectName(QStringLiteral("TBarRep1"));
    barra->setHabilitaConsulta(false);
    ventana.addToolBar(barra);
    auto* aviso = new QLabel(QStringLiteral("Reporte de Usuarios"), &ventana);
    aviso->setAlignment(Qt::AlignCenter);
    ventana.setCentralWidget(aviso);
    ventana.resize(640, 420);
    QObject::connect(barra, &ToolsRep::TBarRep::BotonPulsado, &ventana, [&ventana](const QString& clave) {
      if (clave.compare(ToolsRep::TBarRep::kCerrar, Qt::CaseInsensitive) == 0) ventana.close();
    });
    ventana.show();
    if (sinPantalla()) return captura(ventana);
    return app.exec();
  } catch (const vb::Error& e) {
    std::fprintf(stderr, "Error %ld: %s\n", e.Number(), qPrintable(e.Description()));
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
