#pragma once
// The first text a program measures makes Qt build its font database from
// fontconfig's fonts (whose configuration the executable has already read,
// arranque/). This builds it on a second thread while the form is being
// put together on the first. Made after the application object and gone
// before it:
//
//   QApplication aplicacion(argc, argv);
//   const app::FuentesAnticipadas fuentes;
#include <thread>

namespace app {

class FuentesAnticipadas {
 public:
  FuentesAnticipadas();
  ~FuentesAnticipadas();  // waits for the thread
  FuentesAnticipadas(const FuentesAnticipadas&) = delete;
  FuentesAnticipadas& operator=(const FuentesAnticipadas&) = delete;

 private:
  std::thread hilo_;
};

}  // namespace app
