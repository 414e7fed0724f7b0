#include "app/fuentes_anticipadas.h"

#include <fontconfig/fontconfig.h>

#include <QCoreApplication>
#include <QFontDatabase>

namespace app {

FuentesAnticipadas::FuentesAnticipadas() : hilo_([this] { trabajar(); }) {}

FuentesAnticipadas::~FuentesAnticipadas() {
  seguir(false);
  terminar();
}

void FuentesAnticipadas::seguir(bool conAplicacion) {
  {
    std::lock_guard<std::mutex> l(m_);
    if (decidido_) return;
    decidido_ = true;
    conAplicacion_ = conAplicacion;
  }
  cv_.notify_one();
}

void FuentesAnticipadas::terminar() {
  if (hilo_.joinable()) hilo_.join();
}

void FuentesAnticipadas::trabajar() {
  // fontconfig is safe to start from any thread; should the first thread
  // get there too, each finds the configuration the other left.
  FcInit();
  std::unique_lock<std::mutex> l(m_);
  cv_.wait(l, [this] { return decidido_; });
  if (!conAplicacion_ || !QCoreApplication::instance()) return;
  l.unlock();
  // Every function of Qt's font database may be called from any thread.
  (void)QFontDatabase::families();
}

}  // namespace app
