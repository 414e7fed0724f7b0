// The table as an Excel workbook through libxlsxwriter. The library writes
// to a path of its own: a private temporary folder, whose file is read back
// so that escribirTabla puts it in place the way every file is.
#include <xlsxwriter.h>
#include <QDateTime>
#include <QTemporaryDir>

#include <cmath>

#include "engine/errores.h"
#include "engine/tabla.h"
#include "platform/vb/archivos.h"

namespace engine {

namespace {

constexpr int kMaxTexto = 32767;  // characters in one cell

// Qt's date pattern in Excel's words: M is the month, m the minute (Excel
// tells them apart by the h before it), H and h the hour, 'text' literal.
QByteArray formatoFecha(const QString& qt) {
  QString r;
  for (qsizetype i = 0; i < qt.size(); ++i) {
    const QChar c = qt[i];
    if (c == QLatin1Char('\'')) {
      const qsizetype fin = qt.indexOf(QLatin1Char('\''), i + 1);
      const QString literal = qt.mid(i + 1, (fin < 0 ? qt.size() : fin) - i - 1);
      r += QLatin1Char('"') + literal + QLatin1Char('"');
      i = fin < 0 ? qt.size() : fin;
    } else if (c == QLatin1Char('M')) {
      r += QLatin1Char('m');
    } else if (c == QLatin1Char('H')) {
      r += QLatin1Char('h');
    } else if (c == QLatin1Char('A') || c == QLatin1Char('a')) {
      if (i + 1 < qt.size() && (qt[i + 1] == QLatin1Char('P') || qt[i + 1] == QLatin1Char('p'))) ++i;
      r += QStringLiteral("AM/PM");
    } else if (c == QLatin1Char('z')) {
      // Milliseconds: Excel shows them after the seconds' point.
      if (!r.endsWith(QLatin1Char('.'))) r += QLatin1Char('.');
      r += QLatin1Char('0');
    } else {
      r += c;
    }
  }
  return r.toUtf8();
}

// The workbook and its formats; closed (and so written) once.
class Libro {
 public:
  Libro(const QString& ruta, const QString& carpetaTemporal) : tmp_(QFile::encodeName(carpetaTemporal)) {
    lxw_workbook_options opciones{};
    opciones.constant_memory = LXW_TRUE;  // rows go to disk as they are written
    opciones.tmpdir = tmp_.data();
    libro_ = workbook_new_opt(QFile::encodeName(ruta).constData(), &opciones);
    if (!libro_) lanzar(kErrorSalida, QStringLiteral("No se pudo preparar la planilla de Excel"));
  }
  ~Libro() {
    if (libro_) workbook_close(libro_);
  }
  lxw_workbook* get() const { return libro_; }
  lxw_format* formato(const QByteArray& numero, bool negrita = false) {
    lxw_format* f = workbook_add_format(libro_);
    if (!numero.isEmpty()) format_set_num_format(f, numero.constData());
    if (negrita) {
      format_set_bold(f);
      format_set_bottom(f, LXW_BORDER_THIN);
    }
    return f;
  }
  void cerrar() {
    const lxw_error e = workbook_close(libro_);
    libro_ = nullptr;
    if (e != LXW_NO_ERROR)
      lanzar(kErrorSalida,
             QStringLiteral("No se pudo escribir la planilla de Excel: %1").arg(QString::fromUtf8(lxw_strerror(e))));
  }

