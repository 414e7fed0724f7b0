#pragma once
// The ADO constants the program passes and tests, with ADO's own numbers.
namespace ado {

enum CursorTypeEnum : long {
  adOpenUnspecified = -1,
  adOpenForwardOnly = 0,
  adOpenKeyset = 1,
  adOpenDynamic = 2,
  adOpenStatic = 3,
};

enum LockTypeEnum : long {
  adLockUnspecified = -1,
  adLockReadOnly = 1,
  adLockPessimistic = 2,
  adLockOptimistic = 3,
  adLockBatchOptimistic = 4,
};

enum CursorLocationEnum : long {
  adUseServer = 2,
  adUseClient = 3,
};

enum ObjectStateEnum : long {
  adStateClosed = 0,
  adStateOpen = 1,
};

enum CommandTypeEnum : long {
  adCmdUnspecified = -1,
  adCmdText = 1,
  adCmdTable = 2,
  adCmdUnknown = 8,
  adCmdTableDirect = 512,
  adExecuteNoRecords = 128,
};

enum IsolationLevelEnum : long {
  adXactUnspecified = -1,
  adXactBrowse = 256,
  adXactReadUncommitted = 256,
  adXactCursorStability = 4096,
  adXactReadCommitted = 4096,
  adXactRepeatableRead = 65536,
  adXactSerializable = 1048576,
};

enum SchemaEnum : long {
  adSchemaColumns = 4,
  adSchemaTables = 20,
};

enum DataTypeEnum : long {
  adEmpty = 0,
  adSmallInt = 2,
  adInteger = 3,
  adSingle = 4,
  adDouble = 5,
  adCurrency = 6,
  adDate = 7,
  adBSTR = 8,
  adBoolean = 11,
  adVariant = 12,
  adDecimal = 14,
  adTinyInt = 16,
  adUnsignedTinyInt = 17,
  adBigInt = 20,
  adGUID = 72,
  adBinary = 128,
  adChar = 129,
  adWChar = 130,
  adNumeric = 131,
  adDBDate = 133,
  adDBTime = 134,
  adDBTimeStamp = 135,
  adVarChar = 200,
  adLongVarChar = 201,
  adVarWChar = 202,
  adLongVarWChar = 203,
  adVarBinary = 204,
  adLongVarBinary = 205,
};

// Error numbers: the OLE DB results the routines test, and ADO's own.
enum NumeroErrorAdo : long {
  kErrorGeneral = -2147467259,            // 80004005 anything else
  kErrorIntegridad = -2147217873,         // 80040E2F integrity violation
  kErrorSinTabla = -2147217865,           // 80040E37 no such table
  kErrorSentencia = -2147217900,          // 80040E14 error in the statement
  kErrorFilaCambiada = -2147217864,       // 80040E38 row changed since it was read
  kErrorCadenaConexion = -2147217805,     // 80040E73 malformed connection string
  kErrorFaltaParametro = -2147217904,     // 80040E10 no value for a parameter mark
  kErrorAutenticacion = -2147217843,      // 80040E4D the password was refused
  kErrorTransaccionActiva = -2147168237,  // 8004D013 only one transaction at a time
  kErrorSinTransaccion = -2147168242,     // 8004D00E no transaction is active
  kErrorBofEof = 3021,                    // no current record
  kErrorContexto = 3219,                  // not allowed in this context
  kErrorNoActualizable = 3251,            // recordset does not support updating
  kErrorElementoNoEncontrado = 3265,      // no item with that name or position
  kErrorArgumentos = 3001,                // arguments of the wrong type or out of range
  kErrorCerrado = 3704,                   // not allowed when the object is closed
  kErrorAbierto = 3705,                   // not allowed when the object is open
  kErrorProveedor = 3706,                 // provider not found
  kErrorConexionCerrada = 3709,           // the connection cannot be used
  kErrorCancelada = 3712,                 // the statement was cancelled (Cancel)
};

}  // namespace ado
