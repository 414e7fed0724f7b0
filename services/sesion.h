#pragma once
// The session values of ModGlobal: set by session start-up and by the session
// settings loader, read anywhere in the program. They live in the program
// context, so each run (and each test) starts from the platform's defaults:
// empty texts, False, zero.
#include <QString>
#include <cstdint>

#include "platform/vb/variant.h"

namespace ModGlobal {

struct Sesion {
  // Start-up.
  QString gSeccionEstacion;
  double gFlatToolbars = 0;
  QString gParametroAdicional;
  QString gMenu;
  QString gCaja;
  QString gUsuarioLogeado;
  QString gDsnReportes;
  std::int32_t gColorFondoFoco = 0;
  std::int32_t gColorLetraFoco = 0;

  // Configuration table name (Cfg, GrabaDfg).
  QString TablaConfiguracion;

  // Session settings, in the order the loader reads them.
  bool MostrarStockenConsultas = false;
  QString TituloClientes;
  QString TituloProveedores;
  QString ArchivoDocTareas;
  bool EXIGECLAVECONSULTALIKEARTICULOS = false;
  bool UsaConsultaLike = false;
  QString CantidadDecimales;
  bool UsaMultilesMonedas = false;
  bool UsaFacturaProforma = false;
  bool USACCOSTO = false;
  bool USA_STK_STOCK_UDKG = false;
  QString UNegocio;
  QString UNIDADDEMEDIDA_M3;
  QString UNIDADDEMEDIDA_BL;
  QString UNIDADDEMEDIDA_KG;
  std::int16_t PERIODO = 0;
  bool VALIDACODIGOBARRA = false;
  // CFondo and CLetra go into gColorFondoFoco and gColorLetraFoco.
  bool ModuloOrdenDeTrabajo = false;
  bool V_ModificaCPrecio = false;
  bool C_ModificaCPrecio = false;
  bool MADERERA = false;
  QString MAD_TIRAS;
  QString MAD_P2;
  QString MAD_ML;
  QString MAD_M2;
  QString MAD_HOJAS;
  QString MAD_ML_P2;
  QString MAD_M2_P2;
  QString MAD_ML_M2;
  QString CuentaCtroDist;
  vb::Currency MaxDto;
  vb::Currency MaxDtoProforma;
  bool PideClave_StockNeg = false;
  bool PideClave_MarkUpBase = false;
  bool PideClave_LimiteCredito = false;
  bool SS_BloqueoActivo = false;
  bool UTILIZARFECHADIA = false;
  std::int16_t CONDIVAEMPRESA = 0;
  QString Top_Default;
};

// The session of the program context in force.
Sesion& sesion();

}  // namespace ModGlobal
