#pragma once
// unixODBC's driver manager, loaded the first time something asks for it: a
// program that only opens SQLite databases never loads it, nor the libraries
// it pulls in.
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QString>

namespace ado::odbc {

// Every call of the driver manager the program makes.
// clang-format off
#define KV_FUNCIONES_ODBC(X) \
  X(SQLAllocHandle) \
  X(SQLFreeHandle) \
  X(SQLSetEnvAttr) \
  X(SQLSetConnectAttrW) \
  X(SQLGetConnectAttrW) \
  X(SQLDriverConnectW) \
  X(SQLDisconnect) \
  X(SQLEndTran) \
  X(SQLGetDiagRecW) \
  X(SQLExecDirectW) \
  X(SQLPrepareW) \
  X(SQLExecute) \
  X(SQLNumParams) \
  X(SQLBindParameter) \
  X(SQLNumResultCols) \
  X(SQLDescribeColW) \
  X(SQLColAttributeW) \
  X(SQLFetch) \
  X(SQLGetData) \
  X(SQLRowCount) \
  X(SQLMoreResults) \
  X(SQLCloseCursor) \
  X(SQLSetStmtAttrW) \
  X(SQLTablesW) \
  X(SQLColumnsW) \
  X(SQLDriversW) \
  X(SQLDataSources) \
  X(SQLCancel)
// clang-format on

struct Administrador {
#define KV_PUNTERO_ODBC(f) decltype(&::f) f = nullptr;
  KV_FUNCIONES_ODBC(KV_PUNTERO_ODBC)
#undef KV_PUNTERO_ODBC
};

// The driver manager, loaded on the first call; null when it cannot be
// loaded, and then errorDeCarga() says why. Safe from any thread.
const Administrador* administrador();
QString errorDeCarga();

}  // namespace ado::odbc
