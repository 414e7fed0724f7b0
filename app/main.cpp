// The program's entry point: the application object and the program context;
// the main form does the rest while it loads.
#include <QApplication>
#include <QMainWindow>

#include "platform/ctx/programa.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ctx::Alcance programa;
  QMainWindow ventana;
  ventana.setWindowTitle(QStringLiteral("Reporte de Usuarios"));
  ventana.show();
  return app.exec();
}
