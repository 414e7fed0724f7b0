#include "platform/vb/error.h"

#include <QHash>

namespace vb {

QString descripcionError(long numero) {
  static const QHash<long, QString> textos = {
      {kNoError, QString()},
      {kReturnWithoutGoSub, QStringLiteral("Return sin GoSub")},
      {kInvalidProcedureCall, QStringLiteral("Llamada a procedimiento o argumento no válidos")},
      {kOverflow, QStringLiteral("Desbordamiento")},
      {kOutOfMemory, QStringLiteral("Memoria insuficiente")},
      {kSubscriptOutOfRange, QStringLiteral("El subíndice está fuera del intervalo")},
      {kDivisionByZero, QStringLiteral("División por cero")},
      {kTypeMismatch, QStringLiteral("No coinciden los tipos")},
      {kOutOfStringSpace, QStringLiteral("No hay suficiente espacio para cadenas")},
      {kInternalError, QStringLiteral("Error interno")},
      {kBadFileNameOrNumber, QStringLiteral("Nombre o número de archivo incorrecto")},
      {kFileNotFound, QStringLiteral("No se encontró el archivo")},
      {kBadFileMode, QStringLiteral("Modo de archivo incorrecto")},
      {kFileAlreadyOpen, QStringLiteral("El archivo ya está abierto")},
      {kDeviceIOError, QStringLiteral("Error de E/S en el dispositivo")},
      {kFileAlreadyExists, QStringLiteral("El archivo ya existe")},
      {kBadRecordLength, QStringLiteral("Longitud de registro incorrecta")},
      {kDiskFull, QStringLiteral("Disco lleno")},
      {kInputPastEndOfFile, QStringLiteral("La entrada ha pasado del final del archivo")},
      {kBadRecordNumber, QStringLiteral("Número de registro incorrecto")},
      {kTooManyFiles, QStringLiteral("Demasiados archivos")},
      {kDeviceUnavailable, QStringLiteral("Dispositivo no disponible")},
      {kPermissionDenied, QStringLiteral("Permiso denegado")},
      {kDiskNotReady, QStringLiteral("El disco no está listo")},
      {kRenameAcrossDisks, QStringLiteral("No se puede cambiar el nombre con una unidad de disco diferente")},
      {kPathFileAccessError, QStringLiteral("Error de acceso a la ruta o el archivo")},
      {kPathNotFound, QStringLiteral("No se encontró la ruta de acceso")},
      {kObjectVariableNotSet, QStringLiteral("Variable de objeto o bloque With no establecido")},
      {kInvalidPatternString, QStringLiteral("Modelo de cadena no válido")},
      {kInvalidUseOfNull, QStringLiteral("Uso no válido de Null")},
      {kControlArrayElementMissing, QStringLiteral("El elemento de la matriz de controles no existe")},
      {kObjectAlreadyLoaded, QStringLiteral("Ya está cargado el objeto")},
      {kInvalidPropertyValue, QStringLiteral("El valor de la propiedad no es válido")},
      {kPropertyReadOnly, QStringLiteral("La propiedad es de sólo lectura")},
      {kObjectRequired, QStringLiteral("Se requiere un objeto")},
      {kObjectDoesNotSupport, QStringLiteral("El objeto no acepta esta propiedad o método")},
      {kAutomationError, QStringLiteral("Error de automatización")},
      {kInvalidPicture, QStringLiteral("Imagen no válida")},
      {kItemNotFoundInCollection,
       QStringLiteral(
           "No se encontró el elemento en la colección que corresponde con el nombre o el ordinal solicitado.")},
      {kOperationNotAllowedWhenClosed,
       QStringLiteral("No se permite realizar esta operación si el objeto está cerrado.")},
      {kElementNotFound, QStringLiteral("Elemento no encontrado")},
      {kKeyNotUnique, QStringLiteral("La clave no es única en la colección")},
      {kInvalidKey, QStringLiteral("Clave no válida")},
  };
  auto it = textos.constFind(numero);
  if (it != textos.constEnd()) return *it;
  return QStringLiteral("Error definido por la aplicación o el objeto");
}

Error::Error(long numero, QString descripcion, QString origen)
    : numero_(numero),
      descripcion_(descripcion.isEmpty() ? descripcionError(numero) : std::move(descripcion)),
      origen_(std::move(origen)) {
  texto_ = QStringLiteral("Error %1: %2").arg(numero_).arg(descripcion_).toStdString();
}

}  // namespace vb
