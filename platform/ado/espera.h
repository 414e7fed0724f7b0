#pragma once
// The wait hook of a session (Enlace::setEnEspera): called as often as the
// driver gets the chance, it passes the call on every few hundredths of a
// second only, and never into itself.
#include <chrono>
#include <functional>

namespace ado::detalle {

class Espera {
 public:
  static constexpr std::chrono::milliseconds kIntervalo{40};

  void set(std::function<void()> f) {
    f_ = std::move(f);
    ultima_ = std::chrono::steady_clock::now();
  }
  explicit operator bool() const { return static_cast<bool>(f_); }

  void latir() {
    if (!f_ || dentro_) return;
    const auto ahora = std::chrono::steady_clock::now();
    if (ahora - ultima_ < kIntervalo) return;
    ultima_ = ahora;
    dentro_ = true;
    struct Salida {
      bool& d;
      ~Salida() { d = false; }
    } salida{dentro_};
    f_();
  }

 private:
  std::function<void()> f_;
  std::chrono::steady_clock::time_point ultima_{};
  bool dentro_ = false;
};

}  // namespace ado::detalle
