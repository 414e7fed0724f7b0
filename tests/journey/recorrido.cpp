#include "tests/journey/recorrido.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>
#include <utility>
#include <vector>

#include "tests/report/lote_apoyo.h"

namespace recorrido {

namespace {

void esperar(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

// The visible windows whose names match xdotool's pattern: id and name.
std::vector<std::pair<QString, QString>> ventanasVisibles(const PantallaX& pantalla, const QString& patron) {
  std::vector<std::pair<QString, QString>> r;
  const auto ids =
      pantalla.correr(QStringLiteral("xdotool"),
                      {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), patron});
  if (!ids) return r;
  for (const QString& id : ids->split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    if (const auto nombre = pantalla.correr(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id}))
      r.emplace_back(id, nombre->chopped(nombre->endsWith(QLatin1Char('\n')) ? 1 : 0));
  return r;
}

}  // namespace

PantallaX::PantallaX(QSize tamano) : tamano_(tamano) {
  // -displayfd 1: Xvfb takes the first free display and says which on its
  // standard output once it accepts clients.
  xvfb_.start(QStringLiteral("Xvfb"),
              {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
               QStringLiteral("%1x%2x24").arg(tamano.width()).arg(tamano.height()), QStringLiteral("-nolisten"),
               QStringLiteral("tcp")});
  if (!xvfb_.waitForStarted(10000)) {
    ADD_FAILURE() << "Xvfb no arranca (paquete xvfb)";
    return;
  }
  QByteArray dicho;
  QElapsedTimer reloj;
  reloj.start();
  while (!dicho.contains('\n') && reloj.elapsed() < 20000 && xvfb_.state() == QProcess::Running) {
    xvfb_.waitForReadyRead(200);
    dicho += xvfb_.readAllStandardOutput();
  }
  bool ok = false;
  const int numero = dicho.trimmed().toInt(&ok);
  if (!ok) {
    ADD_FAILURE() << "Xvfb no dijo su pantalla: " << xvfb_.readAllStandardError().toStdString();
    return;
  }
  display_ = QStringLiteral(":%1").arg(numero);
}

PantallaX::~PantallaX() {
  if (xvfb_.state() == QProcess::NotRunning) return;
  xvfb_.terminate();
  if (!xvfb_.waitForFinished(5000)) {
    xvfb_.kill();
    xvfb_.waitForFinished(5000);
  }
}

std::optional<QString> PantallaX::correr(const QString& programa, const QStringList& argumentos, int espera) const {
  if (!lista()) return std::nullopt;
  QProcess p;
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.insert(QStringLiteral("DISPLAY"), display_);
  p.setProcessEnvironment(entorno);
  p.start(programa, argumentos);
  if (!p.waitForStarted(5000)) {
    ADD_FAILURE() << programa.toStdString() << " no arranca";
    return std::nullopt;
  }
  if (!p.waitForFinished(espera)) {
    p.kill();
    p.waitForFinished();
    return std::nullopt;
  }
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
  return QString::fromUtf8(p.readAllStandardOutput());
}

Programa::Programa(const PantallaX& pantalla, const QStringList& argumentos, const prueba::EmpresaDemo* empresa)
    : pantalla_(pantalla) {
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.insert(QStringLiteral("DISPLAY"), pantalla.display());
  entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  entorno.remove(QStringLiteral("RP_USUARIOS_LISTO"));
  if (empresa) entorno.insert(QStringLiteral("KORVANE_CONFIG_DIR"), empresa->config.ruta());
  // libxkbcommon-x11 hands strndup a buffer with no terminator, as strndup
  // allows; the strict string checks of the sanitized build take that for an
  // overflow and end the program before its first window.
  const QString sanitizador = entorno.value(QStringLiteral("ASAN_OPTIONS"));
  if (!sanitizador.isEmpty())
    entorno.insert(QStringLiteral("ASAN_OPTIONS"), sanitizador + QStringLiteral(":strict_string_checks=0"));
  proceso_.setProcessEnvironment(entorno);
  proceso_.start(prueba::ejecutable(), argumentos);
  if (!proceso_.waitForStarted(10000)) ADD_FAILURE() << "no arranca " << prueba::ejecutable().toStdString();
}

Programa::~Programa() {
  if (proceso_.state() == QProcess::NotRunning) return;
  proceso_.kill();
  proceso_.waitForFinished(5000);
}

std::optional<Ventana> Programa::buscar(const QString& titulo) const {
  // xdotool takes a POSIX regular expression, read byte by byte where the
  // locale is C: a letter outside ASCII stands as ".+" there, and the names
  // of the windows found are compared whole.
  QString patron;
  for (QChar c : titulo) patron += c.unicode() > 0x7f ? QStringLiteral(".+") : QRegularExpression::escape(QString(c));
  QString id;
  for (const auto& [candidato, nombre] : ventanasVisibles(pantalla_, QLatin1Char('^') + patron + QLatin1Char('$')))
    if (nombre == titulo) {
      id = candidato;
      break;
    }
  if (id.isEmpty()) return std::nullopt;
  const auto forma =
      pantalla_.correr(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
  if (!forma) return std::nullopt;
  int x = 0, y = 0, ancho = 0, alto = 0;
  for (const QString& linea : forma->split(QLatin1Char('\n'))) {
    const int valor = linea.section(QLatin1Char('='), 1).toInt();
    if (linea.startsWith(QLatin1String("X=")))
      x = valor;
    else if (linea.startsWith(QLatin1String("Y=")))
      y = valor;
    else if (linea.startsWith(QLatin1String("WIDTH=")))
      ancho = valor;
    else if (linea.startsWith(QLatin1String("HEIGHT=")))
      alto = valor;
  }
  return Ventana{id, QRect(x, y, ancho, alto)};
}

bool Programa::hayVentana(const QString& titulo) const { return buscar(titulo).has_value(); }

std::optional<Ventana> Programa::esperarVentana(const QString& titulo, int espera) {
  QElapsedTimer reloj;
  reloj.start();
  std::optional<Ventana> antes;
  while (reloj.elapsed() < espera && proceso_.state() != QProcess::NotRunning) {
    const auto v = buscar(titulo);
    // Shown, and where it stays: laid out and drawn.
    if (v && antes && v->id == antes->id && v->geometria == antes->geometria) {
      esperar(300);
      return v;
    }
    antes = v;
    // Returns early, and notices, when the program has ended.
    proceso_.waitForFinished(200);
  }
  const QString fin = proceso_.state() == QProcess::NotRunning
                          ? QStringLiteral("; terminó con estado %1").arg(proceso_.exitCode())
                          : QString();
  // What is on the screen instead: an error box says more than a timeout.
  QStringList vistas;
  for (const auto& ventana : ventanasVisibles(pantalla_, QStringLiteral(".")))
    vistas << QLatin1Char('"') + ventana.second + QLatin1Char('"');
  captura(pantalla_.raiz(), QStringLiteral("sin_ventana"));
  ADD_FAILURE() << "no apareció la ventana \"" << titulo.toStdString() << "\"" << fin.toStdString()
                << "; a la vista: " << vistas.join(QStringLiteral(", ")).toStdString()
                << "; el programa dijo: " << QString::fromUtf8(proceso_.readAllStandardError()).toStdString();
  return std::nullopt;
}

bool Programa::teclas(const Ventana& v, const QString& teclas) {
  QStringList args{QStringLiteral("windowfocus"), QStringLiteral("--sync"),  v.id,
                   QStringLiteral("key"),         QStringLiteral("--delay"), QStringLiteral("50")};
  args += teclas.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  const bool ok = pantalla_.correr(QStringLiteral("xdotool"), args).has_value();
  if (!ok) ADD_FAILURE() << "xdotool no pudo enviar " << teclas.toStdString();
  return ok;
}

bool Programa::escribir(const Ventana& v, const QString& texto) {
  const bool ok = pantalla_
                      .correr(QStringLiteral("xdotool"),
                              {QStringLiteral("windowfocus"), QStringLiteral("--sync"), v.id, QStringLiteral("type"),
                               QStringLiteral("--delay"), QStringLiteral("50"), texto})
                      .has_value();
  if (!ok) ADD_FAILURE() << "xdotool no pudo escribir " << texto.toStdString();
  return ok;
}

bool Programa::clic(const Ventana& v, QPoint punto) {
  const QPoint p = v.geometria.topLeft() + punto;
  const bool ok = pantalla_
                      .correr(QStringLiteral("xdotool"),
                              {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(p.x()),
                               QString::number(p.y()), QStringLiteral("click"), QStringLiteral("1")})
                      .has_value();
  if (!ok) ADD_FAILURE() << "xdotool no pudo hacer clic en " << p.x() << "," << p.y();
  return ok;
}

QImage Programa::captura(const Ventana& v, const QString& nombre) {
  const QString archivo = QDir(carpetaCapturas()).filePath(nombre + QStringLiteral(".png"));
  if (!pantalla_.correr(QStringLiteral("import"), {QStringLiteral("-window"), v.id, QStringLiteral("png:") + archivo},
                        20000)) {
    ADD_FAILURE() << "import no pudo capturar la ventana (paquete imagemagick)";
    return {};
  }
  QImage imagen(archivo);
  if (imagen.isNull()) ADD_FAILURE() << "captura ilegible: " << archivo.toStdString();
  return imagen;
}

std::optional<int> Programa::esperarFin(int espera) {
  const bool termino = proceso_.state() == QProcess::NotRunning || proceso_.waitForFinished(espera);
  salida_ += QString::fromUtf8(proceso_.readAllStandardOutput());
  errores_ += QString::fromUtf8(proceso_.readAllStandardError());
  if (!termino) {
    ADD_FAILURE() << "el programa no terminó a tiempo";
    return std::nullopt;
  }
  if (proceso_.exitStatus() != QProcess::NormalExit) {
    ADD_FAILURE() << "el programa terminó por una señal: " << errores_.toStdString();
    return std::nullopt;
  }
  return proceso_.exitCode();
}

QString carpetaCapturas() {
  const auto* prueba = ::testing::UnitTest::GetInstance()->current_test_info();
  // A parameterised test's names hold "/": one folder per test all the same.
  const QString nombre = prueba
                             ? QStringLiteral("%1.%2")
                                   .arg(QString::fromUtf8(prueba->test_suite_name()), QString::fromUtf8(prueba->name()))
                                   .replace(QLatin1Char('/'), QLatin1Char('.'))
                             : QStringLiteral("sin_prueba");
  static QString vaciada;  // emptied once per test, kept while it runs
  QDir carpeta(QCoreApplication::applicationDirPath() + QStringLiteral("/../journeys/") + nombre);
  if (vaciada != nombre) {
    carpeta.removeRecursively();
    vaciada = nombre;
  }
  carpeta.mkpath(QStringLiteral("."));
  return carpeta.absolutePath();
}

}  // namespace recorrido