 private:
  QByteArray tmp_;
  lxw_workbook* libro_ = nullptr;
};

// A sheet's name: 31 characters at most, none of []:*?/\ and not empty.
QByteArray nombreHoja(const QString& titulo) {
  QString n;
  for (QChar c : titulo)
    if (!QStringLiteral("[]:*?/\\'").contains(c) && c.isPrint()) n += c;
  n = n.trimmed().left(31).trimmed();
  return (n.isEmpty() ? QStringLiteral("Reporte") : n).toUtf8();
}

QByteArray utf8(const QString& s) { return s.left(kMaxTexto).toUtf8(); }

// A number format such as "0.00" or "#,##0.00" reads the same in Excel;
// anything else (a date's, a logical's) is no number format.
QByteArray formatoNumero(const QString& formato) {
  const QString f = formato.trimmed();
  for (QChar c : f)
    if (!QStringLiteral("0#,.").contains(c)) return {};
  return f.toUtf8();
}

}  // namespace

QByteArray tablaXlsx(const DefinicionReporte& d, const FilasCompactas& filas) {
  const std::vector<ColumnaTabla> columnas = columnasTabla(d);
  if (filas.cantidad() + 1 > long(LXW_ROW_MAX))
    lanzar(kErrorSalida, QStringLiteral("El reporte tiene %1 filas y una hoja de Excel admite %2 con la de títulos")
                             .arg(filas.cantidad())
                             .arg(LXW_ROW_MAX));
  QTemporaryDir tmp;
  if (!tmp.isValid())
    lanzar(kErrorSalida, QStringLiteral("No hay una carpeta temporal para preparar la planilla de Excel"));
  const QString ruta = tmp.filePath(QStringLiteral("tabla.xlsx"));
  {
    Libro libro(ruta, tmp.path());
    const QByteArray titulo = d.titulo.toUtf8();
    lxw_doc_properties propiedades{};
    propiedades.title = const_cast<char*>(titulo.constData());
    propiedades.author = const_cast<char*>("Rp_Usuarios");
    workbook_set_properties(libro.get(), &propiedades);
    lxw_worksheet* hoja = workbook_add_worksheet(libro.get(), nombreHoja(d.titulo).constData());
    lxw_format* negrita = libro.formato({}, true);
    lxw_format* fecha = libro.formato("dd/mm/yyyy");
    lxw_format* fechaHora = libro.formato("dd/mm/yyyy hh:mm:ss");
    // Each column's format, for the numbers and for the dates it holds.
    std::vector<lxw_format*> numeros(columnas.size(), nullptr), fechas(columnas.size(), nullptr);
    for (size_t i = 0; i < columnas.size(); ++i) {
      const QString f = columnas[i].formato.trimmed();
      if (f.isEmpty()) continue;
      const QByteArray numero = formatoNumero(f);
      if (!numero.isEmpty())
        numeros[i] = libro.formato(numero);
      else
        fechas[i] = libro.formato(formatoFecha(f));
    }
    for (size_t i = 0; i < columnas.size(); ++i) {
      // About one character of the default font per 1.9 mm of the report's width.
      const double ancho = columnas[i].anchoMm > 0 ? columnas[i].anchoMm / 1.9 : 16;
      worksheet_set_column(hoja, lxw_col_t(i), lxw_col_t(i), std::max(6.0, ancho), nullptr);
      worksheet_write_string(hoja, 0, lxw_col_t(i), utf8(columnas[i].titulo).constData(), negrita);
    }
    worksheet_freeze_panes(hoja, 1, 0);
    lxw_row_t fila = 1;
    Fila f;
    for (long n = 0; n < filas.cantidad(); ++n) {
      filas.leer(n, f);
      for (size_t i = 0; i < columnas.size(); ++i) {
        const ColumnaTabla& c = columnas[i];
        const Valor& v = f[size_t(c.indice)];
        const lxw_col_t col = lxw_col_t(i);
        switch (v.tipo()) {
          case Valor::Tipo::Nulo: break;
          case Valor::Tipo::Numero:
            if (std::isfinite(v.comoNumero())) {
              worksheet_write_number(hoja, fila, col, v.comoNumero(), numeros[i]);
              break;
            }
            worksheet_write_string(hoja, fila, col, utf8(textoCelda(v, c)).constData(), nullptr);
            break;
          case Valor::Tipo::Fecha: {
            const QDateTime& t = v.comoFecha();
            // Excel's dates start in 1900; an earlier one stays a text.
            if (!t.isValid() || t.date().year() < 1900 || t.date().year() > 9999) {
              worksheet_write_string(hoja, fila, col, utf8(textoCelda(v, c)).constData(), nullptr);
              break;
            }
            lxw_datetime dt{t.date().year(), t.date().month(),  t.date().day(),
                            t.time().hour(), t.time().minute(), t.time().second() + t.time().msec() / 1000.0};
            lxw_format* formato = fechas[i] ? fechas[i] : (t.time() == QTime(0, 0) ? fecha : fechaHora);
            worksheet_write_datetime(hoja, fila, col, &dt, formato);
            break;
          }
          case Valor::Tipo::Logico:
          case Valor::Tipo::Texto:
            worksheet_write_string(hoja, fila, col, utf8(textoCelda(v, c)).constData(), nullptr);
            break;
        }
      }
      ++fila;
    }
    if (!columnas.empty()) worksheet_autofilter(hoja, 0, 0, fila - 1, lxw_col_t(columnas.size() - 1));
    libro.cerrar();
  }
  try {
    return vb::leerArchivo(ruta);
  } catch (const vb::Error& e) {
    lanzar(kErrorSalida, QStringLiteral("No se pudo leer la planilla de Excel preparada: %1").arg(e.Description()));
  }
}

}  // namespace engine
