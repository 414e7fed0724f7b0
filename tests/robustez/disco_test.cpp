// What the program writes, on a disk that refuses: the error log, the lookup
// definitions file, the column-width file and a PDF export, each on a full
// disk and on a folder it may not write, through the process's file-size
// limit and a folder without write permission (always), and on a real tiny
// and a real read-only tmpfs (where mounting is allowed). Nothing crashes,
// the user sees the error where there is one to see, the files that were
// there are byte for byte as before, nothing half-written is left, and once
// the disk takes writes again the same operation works.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTranslator>
#include <map>
#include <memory>

#include "data/db_dll.h"
#include "engine/errores.h"
#include "engine/motor.h"
#include "engine/pintor.h"
#include "platform/ctx/programa.h"
#include "platform/ui/servicio.h"
#include "platform/ui/traducciones.h"
#include "services/mascaras.h"
#include "tests/engine/apoyo.h"
#include "tests/lookup/apoyo.h"
#include "tests/robustez/disco.h"
#include "tests/support/guion_ui.h"
#include "tests/support/temp_folder.h"

namespace {

enum class Falla { Llena, SinPermiso, TmpfsLleno, TmpfsSoloLectura };

std::string nombreFalla(const ::testing::TestParamInfo<Falla>& i) {
  switch (i.param) {
    case Falla::Llena: return "DiscoLleno";
    case Falla::SinPermiso: return "SinPermiso";
    case Falla::TmpfsLleno: return "TmpfsLleno";
    case Falla::TmpfsSoloLectura: return "TmpfsSoloLectura";
  }
  return "?";
}

// The folder a writer writes in, with the files that were there before, and
// the fault, in force between activar() and the end of its result.
class Disco {
 public:
  Disco(Falla falla, const std::map<QString, QByteArray>& previos) : falla_(falla) {
    auto escribir = [&](const QString& carpeta) {
      for (const auto& [nombre, bytes] : previos) {
        QFile f(carpeta + nombre);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
      }
    };
    for (const auto& [nombre, bytes] : previos) mayor_ = std::max<off_t>(mayor_, bytes.size());
    if (falla == Falla::TmpfsLleno || falla == Falla::TmpfsSoloLectura) {
      montada_ = std::make_unique<prueba::CarpetaMontada>(
          falla == Falla::TmpfsLleno ? prueba::CarpetaMontada::Tipo::Llena : prueba::CarpetaMontada::Tipo::SoloLectura,
          escribir);
      if (!montada_->montada()) omitir_ = montada_->motivo();
    } else {
      escribir(temporal_.ruta());
    }
  }

  QString ruta() const { return montada_ ? montada_->ruta() : temporal_.ruta(); }
  QString archivo(const QString& nombre) const { return ruta() + nombre; }
  const QString& omitir() const { return omitir_; }

  struct Activa {
    std::unique_ptr<prueba::LimiteArchivos> limite;
    std::unique_ptr<prueba::SinPermiso> permiso;
  };
  // Any file may grow only a little past the largest one already there, so a
  // writer gets half way before the disk is full.
  // `limite` replaces that size, for a writer whose new file is smaller.
  Activa activar(off_t limite = -1) const {
    Activa a;
    if (falla_ == Falla::Llena) a.limite = std::make_unique<prueba::LimiteArchivos>(limite >= 0 ? limite : mayor_ + 10);
    if (falla_ == Falla::SinPermiso) {
      a.permiso = std::make_unique<prueba::SinPermiso>(ruta());
      if (!a.permiso->activo()) ADD_FAILURE() << a.permiso->motivo().toStdString();
    }
    return a;
  }
  void liberar() {
    if (montada_) montada_->liberar();
  }

  // Every file of the folder and its bytes (the filling left out).
  std::map<QString, QByteArray> contenido() const {
    std::map<QString, QByteArray> r;
    for (const QString& n : QDir(ruta()).entryList(QDir::Files | QDir::Hidden)) {
      if (n == QStringLiteral(".relleno")) continue;
      QFile f(ruta() + n);
      r[n] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ilegible>");
    }
    return r;
  }

