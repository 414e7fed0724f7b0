#include "engine/filas_compactas.h"

#include <cstring>

namespace engine {

namespace {

enum Clase : unsigned char { kNulo, kFalso, kVerdadero, kNumero, kFecha, kLatin1, kUtf16 };

void poner(std::vector<char>& b, const void* p, size_t n) {
  const char* c = static_cast<const char*>(p);
  b.insert(b.end(), c, c + n);
}

// Lengths in 7-bit groups: one byte for most texts.
void ponerLargo(std::vector<char>& b, std::uint32_t n) {
  while (n >= 0x80) {
    b.push_back(char(0x80 | (n & 0x7f)));
    n >>= 7;
  }
  b.push_back(char(n));
}

std::uint32_t leerLargo(const char*& p) {
  std::uint32_t n = 0;
  for (int corrimiento = 0;; corrimiento += 7) {
    const auto c = static_cast<unsigned char>(*p++);
    n |= std::uint32_t(c & 0x7f) << corrimiento;
    if (!(c & 0x80)) return n;
  }
}

template <typename T>
T leerFijo(const char*& p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  p += sizeof v;
  return v;
}

void empacar(std::vector<char>& b, const Valor& v) {
  switch (v.tipo()) {
    case Valor::Tipo::Nulo: b.push_back(char(kNulo)); return;
    case Valor::Tipo::Logico: b.push_back(char(v.comoLogico() ? kVerdadero : kFalso)); return;
    case Valor::Tipo::Numero: {
      b.push_back(char(kNumero));
      const double d = v.comoNumero();
      poner(b, &d, sizeof d);
      return;
    }
    case Valor::Tipo::Fecha: {
      // Day and time of day, read back as the same local date and time.
      const QDateTime& f = v.comoFecha();
      b.push_back(char(kFecha));
      const std::int64_t dia = f.date().toJulianDay();
      const std::int32_t ms = f.time().msecsSinceStartOfDay();
      poner(b, &dia, sizeof dia);
      poner(b, &ms, sizeof ms);
      return;
    }
    case Valor::Tipo::Texto: {
      const QString& s = v.comoTexto();
      bool latin1 = true;
      for (QChar c : s)
        if (c.unicode() > 0xff) {
          latin1 = false;
          break;
        }
      b.push_back(char(latin1 ? kLatin1 : kUtf16));
      ponerLargo(b, std::uint32_t(s.size()));
      if (latin1) {
        const size_t inicio = b.size();
        b.resize(inicio + size_t(s.size()));
        for (qsizetype i = 0; i < s.size(); ++i) b[inicio + size_t(i)] = char(s.at(i).unicode());
      } else {
        poner(b, s.constData(), size_t(s.size()) * sizeof(QChar));
      }
      return;
    }
  }
}

Valor desempacar(const char*& p) {
  switch (static_cast<Clase>(*p++)) {
    case kNulo: return {};
    case kFalso: return Valor::logico(false);
    case kVerdadero: return Valor::logico(true);
    case kNumero: return Valor::numero(leerFijo<double>(p));
    case kFecha: {
      const auto dia = leerFijo<std::int64_t>(p);
      const auto ms = leerFijo<std::int32_t>(p);
      return Valor::fecha(QDateTime(QDate::fromJulianDay(dia), QTime::fromMSecsSinceStartOfDay(ms)));
    }
    case kLatin1: {
      const std::uint32_t n = leerLargo(p);
      QString s = QString::fromLatin1(p, qsizetype(n));
      p += n;
      return Valor::texto(std::move(s));
    }
    case kUtf16: {
      const std::uint32_t n = leerLargo(p);
      QString s(qsizetype(n), Qt::Uninitialized);
      std::memcpy(s.data(), p, size_t(n) * sizeof(QChar));
      p += size_t(n) * sizeof(QChar);
      return Valor::texto(std::move(s));
    }
  }
  return {};
}

}  // namespace

FilasCompactas::FilasCompactas(std::vector<bool> guardadas) : guardadas_(std::move(guardadas)) {}

void FilasCompactas::agregar(const Fila& fila, unsigned char marca) {
  std::vector<char>& b = escritura_;
  b.clear();
  b.push_back(char(marca));
  ponerLargo(b, std::uint32_t(fila.size()));
  for (size_t c = 0; c < fila.size(); ++c) {
    if (!guardadas_.empty() && (c >= guardadas_.size() || !guardadas_[c]))
      b.push_back(char(kNulo));
    else
      empacar(b, fila[c]);
  }
  if (b.size() > capacidad_ - usado_) {
    // A row never straddles two blocks; one larger than a block gets its own.
    capacidad_ = std::max(kBloque, b.size());
    bloques_.emplace_back(new char[capacidad_]);  // not zeroed: memory is taken as rows fill it
    usado_ = 0;
  }
  const size_t bloque = bloques_.size() - 1;
  std::memcpy(bloques_[bloque].get() + usado_, b.data(), b.size());
  inicios_.push_back(std::uint64_t(bloque) << 32 | std::uint64_t(usado_));
  usado_ += b.size();
}

const char* FilasCompactas::donde(long i) const {
  const std::uint64_t inicio = inicios_[size_t(i)];
  return bloques_[size_t(inicio >> 32)].get() + (inicio & 0xffffffffu);
}

void FilasCompactas::leer(long i, Fila& fila) const {
  const char* p = donde(i) + 1;
  const std::uint32_t n = leerLargo(p);
  fila.resize(n);
  for (std::uint32_t c = 0; c < n; ++c) fila[c] = desempacar(p);
}

}  // namespace engine
