#pragma once
// The working of a Recordset. Fields read their values through it.
#include <memory>
#include <vector>

#include "platform/ado/conexion_impl.h"
#include "platform/ado/field.h"

namespace ado::detalle {

class RecordsetImpl {
 public:
  ~RecordsetImpl();

  struct Fila {
    std::vector<vb::Variant> valores;
    std::vector<vb::Variant> originales;  // as stored, for the optimistic check
    std::vector<char> conocidos;          // originales[i] is known
  };

  void abrir(const QString& origen, std::shared_ptr<ConexionImpl> cn, long cursor, long bloqueo, long opciones,
             long ubicacion, std::vector<vb::Variant> parametros = {});
  void abrirFilas(std::shared_ptr<ConexionImpl> cn, std::vector<Columna> columnas, std::vector<Fila> filas);
  void cerrar();
  // The connection is closing: a streaming cursor closes with it, rows already read stay.
  void alCerrarConexion();

  vb::Variant valor(long i) const {
    if (flujo_) {
      if (!hayFila_) sinFila();
      return cursor_->valor(static_cast<int>(i));
    }
    if (modo_ == 2) return cambiados_[static_cast<size_t>(i)] ? nuevos_[static_cast<size_t>(i)] : vb::Variant::Null();
    if (pos_ < 0 || pos_ >= cantidad()) sinFila();
    if (modo_ == 1 && cambiados_[static_cast<size_t>(i)]) return nuevos_[static_cast<size_t>(i)];
    return filas_[static_cast<size_t>(pos_)].valores[static_cast<size_t>(i)];
  }
  // valor(i).toText() into destino, in the memory it already has where the cursor can.
  void texto(long i, QString& destino) const {
    if (flujo_ && hayFila_ && cursor_->texto(static_cast<int>(i), destino)) return;
    destino = valor(i).toText();
  }
  vb::Variant valorOriginal(long i) const;
  void asignar(long i, const vb::Variant& v);

  bool bof() const;
  bool eof() const;
  void moverPrimero();
  void moverSiguiente();
  void moverAnterior();
  void moverUltimo();
  long cantidadRegistros() const;
  std::vector<std::vector<vb::Variant>> obtenerFilas(long n);
  void agregarNuevo();
  void actualizar();
  void cancelarActualizacion() { modo_ = 0; }
  long modo() const { return modo_; }

  bool abierto = false;
  QString origen;
  long tipoCursor = adOpenForwardOnly;
  long tipoBloqueo = adLockReadOnly;
  long ubicacion = adUseServer;
  std::shared_ptr<ConexionImpl> cn;
  Fields campos;

 private:
  [[noreturn]] void sinFila() const;
  long cantidad() const { return static_cast<long>(filas_.size()); }
  void comprobarAbierto() const;
  void prepararCampos();
  void leerTodo();
  void reconsultar();
  void baseParaEscribir();
  void pendientes();  // saves a pending edit before moving
  Errors& errores() const;

  std::unique_ptr<Cursor> cursor_;
  std::vector<Columna> columnas_;
  bool flujo_ = false;    // rows come from the driver one at a time
  bool hayFila_ = false;  // streaming: a current row
  bool leida_ = false;    // streaming: moved since the query ran
  bool guardaOriginales_ = false;
  std::vector<Fila> filas_;
  long pos_ = 0;
  long modo_ = 0;
  std::vector<vb::Variant> nuevos_;
  std::vector<char> cambiados_;
  QString sql_;                          // as sent, for running it again
  std::vector<vb::Variant> parametros_;  // bound to its marks, each time it runs
  QString tabla_;                        // where AddNew / Update write
  std::vector<char> escribibles_;        // columns of that table
};

}  // namespace ado::detalle
