#include "demo/demo.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>
#include <memory>

#include "platform/vb/error.h"

// Resources of a static library are registered by hand, before first use.
static void registrarRecursosDemo() { Q_INIT_RESOURCE(demo); }

namespace demo {

namespace {

const QString kOrigen = QStringLiteral("demo");

const char* const kReportes[] = {"RP_Usuarios_Grupos.rpt", "RP_Usuarios_UNEG.rpt", "RP_Usuarios_TAREAS.rpt"};

QByteArray recurso(const QString& nombre) {
  registrarRecursosDemo();
  QFile f(QStringLiteral(":/demo/") + nombre);
  if (!f.open(QIODevice::ReadOnly))
    throw vb::Error(vb::kFileNotFound, QStringLiteral("Falta el recurso %1 de la base de demostración").arg(nombre),
                    kOrigen);
  return f.readAll();
}

struct Cerrar {
  void operator()(sqlite3* h) const { sqlite3_close(h); }
};
using Base = std::unique_ptr<sqlite3, Cerrar>;

[[noreturn]] void fallo(sqlite3* h, const QString& que) {
  throw vb::Error(vb::kPathFileAccessError,
                  que + QStringLiteral(": ") + QString::fromUtf8(h ? sqlite3_errmsg(h) : "sin memoria"), kOrigen);
}

void ejecutar(sqlite3* h, const QByteArray& sql) {
  char* error = nullptr;
  if (sqlite3_exec(h, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
    const QString texto = QString::fromUtf8(error ? error : "error desconocido");
    sqlite3_free(error);
    throw vb::Error(vb::kPathFileAccessError, QStringLiteral("No se pudo crear la base: ") + texto, kOrigen);
  }
}

// The database is built in a file beside `ruta` and renamed over it once
// complete.
template <class F>
void construir(const QString& ruta, F&& llenar) {
  const QString nueva = ruta + QStringLiteral(".nueva");
  QFile::remove(nueva);
  QDir().mkpath(QFileInfo(ruta).absolutePath());
  {
    sqlite3* h = nullptr;
    const int rc = sqlite3_open(QFile::encodeName(nueva).constData(), &h);
    Base base(h);
    if (rc != SQLITE_OK) fallo(h, QStringLiteral("No se pudo crear %1").arg(nueva));
    try {
      ejecutar(h, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
      ejecutar(h, esquema());
      llenar(h);
    } catch (...) {
      base.reset();
      QFile::remove(nueva);
      throw;
    }
  }
  QFile::remove(ruta);
  if (!QFile::rename(nueva, ruta)) {
    QFile::remove(nueva);
    throw vb::Error(vb::kPathFileAccessError, QStringLiteral("No se pudo reemplazar %1").arg(ruta), kOrigen);
  }
}

// A prepared statement bound by position.
class Sentencia {
 public:
  Sentencia(sqlite3* h, const char* sql) : h_(h) {
    if (sqlite3_prepare_v2(h, sql, -1, &st_, nullptr) != SQLITE_OK) fallo(h, QString::fromUtf8(sql));
  }
  ~Sentencia() { sqlite3_finalize(st_); }
  Sentencia(const Sentencia&) = delete;
  Sentencia& operator=(const Sentencia&) = delete;

  Sentencia& texto(int i, const QString& v) {
    const QByteArray b = v.toUtf8();
    sqlite3_bind_text(st_, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Sentencia& entero(int i, int v) {
    sqlite3_bind_int(st_, i, v);
    return *this;
  }
  void ejecutar() {
    if (sqlite3_step(st_) != SQLITE_DONE) fallo(h_, QStringLiteral("No se pudo cargar la base"));
    sqlite3_reset(st_);
  }

 private:
  sqlite3* h_;
  sqlite3_stmt* st_ = nullptr;
};

// The suite's modules, top-level rows of the menu, with their icon.
struct ModuloMenu {
  const char* clave;
  const char* nombre;
  const char* imagen;
};
constexpr std::array<ModuloMenu, 10> kModulosMenu{{
    {"D10", "Maestros", "Maestros"},
    {"D30", "Presupuestos", "Presupuestos"},
    {"D40", "Órdenes de Trabajo", "Otrabajo"},
    {"D50", "Compras", "ProveedoresII"},
    {"D60", "Ventas", "Facturacion"},
    {"D75", "Caja y Bancos", "CajayBanco"},
    {"D80", "Stock", "Stock"},
    {"D95", "Contabilidad", "Comprobantes"},
    {"D20", "Tablas", "Tablas"},
    {"D99", "Seguridad", "Seguridad"},
}};
constexpr std::array<const char*, 8> kIconosTarea{"Tareas",  "Reportes", "Comprobantes", "Clientes",
                                                  "Factura", "Stock",    "Usuarios",     "Recibo"};
constexpr std::array<const char*, 10> kGrupos{"ADMINISTRADORES", "VENTAS",    "COMPRAS",  "CONTABLE", "DEPOSITO",
                                              "PRODUCCION",      "TESORERIA", "GERENCIA", "SOPORTE",  "AUDITORIA"};

}  // namespace

QByteArray esquema() { return recurso(QStringLiteral("esquema.sql")); }
QByteArray datos() { return recurso(QStringLiteral("datos.sql")); }

void crearBaseDemo(const QString& ruta) {
  construir(ruta, [](sqlite3* h) { ejecutar(h, datos()); });
}

QString nombreUsuarioGenerado(int indice) { return QStringLiteral("USUARIO%1").arg(indice, 5, 10, QLatin1Char('0')); }

void crearBaseGrande(const QString& ruta, const Volumen& v) {
  if (v.usuarios < 0 || v.tareas < 0 || v.unidades < 1 || v.tareasPorUsuario < 0)
    throw vb::Error(vb::kInvalidProcedureCall, QStringLiteral("Volumen de datos inválido"), kOrigen);
  construir(ruta, [&](sqlite3* h) {
    ejecutar(h, "BEGIN;");
    {
      Sentencia unidad(h, "INSERT INTO TA_UNIDADNEGOCIO (Codigo, Descripcion, Domicilio, Activa) VALUES (?, ?, ?, 1)");
      for (int i = 1; i <= v.unidades; ++i)
        unidad.texto(1, QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')))
            .texto(2, QStringLiteral("Unidad de Negocio %1").arg(i))
            .texto(3, QStringLiteral("Calle %1").arg(i * 100))
            .ejecutar();
    }

    // Three levels under each module: the module row, children of two more
    // digits and grandchildren of two more, until the module's share is in.
    std::vector<QString> claves;
    claves.reserve(size_t(v.tareas));
    {
      Sentencia menu(h,
                     "INSERT INTO TA_MENU (MENU, CLAVE, Titulo, Nombre, Imagen, Proceso, HABILITADO) "
                     "VALUES ('ZEPA', ?, ?, ?, ?, ?, 1)");
      auto agregar = [&](const QString& clave, const QString& titulo, const QString& nombre, const char* imagen) {
        menu.texto(1, clave)
            .texto(2, titulo)
            .texto(3, nombre)
            .texto(4, QString::fromLatin1(imagen))
            .texto(5, QStringLiteral("PRC") + clave)
            .ejecutar();
        claves.push_back(clave);
      };
      const int modulos = int(kModulosMenu.size());
      for (int m = 0; m < modulos; ++m) {
        const int cuota = v.tareas / modulos + (m < v.tareas % modulos ? 1 : 0);
        if (cuota == 0) continue;
        const auto& mod = kModulosMenu[size_t(m)];
        const QString raiz = QString::fromLatin1(mod.clave);
        agregar(raiz, QString(), QString::fromUtf8(mod.nombre), mod.imagen);
        const int resto = cuota - 1;
        if (resto == 0) continue;
        const int hijos = std::min(89, resto);
        const int nietos = (resto + hijos - 1) / hijos - 1;
        if (nietos > 89)
          throw vb::Error(vb::kInvalidProcedureCall, QStringLiteral("Demasiadas tareas para el menú generado"),
                          kOrigen);
        int puestas = 0;
        for (int c = 10; c < 10 + hijos && puestas < resto; ++c) {
          const QString hijo = raiz + QString::number(c);
          agregar(hijo, raiz, QStringLiteral("Tarea %1").arg(hijo), kIconosTarea[size_t(c) % kIconosTarea.size()]);
          ++puestas;
          for (int k = 10; k < 10 + nietos && puestas < resto; ++k) {
            const QString nieto = hijo + QString::number(k);
            agregar(nieto, hijo, QStringLiteral("Tarea %1").arg(nieto), kIconosTarea[size_t(k) % kIconosTarea.size()]);
            ++puestas;
          }
        }
      }
    }

    {
      Sentencia usuario(h,
                        "INSERT INTO TA_USUARIOS (Nombre, NombreCompleto, Grupo, EsGrupo, UNegocio, Administrador, "
                        "VerProforma, FechaAlta) VALUES (?, ?, ?, ?, ?, ?, 1, '2024-01-01 00:00:00')");
      for (const char* g : kGrupos)
        usuario.texto(1, QString::fromLatin1(g))
            .texto(2, QStringLiteral("Grupo %1").arg(QString::fromLatin1(g)))
            .texto(3, QString())
            .entero(4, 1)
            .texto(5, QStringLiteral("0001"))
            .entero(6, 0)
            .ejecutar();
      Sentencia permiso(h,
                        "INSERT OR IGNORE INTO TA_USUARIOS_TAREAS (Usuario, MENU, CLAVE, FechaAlta) "
                        "VALUES (?, 'ZEPA', ?, '2024-01-01 00:00:00')");
      // A fixed linear congruential sequence: the same sizes, the same rows.
      std::uint32_t semilla = 12345u;
      auto azar = [&semilla](std::uint32_t n) {
        semilla = semilla * 1664525u + 1013904223u;
        return (semilla >> 8) % n;
      };
      for (int i = 1; i <= v.usuarios; ++i) {
        const QString nombre = nombreUsuarioGenerado(i);
        usuario.texto(1, nombre)
            .texto(2, QStringLiteral("Usuario Generado %1").arg(i))
            .texto(3, QString::fromLatin1(kGrupos[size_t(i) % kGrupos.size()]))
            .entero(4, 0)
            .texto(5, QStringLiteral("%1").arg((i - 1) % v.unidades + 1, 4, 10, QLatin1Char('0')))
            .entero(6, i == 1 ? 1 : 0)
            .ejecutar();
        if (claves.empty()) continue;
        for (int t = 0; t < v.tareasPorUsuario; ++t)
          permiso.texto(1, nombre).texto(2, claves[azar(std::uint32_t(claves.size()))]).ejecutar();
      }
    }

    // The settings and report rows of the demo, so the program finds its
    // modules switched on and its report files.
    ejecutar(h,
             "INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES "
             "('DATOS', 'NOMBRE', 'Empresa Generada S.A.'),"
             "('DATOS', 'TitPresupuesto', 'D30'), ('DATOS', 'TitOrdenDeTrabajo', 'D40'),"
             "('DATOS', 'TitOrdenDeProduccion', 'D4020'), ('DATOS', 'TitCompras', 'D50'),"
             "('DATOS', 'TitOrdenDeCompra', 'D5080'), ('DATOS', 'TitOrdenDePago', 'D5090'),"
             "('DATOS', 'TitVentas', 'D60'), ('DATOS', 'TitCajayBancos', 'D75'),"
             "('DATOS', 'TitStock', 'D80'), ('DATOS', 'TitContable', 'D95');"
             "INSERT INTO TA_REPORTES (NOMBRE, Archivo) VALUES ('RP_Usuarios_Grupos', ''),"
             "('RP_Usuarios_UNEG', ''), ('RP_Usuarios_TAREAS', '');");
    ejecutar(h, "COMMIT;");
  });
}

QStringList copiarReportes(const QString& carpeta) {
  QDir().mkpath(carpeta);
  QStringList rutas;
  for (const char* nombre : kReportes) {
    const QString ruta = QDir(carpeta).filePath(QString::fromLatin1(nombre));
    const QByteArray contenido = recurso(QStringLiteral("reportes/") + QString::fromLatin1(nombre));
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(contenido) != contenido.size() || !f.commit())
      throw vb::Error(vb::kPathFileAccessError, QStringLiteral("No se pudo escribir %1").arg(ruta), kOrigen);
    rutas << ruta;
  }
  return rutas;
}

void escribirAlias(const QString& carpetaConfig, const QString& servidor, const QString& carpetaDatos) {
  QDir().mkpath(carpetaConfig);
  const QString ruta = QDir(carpetaConfig).filePath(QStringLiteral("CN000pr.INI"));
  QSaveFile f(ruta);
  const QByteArray texto = (QStringLiteral("[Servidores]\n") + servidor + QStringLiteral("=sqlite:") +
                            QDir(carpetaDatos).absolutePath() + QStringLiteral("\n"))
                               .toUtf8();
  if (!f.open(QIODevice::WriteOnly) || f.write(texto) != texto.size() || !f.commit())
    throw vb::Error(vb::kPathFileAccessError, QStringLiteral("No se pudo escribir %1").arg(ruta), kOrigen);
}

}  // namespace demo
