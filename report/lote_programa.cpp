#include "report/lote_programa.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <optional>

#include "platform/ctx/programa.h"
#include "platform/vb/archivos.h"
#include "platform/vb/error.h"
#include "platform/vb/manejo.h"
#include "report/frmrp_usuarios.h"
#include "report/motor_programa.h"

namespace lote {

namespace {

const QString kAviso = QStringLiteral("Aviso al Operador");

void escribir(std::ostream& salida, const QString& linea) {
  salida << (linea + QLatin1Char('\n')).toStdString();
  salida.flush();
}

// The run-time error as the program reports one it cannot go on after.
void informarError(const vb::Error& e) {
  const QString descripcion = e.Description().isEmpty() ? vb::descripcionError(e.Number()) : e.Description();
  const int respuesta = ui::servicio().MsgBox(
      QStringLiteral("Se ha producido el error '%1' en tiempo de ejecución: %2").arg(e.Number()).arg(descripcion),
      ui::vbCritical, ui::tituloPrograma(), e.Detalle());
  rp_usuarios::anotarFallo(e, "ejecutar", respuesta);
}

int fallar(const QString& texto) {
  ui::servicio().MsgBox(texto, ui::vbCritical, kAviso);
  return kFallo;
}

// The entry of the business unit with that code (the entry's first four
// characters, blanks and letter case aside); -1 when there is none.
int entradaUnidad(const QListWidget& lista, const QString& codigo) {
  for (int i = 0; i < lista.count(); ++i)
    if (lista.item(i)->text().left(4).trimmed().compare(codigo.trimmed(), Qt::CaseInsensitive) == 0) return i;
  return -1;
}

Nodo* nodoTarea(Arbol& arbol, const QString& clave) {
  if (arbol.Nodes().contiene(clave)) return &arbol.Nodes()(clave);
  for (int i = 1; i <= arbol.Nodes().Count(); ++i)
    if (arbol.Nodes()(i).Key().compare(clave, Qt::CaseInsensitive) == 0) return &arbol.Nodes()(i);
  return nullptr;
}

// The choices of the command line, made on the loaded form as the user
// would make them. Returns kHecho or the status of the failure, its message
// shown.
int elegir(frmRp_Usuarios& f, const Opciones& o) {
  // A name the field cannot take whole is refused, not cut to its length.
  auto poner = [](const std::optional<QString>& valor, QLineEdit* campo, const char* opcion) {
    if (!valor) return true;
    if (valor->size() > campo->maxLength()) {
      ui::servicio().MsgBox(QStringLiteral("%1 admite hasta %2 caracteres; \"%3\" tiene %4")
                                .arg(QLatin1String(opcion))
                                .arg(campo->maxLength())
                                .arg(*valor)
                                .arg(valor->size()),
                            ui::vbCritical, kAviso);
      return false;
    }
    campo->setText(*valor);
    return true;
  };
  if (!poner(o.desde, f.txtfields(14), "--desde") || !poner(o.hasta, f.txtfields(15), "--hasta")) return kOpciones;
  QListWidget& lista = *f.LstUNeg();
  for (const QString& codigo : o.unidades) {
    const int i = entradaUnidad(lista, codigo);
    if (i < 0) return fallar(QStringLiteral("No existe la unidad de negocio %1").arg(codigo));
    lista.item(i)->setSelected(true);
  }
  if (o.agrupar) f.OptTipoReporte(*o.agrupar)->click();
  Arbol& arbol = *f.TreeView1();
  for (const QString& clave : o.tareas) {
    Nodo* n = nodoTarea(arbol, clave);
    if (!n) return fallar(QStringLiteral("No existe la tarea del menú %1").arg(clave));
    // Through the check box, as a click does: the form's own handler then
    // ticks the node's direct children.
    arbol.model()->setData(arbol.indice(*n), Qt::Checked, Qt::CheckStateRole);
  }
  return kHecho;
}

}  // namespace

void MotorSolicitud::Emitir(ZepaKit2::SolicitudReporte& s) {
  ++solicitudes_;
  escribir(salida_, QStringLiteral("Reporte: ") + s.archivoReporte);
  escribir(salida_, QStringLiteral("Formula: ") + s.formulaSeleccion);
  for (size_t i = 0; i < s.formulas.size(); ++i)
    escribir(salida_, QStringLiteral("Parametro%1: ").arg(i + 1) + s.formulas[i]);
}

int ejecutar(const Opciones& o, std::ostream& salida, std::ostream& avisos) {
  ctx::Programa& programa = ctx::actual();
  programa.instalar<ui::Servicio>(std::make_unique<ServicioLote>(avisos));
  programa.setArgumentos(o.resto);

  const Destino destino = o.destino.value_or(Destino::Pdf);
  if (destino == Destino::Pantalla && !o.solicitud) {
    ui::servicio().MsgBox(QStringLiteral("Sin ventana nadie puede mirar el reporte en pantalla: use "
                                         "--destino=pdf:ARCHIVO o --destino=impresora"),
                          ui::vbCritical, kAviso);
    return kOpciones;
  }
  ZepaKit2::Lanzador& lanzador = ZepaKit2::lanzador();
  std::shared_ptr<MotorSolicitud> porSolicitud;
  std::shared_ptr<rp_usuarios::MotorPrograma> motor;
  if (o.solicitud) {
    porSolicitud = std::make_shared<MotorSolicitud>(salida);
    lanzador.setMotor(porSolicitud);
  } else {
    motor = std::make_shared<rp_usuarios::MotorPrograma>();
    lanzador.setMotor(motor);
  }

  frmRp_Usuarios form;
  try {
    form.Form_Load();
    if (const int r = elegir(form, o); r != kHecho) return r;
    if (o.solicitud) {
      form.GenerarReporte();
      if (porSolicitud->solicitudes() == 0) return fallar(QStringLiteral("El formulario no armó ninguna solicitud"));
      return kHecho;
    }
    if (destino == Destino::Impresora) {
      // The form's own printer button.
      if (!form.TBarRep1_BotonPulsado(QStringLiteral("IMPRESORA"))) return kFallo;
      if (motor->Cancelado())
        return fallar(QStringLiteral("El reporte no se imprimió: no hay una impresora predeterminada"));
      escribir(salida, QStringLiteral("Reporte enviado a la impresora"));
      return kHecho;
    }
    // The default file is made new, where nobody else can write; it goes
    // again when the run does not fill it.
    QString pdf = o.archivoPdf;
    std::optional<vb::ArchivoPropio> porOmision;
    if (pdf.isEmpty()) {
      if (const auto fallo =
              vb::intentar([&] { porOmision.emplace(QStringLiteral("Reporte de Usuarios-"), QStringLiteral(".pdf")); }))
        return fallar(QStringLiteral("No se puede crear el archivo del reporte: %1").arg(fallo->Description()));
      pdf = porOmision->ruta();
    }
    lanzador.setDestino(ZepaKit2::Lanzador::DestinoArchivo());
    lanzador.setArchivoDestino(pdf);
    if (destino == Destino::Xlsx) motor->setFormatoArchivo(engine::Destino::Xlsx);
    if (destino == Destino::Csv) motor->setFormatoArchivo(engine::Destino::Csv);
    form.GenerarReporte();
    if (motor->Cancelado() || QFileInfo(pdf).size() == 0)
      return fallar(QStringLiteral("No se escribió el reporte %1").arg(pdf));
    if (porOmision) porOmision->conservar();
    escribir(salida, QStringLiteral("Reporte escrito en ") + pdf);
    return kHecho;
  } catch (const ui::FinPrograma& fin) {
    // The program ended inside the form (no connection, no menu): in a batch
    // run that means nothing was produced.
    return fin.codigo != 0 ? fin.codigo : kFallo;
  } catch (const vb::Error& e) {
    informarError(e);
    return kFallo;
  }
}

}  // namespace lote
