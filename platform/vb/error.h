#pragma once
// Run-time errors: every failure carries the platform's error number, its
// description and the routine or object that raised it.
#include <QString>
#include <exception>
#include <string>

namespace vb {

// The numbers the routines test. Descriptions come from descripcionError().
enum NumeroError : long {
  kNoError = 0,
  kReturnWithoutGoSub = 3,
  kInvalidProcedureCall = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kDivisionByZero = 11,
  kTypeMismatch = 13,
  kOutOfStringSpace = 14,
  kInternalError = 51,
  kBadFileNameOrNumber = 52,
  kFileNotFound = 53,
  kBadFileMode = 54,
  kFileAlreadyOpen = 55,
  kDeviceIOError = 57,
  kFileAlreadyExists = 58,
  kBadRecordLength = 59,
  kDiskFull = 61,
  kInputPastEndOfFile = 62,
  kBadRecordNumber = 63,
  kTooManyFiles = 67,
  kDeviceUnavailable = 68,
  kPermissionDenied = 70,
  kDiskNotReady = 71,
  kRenameAcrossDisks = 74,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
  kObjectVariableNotSet = 91,
  kInvalidPatternString = 93,
  kInvalidUseOfNull = 94,
  kControlArrayElementMissing = 340,
  kObjectAlreadyLoaded = 360,
  kInvalidPropertyValue = 380,
  kPropertyReadOnly = 383,
  kObjectRequired = 424,
  kObjectDoesNotSupport = 438,
  kAutomationError = 440,
  kInvalidPicture = 481,
  kItemNotFoundInCollection = 3265,
  kOperationNotAllowedWhenClosed = 3704,
  kElementNotFound = 35601,
  kKeyNotUnique = 35602,
  kInvalidKey = 35603,
};

// The Spanish description the platform gives for a number; for an unknown
// number, "Error definido por la aplicación o el objeto".
QString descripcionError(long numero);

class Error : public std::exception {
 public:
  explicit Error(long numero, QString descripcion = {}, QString origen = {});

  long Number() const noexcept { return numero_; }
  const QString& Description() const noexcept { return descripcion_; }
  const QString& Source() const noexcept { return origen_; }
  void setSource(const QString& origen) { origen_ = origen; }
  // What a person need not read to understand the error but may need to
  // mend it (the statement a database refused): kept out of the description,
  // shown folded under the message and written to the logs in full.
  const QString& Detalle() const noexcept { return detalle_; }
  void setDetalle(QString detalle) { detalle_ = std::move(detalle); }

  const char* what() const noexcept override { return texto_.c_str(); }

 private:
  long numero_;
  QString descripcion_;
  QString origen_;
  QString detalle_;
  std::string texto_;
};

}  // namespace vb
