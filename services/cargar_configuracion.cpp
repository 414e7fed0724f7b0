#include "services/cargar_configuracion.h"

#include "data/db_dll.h"
#include "platform/vb/convert.h"
#include "platform/vb/manejo.h"
#include "platform/vb/strings.h"
#include "services/configuracion.h"
#include "services/sesion.h"
#include "services/traza.h"
#include "suite/util_general.h"

namespace ModGlobal {

namespace {

using vb::Trim;

// The read rules. Cfg answers a single blank for a missing key, which is
// why some rules trim and others deliberately do not.
bool reglaSi(const QString& v) { return vb::igualesTexto(v, QStringLiteral("SI")); }
bool reglaSiRecortado(const QString& v) { return vb::igualesTexto(Trim(v), QStringLiteral("SI")); }
bool reglaNo(const QString& v) { return !(Trim(v).isEmpty() || vb::igualesTexto(v, QStringLiteral("NO"))); }
bool reglaNoNo(const QString& v) { return !vb::igualesTexto(Trim(v), QStringLiteral("NO")); }
std::int16_t reglaEntero(const QString& v) { return vb::redondearEntero(vb::Val(v)); }
vb::Currency reglaMonto(const QString& v) { return ZepaKit2::util().ValorNumerico(v); }
std::int32_t reglaColor(const QString& v) { return vb::redondearLargo(reglaMonto(v).toDouble()); }

}  // namespace

void CargarConfiguracion(const QString& carpetaPrograma) {
  Sesion& s = sesion();
  vb::Seguir seguir({traza::services(), "CargarConfiguracion"});
  auto cfg = [](const char* clave) { return Cfg(QString::fromLatin1(clave)); };

  seguir([&] { s.TablaConfiguracion = QStringLiteral("ta_configuracion"); });
  seguir([&] { s.MostrarStockenConsultas = reglaSi(cfg("MostrarStockenConsultas")); });
  seguir([&] { s.TituloClientes = Trim(cfg("TituloClientes")); });
  seguir([&] { s.TituloProveedores = Trim(cfg("TituloProveedores")); });
  seguir([&] { s.ArchivoDocTareas = carpetaPrograma + QStringLiteral("KVDOCTareas.qzx"); });
  seguir([&] { s.EXIGECLAVECONSULTALIKEARTICULOS = reglaSi(cfg("EXIGECLAVECONSULTALIKEARTICULOS")); });
  seguir([&] { s.UsaConsultaLike = reglaSi(cfg("UsaConsultaLike")); });
  seguir([&] { s.CantidadDecimales = cfg("CantidadDecimales"); });
  seguir([&] { s.UsaMultilesMonedas = reglaSi(cfg("UsaMultilesMonedas")); });
  seguir([&] { s.UsaFacturaProforma = reglaSi(cfg("UsaFacturaProforma")); });
  seguir([&] { s.USACCOSTO = reglaSi(cfg("USACCOSTO")); });
  seguir([&] { s.USA_STK_STOCK_UDKG = reglaSi(cfg("USA_STK_STOCK_UDKG")); });

  // The user's own record: business unit, and whether proformas stay on.
  seguir([&] {
    auto& d = db();
    auto& u = ZepaKit2::util();
    ado::Recordset rs;
    struct Cierre {
      DB_Dll& d;
      ado::Recordset& rs;
      ~Cierre() {
        vb::omitir({traza::services(), "CargarConfiguracion"}, [&] { d.CierraRecordset(rs); });
      }
    } cierre{d, rs};
    d.AbrirRecordset(
        QStringLiteral("Select * from ta_usuarios where Nombre = ") + d.SQLValue(s.gUsuarioLogeado).toText(), rs);
    if (!rs.EOF()) {
      s.UNegocio = u.ValorCampo(rs.Fields("UNegocio"));
      if (s.UsaFacturaProforma) s.UsaFacturaProforma = vb::CBool(rs.Fields("VerProforma").Value());
    }
  });
  seguir([&] {
    if (s.UNegocio.isEmpty()) s.UNegocio = QStringLiteral("   1");
  });

  seguir([&] { s.UNIDADDEMEDIDA_M3 = Trim(cfg("UNIDADDEMEDIDA_M3")); });
  seguir([&] { s.UNIDADDEMEDIDA_BL = Trim(cfg("UNIDADDEMEDIDA_BL")); });
  seguir([&] { s.UNIDADDEMEDIDA_KG = Trim(cfg("UNIDADDEMEDIDA_KG")); });
  seguir([&] { s.PERIODO = reglaEntero(cfg("PERIODO")); });
  seguir([&] { s.VALIDACODIGOBARRA = reglaSiRecortado(cfg("VALIDACODIGOBARRA")); });
  seguir([&] {
    s.gColorFondoFoco = reglaColor(cfg("CFondo"));
    if (s.gColorFondoFoco == 0) s.gColorFondoFoco = 16776960;  // &HFFFF00
  });
  seguir([&] { s.gColorLetraFoco = reglaColor(cfg("CLetra")); });
  seguir([&] { s.ModuloOrdenDeTrabajo = reglaNoNo(cfg("ModuloOrdenDeTrabajo")); });
  seguir([&] { s.V_ModificaCPrecio = reglaNo(cfg("V_ModificaCPrecio")); });
  seguir([&] { s.C_ModificaCPrecio = reglaNo(cfg("C_ModificaCPrecio")); });
  seguir([&] { s.MADERERA = reglaNo(cfg("MADERERA")); });
  seguir([&] { s.MAD_TIRAS = Trim(cfg("MAD_TIRAS")); });
  seguir([&] { s.MAD_P2 = Trim(cfg("MAD_P2")); });
  seguir([&] { s.MAD_ML = Trim(cfg("MAD_ML")); });
  seguir([&] { s.MAD_M2 = Trim(cfg("MAD_M2")); });
  seguir([&] { s.MAD_HOJAS = Trim(cfg("MAD_HOJAS")); });
  seguir([&] { s.MAD_ML_P2 = Trim(cfg("MAD_ML_P2")); });
  seguir([&] { s.MAD_M2_P2 = Trim(cfg("MAD_M2_P2")); });
  seguir([&] { s.MAD_ML_M2 = Trim(cfg("MAD_ML_M2")); });
  seguir([&] { s.CuentaCtroDist = Trim(cfg("CuentaCtroDist")); });
  seguir([&] { s.MaxDto = reglaMonto(Trim(cfg("MaxDto"))); });
  seguir([&] { s.MaxDtoProforma = reglaMonto(Trim(cfg("MaxDtoProforma"))); });
  seguir([&] { s.PideClave_StockNeg = reglaNo(cfg("PideClave_StockNeg")); });
  seguir([&] { s.PideClave_MarkUpBase = reglaNo(cfg("PideClave_MarkUpBase")); });
  seguir([&] { s.PideClave_LimiteCredito = reglaNo(cfg("PideClave_LimiteCredito")); });
  seguir([&] { s.SS_BloqueoActivo = reglaSi(cfg("SS_BloqueoActivo")); });
  seguir([&] { s.UTILIZARFECHADIA = reglaSi(cfg("UTILIZARFECHADIA")); });
  // Each fallback is a statement of its own, so a value out of range still
  // falls back.
  seguir([&] { s.CONDIVAEMPRESA = reglaEntero(cfg("CONDIVAEMPRESA")); });
  seguir([&] {
    if (s.CONDIVAEMPRESA == 0) s.CONDIVAEMPRESA = reglaEntero(cfg("CONDIVA"));
  });
  seguir([&] {
    if (s.CONDIVAEMPRESA == 0) s.CONDIVAEMPRESA = 1;
  });
  seguir([&] {
    s.Top_Default = cfg("Top_Default");
    if (Trim(s.Top_Default).isEmpty()) s.Top_Default = QStringLiteral("1000");
  });
}

}  // namespace ModGlobal
