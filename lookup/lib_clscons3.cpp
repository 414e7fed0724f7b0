#include "lookup/lib_clscons3.h"

#include <QFile>
#include <QTextStream>
#include <cstdio>

#include <QPushButton>
#include <QTreeView>

#include "data/db_dll.h"
#include "lookup/lib_frmcons3tree.h"
#include "lookup/mascara_consulta.h"
#include "lookup/traza.h"
#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/ui/twips.h"
#include "platform/vb/convert.h"
#include "platform/vb/manejo.h"
#include "services/configuracion.h"
#include "services/mascaras.h"
#include "suite/util_general.h"

Lib_ClsCons3& clsCons3() { return ctx::actual().instancia<Lib_ClsCons3>(); }

namespace {

bool contiene(const QString& texto, const QString& buscado) { return texto.contains(buscado, Qt::CaseInsensitive); }

// A stock level colour: a key with an empty value is the number 0; a missing
// key keeps the blank Cfg answers, which the list treats as no colour.
vb::Variant nivelStock(const QString& clave) {
  const QString v = ModGlobal::Cfg(clave);
  if (v == QStringLiteral(" ")) return vb::Variant(v);
  return vb::Variant(vb::Val(v.trimmed()));
}

using Mascara = MascaraConsulta;

}  // namespace

Lib_ClsCons3::Lib_ClsCons3() {
  CmpsDevueltos = QStringList();
  Valores = QStringList();
  vb::Seguir seguir({traza::lookup(), "Class_Initialize"});
  seguir([&] { MuestraStock = ModGlobal::Cfg(QStringLiteral("MostrarStockenConsultas")); });
  seguir([&] { StkNivel1 = nivelStock(QStringLiteral("Stk_Nivel1")); });
  seguir([&] { StkNivel2 = nivelStock(QStringLiteral("Stk_Nivel2")); });
  seguir([&] { StkNivel3 = nivelStock(QStringLiteral("Stk_Nivel3")); });
  seguir([&] { StkNivel4 = nivelStock(QStringLiteral("Stk_Nivel4")); });
  seguir([&] {
    usaLike_ = ModGlobal::Cfg(QStringLiteral("UsaConsultaLike"))
                   .trimmed()
                   .compare(QStringLiteral("SI"), Qt::CaseInsensitive) == 0;
  });
}

Lib_ClsCons3::~Lib_ClsCons3() {
  CmpsDevueltos.reset();
  Valores.reset();
}

