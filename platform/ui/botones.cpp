#include "platform/ui/botones.h"

#include "platform/ui/servicio.h"

namespace ui {

namespace {
constexpr int kGrupo = 0x0F;
constexpr int kIcono = 0x70;
constexpr int kPredeterminado = 0x300;
}  // namespace

QString textoRespuesta(int respuesta) {
  switch (respuesta) {
    case vbOK: return QStringLiteral("Aceptar");
    case vbCancel: return QStringLiteral("Cancelar");
    case vbAbort: return QStringLiteral("Anular");
    case vbRetry: return QStringLiteral("Reintentar");
    case vbIgnore: return QStringLiteral("Omitir");
    case vbYes: return QStringLiteral("Sí");
    case vbNo: return QStringLiteral("No");
    default: return {};
  }
}

std::vector<BotonCaja> botonesCaja(int botones) {
  std::vector<int> codigos;
  switch (botones & kGrupo) {
    case vbOKCancel: codigos = {vbOK, vbCancel}; break;
    case vbAbortRetryIgnore: codigos = {vbAbort, vbRetry, vbIgnore}; break;
    case vbYesNoCancel: codigos = {vbYes, vbNo, vbCancel}; break;
    case vbYesNo: codigos = {vbYes, vbNo}; break;
    case vbRetryCancel: codigos = {vbRetry, vbCancel}; break;
    default: codigos = {vbOK}; break;
  }
  std::vector<BotonCaja> lista;
  lista.reserve(codigos.size());
  for (int c : codigos) lista.push_back({textoRespuesta(c), c});
  return lista;
}

int indicePredeterminado(int botones) {
  const int indice = (botones & kPredeterminado) >> 8;
  return indice < static_cast<int>(botonesCaja(botones).size()) ? indice : 0;
}

int iconoCaja(int botones) {
  const int icono = botones & kIcono;
  switch (icono) {
    case vbCritical:
    case vbQuestion:
    case vbExclamation:
    case vbInformation: return icono;
    default: return 0;
  }
}

int respuestaEscape(int botones) {
  switch (botones & kGrupo) {
    case vbOKCancel:
    case vbYesNoCancel:
    case vbRetryCancel: return vbCancel;
    case vbAbortRetryIgnore:
    case vbYesNo: return 0;
    default: return vbOK;
  }
}

int respuestaCancelar(int botones) {
  switch (botones & kGrupo) {
    case vbOKCancel:
    case vbYesNoCancel:
    case vbRetryCancel: return vbCancel;
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNo: return vbNo;
    default: return vbOK;
  }
}

bool esRespuestaDe(int botones, int respuesta) {
  for (const auto& b : botonesCaja(botones))
    if (b.respuesta == respuesta) return true;
  return false;
}

QString textoCaja(const QString& prompt) {
  QString texto = prompt;
  texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return texto;
}

}  // namespace ui
