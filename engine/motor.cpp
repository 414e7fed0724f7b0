#include "engine/motor.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "engine/errores.h"
#include "engine/impresion.h"
#include "engine/tabla.h"
#include "engine/vista_previa.h"
#include "platform/ui/servicio.h"

namespace engine {

namespace {
bool esTabla(Destino d) { return d == Destino::Xlsx || d == Destino::Csv; }
FormatoTabla formatoTabla(Destino d) { return d == Destino::Xlsx ? FormatoTabla::Xlsx : FormatoTabla::Csv; }
}  // namespace

std::pair<QString, QString> leerAsignacion(const QString& asignacion) {
  const qsizetype igual = asignacion.indexOf(QLatin1Char('='));
  const auto mal = [&] {
    lanzar(kErrorSolicitud,
           QStringLiteral("La asignación de fórmula \"%1\" no tiene la forma Nombre = 'valor'").arg(asignacion));
  };
  if (igual < 0) mal();
  QString nombre = asignacion.left(igual).trimmed();
  if (nombre.startsWith(QLatin1Char('@'))) nombre = nombre.mid(1);
  if (nombre.isEmpty()) mal();
  for (QChar c : nombre)
    if (!c.isLetterOrNumber() && c != QLatin1Char('_') && c != QLatin1Char(' ')) mal();
  const QString resto = asignacion.mid(igual + 1).trimmed();
  QString valor;
  if (resto.size() >= 2 && (resto.front() == QLatin1Char('\'') || resto.front() == QLatin1Char('"')) &&
      resto.back() == resto.front()) {
    const QChar q = resto.front();
    // Everything between the outer quotes; a doubled quote stands for one,
    // a lone one (the program does not double them) is kept as it is.
    valor = resto.mid(1, resto.size() - 2);
    valor.replace(QString(2, q), QString(q));
  } else if (!resto.isEmpty() && resto.front() != QLatin1Char('\'') && resto.front() != QLatin1Char('"')) {
    valor = resto;  // a bare number
  } else {
    mal();
  }
  return {nombre, valor};
}

ado::Connection conexionDe(const SolicitudReporte& s) {
  const QString texto = s.conexion.trimmed();
  const bool esNombre = !texto.isEmpty() && !texto.contains(QLatin1Char('='));
  ado::Connection cn;
  if (esNombre && existeOrigenOdbc(texto)) {
    try {
      cn.Open(QStringLiteral("DSN=") + texto + QLatin1Char(';'));
    } catch (const vb::Error& e) {
      lanzar(e.Number(), QStringLiteral("No se puede abrir el origen de datos ODBC \"%1\" del reporte: %2")
                             .arg(texto, e.Description()));
    }
    return cn;
  }
  if (s.conexionAbierta && s.conexionAbierta->State() == ado::adStateOpen) return *s.conexionAbierta;
  if (!esNombre && !texto.isEmpty()) {
    try {
      cn.Open(texto);
    } catch (const vb::Error& e) {
      lanzar(e.Number(), QStringLiteral("No se puede abrir la conexión del reporte: %1").arg(e.Description()));
    }
    return cn;
  }
  lanzar(kErrorSolicitud,
         QStringLiteral("No hay conexión para el reporte: \"%1\" no es un origen de datos ODBC configurado "
                        "y no se recibió una conexión abierta")
             .arg(texto));
}

class ReportePreparado::Filtradas : public FuenteFilas {
 public:
  Filtradas(std::unique_ptr<FuenteFilas> base, const Formula& residuo) : base_(std::move(base)), residuo_(residuo) {}
  bool siguiente(Fila& fila) override {
    while (base_->siguiente(fila))
      if (residuo_.selecciona(fila)) return true;
    return false;
  }