std::optional<QString> Lib_ClsCons3::ArmarSentencia(const QString& SQL, QString& CampoBusqueda, QString& Where,
                                                    const QString& SentenciaOpcional) {
  auto& u = ZepaKit2::util();
  vb::Seguir seguir({traza::lookup(), "ArmarSentencia"});

  if (Where.trimmed().length() > 1 && !Where.startsWith(QLatin1Char('(')))
    Where = QStringLiteral(" (") + Where + QStringLiteral(") ");

  std::int32_t n = 1000;
  seguir([&] {
    const double top = vb::Val(ModGlobal::Cfg(QStringLiteral("TopConsArt")).trimmed());
    if (top != 0) n = vb::Variant(top).toLong();
  });
  const QString top = QStringLiteral("SELECT TOP ") + QString::number(n) + QLatin1Char(' ');

  if (contiene(SQL, QStringLiteral("SELECT"))) {
    QString s = SQL;
    seguir([&] { s = u.ReemplazarTexto(SQL, QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("VT_MA_ARTICULOS")); });
    return s;
  }

  bool generico = !gUsarMascarasConsultas;
  if (!generico) {
    if (!QFile::exists(gRutaMascaraConsultas)) return SQL;
    std::optional<Mascara> m;
    if (!seguir([&] { m = buscarMascara(gRutaMascaraConsultas, SQL.trimmed()); })) m.reset();
    if (m) {
      QString columnas = u.Reemplazar(m->columnas, QStringLiteral("|"), QStringLiteral(",")).trimmed();
      if (columnas.startsWith(QLatin1Char(','))) columnas.remove(0, 1);
      if (columnas.endsWith(QLatin1Char(','))) columnas.chop(1);
      if (columnas.isEmpty()) columnas = QStringLiteral("*");
      if (CampoBusqueda.isEmpty()) {
        const int coma = columnas.indexOf(QLatin1Char(','));
        if (coma < 0) {
          ui::servicio().MsgBox(QStringLiteral("Debe configurar la consulta para esta tabla"), ui::vbInformation,
                                QStringLiteral("Aviso al operador"));
          return std::nullopt;
        }
        CampoBusqueda = columnas.left(coma);
      }
      QString condicion = m->condicion;
      if (condicion.trimmed().isEmpty()) condicion = Where;
      if (condicion.trimmed().isEmpty()) {
        if (m->tabla.compare(QStringLiteral("VT_PROVEEDORES"), Qt::CaseInsensitive) == 0 ||
            m->tabla.compare(QStringLiteral("VT_CLIENTES"), Qt::CaseInsensitive) == 0)
          condicion = QStringLiteral("Dada_De_Baja = 0");
        else if (m->tabla.compare(QStringLiteral("V_MA_ARTICULOS"), Qt::CaseInsensitive) == 0)
          condicion = QStringLiteral("SUSPENDIDO = 0");
      }
      QString tabla = m->tabla;
      if (tabla.compare(QStringLiteral("V_MA_ARTICULOS"), Qt::CaseInsensitive) == 0)
        tabla = QStringLiteral("VT_MA_ARTICULOS");
      QString s = top + columnas + QStringLiteral(" FROM ") + tabla;
      if (!condicion.trimmed().isEmpty()) s += QStringLiteral(" WHERE ") + condicion;
      if (!CampoBusqueda.isEmpty()) s += QStringLiteral(" ORDER BY ") + CampoBusqueda;
      return s;
    }
    generico = true;
  }

  // Generic statement: the table's own fields, in reverse order.
  if (!SentenciaOpcional.isEmpty()) return SentenciaOpcional;
  QString columnas;
  ado::Recordset rs;
  seguir([&] { db().AbrirRecordset(QStringLiteral("select top 1 * from ") + SQL, rs, nullptr, 0, 1); });
  seguir([&] {
    bool primero = true;
    for (long i = 0; i < rs.Fields().Count(); ++i) {
      const QString nombre = rs.Fields(i).Name();
      const QString may = nombre.toUpper();
      if (may == QStringLiteral("ID") || may == QStringLiteral("FECHAHORA_MODIFICACION") ||
          may == QStringLiteral("FECHAHORA_GRABACION"))
        continue;
      columnas = nombre + QLatin1Char(',') + columnas;
      if (primero)
        CampoBusqueda = nombre;
      else if (may == QStringLiteral("DESCRIPCION") || may == QStringLiteral("NOMBRE") ||
               may == QStringLiteral("DETALLE"))
        CampoBusqueda = nombre;
      primero = false;
    }
  });
  seguir([&] { db().CierraRecordset(rs); });
  if (columnas.isEmpty())
    columnas = QStringLiteral(" * ");
  else
    columnas.chop(1);
  QString s = top + columnas + QStringLiteral(" FROM ") + SQL;
  if (!CampoBusqueda.isEmpty()) s += QStringLiteral(" ORDER BY ") + CampoBusqueda;
  return s;
}

void Lib_ClsCons3::ConsultaSearch(QString SQL, Coleccion& CmpsDevueltos, const QString& Clave, QString& CampoBusqueda,
                                  QString& Where, const QString& SentenciaOpcional, bool TreeView,
                                  const QString& ValoresDefault) {
  std::optional<QString> sentencia;
  vb::Seguir seguir({traza::lookup(), "ConsultaSearch"});
  aceptado_ = false;
  if (!seguir([&] { sentencia = ArmarSentencia(SQL, CampoBusqueda, Where, SentenciaOpcional); })) sentencia = SQL;
  if (!sentencia) return;

  if (TreeView) {
    arbol_ = std::make_unique<Lib_FrmCons3Tree>();
    arbol_->SQL = *sentencia;
    arbol_->CampoDevuelto = CampoDevuelto;
    arbol_->CheckBoxes = Checks;
    Valores.reset();
    seguir([&] { aceptado_ = ui::servicio().MostrarModal(*arbol_) == QDialog::Accepted; });
    ValorDevuelto = arbol_->ValorDevuelto;
    Valores = arbol_->Valores;
    Checks = false;
  } else {
    lista_ = std::make_unique<Lib_FrmCons3>();
    Lib_FrmCons3& f = *lista_;
    f.StkNivel1 = StkNivel1;
    f.StkNivel2 = StkNivel2;
    f.StkNivel3 = StkNivel3;
    f.StkNivel4 = StkNivel4;
    f.MuestraStock = MuestraStock;
    f.CfgUsaConsultaLIKE = usaLike_;
    f.OrdenarPorLwv = !contiene(*sentencia, QStringLiteral("ORDER BY"));
    f.FiltroInicial = Clave;
    f.CampoBusqueda = CampoBusqueda;
    f.SQL = *sentencia;
    f.gConnString = gConnString;
    f.CampoDevuelto = CampoDevuelto;
    f.CheckBoxes = Checks;
    f.UsaCantidades = UsaCantidades;
    f.ValoresDefault = ValoresDefault;
    Valores.reset();
    Cantidades.reset();
    f.CmpsDevueltos = CmpsDevueltos;
    f.Valores.reset();
    f.Cantidades.reset();
    seguir([&] { aceptado_ = ui::servicio().MostrarModal(f) == QDialog::Accepted; });
    Checks = false;
    Valores = f.Valores;
    Cantidades = f.Cantidades;
    ValorDevuelto = f.ValorDevuelto;
    f.CampoDevuelto.clear();
  }

  CampoDevuelto.clear();
  CmpsDevueltos.reset();
  if (lista_) {
    lista_->Valores.reset();
    lista_->Cantidades.reset();
    seguir([&] { lista_->Descargar(); });
  }
  if (arbol_) seguir([&] { arbol_->Descargar(); });
  lista_.reset();
  arbol_.reset();
}