 private:
  Falla falla_;
  prueba::CarpetaTemporal temporal_;
  std::unique_ptr<prueba::CarpetaMontada> montada_;
  off_t mayor_ = 0;
  QString omitir_;
};

class DiscoQueRechaza : public ::testing::TestWithParam<Falla> {};

INSTANTIATE_TEST_SUITE_P(Robustez, DiscoQueRechaza,
                         ::testing::Values(Falla::Llena, Falla::SinPermiso, Falla::TmpfsLleno, Falla::TmpfsSoloLectura),
                         nombreFalla);

#define OMITIR_SI_HACE_FALTA(disco) \
  if (!(disco).omitir().isEmpty()) GTEST_SKIP() << (disco).omitir().toStdString()

// ---- The error log --------------------------------------------------------

TEST_P(DiscoQueRechaza, RegistroDeErrores) {
  // Old lines up to just short of a whole block, so that on the tiny tmpfs
  // the new line needs a block the disk no longer has.
  const QByteArray una =
      "12-01-2024 10:00:00 Rutina: - Otra Mensaje Ha ocurrido el Siguiente Error (5) Y "
      "Respondió : Ignorar\r\n";
  QByteArray viejo;
  while (viejo.size() + una.size() <= 4096 - 20) viejo += una;
  viejo += QByteArray(4096 - 20 - viejo.size() - 2, '.') + "\r\n";
  Disco disco(GetParam(), {{QStringLiteral("KVERR.LOG"), viejo}});
  OMITIR_SI_HACE_FALTA(disco);
  ctx::actual().setCarpetaPrograma(disco.ruta());
  const auto antes = disco.contenido();
  {
    const auto falla = disco.activar();
    // The box is shown and its answer stands, though no line can be written.
    prueba::guion().esperarMensaje(ui::vbRetry, QStringLiteral("Ha ocurrido el Siguiente Error (3265) X"),
                                   QStringLiteral("Aviso al operador!!!"));
    EXPECT_EQ(
        db().TratamientoErrores(vb::Error(3265, QStringLiteral("X")), std::nullopt, vb::Variant("VerificaCampos")),
        ui::vbRetry);
  }
  EXPECT_EQ(disco.contenido(), antes);  // not even half a line

  disco.liberar();
  prueba::guion().esperarMensaje(ui::vbIgnore);
  EXPECT_EQ(db().TratamientoErrores(vb::Error(3265, QStringLiteral("X")), std::nullopt, vb::Variant("VerificaCampos")),
            ui::vbIgnore);
  const QByteArray ahora = disco.contenido()[QStringLiteral("KVERR.LOG")];
  EXPECT_TRUE(ahora.startsWith(viejo));
  EXPECT_TRUE(ahora.endsWith("Error (3265) X Respondió : Ignorar\r\n")) << ahora.toStdString();
  EXPECT_EQ(ahora.count("\r\n"), viejo.count("\r\n") + 1);
}

// ---- The lookup definitions file -------------------------------------------

TEST_P(DiscoQueRechaza, ArchivoDeMascaras) {
  const QByteArray propio = ModGlobal::RegistroMascara(QStringLiteral("ZONAS"), QStringLiteral("TA_ZONAS"),
                                                       QStringLiteral("|NOMBRE|CODIGO|"), QStringLiteral("ID > 1"));
  Disco disco(GetParam(), {{QStringLiteral("consultas.qzx"), propio}});
  OMITIR_SI_HACE_FALTA(disco);
  const auto antes = disco.contenido();
  const QString ruta = disco.archivo(QStringLiteral("consultas.qzx"));
  {
    const auto falla = disco.activar();
    try {
      ModGlobal::CrearMascarasConsultas(ruta);
      ADD_FAILURE() << "escribió en un disco que no acepta";
    } catch (const vb::Error& e) {
      EXPECT_TRUE(e.Number() == vb::kDiskFull || e.Number() == vb::kPermissionDenied) << e.Number();
    }
  }
  EXPECT_EQ(disco.contenido(), antes);

  disco.liberar();
  ModGlobal::CrearMascarasConsultas(ruta);
  const QByteArray ahora = disco.contenido()[QStringLiteral("consultas.qzx")];
  EXPECT_EQ(ahora.size(), 8 * ModGlobal::kLargoMascara);
  EXPECT_TRUE(ahora.startsWith(propio));
}

// ---- The column-width file --------------------------------------------------

class AnchosEnDisco : public prueba::Consultas, public ::testing::WithParamInterface<Falla> {};

INSTANTIATE_TEST_SUITE_P(Robustez, AnchosEnDisco,
                         ::testing::Values(Falla::Llena, Falla::SinPermiso, Falla::TmpfsLleno, Falla::TmpfsSoloLectura),
                         nombreFalla);

TEST_P(AnchosEnDisco, GrabarAnchosAlCerrar) {
  const QByteArray viejo = "\"TA_OTRA\",\"100|200|\"\n\"VT_CLIENTES\",\"1500|3000|\"\n";
  Disco disco(GetParam(), {{QStringLiteral("CONSULTASLEN.QZX"), viejo}});
  OMITIR_SI_HACE_FALTA(disco);
  ctx::actual().setCarpetaPrograma(disco.ruta());
  const auto antes = disco.contenido();

  auto cerrarConAncho = [&](int ancho) {
    Lib_FrmCons3 f;
    f.SQL = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES ORDER BY CODIGO");
    f.GrabarCfg = true;
    mostrar(f, [&] {
      EXPECT_EQ(f.anchoColumna(1), 3000);
      f.setAnchoColumna(1, ancho);
      prueba::pulsar(f, QStringLiteral("Aceptar"));
    });
    f.Descargar();
  };
  {
    Lib_FrmCons3 f;
    f.SQL = QStringLiteral("SELECT CODIGO, NOMBRE FROM VT_CLIENTES ORDER BY CODIGO");
    f.GrabarCfg = true;
    mostrar(f, [&] {
      f.setAnchoColumna(1, 2250);
      prueba::pulsar(f, QStringLiteral("Aceptar"));
    });
    const auto falla = disco.activar(16);
    prueba::guion().esperarMensaje(ui::vbOK, QString(), QStringLiteral("Aviso al Operador"));
    f.Descargar();
    ASSERT_EQ(prueba::guion().mostradas().back().botones & ui::vbCritical, ui::vbCritical);
  }
  EXPECT_EQ(disco.contenido(), antes);  // the old widths, and no CONSULTASLEN.AUX

  disco.liberar();
  cerrarConAncho(2400);
  EXPECT_EQ(disco.contenido()[QStringLiteral("CONSULTASLEN.QZX")].toStdString(),
            "\"TA_OTRA\",\"100|200|\"\n\"VT_CLIENTES\",\"1500|2400|\"\n");
  EXPECT_EQ(disco.contenido().count(QStringLiteral("CONSULTASLEN.AUX")), 0u);
}

// ---- A PDF export -------------------------------------------------------------

const char* kReporte = R"({
  "titulo": "Usuarios por Grupo",
  "consulta": "SELECT NOMBRE, GRUPO FROM TA_USUARIOS",
  "grupos": ["GRUPO"],
  "columnas": [ { "campo": "NOMBRE", "titulo": "Usuario" } ]
})";

