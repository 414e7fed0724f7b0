#include "session/preparar_ventana.h"

#include <QIcon>
#include <QWidget>

#include "menu/rt_iconoslst.h"
#include "platform/ui/servicio.h"
#include "platform/vb/archivos.h"
#include "platform/vb/convert.h"
#include "platform/vb/manejo.h"
#include "services/sesion.h"
#include "session/traza.h"
#include "suite/archivo_ini.h"
#include "suite/estacion.h"

namespace ModGlobal {

void PrepararVentana(QWidget& form) {
  vb::Seguir seguir({traza::session(), "PrepararVentana"});
  QString icono;
  seguir([&] {
    icono = ZepaKit2::archivoIni().LeerIni(QStringLiteral("CN000pr.INI"), QStringLiteral("Iconos"),
                                           QStringLiteral("IconoDelSistema"), QStringLiteral("ICONKORVANE"));
  });
  seguir([&] { form.setWindowIcon(Rt_IconosLst::iconoRecurso(icono)); });
  seguir([&] {
    // A form without an icon of its own (Qt then reports the application's).
    if (form.testAttribute(Qt::WA_SetWindowIcon)) return;
    if (!vb::FileExists(QStringLiteral("korvane.ico"))) throw vb::Error(vb::kFileNotFound);
    const QIcon archivo(QStringLiteral("korvane.ico"));
    if (archivo.isNull()) throw vb::Error(vb::kInvalidPicture);
    form.setWindowIcon(archivo);
  });

  // The suite's MDI frame keeps its own toolbars as they are.
  if (QString::fromLatin1(form.metaObject()->className()).compare(QStringLiteral("FRMMDI"), Qt::CaseInsensitive) == 0)
    return;

  seguir([&] { ZepaKit2::estacion().AjustarBarra(&form); });
  for (const char* nombre : {"UtilQzr1", "TBarRep1", "Util0011"}) {
    seguir([&] {
      QObject* barra = form.findChild<QObject*>(QString::fromLatin1(nombre));
      if (!barra) throw vb::Error(vb::kObjectDoesNotSupport);
      // A whole-number property takes the number rounded half to even, as
      // the platform assigns one (error 6 out of range).
      barra->setProperty("StyleBar", int(vb::redondearEntero(sesion().gFlatToolbars)));
    });
  }
  seguir([&] { ui::servicio().DoEvents(); });
}

}  // namespace ModGlobal
