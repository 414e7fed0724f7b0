#include "report/unidades_negocio.h"

#include <QListWidget>

#include "data/db_dll.h"
#include "platform/vb/convert.h"
#include "platform/vb/manejo.h"
#include "report/traza.h"
#include "suite/util_general.h"

namespace rp_usuarios {

void CargarUnidadesNegocio(QListWidget& lista) {
  const auto& u = ZepaKit2::util();
  DB_Dll& d = db();
  vb::Seguir seguir({traza::report(), "CargarUnidadesNegocio"});
  ado::Recordset rs;
  const bool abierto = seguir([&] {
    d.AbrirRecordset(QStringLiteral("SELECT * FROM V_TA_UNIDADNEGOCIO ORDER BY CODIGO"), rs, nullptr, 0, 1, -1, true);
  });
  bool hayFilas = false;
  if (abierto) seguir([&] { hayFilas = rs.State() != ado::adStateClosed && !rs.EOF(); });
  while (hayFilas) {
    // One statement: an entry that cannot be built adds nothing.
    seguir([&] {
      const QString entrada = u.FormatoAncho(vb::CStr(rs.Fields("Codigo").Value()), 4) + QStringLiteral(" - ") +
                              u.ValorCampo(rs.Fields("Descripcion"));
      lista.addItem(entrada);
    });
    // A cursor that cannot move on would read the same row for ever.
    if (!seguir([&] {
          rs.MoveNext();
          hayFilas = !rs.EOF();
        }))
      break;
  }
  seguir([&] { d.CierraRecordset(rs); });
}

}  // namespace rp_usuarios