// The users-by-group report of `base` to a PDF, on the open connection.
engine::SolicitudReporte solicitudPdf(prueba::CarpetaTemporal& datos, const QString& base) {
  engine::SolicitudReporte s;
  s.archivo = datos.escribir(QStringLiteral("RP_Usuarios_Grupos.rpt"), kReporte);
  s.conexion = QStringLiteral("DSN_QUE_NO_EXISTE");
  s.conexionAbierta = prueba::abrirBase(base);
  s.destino = engine::Destino::Pdf;
  s.opcionC = false;
  return s;
}

TEST_P(DiscoQueRechaza, ExportarPdf) {
  prueba::CarpetaTemporal datos;
  const QString base = prueba::crearBase(datos.archivo(QStringLiteral("empresa.db")),
                                         "CREATE TABLE TA_USUARIOS (NOMBRE TEXT, GRUPO TEXT);\n"
                                         "INSERT INTO TA_USUARIOS VALUES ('ana', 'VENTAS'), ('beto', 'ADMIN');\n");
  engine::SolicitudReporte s = solicitudPdf(datos, base);

  const QByteArray viejo = "%PDF-1.4 el reporte de ayer";
  Disco disco(GetParam(), {{QStringLiteral("reporte.pdf"), viejo}});
  OMITIR_SI_HACE_FALTA(disco);
  s.archivoPdf = disco.archivo(QStringLiteral("reporte.pdf"));
  const auto antes = disco.contenido();

  // The report is laid out first; only the file is written on the bad disk.
  auto reporte = engine::ReportePreparado::preparar(s);
  ASSERT_TRUE(reporte->completar());
  {
    const std::unique_ptr<QTranslator> traductor(ui::instalarTraducciones());  // as the program runs
    const auto falla = disco.activar();
    try {
      engine::escribirPdf(reporte->documento(), s.archivoPdf);
      ADD_FAILURE() << "escribió en un disco que no acepta";
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number(), engine::kErrorSalida);
      EXPECT_TRUE(e.Description().contains(s.archivoPdf)) << e.Description().toStdString();
      // The cause in Spanish, as the rest of the message.
      const char* causa = GetParam() == Falla::Llena        ? "El archivo es demasiado grande"
                          : GetParam() == Falla::SinPermiso ? "Permiso denegado"
                          : GetParam() == Falla::TmpfsLleno ? "No queda espacio en el disco"
                                                            : "El disco es de sólo lectura";
      EXPECT_TRUE(e.Description().contains(QString::fromUtf8(causa))) << e.Description().toStdString();
    }
  }
  EXPECT_EQ(disco.contenido(), antes);

  disco.liberar();
  EXPECT_EQ(engine::EmitirReporte(s), engine::Resultado::Emitido);
  const QString texto = prueba::textoPdf(s.archivoPdf);
  EXPECT_TRUE(texto.contains(QStringLiteral("Usuarios por Grupo"))) << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("beto")));
}

// The whole request to a PDF on a full disk: the launcher gets the error.
TEST(DiscoQueRechazaSolicitud, EmitirReporteAPdfEnDiscoLleno) {
  prueba::CarpetaTemporal datos;
  const QString base = prueba::crearBase(datos.archivo(QStringLiteral("empresa.db")),
                                         "CREATE TABLE TA_USUARIOS (NOMBRE TEXT, GRUPO TEXT);\n"
                                         "INSERT INTO TA_USUARIOS VALUES ('ana', 'VENTAS');\n");
  engine::SolicitudReporte s = solicitudPdf(datos, base);
  s.archivoPdf = datos.escribir(QStringLiteral("reporte.pdf"), "%PDF-1.4 viejo");
  {
    prueba::LimiteArchivos lleno(1024);
    EXPECT_THROW(engine::EmitirReporte(s), vb::Error);
  }
  EXPECT_EQ(datos.leer(QStringLiteral("reporte.pdf")), QByteArray("%PDF-1.4 viejo"));
  EXPECT_EQ(QDir(datos.ruta()).entryList(QDir::Files | QDir::Hidden).size(), 3);  // db, rpt, pdf
}

}  // namespace
