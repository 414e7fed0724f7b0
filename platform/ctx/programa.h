#pragma once
// The program context: owns the program's single instances (each created on
// first use) and the program-wide folders. Tests install a fresh context per
// test through ctx::Alcance, so no test sees another's state.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <typeindex>
#include <unordered_map>
#include <vector>

namespace ctx {

// How an instance of T is made on first use. Abstract services specialise it
// next to their declaration (see platform/ui/servicio.h).
template <class T>
struct Fabrica {
  static std::unique_ptr<T> crear() { return std::make_unique<T>(); }
};

class Programa {
 public:
  Programa();
  ~Programa();
  Programa(const Programa&) = delete;
  Programa& operator=(const Programa&) = delete;

  // The single instance of T, made by Fabrica<T> the first time it is asked for.
  template <class T>
  T& instancia() {
    auto it = instancias_.find(typeid(T));
    if (it != instancias_.end()) return *static_cast<T*>(it->second);
    auto nueva = Fabrica<T>::crear();
    T* puntero = nueva.get();
    guardar(typeid(T), puntero, [p = nueva.release()] { delete p; });
    return *puntero;
  }

  // Replaces (or sets) the single instance of T; the old one is destroyed.
  template <class T, class U>
  U& instalar(std::unique_ptr<U> nueva) {
    U* puntero = nueva.get();
    quitar(typeid(T));
    guardar(typeid(T), static_cast<T*>(puntero), [p = nueva.release()] { delete p; });
    return *puntero;
  }

  template <class T>
  bool tiene() const {
    return instancias_.count(typeid(T)) != 0;
  }

  // Destroys every instance, the latest first, as the context's end does.
  // The program calls it before the application goes: instances hold
  // widgets (the access dialog), which cannot outlive it.
  void vaciar();

  // The running program's folder, ending with a path separator: where the
  // program keeps the files it writes and looks for its report files first.
  // Installed (see instalacionDe) that is the user's data folder, created
  // when first asked for, since the folder the package laid out is read-only.
  QString carpetaPrograma() const;
  void setCarpetaPrograma(const QString& carpeta);

  // The report files an installed program came with, looked for after the
  // program folder; empty when it runs from its build folder.
  QString carpetaReportesInstalados() const;
  void setCarpetaReportesInstalados(const QString& carpeta);

  // Where the workstation settings files live: $KORVANE_CONFIG_DIR when set,
  // else $XDG_CONFIG_HOME/korvane/, else ~/.config/korvane/; ends with "/".
  QString carpetaConfiguracion() const;
  void setCarpetaConfiguracion(const QString& carpeta);

  // The command line as the program received it (arguments after the name).
  QStringList argumentos() const;
  void setArgumentos(const QStringList& argumentos);

 private:
  void guardar(std::type_index tipo, void* puntero, std::function<void()> destruir);
  void quitar(std::type_index tipo);

  std::unordered_map<std::type_index, void*> instancias_;
  // Destroyed in reverse order of creation, as later instances may use earlier ones.
  std::vector<std::pair<std::type_index, std::function<void()>>> destructores_;
  QString carpetaPrograma_;
  QString carpetaReportesInstalados_;
  bool reportesFijados_ = false;
  mutable bool datosCreados_ = false;
  QString carpetaConfiguracion_;
  QStringList argumentos_;
  bool argumentosFijados_ = false;
};

// Where an executable in `carpetaEjecutable` keeps its files: installed
// (<prefix>/bin/ beside <prefix>/share/korvane/reportes/), the user's data
// folder and the shipped report files; both empty otherwise.
struct Instalacion {
  QString datos;
  QString reportes;
};
Instalacion instalacionDe(const QString& carpetaEjecutable);

// $XDG_DATA_HOME/korvane/ when that is an absolute path, else
// ~/.local/share/korvane/; ends with "/".
QString carpetaDatosUsuario();

// The context in force.
Programa& actual();

// Installs a fresh context for its lifetime, then restores the previous one.
class Alcance {
 public:
  Alcance();
  ~Alcance();
  Alcance(const Alcance&) = delete;
  Alcance& operator=(const Alcance&) = delete;
  Programa& programa() { return *programa_; }

 private:
  std::unique_ptr<Programa> programa_;
  Programa* anterior_;
};

}  // namespace ctx
