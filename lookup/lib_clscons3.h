#pragma once
// The lookup service: the one entry point with which a screen lets the user
// pick a value from a table. One instance serves the whole program
// (clsCons3()); session start-up prepares it.
#include <QString>

class Lib_ClsCons3 {
 public:
  QString gConnString;             // connection string handed to the dialogs
  QString gRutaMascaraConsultas;   // full path of the mask file
  bool gUsarMascarasConsultas = false;  // consult the mask file for plain table names
};

// The program's one lookup service, created on first use.
Lib_ClsCons3& clsCons3();
