#pragma once
// The first text a program measures makes fontconfig read its configuration
// and font caches, and Qt build its font database from them: a sizeable part
// of the start. This starts that on a second thread as soon as the program
// knows it will show or print something, while the application object and
// the form are being built on the first.
//
//   app::FuentesAnticipadas fuentes;      // fontconfig starts reading
//   QApplication aplicacion(argc, argv);
//   app::FuentesAnticipadas::Espera espera(fuentes);  // Qt's database next;
//                                                      // joined before the application goes
#include <condition_variable>
#include <mutex>
#include <thread>

namespace app {

class FuentesAnticipadas {
 public:
  FuentesAnticipadas();
  // A thread never told that the application exists stops after fontconfig.
  ~FuentesAnticipadas();
  FuentesAnticipadas(const FuentesAnticipadas&) = delete;
  FuentesAnticipadas& operator=(const FuentesAnticipadas&) = delete;

  // Lives between the application object and its end: on creation the
  // thread goes on to Qt's font database; on destruction it is waited for.
  class Espera {
   public:
    explicit Espera(FuentesAnticipadas& f) : f_(f) { f_.seguir(true); }
    ~Espera() { f_.terminar(); }
    Espera(const Espera&) = delete;
    Espera& operator=(const Espera&) = delete;

   private:
    FuentesAnticipadas& f_;
  };

 private:
  void seguir(bool conAplicacion);
  void terminar();
  void trabajar();

  std::mutex m_;
  std::condition_variable cv_;
  bool decidido_ = false;
  bool conAplicacion_ = false;
  std::thread hilo_;
};

}  // namespace app
