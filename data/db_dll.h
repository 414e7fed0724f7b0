#pragma once
// DB_Dll, the suite's data-access class: the program's one connection, its
// connection data, and every read and write the program makes through it.
// One instance serves the whole program (db()). The operations are split by
// concern over conexion.cpp, literales.cpp, consultas.cpp, esquema.cpp,
// registro_errores.cpp and sentencias.cpp.
#include <QString>
#include <optional>

#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/vb/error.h"
#include "platform/vb/variant.h"
#include "suite/dialogo_archivo.h"

class DB_Dll {
 public:
  DB_Dll();

  // ---- Fields, in their declared order --------------------------------
  ZepaKit2::DialogoArchivo CmdDlg;  // picks a local database file
  bool gOpenFlag = false;           // the connection is open (see OpenServerADODB)
  vb::Variant gIgnoraPassWord;      // True: a refused file password retries with gUserPassWord
  ado::Connection gCnn;
  ado::Recordset glrcs;         // public slot, unused here
  vb::Variant gCursorLocation;  // public slot, unused here
  QString gProveedor;
  QString gDsn;       // public slot, unused here
  QString gServidor;  // a "#" anywhere marks an Oracle server
  QString gDBName;
  QString gUsuario;
  bool gEsAdmin = false;
  QString gUserPassWord;
  QString gConnString;
  QString gExtended;           // appended verbatim to built connection strings
  QString gLogErr;             // error log path; empty: KVERR.LOG in the program folder
  bool ParametrosSQL = false;  // public flag, unused here

  // ---- Connections and providers --------------------------------------
  QString pJETOLEDB40() const { return QStringLiteral("Microsoft.Jet.OLEDB.4.0"); }
  QString pJETOLEDB35() const { return QStringLiteral("Microsoft.Jet.OLEDB.3.51"); }
  QString pSQLOLEDB() const { return QStringLiteral("SQLOLEDB"); }

  // Opens gCnn on a server; the outcome is gOpenFlag.
  void OpenServerADODB(bool PideParametrosSQL = false, long lCursor = 3, const QString& ConnString = {},
                       bool ValidaAdmin = true);
  // Opens gCnn on a local database file through gProveedor.
  void OpenLocalADODB(const QString& ConnString, const QString& CadenaID, const QString& CadenaPWD);

  // How many refused file passwords OpenLocalADODB accepts before it gives up.
  static constexpr int kIntentosClave = 3;

  // ---- SQL literal formatting -----------------------------------------
  bool adodate(const vb::Variant& Qtype) const;
  bool ADOText(const vb::Variant& Qtype) const;
  bool ADONumeric(const vb::Variant& Qtype) const;
  bool ADOCurrency(const vb::Variant& Qtype) const;
  bool ADOBoolean(const vb::Variant& Qtype) const;
  QString ADOComilla(const vb::Variant& Qtype) const;
  vb::Variant SQLValue(vb::Variant Valor, const QString& Tipo = QStringLiteral("'")) const;

  QString AddBrackets(const QString& rObjName) const;
  QString StripBrackets(const QString& rsObjName) const;
  QString StripConnect(const QString& rsTblName) const;
  QString StripOwner(QString& rsTblName) const;
  QString StripFileName(const QString& rsFileName) const;
  QString stSTF(QString& rsName, bool rnPart) const;

  void QConsulta(const vb::Variant& TB, const vb::Variant& Rsp, const vb::Variant& Cl1, const vb::Variant& Cl2,
                 const vb::Variant& CmpDisplay, const vb::Variant& SQLWHERE) const;
  void QGridConsulta(const vb::Variant& Sentencia, const vb::Variant& CampoDevuelto1, const vb::Variant& gCnnString,
                     const vb::Variant& CampoDevuelto2, const vb::Variant& CampoDevuelto3) const;

