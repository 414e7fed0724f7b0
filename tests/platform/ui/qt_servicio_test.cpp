// The Qt service with real widgets, offscreen: each box is found while it is
// open and answered through its own buttons and keys.
#include "platform/ui/qt_servicio.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "tests/support/guion_ui.h"
#include "tests/support/temp_folder.h"

namespace {

// Runs `accion` on the modal box once it opens. A box still open 5 s later
// fails the test and is closed, so a broken case cannot hang the run.
class AlAbrirse {
 public:
  explicit AlAbrirse(std::function<void(QDialog&)> accion) : accion_(std::move(accion)) {
    reloj_.start();
    QObject::connect(&sondeo_, &QTimer::timeout, [this] { revisar(); });
    sondeo_.start(10);
  }
  bool actuo() const { return actuo_; }

 private:
  void revisar() {
    auto* caja = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (caja && caja->isVisible() && !actuo_) {
      actuo_ = true;
      accion_(*caja);
    } else if (caja && reloj_.elapsed() > 5000) {
      ADD_FAILURE() << "box left open: " << caja->windowTitle().toStdString();
      caja->done(0);
    }
  }
  std::function<void(QDialog&)> accion_;
  QTimer sondeo_;
  QElapsedTimer reloj_;
  bool actuo_ = false;
};

// Captions of the visible buttons, left to right.
QStringList rotulos(QDialog& caja) {
  auto botones = caja.findChildren<QPushButton*>();
  botones.erase(std::remove_if(botones.begin(), botones.end(), [](QPushButton* b) { return !b->isVisible(); }),
                botones.end());
  std::sort(botones.begin(), botones.end(), [&](QPushButton* a, QPushButton* b) {
    return a->mapTo(&caja, QPoint()).x() < b->mapTo(&caja, QPoint()).x();
  });
  QStringList lista;
  for (auto* b : botones) lista << b->text();
  return lista;
}

TEST(QtServicio, EachButtonSetShowsSpanishCaptionsAndAnswersItsCode) {
  struct Caso {
    int botones;
    QStringList rotulos;
    std::vector<int> respuestas;
  };
  const std::vector<Caso> casos = {
      {ui::vbOKOnly, {"Aceptar"}, {ui::vbOK}},
      {ui::vbOKCancel, {"Aceptar", "Cancelar"}, {ui::vbOK, ui::vbCancel}},
      {ui::vbAbortRetryIgnore, {"Anular", "Reintentar", "Omitir"}, {ui::vbAbort, ui::vbRetry, ui::vbIgnore}},
      {ui::vbYesNoCancel, {"Sí", "No", "Cancelar"}, {ui::vbYes, ui::vbNo, ui::vbCancel}},
      {ui::vbYesNo, {"Sí", "No"}, {ui::vbYes, ui::vbNo}},
      {ui::vbRetryCancel, {"Reintentar", "Cancelar"}, {ui::vbRetry, ui::vbCancel}},
  };
  ui::QtServicio qt;
  for (const auto& caso : casos) {
    for (size_t i = 0; i < caso.respuestas.size(); ++i) {
      SCOPED_TRACE(caso.botones * 10 + static_cast<int>(i));
      AlAbrirse al([&](QDialog& caja) {
        EXPECT_EQ(rotulos(caja), caso.rotulos);
        prueba::pulsar(caja, caso.rotulos[i]);
      });
      EXPECT_EQ(qt.MsgBox("Texto", caso.botones, "Título"), caso.respuestas[i]);
      EXPECT_TRUE(al.actuo());
    }
  }
}

TEST(QtServicio, DefaultButtonFlagsChooseWhatEnterAnswers) {
  ui::QtServicio qt;
  auto conEnter = [&](int botones) {
    AlAbrirse al([](QDialog& caja) { QTest::keyClick(&caja, Qt::Key_Return); });
    return qt.MsgBox("¿Continuar?", botones);
  };
  EXPECT_EQ(conEnter(ui::vbYesNoCancel), ui::vbYes);
  EXPECT_EQ(conEnter(ui::vbYesNoCancel + ui::vbDefaultButton2), ui::vbNo);
  EXPECT_EQ(conEnter(ui::vbYesNoCancel + ui::vbDefaultButton3), ui::vbCancel);
  EXPECT_EQ(conEnter(ui::vbAbortRetryIgnore + ui::vbDefaultButton2 + ui::vbCritical), ui::vbRetry);
  // A default beyond the last button falls back to the first.
  EXPECT_EQ(conEnter(ui::vbOKCancel + ui::vbDefaultButton3), ui::vbOK);
}

TEST(QtServicio, EscAndCloseFollowThePlatform) {
  ui::QtServicio qt;
  auto conEsc = [&](int botones) {
    AlAbrirse al([](QDialog& caja) { QTest::keyClick(&caja, Qt::Key_Escape); });
    return qt.MsgBox("Texto", botones);
  };
  EXPECT_EQ(conEsc(ui::vbOKOnly), ui::vbOK);
  EXPECT_EQ(conEsc(ui::vbOKCancel), ui::vbCancel);
  EXPECT_EQ(conEsc(ui::vbYesNoCancel), ui::vbCancel);
  EXPECT_EQ(conEsc(ui::vbRetryCancel), ui::vbCancel);

  {
    AlAbrirse al([](QDialog& caja) { caja.close(); });
    EXPECT_EQ(qt.MsgBox("Texto", ui::vbYesNoCancel), ui::vbCancel);
  }
  // Yes/No and Abort/Retry/Ignore must be answered with a button.
  for (int botones : {int(ui::vbAbortRetryIgnore), int(ui::vbYesNo)}) {
    SCOPED_TRACE(botones);
    AlAbrirse al([&](QDialog& caja) {
      QTest::keyClick(&caja, Qt::Key_Escape);
      caja.close();
      QCoreApplication::processEvents();
      EXPECT_TRUE(caja.isVisible());
      prueba::pulsar(caja, botones == ui::vbYesNo ? "Sí" : "Omitir");
    });
    EXPECT_EQ(qt.MsgBox("Texto", botones), botones == ui::vbYesNo ? ui::vbYes : ui::vbIgnore);
  }
}

TEST(QtServicio, MessageBoxTitleTextAndIcon) {
  ui::QtServicio qt;
  struct Visto {
    QString titulo, texto;
    QMessageBox::Icon icono;
    Qt::TextFormat formato;
  } visto{};
  auto mirar = [&](QDialog& d) {
    auto& caja = static_cast<QMessageBox&>(d);
    visto = {caja.windowTitle(), caja.text(), caja.icon(), caja.textFormat()};
    prueba::pulsar(caja, "Aceptar");
  };
  {
    AlAbrirse al(mirar);
    qt.MsgBox(" Estado de Sql: 1\rNumero: <b>2</b>\r\nFin", ui::vbCritical);
  }
  EXPECT_EQ(visto.titulo, ui::tituloPrograma());
  EXPECT_EQ(visto.texto, " Estado de Sql: 1\nNumero: <b>2</b>\nFin");
  EXPECT_EQ(visto.formato, Qt::PlainText);  // database texts are never markup
  EXPECT_EQ(visto.icono, QMessageBox::Critical);

  const std::pair<int, QMessageBox::Icon> iconos[] = {{ui::vbQuestion, QMessageBox::Question},
                                                      {ui::vbExclamation, QMessageBox::Warning},
                                                      {ui::vbInformation, QMessageBox::Information},
                                                      {0, QMessageBox::NoIcon}};
  for (const auto& [codigo, icono] : iconos) {
    AlAbrirse al(mirar);
    qt.MsgBox("x", codigo, "ATENCIóN!!!");
    EXPECT_EQ(visto.icono, icono);
    EXPECT_EQ(visto.titulo, "ATENCIóN!!!");
  }
}

// A refused statement of a selection of thousands of values: folded away
// with a Spanish button, and a prompt too long for the screen is cut, the
// whole of it folded. Either way the box, open or folded, fits the screen.
TEST(QtServicio, LongTextsFoldAwayAndTheBoxFitsTheScreen) {
  ui::QtServicio qt;
  const QString sentencia = "SELECT * FROM T WHERE " + QStringLiteral("[CLAVE] = ? OR ").repeated(5000) + "1 = 0";
  const QString largo = "La base de datos rechazó la consulta del reporte: " + sentencia;
  const std::pair<QString, QString> casos[] = {{"La base de datos rechazó la consulta del reporte.", sentencia},
                                               {largo, {}}};
  for (const auto& [prompt, detalle] : casos) {
    SCOPED_TRACE(prompt.size());
    QString texto, plegado, abierto;
    QSize cerrada, desplegada, pantalla;
    AlAbrirse al([&](QDialog& d) {
      auto& caja = static_cast<QMessageBox&>(d);
      pantalla = caja.screen()->availableSize();
      texto = caja.text();
      plegado = caja.detailedText();
      cerrada = caja.frameGeometry().size();
      prueba::pulsar(caja, "Mostrar detalles...");
      QCoreApplication::processEvents();
      desplegada = caja.frameGeometry().size();
      abierto = rotulos(caja).join('|');
      prueba::pulsar(caja, "Aceptar");
    });
    qt.MsgBox(prompt, ui::vbCritical, "Aviso al Operador", detalle);
    ASSERT_TRUE(al.actuo());
    if (detalle.isEmpty()) {
      EXPECT_LT(texto.size(), 700);
      EXPECT_TRUE(texto.endsWith("…"));
      EXPECT_EQ(plegado, prompt);
    } else {
      EXPECT_EQ(texto, prompt);
      EXPECT_EQ(plegado, detalle);
    }
    EXPECT_TRUE(abierto.contains("Ocultar detalles...")) << abierto.toStdString();
    for (const QSize& t : {cerrada, desplegada}) {
      EXPECT_LE(t.width(), pantalla.width());
      EXPECT_LE(t.height(), pantalla.height());
    }
  }
}

TEST(QtServicio, InputBoxReturnsTypedTextOrEmptyOnCancel) {
  ui::QtServicio qt;
  {
    AlAbrirse al([](QDialog& d) {
      EXPECT_EQ(d.windowTitle(), "Clave");
      EXPECT_EQ(d.findChild<QLabel*>("prompt")->text(), "Escriba\nla clave");
      auto* texto = d.findChild<QLineEdit*>("texto");
      EXPECT_EQ(texto->text(), "abc");
      EXPECT_EQ(texto->selectedText(), "abc");  // typing replaces the default
      QTest::keyClicks(texto, "xyz");
      prueba::pulsar(d, "Aceptar");
    });
    EXPECT_EQ(qt.InputBox("Escriba\rla clave", "Clave", "abc"), "xyz");
  }
  {
    AlAbrirse al([](QDialog& d) { QTest::keyClick(d.findChild<QLineEdit*>("texto"), Qt::Key_Return); });
    EXPECT_EQ(qt.InputBox("Valor", {}, "por defecto"), "por defecto");
  }
  {
    AlAbrirse al([](QDialog& d) {
      EXPECT_EQ(d.windowTitle(), ui::tituloPrograma());
      prueba::pulsar(d, "Cancelar");
    });
    EXPECT_EQ(qt.InputBox("Valor", {}, "por defecto"), "");
  }
  {
    AlAbrirse al([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(qt.InputBox("Valor", {}, "por defecto"), "");
  }
}

TEST(QtServicio, ModalShowRunsUntilTheDialogHides) {
  ui::QtServicio qt;
  QDialog dialogo;
  auto* campo = new QLineEdit(&dialogo);
  campo->setObjectName("txtfields(0)");
  {
    AlAbrirse al([](QDialog& d) {
      prueba::teclear(d, "txtfields(0)", "servidor");
      d.done(7);
    });
    EXPECT_EQ(qt.MostrarModal(dialogo), 7);
  }
  EXPECT_EQ(campo->text(), "servidor");

  // A dialog that hides itself ends the show; the caller still owns it.
  auto* propio = new QDialog;
  propio->setAttribute(Qt::WA_DeleteOnClose);
  QPointer<QDialog> vivo(propio);
  {
    AlAbrirse al([](QDialog& d) { d.hide(); });
    EXPECT_EQ(qt.MostrarModal(*propio), 0);
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(vivo.isNull());
  delete propio;
}

TEST(QtServicio, ScreenIsThePrimaryScreen) {
  ui::QtServicio qt;
  ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
  EXPECT_EQ(qt.Pantalla(), QGuiApplication::primaryScreen()->size());
  EXPECT_FALSE(qt.Pantalla().isEmpty());
}

TEST(QtServicio, DefaultServiceAndProgramTitle) {
  ctx::Alcance limpio;  // no scripted UI: what the program gets
  EXPECT_NE(dynamic_cast<ui::QtServicio*>(&ui::servicio()), nullptr);
  EXPECT_EQ(&ui::servicio(), &ui::servicio());

  const QString antes = QCoreApplication::applicationName();
  EXPECT_EQ(ui::tituloPrograma(), "Rp_Usuarios");  // Qt's executable name is no title
  QCoreApplication::setApplicationName("Reporte de Usuarios");
  EXPECT_EQ(ui::tituloPrograma(), "Reporte de Usuarios");
  QCoreApplication::setApplicationName(antes);
}

// The program ends where it stands: buffered output reaches its file, the
// exit code is the one given and no later statement runs.
TEST(QtServicioDeathTest, EndFlushesAndExitsAtOnce) {
  // The default (fork) style: the child shares the parent's temporary folder.
  prueba::CarpetaTemporal carpeta;
  const QByteArray ruta = carpeta.archivo("salida.txt").toLocal8Bit();
  EXPECT_EXIT(
      {
        std::FILE* f = std::fopen(ruta.constData(), "w");
        std::setvbuf(f, nullptr, _IOFBF, 4096);
        std::fputs("antes", f);
        ui::QtServicio().End(4);
        std::fputs(" despues", f);
        std::fclose(f);
      },
      ::testing::ExitedWithCode(4), "");
  EXPECT_EQ(carpeta.leer("salida.txt"), "antes");
}

}  // namespace

// Nothing for the first half second; then a window modal to the program with
// the text and the bar, whose Cancelar makes the job's next call answer false.
TEST(QtServicioProgreso, PasadoMedioSegundoApareceYCancelarLoDetiene) {
  ui::QtServicio servicio;
  auto progreso = servicio.IniciarProgreso(QStringLiteral("Reporte"));
  const auto ventana = [] { return qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()); };
  EXPECT_TRUE(progreso->avanzar(QStringLiteral("Consultando la base de datos...")));
  EXPECT_EQ(ventana(), nullptr);
  QTest::qWait(int(ui::Progreso::kDemoraMs) + 50);
  EXPECT_TRUE(progreso->avanzar(QStringLiteral("Enviando la página 1 de 3"), 0, 3));
  QProgressDialog* v = ventana();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->windowTitle(), QStringLiteral("Reporte"));
  EXPECT_EQ(v->labelText(), QStringLiteral("Enviando la página 1 de 3"));
  EXPECT_EQ(v->maximum(), 3);
  prueba::pulsar(*v, QStringLiteral("Cancelar"));
  QTest::qWait(int(ui::Progreso::kIntervaloMs) + 10);
  EXPECT_FALSE(progreso->avanzar(QStringLiteral("Enviando la página 2 de 3"), 1, 3));
  EXPECT_TRUE(progreso->cancelado());
  progreso.reset();
  EXPECT_EQ(ventana(), nullptr);
}
