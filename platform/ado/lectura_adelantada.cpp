#include "platform/ado/lectura_adelantada.h"

#include <algorithm>

namespace ado::detalle {

namespace {

// The first block is small, so that the first rows come soon; the next ones
// grow, so that the threads meet less often. A few blocks may wait.
constexpr size_t kPrimerBloque = 16;
constexpr size_t kMayorBloque = 256;
constexpr size_t kBloquesEnEspera = 4;
// The reader, once it has filled them all, sleeps until the program has
// used all but this many: it is woken once for a few blocks, not for each.
constexpr size_t kDespertarCon = 1;
// The program, having used up its rows, finds the reader most often in the
// middle of a block that takes it well under this to fill. Watching for it
// costs less than sleeping and being woken: a wake-up crosses processors,
// and a read of many rows would pay one for every block.
constexpr auto kEsperaActiva = std::chrono::microseconds(200);
// The thread is judged once the program has used this many blocks (over a
// thousand rows), and given up when the program has spent more than this
// share of the time since the first block came waiting for the next one.
constexpr size_t kBloquesParaJuzgar = 8;
constexpr double kEsperaDemasiada = 0.5;

void pausa() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

}  // namespace

void LecturaAdelantada::Fila::poner(size_t columna, const ValorCrudo& v) {
  Celda& c = bloque_->celdas[primera_ + columna];
  c.tipo = v.tipo;
  c.entero = v.entero;
  c.real = v.real;
  c.largo = v.datos ? v.largo : 0;
  c.desde = bloque_->bytes.size();
  if (c.largo > 0) bloque_->bytes.append(v.datos, static_cast<size_t>(c.largo));
}

LecturaAdelantada::LecturaAdelantada(size_t columnas, Leer leer)
    : columnas_(columnas), leer_(std::move(leer)), hilo_([this] { trabajar(); }) {}

LecturaAdelantada::~LecturaAdelantada() {
  {
    std::lock_guard l(m_);
    parar_ = true;
  }
  hayLugar_.notify_all();
  hilo_.join();
}

void LecturaAdelantada::trabajar() {
  size_t tamano = kPrimerBloque;
  for (;;) {
    // A block the program has used up is filled again: no memory is taken
    // here or given back there once the first few have gone round.
    Bloque b;
    {
      std::lock_guard l(m_);
      if (!libres_.empty()) {
        b = std::move(libres_.back());
        libres_.pop_back();
      }
    }
    b.bytes.clear();
    b.filas = 0;
    b.ultimo = false;
    b.devuelto = false;
    b.fallo.reset();
    b.celdas.resize(tamano * columnas_);
    Fila fila;
    fila.bloque_ = &b;
    while (b.filas < tamano && !parar_.load(std::memory_order_relaxed)) {
      if (devolver_.load(std::memory_order_relaxed)) {
        b.devuelto = true;
        break;
      }
      fila.primera_ = b.filas * columnas_;
      if (!leer_(fila, b.fallo)) {
        b.ultimo = true;
        break;
      }
      ++b.filas;
    }
    b.celdas.resize(b.filas * columnas_);
    const bool ultimo = b.ultimo || b.devuelto;
    {
      std::unique_lock l(m_);
      if (cola_.size() >= kBloquesEnEspera) hayLugar_.wait(l, [&] { return parar_ || cola_.size() <= kDespertarCon; });
      if (parar_) return;
      cola_.push_back(std::move(b));
      enCola_.store(cola_.size(), std::memory_order_release);
    }
    hayBloque_.notify_one();
    if (ultimo) return;
    tamano = std::min(tamano * 2, kMayorBloque);
  }
}

bool LecturaAdelantada::siguiente(std::optional<Error>& fallo) {
  if (terminada_) return false;
  if (empezada_ && fila_ + 1 < actual_.filas) {
    ++fila_;
    return true;
  }
  // The block is used up: the next one, unless this was the last.
  while (!empezada_ || !(actual_.ultimo || actual_.devuelto)) {
    bool despertar = false;
    if (empezada_) ++bloquesUsados_;
    const bool aEsperar = enCola_.load(std::memory_order_acquire) == 0;
    std::chrono::steady_clock::time_point desde;
    if (aEsperar) {
      desde = std::chrono::steady_clock::now();
      if (seEsperaDemasiado(desde)) devolver_.store(true, std::memory_order_relaxed);
      esperarBloque();
    }
    {
      std::unique_lock l(m_);
      if (empezada_) libres_.push_back(std::move(actual_));
      hayBloque_.wait(l, [&] { return !cola_.empty(); });
      actual_ = std::move(cola_.front());
      cola_.pop_front();
      enCola_.store(cola_.size(), std::memory_order_relaxed);
      despertar = cola_.size() <= kDespertarCon;
    }
    if (despertar) hayLugar_.notify_one();
    // The clock starts with the first block: the thread's own start is not its rows' cost.
    if (!empezada_) inicio_ = std::chrono::steady_clock::now();
    else if (aEsperar) esperado_ += std::chrono::steady_clock::now() - desde;
    empezada_ = true;
    fila_ = 0;
    if (actual_.filas > 0) return true;
  }
  terminada_ = true;
  devuelta_ = actual_.devuelto;
  fallo = std::move(actual_.fallo);
  return false;
}

bool LecturaAdelantada::seEsperaDemasiado(std::chrono::steady_clock::time_point ahora) const {
  if (bloquesUsados_ < kBloquesParaJuzgar) return false;
  return std::chrono::duration<double>(esperado_).count() >
         kEsperaDemasiada * std::chrono::duration<double>(ahora - inicio_).count();
}

void LecturaAdelantada::esperarBloque() const {
  const auto hasta = std::chrono::steady_clock::now() + kEsperaActiva;
  for (;;) {
    for (int i = 0; i < 64; ++i) {
      if (enCola_.load(std::memory_order_acquire) > 0) return;
      pausa();
    }
    if (std::chrono::steady_clock::now() >= hasta) return;
  }
}

ValorCrudo LecturaAdelantada::celda(int i) const {
  const Celda& c = actual_.celdas[fila_ * columnas_ + static_cast<size_t>(i)];
  ValorCrudo v{c.tipo, c.entero, c.real, nullptr, c.largo};
  if (c.largo > 0) v.datos = actual_.bytes.data() + c.desde;
  else v.datos = "";
  return v;
}

}  // namespace ado::detalle