  // ---- Queries and recordsets -----------------------------------------
  // SentenciaSQL comes back with its synonym rewrite (not the Oracle one).
  void AbrirRecordset(QString& SentenciaSQL, ado::Recordset& Lrcs, const ado::Connection* ConexionActiva = nullptr,
                      long CursorType = 0, long LockType = 1, long Options = -1, bool ConvOracle = true);
  void AbrirRecordset(const QString& SentenciaSQL, ado::Recordset& Lrcs,
                      const ado::Connection* ConexionActiva = nullptr, long CursorType = 0, long LockType = 1,
                      long Options = -1, bool ConvOracle = true);
  void CierraRecordset(ado::Recordset& LrcsTemp);

  // The text of CampoDevuelto in the first matching row; "" when none
  // matches; Empty when the user gave up before anything was read.
  vb::Variant DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                         const QString& Campo = QStringLiteral("Codigo"), long Tipodato = 8,
                         const QString& Condicion = {}, bool UsaTrim = true);
  // With Lrcs, it stays open on the row found.
  bool ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo = QStringLiteral("Codigo"),
                     ado::Recordset* Lrcs = nullptr, long Tipodato = 8, const QString& Condicion = {},
                     bool SoloLectura = true);
  bool ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado,
                       const QString& Campo = QStringLiteral("Codigo"), ado::Recordset* Lrcs = nullptr,
                       long Tipodato = 8, const QString& Condicion = {}, bool SoloLectura = false);

  // A number (double), or Empty when no row came back. Failures are raised.
  vb::Variant BuscaMaximo(const QString& QueTabla, const QString& QueCampo,
                          const std::optional<vb::Variant>& Tipo = std::nullopt,
                          const std::optional<vb::Variant>& Condicion = std::nullopt);
  vb::Variant BuscaMinimo(const QString& QueTabla, const QString& QueCampo,
                          const std::optional<vb::Variant>& Tipo = std::nullopt,
                          const std::optional<vb::Variant>& Condicion = std::nullopt);
  vb::Variant BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const vb::Variant& Tipo = 8,
                                const QString& Condicion = {});

  // Runs a statement that returns no rows. Failures are not raised: they
  // stay in gCnn.Errors() (and may be shown, see consultas.cpp).
  void EjecutaConsultaSQL(QString& SentenciaSQL, long& RecordsAffected);

  // ---- Schema inspection ----------------------------------------------
  bool ExisteTablaDB(const QString& Tabla);
  bool ExisteCampoDB(const QString& Tabla, const QString& Campo);
  void AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                const std::optional<vb::Variant>& ValorDefault = std::nullopt);
  bool VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar = true, const QString& Tipo = {},
                  bool PermiteNulos = false, const std::optional<vb::Variant>& ValorDefault = std::nullopt);

  // ---- Error handling and error log -----------------------------------
  // Shows the error and logs it with the answer; returns the answer code,
  // or 0 for error 0 (nothing shown, nothing logged).
  int TratamientoErrores(const vb::Error& CodErr, std::optional<int> Botones = std::nullopt,
                         const std::optional<vb::Variant>& Rutina = std::nullopt);
  // Appends the line TratamientoErrores writes, for an error the caller
  // showed in a box of its own and was answered `respuesta`. The error's
  // detail (a refused statement) goes in whole, on the same line.
  void RegistrarError(const vb::Error& CodErr, const QString& Rutina, int respuesta);
  vb::Variant ArchivoErrores() const { return vb::Variant(gLogErr); }
  void setArchivoErrores(const vb::Variant& vNewValue) { gLogErr = vNewValue.toString(); }
  // The log file TratamientoErrores writes to.
  QString rutaRegistroErrores() const;

  // ---- Statement rewriting --------------------------------------------
  QString SS_TSinonimos(const QString& SQL) const;
  QString ORACLE_Dicc(const QString& Valor) const;

 private:
  // Connection dialog: false when the user cancelled.
  bool PideDatosConexion();
  void ArmaCadenaConexion();
  void ValidaAdministrador();
  bool esConexionOracle(bool despuesDelPrimero) const;
  void EjecutaScriptOracle(QString& script, long& total);
  QString DescartaSentenciaSQLServer(QString& sentencia) const;
};

// The program's one data-access object.
DB_Dll& db();
