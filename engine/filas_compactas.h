#pragma once
// The rows of a report kept for painting its pages once they are all laid
// out (and again, for the preview): each value packed in a few bytes, texts
// in one byte a character where they fit, in blocks that never move, so
// memory grows by what the values hold and little more.
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "engine/formula.h"

namespace engine {

class FilasCompactas {
 public:
  // Only the columns marked in `guardadas` are kept; the rest (those past
  // its end too) read back as null. Empty: every column.
  explicit FilasCompactas(std::vector<bool> guardadas = {});

  // Appends a row and a small number kept with it (the group level at which
  // the row starts new groups).
  void agregar(const Fila& fila, unsigned char marca);
  long cantidad() const { return long(inicios_.size()); }
  unsigned char marca(long i) const { return static_cast<unsigned char>(*donde(i)); }
  // Row i as it was appended, into `fila` (its memory reused).
  void leer(long i, Fila& fila) const;

 private:
  static constexpr size_t kBloque = size_t(1) << 20;
  const char* donde(long i) const;

  std::vector<bool> guardadas_;
  std::vector<std::unique_ptr<char[]>> bloques_;
  size_t usado_ = 0, capacidad_ = 0;   // of the last block
  std::deque<std::uint64_t> inicios_;  // block << 32 | offset of each row
  std::vector<char> escritura_;        // one row being packed
};

}  // namespace engine
