#include "platform/ctx/programa.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace ctx {

namespace {
Programa* g_actual = nullptr;

QString conBarra(QString carpeta) {
  if (!carpeta.isEmpty() && !carpeta.endsWith(QLatin1Char('/'))) carpeta += QLatin1Char('/');
  return carpeta;
}
}  // namespace

Programa::Programa() = default;

Programa::~Programa() { vaciar(); }

void Programa::vaciar() {
  while (!destructores_.empty()) {
    auto [tipo, destruir] = std::move(destructores_.back());
    destructores_.pop_back();
    instancias_.erase(tipo);
    destruir();
  }
}

void Programa::guardar(std::type_index tipo, void* puntero, std::function<void()> destruir) {
  instancias_[tipo] = puntero;
  destructores_.emplace_back(tipo, std::move(destruir));
}

void Programa::quitar(std::type_index tipo) {
  for (auto it = destructores_.begin(); it != destructores_.end(); ++it) {
    if (it->first == tipo) {
      auto destruir = std::move(it->second);
      destructores_.erase(it);
      instancias_.erase(tipo);
      destruir();
      return;
    }
  }
}

QString Programa::carpetaPrograma() const {
  if (!carpetaPrograma_.isEmpty()) return carpetaPrograma_;
  if (QCoreApplication::instance()) return conBarra(QCoreApplication::applicationDirPath());
  return conBarra(QDir::currentPath());
}

void Programa::setCarpetaPrograma(const QString& carpeta) { carpetaPrograma_ = conBarra(carpeta); }

QString Programa::carpetaConfiguracion() const {
  if (!carpetaConfiguracion_.isEmpty()) return carpetaConfiguracion_;
  const QString propia = qEnvironmentVariable("KORVANE_CONFIG_DIR");
  if (!propia.isEmpty()) return conBarra(propia);
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!xdg.isEmpty()) return conBarra(xdg) + QStringLiteral("korvane/");
  return conBarra(QDir::homePath()) + QStringLiteral(".config/korvane/");
}

void Programa::setCarpetaConfiguracion(const QString& carpeta) { carpetaConfiguracion_ = conBarra(carpeta); }

QStringList Programa::argumentos() const {
  if (argumentosFijados_) return argumentos_;
  QStringList todos = QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList{};
  if (!todos.isEmpty()) todos.removeFirst();
  return todos;
}

void Programa::setArgumentos(const QStringList& argumentos) {
  argumentos_ = argumentos;
  argumentosFijados_ = true;
}

Programa& actual() {
  if (!g_actual) {
    static Programa principal;
    g_actual = &principal;
  }
  return *g_actual;
}

Alcance::Alcance() : programa_(std::make_unique<Programa>()), anterior_(&actual()) {
  g_actual = programa_.get();
}

Alcance::~Alcance() {
  programa_.reset();
  g_actual = anterior_;
}

}  // namespace ctx
