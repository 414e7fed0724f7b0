#pragma once
// The lookup service: the one entry point with which a screen lets the user
// pick a value from a table. One instance serves the whole program
// (clsCons3()); session start-up prepares it.
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "lookup/lib_frmcons3.h"
#include "platform/vb/variant.h"

class Lib_FrmCons3Tree;

class Lib_ClsCons3 {
 public:
  Lib_ClsCons3();
  ~Lib_ClsCons3();

  // ---- Public properties, in their declared order ---------------------
  vb::Variant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
  QString MuestraStock;
  Coleccion CmpsDevueltos;
  Coleccion Valores;
  Coleccion Cantidades;
  bool Checks = false;
  vb::Variant ValorDevuelto;
  QString gConnString;                  // connection string handed to the dialogs
  QString gRutaMascaraConsultas;        // full path of the mask file
  bool gUsarMascarasConsultas = false;  // consult the mask file for plain table names
  bool UsaCantidades = false;
  QString CampoDevuelto;

  // Builds the statement for SQL (a table, a view or a SELECT) and shows the
  // list or the tree dialog; the choice lands in ValorDevuelto, Valores and
  // Cantidades. CampoBusqueda and Where come back changed; CmpsDevueltos
  // comes back as Nothing.
  void ConsultaSearch(QString SQL, Coleccion& CmpsDevueltos, const QString& Clave, QString& CampoBusqueda,
                      QString& Where, const QString& SentenciaOpcional = {}, bool TreeView = false,
                      const QString& ValoresDefault = {});

  // The statement ConsultaSearch shows, or nullopt when the mask record has
  // no usable column list (the message has been shown then).
  std::optional<QString> ArmarSentencia(const QString& SQL, QString& CampoBusqueda, QString& Where,
                                        const QString& SentenciaOpcional = {});

  // A plain list of texts: the text chosen, or "" when nothing was.
  QString MenuOpciones(const QString& Titulo, const QStringList& Opc);
  template <class... T>
  QString MenuOpciones(const QString& Titulo, const QString& primera, const T&... resto) {
    return MenuOpciones(Titulo, QStringList{primera, QString(resto)...});
  }
  // A list with check boxes, each option's first character its initial state
  // ("1" checked). Returns ""; the checked texts land in Valores (Nothing
  // after Cancelar).
  QString CheckOpciones(const QString& Titulo, const Coleccion& CmpsDevueltos, const QStringList& Opc);
  template <class... T>
  QString CheckOpciones(const QString& Titulo, const Coleccion& CmpsDevueltos, const QString& primera,
                        const T&... resto) {
    return CheckOpciones(Titulo, CmpsDevueltos, QStringList{primera, QString(resto)...});
  }

  bool usaLike() const { return usaLike_; }
  // Whether the last request's dialog was left with Aceptar (Enter, a
  // double-click), rather than Cancelar, Escape or its close box.
  bool aceptado() const { return aceptado_; }

 private:
  QString opciones(const QString& Titulo, const QStringList& Opc, bool checks);

  bool usaLike_ = false;
  bool aceptado_ = false;
  std::unique_ptr<Lib_FrmCons3> lista_;
  std::unique_ptr<Lib_FrmCons3Tree> arbol_;
};

// The program's one lookup service, created on first use.
Lib_ClsCons3& clsCons3();

// The command line option that opens a lookup and prints the choice:
//   --consulta TABLA|SELECT...  [--arbol] [--checks] [--campo COLUMNA]
//   [--devolver COL1,COL2] [--clave TEXTO] [--where CONDICION]
// Needs the session started. Prints "ValorDevuelto=..." and one
// "Valores=..." line per returned value; returns 0 after Aceptar, 1 when
// the lookup was cancelled, 2 on a bad option.
int ejecutarConsultaLinea(const QStringList& args);
