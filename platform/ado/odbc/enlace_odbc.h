#pragma once
// Server databases through unixODBC.
#include <QStringList>
#include <memory>

#include "platform/ado/proveedor.h"

namespace ado::detalle {

// Connects with SQLDriverConnect and the attributes given ("Driver=...;...").
// `proveedor` is what Connection::Provider reports; the login waits at most
// `segundos` (0: the driver's own limit).
std::unique_ptr<Enlace> abrirOdbc(Errors& errores, const QString& atributos, const QString& proveedor, long segundos);

// The ODBC drivers unixODBC knows (odbcinst.ini).
QStringList controladoresOdbc();

}  // namespace ado::detalle