QString Lib_ClsCons3::opciones(const QString& Titulo, const QStringList& Opc, bool checks) {
  vb::Seguir seguir({traza::lookup(), "MenuOpciones"});
  lista_ = std::make_unique<Lib_FrmCons3>();
  Lib_FrmCons3& f = *lista_;
  seguir([&] { f.Cargar(); });
  f.setWindowTitle(Titulo);
  f.botonNueva()->setVisible(false);
  f.OrdenarPorLwv = true;
  f.SQL.clear();
  f.gConnString.clear();
  f.CampoDevuelto = Titulo;
  f.CheckBoxes = checks;
  f.modelo().setCheckable(checks);
  const int anchoLista = ui::aTwips(f.lista()->width());
  f.limpiarColumnas();
  f.agregarColumna(Titulo, anchoLista);
  int mayor = Titulo.length();
  for (const QString& o : Opc) {
    mayor = std::max<int>(mayor, o.length());
    if (checks)
      f.modelo().agregar(QStringList{o.mid(1)}, o.startsWith(QLatin1Char('1')));
    else
      f.modelo().agregar(QStringList{o}, false);
  }
  f.modelo().terminarCarga();
  const int pantalla = ui::aTwips(ui::servicio().AreaDisponible().width());
  f.setAnchoVentana(mayor * 120 < pantalla ? mayor * 120 : pantalla);
  seguir([&] { ui::servicio().MostrarModal(f); });
  QString r;
  if (checks)
    Valores = f.Valores;
  else
    r = f.ValorDevuelto.toText();
  seguir([&] { f.Descargar(); });
  lista_.reset();
  return r;
}

QString Lib_ClsCons3::MenuOpciones(const QString& Titulo, const QStringList& Opc) {
  return opciones(Titulo, Opc, false);
}

QString Lib_ClsCons3::CheckOpciones(const QString& Titulo, const Coleccion&, const QStringList& Opc) {
  opciones(Titulo, Opc, true);
  return {};
}

int ejecutarConsultaLinea(const QStringList& args) {
  QString sql, campo, clave, where;
  Coleccion devolver;
  bool arbol = false, checks = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    auto siguiente = [&](QString& destino) {
      if (i + 1 >= args.size()) return false;
      destino = args[++i];
      return true;
    };
    QString lista;
    bool ok = true;
    if (a == QStringLiteral("--consulta"))
      ok = siguiente(sql);
    else if (a == QStringLiteral("--campo"))
      ok = siguiente(campo);
    else if (a == QStringLiteral("--clave"))
      ok = siguiente(clave);
    else if (a == QStringLiteral("--where"))
      ok = siguiente(where);
    else if (a == QStringLiteral("--devolver")) {
      ok = siguiente(lista);
      devolver = lista.split(QLatin1Char(','), Qt::SkipEmptyParts);
    } else if (a == QStringLiteral("--arbol"))
      arbol = true;
    else if (a == QStringLiteral("--checks"))
      checks = true;
    else {
      std::fprintf(stderr, "Opcion desconocida: %s\n", qPrintable(a));
      return 2;
    }
    if (!ok) {
      std::fprintf(stderr, "Falta el valor de %s\n", qPrintable(a));
      return 2;
    }
  }
  if (sql.trimmed().isEmpty()) {
    std::fprintf(stderr,
                 "Uso: --consulta TABLA|SELECT... [--arbol] [--checks] [--campo COLUMNA] "
                 "[--devolver COL1,COL2] [--clave TEXTO] [--where CONDICION]\n");
    return 2;
  }
  Lib_ClsCons3& c = clsCons3();
  c.CampoDevuelto = campo;
  c.Checks = checks;
  QString busqueda;
  c.ConsultaSearch(sql, devolver, clave, busqueda, where, {}, arbol);
  {
    QTextStream out(stdout);
    out << "ValorDevuelto=" << c.ValorDevuelto.toText() << '\n';
    if (c.Valores)
      for (const QString& v : *c.Valores) out << "Valores=" << v << '\n';
    if (c.Cantidades)
      for (const QString& v : *c.Cantidades) out << "Cantidades=" << v << '\n';
  }
  std::fflush(stdout);
  return c.aceptado() ? 0 : 1;
}