 private:
  std::unique_ptr<FuenteFilas> base_;
  const Formula& residuo_;
};

namespace {

// While it lives, the database's long waits go to `seguir` and cancel the
// statement when it answers false.
class EsperaDatos {
 public:
  EsperaDatos(FuenteDatos& datos, std::function<bool()> seguir) : datos_(datos), activa_(static_cast<bool>(seguir)) {
    if (activa_) datos_.setEspera(std::move(seguir));
  }
  ~EsperaDatos() {
    if (activa_) datos_.setEspera({});
  }
  EsperaDatos(const EsperaDatos&) = delete;
  EsperaDatos& operator=(const EsperaDatos&) = delete;

 private:
  FuenteDatos& datos_;
  bool activa_;
};

std::function<bool()> enFase(const Avance& avance, Fase fase, std::function<long()> hechas = {}) {
  if (!avance) return {};
  return [avance, fase, hechas = std::move(hechas)] { return avance(fase, hechas ? hechas() : 0, -1); };
}

}  // namespace

std::unique_ptr<ReportePreparado> ReportePreparado::preparar(const SolicitudReporte& s, const Avance& avance) {
  // File and formula first: their faults need no database.
  DefinicionReporte def = cargarDefinicion(s.archivo);
  (void)Formula::analizar(s.formula);
  for (const QString& a : s.asignaciones)
    if (!a.trimmed().isEmpty()) leerAsignacion(a);
  auto datos = std::make_unique<DatosAdo>(conexionDe(s));
  return preparar(s, std::move(datos), avance);
}

std::unique_ptr<ReportePreparado> ReportePreparado::preparar(const SolicitudReporte& s,
                                                             std::unique_ptr<FuenteDatos> datos, const Avance& avance) {
  std::unique_ptr<ReportePreparado> r(new ReportePreparado);
  r->def_ = cargarDefinicion(s.archivo);
  Formula formula = Formula::analizar(s.formula);
  r->entorno_.formulas = r->def_.formulas;
  for (const QString& a : s.asignaciones) {
    if (a.trimmed().isEmpty()) continue;
    auto [nombre, valor] = leerAsignacion(a);
    const int i = r->def_.formula(nombre);
    // The launcher may assign a field the file does not declare (the company
    // name); it is kept for the page texts all the same.
    if (i >= 0)
      r->entorno_.formulas[size_t(i)].second = valor;
    else
      r->entorno_.formulas.emplace_back(nombre, valor);
  }
  r->datos_ = std::move(datos);
  const EsperaDatos espera(*r->datos_, enFase(avance, Fase::Consulta));
  r->columnas_ = r->datos_->columnas(r->def_.consulta);
  validarCampos(r->def_, r->columnas_);

  const auto& def = r->def_;
  const auto& columnas = r->columnas_;
  formula.resolver(
      [&](const QString& tabla, const QString& campo) {
        const QString completo = tabla.isEmpty() ? campo : tabla + QLatin1Char('.') + campo;
        for (const auto& [nombre, columna] : def.alias)
          if (nombre.compare(completo, Qt::CaseInsensitive) == 0 ||
              (tabla.isEmpty() && nombre.compare(campo, Qt::CaseInsensitive) == 0))
            return buscarColumna(columnas, columna);
        return buscarColumna(columnas, campo);
      },
      [&](const QString& nombre, Valor& v) {
        for (const auto& [n, valor] : r->entorno_.formulas)
          if (n.compare(nombre, Qt::CaseInsensitive) == 0) {
            v = Valor::texto(valor);
            return true;
          }
        return false;
      },
      [&](int c) { return size_t(c) < columnas.size() ? columnas[size_t(c)].tipo : Valor::Tipo::Nulo; });
  r->seleccion_ = separar(formula, columnas, r->datos_->dialecto(), r->datos_->limites());

  std::vector<ClaveOrden> orden;
  for (const GrupoReporte& g : def.grupos) orden.push_back({columnas[size_t(g.indice)], false});
  for (const OrdenReporte& o : def.orden) orden.push_back({columnas[size_t(o.indice)], o.descendente});
  r->sql_ = consultaFiltrada(def.consulta, r->seleccion_.donde, orden, r->datos_->dialecto());

  auto filas = r->datos_->abrir(r->sql_, r->seleccion_.parametros, columnas);
  if (!r->seleccion_.residuo.vacia()) filas = std::make_unique<Filtradas>(std::move(filas), r->seleccion_.residuo);
  r->filas_ = std::move(filas);
  r->maquetador_ = std::make_unique<Maquetador>(r->def_, r->entorno_, *r->filas_);
  return r;
}

bool ReportePreparado::siguientePagina(const Avance& avance) {
  const EsperaDatos espera(*datos_, enFase(avance, Fase::Maquetado, [this] { return maquetador_->filas(); }));
  return maquetador_->siguientePagina();
}

bool ReportePreparado::completar(const Avance& avance) {
  const EsperaDatos espera(*datos_, enFase(avance, Fase::Maquetado, [this] { return maquetador_->filas(); }));
  try {
    while (!maquetador_->completo()) {
      if (avance && !avance(Fase::Maquetado, maquetador_->filas(), -1)) return false;
      maquetador_->siguientePagina();
    }
  } catch (const vb::Error& e) {
    if (esCancelacion(e)) return false;
    throw;
  }
  return true;
}

Resultado EmitirReporte(const SolicitudReporte& s) {
  if (s.destino == Destino::Pdf && s.archivoPdf.trimmed().isEmpty())
    lanzar(kErrorSolicitud, QStringLiteral("No se indicó el archivo PDF del reporte %1").arg(s.archivo));
  if (esTabla(s.destino) && s.archivoPdf.trimmed().isEmpty())
    lanzar(kErrorSolicitud, QStringLiteral("No se indicó el archivo de la planilla del reporte %1").arg(s.archivo));
  // Before the query runs: a print service that is down is told at once.
  if (s.destino == Destino::Impresora) comprobarServicioImpresion();
  // From the first second: the query, page one or every page, and sending them.
  std::unique_ptr<ui::Progreso> ventana;
  Avance avance = s.avance;
  const auto abrirVentana = [&] {
    if (s.avance || !s.opcionC) return;
    ventana = ui::servicio().IniciarProgreso(QStringLiteral("Reporte"));
    avance = avanceDe(*ventana);
  };
  abrirVentana();
  try {
    auto reporte = ReportePreparado::preparar(s, avance);
    if (s.destino == Destino::Pantalla) {
      // Page one may take long too, when the selection is evaluated on the rows.
      reporte->siguientePagina(avance);
      ventana.reset();
      VistaPrevia vista(std::move(reporte), s);
      ui::servicio().MostrarModal(vista);
      return Resultado::Emitido;
    }
    if (!reporte->completar(avance)) return Resultado::Cancelado;
    const Documento& doc = reporte->documento();
    if (s.destino == Destino::Pdf)
      return escribirPdf(doc, s.archivoPdf, avance) ? Resultado::Emitido : Resultado::Cancelado;
    if (esTabla(s.destino)) {
      escribirTabla(reporte->definicion(), reporte->filas(), s.archivoPdf, formatoTabla(s.destino));
      return Resultado::Emitido;
    }

    QPrinter impresora(QPrinter::HighResolution);
    const QPrinterInfo predeterminada = QPrinterInfo::defaultPrinter();
    if (!predeterminada.isNull()) {
      impresora.setPrinterName(predeterminada.printerName());
    } else {
      QPrintDialog dialogo(&impresora, s.padre);
      ofrecerPaginas(dialogo, doc.paginas(), false);
      if (ventana) ventana.reset();
      if (ui::servicio().MostrarModal(dialogo) != QDialog::Accepted) return Resultado::Cancelado;
      abrirVentana();
    }
    return imprimirDocumento(doc, impresora, avance) ? Resultado::Emitido : Resultado::Cancelado;
  } catch (const vb::Error& e) {
    if (esCancelacion(e)) return Resultado::Cancelado;
    throw;
  }
}

}  // namespace engine
