#include "menu/rt_iconoslst.h"

#include <QDir>
#include <QHash>
#include <algorithm>

#include "data/db_dll.h"
#include "menu/traza.h"
#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/vb/manejo.h"
#include "platform/vb/strings.h"
#include "services/configuracion.h"
#include "services/sesion.h"
#include "suite/icono_svg.h"
#include "suite/util_general.h"

// Resources of a static library are not registered on their own.
static void registrarIconosMenu() { Q_INIT_RESOURCE(iconos_menu); }

namespace Rt_IconosLst {

namespace {

using vb::Trim;

const QString kCarpetaIconos = QStringLiteral(":/menu/iconos");

// Upper-cased resource name -> resource path. The resources are compiled in,
// so the index is built once for the process.
const QHash<QString, QString>& indiceRecursos() {
  static const QHash<QString, QString> indice = [] {
    registrarIconosMenu();
    QHash<QString, QString> h;
    const QDir carpeta(kCarpetaIconos);
    for (const QString& archivo : carpeta.entryList({QStringLiteral("*.svg")}, QDir::Files)) {
      const QString nombre = archivo.left(archivo.size() - 4);
      h.insert(vb::UCase(nombre), carpeta.filePath(archivo));
    }
    return h;
  }();
  return indice;
}

}  // namespace

const QStringList& clavesIconos() {
  static const QStringList claves = {
      QStringLiteral("Maestros"),
      QStringLiteral("Articulos"),
      QStringLiteral("Tareas"),
      QStringLiteral("Presupuestos"),
      QStringLiteral("AutorizacionPresupuestos"),
      QStringLiteral("Seguridad"),
      QStringLiteral("Configuracion"),
      QStringLiteral("Usuarios"),
      QStringLiteral("Tecnicos"),
      QStringLiteral("Otrabajo"),
      QStringLiteral("AutorizacionTareas"),
      QStringLiteral("Tablas"),
      QStringLiteral("ReporteUsuarios"),
      QStringLiteral("Salir"),
      QStringLiteral("Reportes"),
      QStringLiteral("Comprobantes"),
      QStringLiteral("Clientes"),
      QStringLiteral("Proveedores"),
      QStringLiteral("Stock"),
      QStringLiteral("Facturacion"),
      QStringLiteral("UnUsuario"),
      QStringLiteral("TrabajosEnComision"),
      QStringLiteral("ControlDeTareas"),
      QStringLiteral("TareasDiarias"),
      QStringLiteral("Utilidades"),
      QStringLiteral("Vendedores"),
      QStringLiteral("ProveedoresII"),
      QStringLiteral("COMPROBANTESCOMPRASII"),
      QStringLiteral("TABLADECOMPROBANTES"),
      QStringLiteral("Factura"),
      QStringLiteral("Cobranzas"),
      QStringLiteral("RtoLote"),
      QStringLiteral("CajayBanco"),
      QStringLiteral("MovCajayBanco"),
      QStringLiteral("Recibo"),
  };
  return claves;
}

namespace {
// Icons already drawn, kept by the program context so that none outlives
// the application object.
struct IconosDibujados {
  QHash<QString, QIcon> porNombre;
};
}  // namespace

QIcon iconoRecurso(const QString& nombre) {
  QHash<QString, QIcon>& dibujados = ctx::actual().instancia<IconosDibujados>().porNombre;
  const QString clave = vb::UCase(nombre);
  auto it = dibujados.constFind(clave);
  if (it != dibujados.constEnd()) return *it;
  const QString ruta = indiceRecursos().value(clave);
  QIcon icono = ruta.isEmpty() ? QIcon() : ZepaKit2::iconoSvg(ruta, {16, 32, 48});
  if (icono.isNull())
    throw vb::Error(kErrorRecursoNoEncontrado,
                    QStringLiteral("No se encontró el recurso con el identificador '%1'").arg(nombre));
  dibujados.insert(clave, icono);
  return icono;
}

void CargarIconosLst(ListaImagenes& chica, ListaImagenes& grande) {
  vb::Pasos pasos({traza::menu(), "CargarIconosLst"}, [](const vb::Error& e) {
    return ZepaKit2::util().DialogoError(e, std::nullopt, QStringLiteral("CargarIconosLst"));
  });
  if (!pasos.run([&] { chica.Clear(); })) return;
  if (!pasos.run([&] { chica.setImageHeight(16); })) return;
  if (!pasos.run([&] { chica.setImageWidth(16); })) return;
  if (!pasos.run([&] { grande.Clear(); })) return;
  if (!pasos.run([&] { grande.setImageHeight(32); })) return;
  if (!pasos.run([&] { grande.setImageWidth(32); })) return;
  // The image and its tag go in together: a skipped image leaves no
  // untagged image behind, so IndiceImagen still finds the others by tag.
  for (const QString& clave : clavesIconos()) {
    if (!pasos.run([&] { chica.Add(iconoRecurso(vb::UCase(clave)), clave); })) return;
    if (!pasos.run([&] { grande.Add(iconoRecurso(vb::UCase(clave)), clave); })) return;
  }
}

std::int16_t IndiceImagen(const ListaImagenes& lista, const QString& tag) {
  const QString buscado = vb::UCase(Trim(tag));
  const int total = lista.Count();
  for (int i = 1; i <= total; ++i)
    if (vb::UCase(Trim(lista.Tag(i))) == buscado) return static_cast<std::int16_t>(i);
  return 0;
}

const std::array<Modulo, kModulos>& modulos() {
  static const std::array<Modulo, kModulos> tabla = {{
      {"TitPresupuesto", "D30", "ModuloPresupuesto"},
      {"TitOrdenDeTrabajo", "D40", "ModuloOrdenDeTrabajo"},
      {"TitOrdenDeProduccion", "D4020", "ModuloOrdenDeProduccion"},
      {"TitCompras", "D50", "ModuloCompra"},
      {"TitOrdenDeCompra", "D5080", "ModuloOrdenDeCompra"},
      {"TitOrdenDePago", "D5090", "ModuloOrdenDePago"},
      {"TitVentas", "D60", "ModuloVenta"},
      {"TitCajayBancos", "D75", "ModuloCajayBanco"},
      {"TitStock", "D80", "ModuloStock"},
      {"TitContable", "D95", "ModuloContable"},
  }};
  return tabla;
}

Estado& estado() { return ctx::actual().instancia<Estado>(); }

void CargarArbolMenu(Arbol& arbol, const ListaImagenes& lista, const QString& menu, bool expandir) {
  using ModGlobal::Cfg;
  auto& u = ZepaKit2::util();
  auto& d = db();
  Estado& e = estado();
  vb::Pasos pasos({traza::menu(), "CargarArbolMenu"},
                  [&u](const vb::Error& err) { return u.DialogoError(err, std::nullopt, QString()); });
  const auto& tabla = modulos();
  auto texto = [](const char* c) { return QString::fromLatin1(c); };

  // 1. The work-order prefix alone tells whether the defaults were ever written.
  QString valor;
  if (!pasos.run([&] { valor = Trim(Cfg(QStringLiteral("TitOrdenDeTrabajo"))); })) return;
  if (valor.isEmpty()) {
    for (const Modulo& m : tabla) {
      if (!pasos.run([&] {
            ModGlobal::GrabaDfg(texto(m.clavePrefijo), vb::Variant(texto(m.prefijoPorDefecto)), QString(), false,
                                QStringLiteral("DATOS"));
          }))
        return;
    }
  }

  // 2 and 3. Prefixes, then switches: only "NO" exactly switches a module off.
  for (int i = 0; i < kModulos; ++i)
    if (!pasos.run([&] { e.prefijos[i] = Trim(Cfg(texto(tabla[i].clavePrefijo))); })) return;
  for (int i = 0; i < kModulos; ++i)
    if (!pasos.run([&] { e.activos[i] = Trim(Cfg(texto(tabla[i].claveSwitch))) != QStringLiteral("NO"); })) return;
  ModGlobal::sesion().ModuloOrdenDeTrabajo = e.activos[1];

  // The rows are read once, forward: a server cursor hands them over as the
  // driver reads them, with no copy of the whole menu kept aside.
  ado::Recordset rs;
  rs.setCursorLocation(ado::adUseServer);
  if (!pasos.run([&] {
        d.AbrirRecordset(QStringLiteral("SELECT * FROM TA_MENU WHERE MENU = '") + menu +
                             QStringLiteral("' AND (HABILITADO = 1) ORDER BY CLAVE "),
                         rs);
      }))
    return;

  // 5. No enabled rows: with no system menu at all this is the wrong
  // database, and the program cannot go on. With a system menu, the tree
  // stays as it is.
  bool vacio = false;
  if (!pasos.run([&] { vacio = rs.State() == ado::adStateClosed || rs.EOF(); })) return;
  if (vacio) {
    ado::Recordset sistema;
    bool sinSistema = false;
    if (!pasos.run([&] {
          d.AbrirRecordset(
              QStringLiteral("SELECT * FROM TA_MENU WHERE MENU = '") + QStringLiteral("ZEPA") + QStringLiteral("'"),
              sistema);
        }))
      return;
    if (!pasos.run([&] { sinSistema = sistema.State() == ado::adStateClosed || sistema.EOF(); })) return;
    if (sinSistema) {
      ui::servicio().MsgBox(
          QStringLiteral("No se ha encontrado la Tabla Menú del Sistma, verifique si se ha conectado a la base de "
                         "datos correcta, o si tiene permiso para leer esta base..."),
          ui::vbCritical, QStringLiteral("ATENCIóN!!!"));
      ui::servicio().End();
    }
    vb::omitir({traza::menu(), "CargarArbolMenu"}, [&] { d.CierraRecordset(sistema); });
    vb::omitir({traza::menu(), "CargarArbolMenu"}, [&] { d.CierraRecordset(rs); });
    return;
  }

  // 6. Rows. The image list does not change while the tree loads, so each
  // distinct image text is looked up once.
  QHash<QString, std::int16_t> imagenes;
  QString clave, titulo, nombre, imagen, proceso;
  // Each field is found by name once; a name that fails is looked for again
  // on the next row, as a plain lookup each time would.
  std::array<ado::Field*, 5> campos{};
  auto campo = [&](int k, const char* nombreCampo, QString& destino) {
    return pasos.run([&] {
      if (!campos[k]) campos[k] = &rs.Fields(nombreCampo);
      u.ValorCampo(*campos[k], destino);
      destino = Trim(destino);
    });
  };
  // With every module on, no prefix can hide a row.
  const bool todosActivos = std::all_of(e.activos.begin(), e.activos.end(), [](bool activo) { return activo; });
  // The view takes the new nodes in one go when the rows end.
  Arbol::Carga carga(arbol);
  bool sigue = true;
  while (sigue && !rs.EOF()) {
    // Emptied but kept: each row's texts are written over the last row's.
    clave.truncate(0);
    titulo.truncate(0);
    nombre.truncate(0);
    imagen.truncate(0);
    proceso.truncate(0);
    if (!campo(0, "Clave", clave) || !campo(1, "Titulo", titulo) || !campo(2, "Nombre", nombre) ||
        !campo(3, "Imagen", imagen) || !campo(4, "Proceso", proceso))
      break;

    bool visible = true;
    const bool hijo = !titulo.isEmpty();
    if (hijo && !todosActivos) {
      // Every module is tested; a later, longer prefix overrides its parent module.
      for (int i = 0; i < kModulos; ++i)
        if (clave.startsWith(e.prefijos[i])) visible = e.activos[i];
    }

    Nodo* nodo = nullptr;
    if (visible) {
      if (!pasos.run([&] {
            auto it = imagenes.constFind(imagen);
            if (it == imagenes.constEnd()) it = imagenes.insert(imagen, IndiceImagen(lista, imagen));
            try {
              // The task it runs is its tag, given with the node.
              nodo = hijo ? &arbol.Nodes().Add(titulo, tvwChild, clave, nombre, *it, proceso)
                          : &arbol.Nodes().Add(QString(), tvwLast, clave, nombre, *it, proceso);
            } catch (const vb::Error& err) {
              // Its parent is not in the tree: the row is skipped, silently.
              if (err.Number() != vb::kElementNotFound) throw;
              vb::registrar({traza::menu(), "CargarArbolMenu"}, err,
                            u"la tarea se salta: su padre no está en el árbol");
            }
          }))
        break;
      if (nodo && !pasos.run([&] { nodo->setExpanded(expandir); })) break;
    }

    // A move that fails and is ignored would read the same row for ever:
    // the rows end there instead.
    bool movido = false;
    if (!pasos.run([&] {
          rs.MoveNext();
          movido = true;
        }))
      break;
    sigue = movido;
  }
  vb::omitir({traza::menu(), "CargarArbolMenu"}, [&] { d.CierraRecordset(rs); });
}

}  // namespace Rt_IconosLst
