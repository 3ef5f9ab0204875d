// A send from the window against a server or a database that takes its time: the window keeps answering
// and shows what the server really has, takes no keys meanwhile, and a request to end the program stops
// the send cleanly.

#include "bd_base.h"
#include "ftp_travieso.h"
#include "latido.h"
#include "modulo/CandadoDeEnvio.h"
#include "shell/SenalesDeFin.h"
#include "shell/clsInicio.h"
#include "tienda_en_ventana.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <csignal>

namespace {

// What the send is made to wait for: a server misbehaving in one way (ftp_travieso.py), reading at that
// pace, and the products table held by another connection's lock for that long.
struct Espera {
    const char* nombre;
    const char* capricho;
    int bytesPorSegundo;
    int segundosDeBloqueo;
    friend void PrintTo(const Espera& espera, std::ostream* os) { *os << espera.nombre; }
};

// The count of "De '…': bytes copiados N de M", whatever separates its thousands; -1 before the upload.
qint64 cuentaDe(const QString& label5) {
    static const QRegularExpression cuenta(QStringLiteral("bytes copiados (\\S+) de"));
    QString cifras = cuenta.match(label5).captured(1);
    cifras.remove(QRegularExpression(QStringLiteral("\\D")));
    return cifras.isEmpty() ? -1 : cifras.toLongLong();
}

class EnvioEnVentana : public TiendaEnVentana, public ::testing::WithParamInterface<Espera> {
protected:
    // The sample shop, shown, publishing to a server of the test's own; its catalogue in MariaDB, locked as
    // the send starts, when the table is to be locked.
    void preparar(const Espera& espera) {
        ftp = std::make_unique<ServidorFtpTravieso>(QString::fromLatin1(espera.capricho),
                                                    espera.bytesPorSegundo);
        REQUERIR_SERVIDOR(ftp->listo(), ftp->motivo().toStdString());
        if (espera.segundosDeBloqueo > 0) {
            REQUERIR_SERVIDOR(base.abrir(Motor::MariaDB, 300), base.motivo().toStdString());
        }
        frmInicial& v = cargarMuestra(0);
        Modulo& m = modulo();
        m.cURLFTP = ftp->direccion();
        m.cUsuarioFTP = ftp->usuario();
        m.cClaveFTP = ftp->contrasena();
        m.cDirectorioFTP = QStringLiteral("/");
        if (espera.segundosDeBloqueo > 0) {
            base.configurar(*m.oBasesDD);
            base.ejecutar(QStringLiteral("LOCK TABLES productos WRITE"));
            QTimer::singleShot(espera.segundosDeBloqueo * 1000, [this] { base.ejecutar("UNLOCK TABLES"); });
        }
        clsInicio().Restaurar(v);
    }
    void enviarAhora() { QTest::mouseClick(control<QPushButton>("cmdLeerAhora"), Qt::LeftButton); }
    QString label5() const { return control<QLabel>("Label5")->text(); }
    // What the server holds of the upload: the file under its temporary name, then under its own.
    qint64 enElServidor() const {
        const QFileInfo temporal(ftp->carpeta() + QStringLiteral("/.productos.csv.subiendo"));
        return temporal.exists() ? temporal.size() : QFileInfo(ftp->carpeta() + "/productos.csv").size();
    }
    QByteArray bitacora() const { return leer(ruta(QStringLiteral("catalogo-ftp.log"))); }

