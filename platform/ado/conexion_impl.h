#pragma once
// What a Connection shares with its copies and its recordsets.
#include <functional>
#include <memory>
#include <vector>

#include "platform/ado/proveedor.h"

namespace ado::detalle {

class RecordsetImpl;

struct ConexionImpl {
  Errors errores;
  std::unique_ptr<Enlace> enlace;
  QString cadena;
  long tiempoComando = 30;
  long tiempoConexion = 15;
  long aislamiento = adXactReadCommitted;
  long ubicacion = adUseServer;
  QString baseDatos;  // asked for while closed; applied at Open
  int nivelTransaccion = 0;
  std::function<void()> espera;            // Connection::setEnEspera; given to each session opened
  std::vector<RecordsetImpl*> recordsets;  // open on this connection

  // The open session; error 3709 when closed (for a recordset) or 3704 (for the connection).
  Enlace& abierta(bool paraRecordset = false);
  ~ConexionImpl();
};

// Opens the session the connection string asks for.
std::unique_ptr<Enlace> abrirEnlace(ConexionImpl& cn, const QString& cadena, const QString& usuario,
                                    const QString& clave);

}  // namespace ado::detalle
