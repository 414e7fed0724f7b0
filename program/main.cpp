// The program's entry point. The users report form is the start-up object:
// it is loaded, shown and left to the user. With the batch options (or where
// there is no screen) the same form runs offscreen and the run ends with the
// report written (report/lote_programa.h).
#include <QApplication>
#include <cstdio>

#include "lookup/lib_clscons3.h"
#include "platform/ctx/programa.h"
#include "platform/ui/estilo_diferido.h"
#include "platform/ui/servicio.h"
#include "platform/ui/traducciones.h"
#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/manejo.h"
#include "platform/vb/traza.h"
#include "report/frmrp_usuarios.h"
#include "report/lote_opciones.h"
#include "report/lote_programa.h"
#include "report/motor_programa.h"

namespace {

QStringList argumentos(int argc, char** argv) {
  QStringList r;
  for (int i = 1; i < argc; ++i) r << QString::fromLocal8Bit(argv[i]);
  return r;
}

// No screen to put a window on: told so, or nothing to connect to.
bool sinPantalla() {
  const QByteArray plataforma = qgetenv("QT_QPA_PLATFORM");
  if (plataforma.startsWith("offscreen") || plataforma.startsWith("minimal")) return true;
  return plataforma.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY") &&
         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Set by the start-up benchmark: the program says "listo" and leaves as soon
// as the form is up, by the same path a person's start takes.
bool medirArranque() { return qEnvironmentVariableIsSet("RP_USUARIOS_LISTO"); }

void informarError(const vb::Error& e) {
  const QString descripcion = e.Description().isEmpty() ? vb::descripcionError(e.Number()) : e.Description();
  ui::servicio().MsgBox(
      QStringLiteral("Se ha producido el error '%1' en tiempo de ejecución:\n\n%2").arg(e.Number()).arg(descripcion),
      ui::vbCritical, ui::tituloPrograma());
}

int opcionesMalEscritas(const QString& error) {
  std::fprintf(stderr, "%s\nrp_usuarios --help muestra las opciones.\n", error.toLocal8Bit().constData());
  return lote::kOpciones;
}

}  // namespace

int main(int argc, char** argv) {
  vb::fijarZonaHoraria();
  // Read before Qt takes its own arguments out, for what decides how the
  // program starts; what is left is checked again once Qt has taken them.
  const lote::Opciones previas = lote::leerOpciones(argumentos(argc, argv), lote::Lectura::AntesDeQt);
  if (previas.ayuda) {
    std::fputs(lote::textoAyuda().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (!previas.error.isEmpty()) return opcionesMalEscritas(previas.error);
  if (!previas.registro.isEmpty()) {
    if (const auto fallo = vb::intentar([&] { vb::trazaEnArchivo(previas.registro); })) {
      std::fprintf(stderr, "No se puede escribir el registro en %s: %s\n", previas.registro.toLocal8Bit().constData(),
                   fallo->Description().toLocal8Bit().constData());
      return lote::kOpciones;
    }
  }
  if (!previas.consulta.isEmpty() && sinPantalla()) {
    // The lookup waits for a person's choice; with no screen it would wait forever.
    std::fputs("--consulta necesita una pantalla: la elección la hace una persona.\n", stderr);
    return lote::kOpciones;
  }
  const bool porLote = previas.lote || (sinPantalla() && !medirArranque() && previas.consulta.isEmpty());
  // The batch mode never needs a screen, whatever the environment offers.
  if (porLote || (sinPantalla() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")))
    qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication aplicacion(argc, argv);
  // The program's instances (the access dialog among them) hold widgets: they
  // go before the application does, whichever way main returns, and not with
  // the context's static at exit, when there is no application left.
  struct Vaciado {
    ~Vaciado() { ctx::actual().vaciar(); }
  } vaciado;
  QApplication::setStyle(new ui::EstiloDiferido);
  QApplication::setApplicationName(QStringLiteral("Rp_Usuarios"));
  ui::instalarTraducciones();
  // Qt has taken its own arguments out by now: what is left is ours alone.
  const lote::Opciones o = lote::leerOpciones(QApplication::arguments().mid(1));
  if (!o.error.isEmpty()) return opcionesMalEscritas(o.error);
  if (porLote) return lote::ejecutar(o);

  ctx::actual().setArgumentos(o.resto);
  rp_usuarios::conectarMotorReportes();
  frmRp_Usuarios form;
  try {
    form.Form_Load();
    if (!o.consulta.isEmpty()) return ejecutarConsultaLinea(o.consulta);
  } catch (const vb::Error& e) {
    informarError(e);
    return 1;
  }
  form.show();
  if (medirArranque()) {
    QApplication::processEvents();
    std::puts("rp_usuarios: listo");
    std::fflush(stdout);
    return 0;
  }
  return QApplication::exec();
}