    std::unique_ptr<ServidorFtpTravieso> ftp;
    BaseDePrueba base;
};

class LaVentanaContesta : public EnvioEnVentana {};

// Whatever the send waits for, the window goes no more than a second (meant: a tenth) without processing
// its events; Label5 never counts bytes ahead of the server (a server that reads slowly holds at most
// its small buffers beyond what it has written).
TEST_P(LaVentanaContesta, MientrasElEnvioEspera) {
    preparar(GetParam());
    if (IsSkipped() || HasFailure())
        return;
    Latido latido;
    qint64 adelantoMayor = 0;
    QTimer muestras;
    QObject::connect(&muestras, &QTimer::timeout,
                     [&] { adelantoMayor = std::max(adelantoMayor, cuentaDe(label5()) - enElServidor()); });
    muestras.start(10);
    enviarAhora();
    ASSERT_TRUE(esperarEnvio());
    muestras.stop();

    EXPECT_LT(latido.mayorMs(), 1000);
    const QByteArray exportado = leer(ruta(QStringLiteral("productos.csv")));
    EXPECT_EQ(leer(ftp->carpeta() + "/productos.csv"), exportado);
    EXPECT_EQ(label5(), QStringLiteral("De 'productos.csv': bytes copiados %1 de %1")
                            .arg(QLocale::system().toString(exportado.size())));
    if (GetParam().bytesPorSegundo > 0) {
        EXPECT_LT(adelantoMayor, 96 * 1024) << "of " << exportado.size() << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(Esperas, LaVentanaContesta,
                         ::testing::Values(Espera{"CadaRespuesta", "pausada:0.2", 0, 0},
                                           Espera{"RespuestaDeCierre", "cierre-lento:2", 0, 0},
                                           Espera{"LecturaLenta", "normal", 100 * 1000, 0},
                                           Espera{"TablaBloqueada", "normal", 0, 2}),
                         ::testing::PrintToStringParamName());

class AlTerminar : public EnvioEnVentana {};

// Keys, cmdTerminar and the icon start nothing while the send waits; a request to end the program then
// stops it cleanly: its end logged, no lock left, nothing of it left on the server.
TEST_P(AlTerminar, ElEnvioSeDetieneLimpio) {
    preparar(GetParam());
    if (IsSkipped() || HasFailure())
        return;
    frmInicial& v = *ventana;
    Latido latido;
    QSignalSpy fin(&v, &frmInicial::descargada);
    enviarAhora();
    // Waiting for the database, or for the server's closing reply once it has every byte.
    const QString todo = QStringLiteral("de %1").arg(QLocale::system().toString(208830));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return GetParam().segundosDeBloqueo > 0 ? control<QLabel>("Label3")->isVisible()
                                                : label5().endsWith(todo);
    }));

    Contestador contestador;
    QTest::keyClick(control<QPushButton>("cmdConfigurar"), Qt::Key_F1);
    QTest::keyClick(control<QPushButton>("cmdConfigurar"), Qt::Key_F4, Qt::AltModifier);
    QTest::mouseClick(control<QAbstractButton>("cmdTerminar"), Qt::LeftButton);
    emit icono()->activated(QSystemTrayIcon::Trigger);
    QTest::qWait(200);
    EXPECT_EQ(descripcion(), nullptr);
    EXPECT_EQ(contestador.vistas, QStringList());
    EXPECT_EQ(fin.count(), 0);
    ASSERT_TRUE(v.EnviandoProductos());

    v.Terminar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fin.count() == 1; }, 10000));
    EXPECT_LT(latido.mayorMs(), 1000);
    EXPECT_TRUE(bitacora().contains("; no se publicó: se interrumpió al cerrarse el programa"))
        << bitacora().toStdString();
    CandadoDeEnvio otroEnvio(carpeta.path());
    EXPECT_EQ(otroEnvio.tomar([] {}, nullptr), CandadoDeEnvio::Toma::tomado)
        << "the send's lock was left taken";
    EXPECT_EQ(QDir(ftp->carpeta()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Esperas, AlTerminar,
                         ::testing::Values(Espera{"DuranteLaExportacion", "normal", 0, 3},
                                           Espera{"DuranteLaRespuestaDeCierre", "cierre-lento:5", 0, 0}),
                         ::testing::PrintToStringParamName());

// SIGTERM (a system shutting down) reaches the event loop instead of ending the process on the spot.
TEST(SenalesDeFin, LleganAlBucleDeEventos) {
    QObject contexto;
    bool llegada = false;
    atenderSenalesDeFin(&contexto, [&] { llegada = true; });
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return llegada; }, 2000));
}

} // namespace
