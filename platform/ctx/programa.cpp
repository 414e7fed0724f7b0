#include "platform/ctx/programa.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QString carpetaDatosUsuario() {
  const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  // The XDG rules ignore a relative value.
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return conBarra(xdg) + QStringLiteral("korvane/");
  return conBarra(QDir::homePath()) + QStringLiteral(".local/share/korvane/");
}

Instalacion instalacionDe(const QString& carpetaEjecutable) {
  const QDir bin(carpetaEjecutable);
  if (bin.dirName() != QLatin1String("bin")) return {};
  const QString reportes = QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/korvane/reportes")));
  if (!QFileInfo(reportes).isDir()) return {};
  return {carpetaDatosUsuario(), conBarra(reportes)};
}

namespace {
QString carpetaEjecutable() {
  return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}
}  // namespace

QString Programa::carpetaPrograma() const {
  if (!carpetaPrograma_.isEmpty()) return carpetaPrograma_;
  const QString ejecutable = carpetaEjecutable();
  if (ejecutable.isEmpty()) return conBarra(QDir::currentPath());
  const QString datos = instalacionDe(ejecutable).datos;
  if (datos.isEmpty()) return conBarra(ejecutable);
  if (!datosCreados_ && !QFileInfo::exists(datos)) {
    // Private to the user, as the XDG rules ask.
    QDir().mkpath(datos);
    QFile::setPermissions(datos, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  datosCreados_ = true;
  return datos;
}

void Programa::setCarpetaPrograma(const QString& carpeta) { carpetaPrograma_ = conBarra(carpeta); }

QString Programa::carpetaReportesInstalados() const {
  if (reportesFijados_) return carpetaReportesInstalados_;
  const QString ejecutable = carpetaEjecutable();
  return ejecutable.isEmpty() ? QString() : instalacionDe(ejecutable).reportes;
}

void Programa::setCarpetaReportesInstalados(const QString& carpeta) {
  carpetaReportesInstalados_ = conBarra(carpeta);
  reportesFijados_ = true;
}

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

Alcance::Alcance() : programa_(std::make_unique<Programa>()), anterior_(&actual()) { g_actual = programa_.get(); }

Alcance::~Alcance() {
  programa_.reset();
  g_actual = anterior_;
}

}  // namespace ctx
