#pragma once
// The business units of the users report form: one entry per unit of
// V_TA_UNIDADNEGOCIO, "CODE - Descripcion", the code in exactly four
// characters so that the request reads it back from the entry's start.
class QListWidget;

namespace rp_usuarios {

// Appends the units, by code, to the list. A unit whose entry cannot be
// built (a Null code) is left out and the next one read; a query that fails
// leaves the list as it was.
void CargarUnidadesNegocio(QListWidget& lista);

}  // namespace rp_usuarios
