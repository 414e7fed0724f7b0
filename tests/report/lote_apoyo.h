#pragma once
// Shared by the batch-mode and end-to-end tests: the demo company in a
// temporary folder, reached through a server alias as the program reaches a
// server, the report files in the program folder, and PDFs read back.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>

#include "demo/demo.h"
#include "platform/ctx/programa.h"
#include "tests/support/temp_folder.h"

namespace prueba {

inline const QString kParametrosDemo = QStringLiteral("@Server=DEMO;@DbName=KORVANE;@Usuario=ADMIN;@Password=demo");

class EmpresaDemo {
 public:
  EmpresaDemo() {
    demo::crearBaseDemo(datos.archivo(QStringLiteral("KORVANE.db")));
    demo::escribirAlias(config.ruta(), QStringLiteral("DEMO"), datos.ruta());
  }
  // The program context of this test reads its settings and reports here.
  void usarEnProceso() {
    demo::copiarReportes(programa.ruta());
    ctx::actual().setCarpetaConfiguracion(config.ruta());
    ctx::actual().setCarpetaPrograma(programa.ruta());
  }
  QString base() const { return datos.archivo(QStringLiteral("KORVANE.db")); }

  CarpetaTemporal config, datos, programa;
};

// The built program, beside the test programs' folder.
inline QString ejecutable() {
  return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../rp_usuarios"));
}

struct Corrida {
  int estado = -1;
  QString salida, errores;
};

// Starts the built program with the demo's settings folder, no screen, and
// `variables` set in its environment (an empty value removes one); false
// (the test failed) when it does not start.
inline bool arrancar(QProcess& p, const EmpresaDemo& empresa, const QStringList& argumentos,
                     const QMap<QString, QString>& variables = {}) {
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.insert(QStringLiteral("KORVANE_CONFIG_DIR"), empresa.config.ruta());
  entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  entorno.remove(QStringLiteral("RP_USUARIOS_LISTO"));
  for (auto it = variables.begin(); it != variables.end(); ++it) {
    if (it.value().isEmpty())
      entorno.remove(it.key());
    else
      entorno.insert(it.key(), it.value());
  }
  p.setProcessEnvironment(entorno);
  p.start(ejecutable(), argumentos);
  if (p.waitForStarted(10000)) return true;
  ADD_FAILURE() << "no arranca " << ejecutable().toStdString();
  return false;
}

// Runs the built program as arrancar() starts it, waiting `espera` ms at most.
inline Corrida correr(const EmpresaDemo& empresa, const QStringList& argumentos, int espera = 60000,
                      const QMap<QString, QString>& variables = {}) {
  QProcess p;
  Corrida c;
  if (!arrancar(p, empresa, argumentos, variables)) return c;
  if (!p.waitForFinished(espera)) {
    p.kill();
    p.waitForFinished();
    ADD_FAILURE() << "no terminó a tiempo";
  }
  c.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  c.salida = QString::fromUtf8(p.readAllStandardOutput());
  c.errores = QString::fromUtf8(p.readAllStandardError());
  return c;
}

// The text of a PDF as pdftotext lays it out.
inline QString textoPdf(const QString& ruta) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) ADD_FAILURE() << "pdftotext no terminó";
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Every line's first word that is one of `nombres`: the users a report lists.
inline QSet<QString> primerasPalabras(const QString& texto, const QSet<QString>& nombres) {
  QSet<QString> r;
  for (const QString& linea : texto.split(QLatin1Char('\n'))) {
    const QString palabra = linea.trimmed().section(QRegularExpression(QStringLiteral("\\s+")), 0, 0);
    if (nombres.contains(palabra)) r.insert(palabra);
  }
  return r;
}

// The demo's users and its user groups, as the seed data has them.
inline const QSet<QString> kUsuariosDemo{
    QStringLiteral("ADMIN"),   QStringLiteral("ANA"),   QStringLiteral("BRUNO"),    QStringLiteral("CARLA"),
    QStringLiteral("DIEGO"),   QStringLiteral("ELENA"), QStringLiteral("FEDERICO"), QStringLiteral("GABRIELA"),
    QStringLiteral("HORACIO"), QStringLiteral("INES"),  QStringLiteral("JULIAN"),   QStringLiteral("LAURA"),
    QStringLiteral("MARTIN"),  QStringLiteral("MUÑOZ"), QStringLiteral("NICOLAS"),  QStringLiteral("PAULA"),
    QStringLiteral("RAMIRO"),  QStringLiteral("SOFIA")};
inline const QSet<QString> kGruposDemo{QStringLiteral("ADMINISTRADORES"), QStringLiteral("VENTAS"),
                                       QStringLiteral("COMPRAS"), QStringLiteral("CONTABLE"),
                                       QStringLiteral("DEPOSITO")};

}  // namespace prueba
