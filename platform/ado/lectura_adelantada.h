#pragma once
// Rows read ahead on a second thread. A long forward read spends a good part
// of its time in the driver stepping the statement; with the stepping on
// another processor it overlaps with the program's use of the rows before.
//
// The reader is given a function that moves the statement to its next row
// and copies each column out as the driver has it (ValorCrudo); it runs on
// the second thread only, so it must hold whatever guards the connection
// while it runs. It answers true with the row copied, or false at the end,
// with `fallo` set when the end is a failure. The copies are plain bytes:
// values are made from them on the program's thread, which allocates and
// frees all they hold. Rows wait in a few bounded blocks, so a read that is
// left early has cost at most those. A read whose program is quicker with
// the rows than the thread is gives the statement back (devuelta()).
//
//   LecturaAdelantada lectura(columnas, [&](LecturaAdelantada::Fila& fila, std::optional<Error>& fallo) {
//     ...; fila.poner(0, {SQLITE_TEXT, 0, 0, texto, bytes}); ...; return true; });
//   std::optional<Error> fallo;
//   while (lectura.siguiente(fallo)) use(lectura.celda(0));
//   if (fallo) ...
//   else if (lectura.devuelta()) ...;  // step the statement on here
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ado/errors.h"

namespace ado::detalle {

// A column of a row as the driver gives it: its kind (the driver's own
// codes), a number, or bytes.
struct ValorCrudo {
  int tipo = 0;
  std::int64_t entero = 0;
  double real = 0;
  const char* datos = nullptr;
  int largo = 0;
};

class LecturaAdelantada {
  struct Bloque;

 public:
  // The row being copied on the second thread.
  class Fila {
   public:
    void poner(size_t columna, const ValorCrudo& v);

   private:
    friend class LecturaAdelantada;
    Bloque* bloque_ = nullptr;
    size_t primera_ = 0;  // its first cell in the block
  };
  using Leer = std::function<bool(Fila& fila, std::optional<Error>& fallo)>;

  // Starts the thread; std::system_error when it cannot be started.
  LecturaAdelantada(size_t columnas, Leer leer);
  // Stops the thread after the row it is reading; rows read and not used are dropped.
  ~LecturaAdelantada();
  LecturaAdelantada(const LecturaAdelantada&) = delete;
  LecturaAdelantada& operator=(const LecturaAdelantada&) = delete;

  // The next row; false once past the last, with `fallo` set if the read
  // failed there, or once the statement is given back (devuelta()).
  bool siguiente(std::optional<Error>& fallo);
  // The thread has given the statement back between two rows, the read not
  // ended: the program kept waiting for it more than half the time, so its
  // own work on a row is less than what the thread spends to step and copy
  // one, and stepping the statement itself costs it less than taking the
  // copies over. Every row the thread read has been given; the caller steps
  // the statement on from there.
  bool devuelta() const { return devuelta_; }
  // Column i of the current row; its bytes last until the next move.
  ValorCrudo celda(int i) const;

 private:
  struct Celda {
    int tipo = 0;
    int largo = 0;
    std::int64_t entero = 0;
    double real = 0;
    size_t desde = 0;  // its bytes in the block's
  };
  struct Bloque {
    std::vector<Celda> celdas;
    std::string bytes;
    size_t filas = 0;
    bool ultimo = false;    // the read ended after these rows
    bool devuelto = false;  // the thread stopped after these rows, the read has not ended
    std::optional<Error> fallo;
  };

  void trabajar();
  void esperarBloque() const;  // on the processor, a moment, for the next block to come
  bool seEsperaDemasiado(std::chrono::steady_clock::time_point ahora) const;  // the thread does not pay

  const size_t columnas_;
  Leer leer_;
  std::mutex m_;
  std::condition_variable hayBloque_, hayLugar_;
  std::deque<Bloque> cola_;
  std::atomic<size_t> enCola_ = 0;  // cola_.size(), to be watched without the lock
  std::vector<Bloque> libres_;  // used up, to be filled again
  std::atomic<bool> parar_ = false;
  std::atomic<bool> devolver_ = false;
  Bloque actual_;
  size_t fila_ = 0;
  bool empezada_ = false, terminada_ = false, devuelta_ = false;
  // What the program has waited for blocks, against the time since the first came.
  std::chrono::steady_clock::time_point inicio_;
  std::chrono::steady_clock::duration esperado_{};
  size_t bloquesUsados_ = 0;
  std::thread hilo_;  // last: started once the rest is in place
};

}  // namespace ado::detalle
