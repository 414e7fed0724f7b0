#pragma once
// Where a report's rows come from. The engine asks only for the columns of
// its query and for a stream of rows of a statement; the one implementation
// runs through platform/ado, so SQLite files and ODBC sources work alike.
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "engine/maquetador.h"
#include "engine/sql.h"
#include "platform/ado/connection.h"
#include "platform/vb/error.h"

namespace engine {

class FuenteDatos {
 public:
  virtual ~FuenteDatos() = default;
  virtual Dialecto dialecto() const = 0;
  // What one statement may carry on this database.
  virtual Limites limites() const = 0;
  // Names and kinds of the columns a query returns; raises kErrorConsulta
  // when the database rejects it.
  virtual std::vector<Columna> columnas(const QString& consulta) = 0;
  // Runs a statement whose "?" stand for `parametros`, in order.
  virtual std::unique_ptr<FuenteFilas> abrir(const QString& sql, const std::vector<Valor>& parametros,
                                             const std::vector<Columna>& columnas) = 0;
  // While set, called every so often as the database works on a statement;
  // when it answers false the statement is cancelled, and the call that ran
  // it raises ado::kErrorCancelada. Empty: none.
  virtual void setEspera(std::function<bool()> seguir) = 0;
};

// A run the person cancelled, however deep it was when they did.
bool esCancelacion(const vb::Error& e);

class DatosAdo : public FuenteDatos {
 public:
  explicit DatosAdo(ado::Connection conexion);
  ~DatosAdo() override;
  DatosAdo(const DatosAdo&) = delete;
  DatosAdo& operator=(const DatosAdo&) = delete;
  Dialecto dialecto() const override { return dialecto_; }
  Limites limites() const override { return limites_; }
  std::vector<Columna> columnas(const QString& consulta) override;
  std::unique_ptr<FuenteFilas> abrir(const QString& sql, const std::vector<Valor>& parametros,
                                     const std::vector<Columna>& columnas) override;
  void setEspera(std::function<bool()> seguir) override;
  const ado::Connection& conexion() const { return cn_; }

 private:
  ado::Connection cn_;
  std::function<bool()> seguir_;
  Dialecto dialecto_;
  Limites limites_;
};

// The values of a pushed selection as ado binds them to the statement's "?"
// marks; no value is ever written into the SQL text.
std::vector<vb::Variant> parametrosAdo(const std::vector<Valor>& parametros);

// A value of the ado layer as the engine holds it, coerced to the column's kind.
Valor valorDe(const vb::Variant& v, Valor::Tipo tipoColumna);
Valor::Tipo tipoDeAdo(long tipoAdo);

// True when unixODBC has a data source of that name (user or system).
bool existeOrigenOdbc(const QString& nombre);

}  // namespace engine
