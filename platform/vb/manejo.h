#pragma once
// The error-handling styles the routines are written in, as small helpers so
// that each routine reads like its own description:
//
//   Seguir     skip the failing statement and go on; the last error is kept
//              for the routines that test it afterwards.
//   Pasos      ask a handler (an error dialog) and retry (4), go on (5) or
//              leave (anything else) by its answer.
//   Arranque   go on after error 5 (the step is abandoned), leave silently
//              after any other error: every later step is skipped.
//   omitir     run one statement whose failure does not matter to the caller.
//
// Each is told its routine, and records every error it handles in the
// routine's trace (traza.h).
//
// They catch vb::Error and any std::exception (turned into a vb::Error by
// comoError); anything else, such as the program ending at once, passes on.
#include <exception>
#include <functional>
#include <optional>
#include <utility>

#include "platform/vb/error.h"
#include "platform/vb/traza.h"

namespace vb {

// A standard exception as the run-time error the routines understand:
// bad_alloc is 7 (out of memory), out_of_range 9 (subscript out of range),
// invalid_argument and domain_error 5, overflow_error and range_error 6,
// length_error 14, a system_error by its errno like the file operations;
// anything else is 51 (internal error) with its text added to the description.
Error comoError(const std::exception& e);

// Runs f; on a run-time error (or std::exception) returns it, else nullopt.
template <class F>
std::optional<Error> intentar(F&& f) {
  try {
    std::forward<F>(f)();
    return std::nullopt;
  } catch (const Error& e) {
    return e;
  } catch (const std::exception& e) {
    return comoError(e);
  }
}

// Runs f; an error it raises is recorded and dropped. True when none was raised.
template <class F>
bool omitir(const Rutina& rutina, F&& f) {
  auto e = intentar(std::forward<F>(f));
  if (e) registrar(rutina, *e, u"se descarta");
  return !e;
}

class Seguir {
 public:
  explicit Seguir(const Rutina& rutina) : rutina_(rutina) {}

  // Runs one statement; true when it raised no error. A failure is kept as
  // the last error until Clear(), as the platform's Err object keeps it.
  template <class F>
  bool operator()(F&& sentencia) {
    auto e = intentar(std::forward<F>(sentencia));
    if (!e) return true;
    registrar(rutina_, *e, u"se sigue con el paso siguiente");
    ultimo_ = std::move(e);
    return false;
  }
  template <class F>
  bool run(F&& sentencia) {
    return (*this)(std::forward<F>(sentencia));
  }

  // 0 and "" when no error happened since the last Clear().
  long Number() const { return ultimo_ ? ultimo_->Number() : 0; }
  QString Description() const { return ultimo_ ? ultimo_->Description() : QString(); }
  const std::optional<Error>& ultimo() const { return ultimo_; }
  void Clear() { ultimo_.reset(); }

 private:
  Rutina rutina_;
  std::optional<Error> ultimo_;
};

class Pasos {
 public:
  // The handler gets the error and answers 4 (retry), 5 (go on) or anything
  // else (leave).
  Pasos(const Rutina& rutina, std::function<int(const Error&)> decidir)
      : rutina_(rutina), decidir_(std::move(decidir)) {}

  // Runs a step until it succeeds or the handler says otherwise. True when
  // the routine goes on (success or answer 5); false when it must leave.
  // Once left, later steps are not run and give false too.
  template <class F>
  bool run(F&& paso) {
    if (abandonado_) return false;
    for (;;) {
      auto e = intentar(paso);
      if (!e) return true;
      ultimo_ = e;
      const int respuesta = decidir_(*e);
      registrarRespuesta(*e, respuesta);
      if (respuesta == kReintentar) continue;
      if (respuesta == kIgnorar) return true;
      abandonado_ = true;
      return false;
    }
  }

  bool abandonado() const { return abandonado_; }
  const std::optional<Error>& ultimo() const { return ultimo_; }

  static constexpr int kReintentar = 4;
  static constexpr int kIgnorar = 5;

 private:
  void registrarRespuesta(const Error& e, int respuesta) const;

  Rutina rutina_;
  std::function<int(const Error&)> decidir_;
  std::optional<Error> ultimo_;
  bool abandonado_ = false;
};

class Arranque {
 public:
  explicit Arranque(const Rutina& rutina) : rutina_(rutina) {}

  // True when the start-up goes on after this step (it succeeded, or error 5
  // abandoned the rest of it); false once any other error has ended it, and
  // for every step after that, which is then not run.
  template <class F>
  bool run(F&& paso) {
    if (terminado_) return false;
    auto e = intentar(std::forward<F>(paso));
    if (!e) return true;
    if (e->Number() == kInvalidProcedureCall) {
      registrar(rutina_, *e, u"se abandona el paso, el arranque sigue");
      return true;
    }
    registrar(rutina_, *e, u"se abandona el arranque");
    ultimo_ = std::move(e);
    terminado_ = true;
    return false;
  }

  bool terminado() const { return terminado_; }
  // The error that ended the start-up.
  const std::optional<Error>& error() const { return ultimo_; }

 private:
  Rutina rutina_;
  std::optional<Error> ultimo_;
  bool terminado_ = false;
};

}  // namespace vb
