// The main window: its tabs, how it hides and ends, and the send countdown driven tick by tick.

#include "components/ComponentesDeVentana.h"
#include "components/Nucleo.h"
#include "components/Registro.h"
#include "config/Configuracion.h"
#include "editors/MSFlexGrid.h"
#include "export/Demo.h"
#include "modulo/Arranque.h"
#include "modulo/LineaDeComandos.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"
#include "shell/clsInicio.h"
#include "shell/frmInicial.h"
#include "shell/iniciar.h"

#include "ui_impresion.h"
#include "ui_pestanas.h"
#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Answers every message box that comes up while it lives: with the button of that text when the box
// has one, otherwise with Enter, which takes the default button. Keeps what each box said.
class Contestador : public QObject {
public:
    explicit Contestador(QString boton = QString()) : boton(std::move(boton)) {
        connect(&reloj, &QTimer::timeout, this, [this] {
            auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (caja == nullptr)
                return;
            vistas << caja->windowTitle() + QStringLiteral(": ") + caja->text();
            for (QAbstractButton* b : caja->buttons())
                if (b->text() == this->boton) {
                    b->click();
                    return;
                }
            QTest::keyClick(caja, Qt::Key_Return);
        });
        reloj.start(5);
    }
    QStringList vistas;

private:
    QString boton;
    QTimer reloj;
};

class VentanaPrincipal : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(carpeta.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(usuario.path()));
        reiniciarModulo();
        registrarComponentesDelNucleo();
        registrarComponentesDeVentana();
        shell_notify::ForzarBandejaDisponible(true);
    }
    void TearDown() override {
        ventana.reset();
        shell_notify::ForzarBandejaDisponible(std::nullopt);
        ponerCajaDelSistema({});
        reiniciarModulo();
    }

    // The sample shop of the demo (a SQLite catalogue, a local folder to publish to) with this interval.
    // Its catalogue is made once for the suite and copied.
    void prepararCarpeta(qint16 intervalo) const {
        static QTemporaryDir modelo;
        const QString catalogo = QStringLiteral("/vendalia/datos1.sqlite");
        QString error;
        if (!QFile::exists(modelo.path() + catalogo) && !prepararDemo(modelo.path(), &error))
            throw std::runtime_error("no se pudo preparar la tienda de muestra: " + error.toStdString());
        QDir().mkpath(carpeta.filePath(QStringLiteral("vendalia")));
        QFile::copy(modelo.path() + catalogo, carpeta.path() + catalogo);
        // Without its folder the program would stop on a question nobody answers.
        if (!prepararDemo(carpeta.path(), &error))
            throw std::runtime_error("no se pudo preparar la tienda de muestra: " + error.toStdString());
        LibKtfaNucleo ktfa;
        ktfa.EscribeIni(claves::kSeccion, claves::kIntervalo, QString::number(intervalo),
                        carpeta.filePath(nombreDelEjecutable() + QStringLiteral(".ini")));
    }
    static void escribir(const QString& ruta, const QByteArray& contenido) {
        QFile archivo(ruta);
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.write(contenido);
    }

    // The program started on that folder, as main() starts it.
    frmInicial& cargar(qint16 intervalo, const QStringList& opciones = {}) {
        prepararCarpeta(intervalo);
        ventana.reset(qobject_cast<frmInicial*>(iniciar(
            leerLineaDeComandos(opciones + QStringList{QStringLiteral("--carpeta"), carpeta.path()}))));
        EXPECT_NE(ventana, nullptr);
        return *ventana;
    }

    template <class Control> Control* control(const char* nombre) const {
        auto* encontrado = ventana->findChild<Control*>(QString::fromLatin1(nombre));
        EXPECT_NE(encontrado, nullptr) << nombre;
        return encontrado;
    }

    QString cuentaAtras() const { return control<QLabel>("lblInfo")->text(); }
    bool reloj() const { return control<QTimer>("Timer1")->isActive(); }
    void tic(int veces = 1) {
        for (int i = 0; i < veces; ++i)
            QMetaObject::invokeMethod(ventana.get(), "Timer1_Timer", Qt::DirectConnection);
    }
    QList<int> pestanasVisibles() const { return ::pestanasVisibles(*ventana); }

    QTemporaryDir carpeta;
    QTemporaryDir usuario;
    std::unique_ptr<frmInicial> ventana;
};

TEST_F(VentanaPrincipal, LoadedWithAnIntervalItGoesToTheNotificationAreaAndCounts) {
    frmInicial& v = cargar(5);
    EXPECT_FALSE(v.isVisible());
    EXPECT_NE(shell_notify::IconoDeBandeja(ventanas::hWndDe(&v), 1), nullptr);
    EXPECT_TRUE(reloj());
    EXPECT_EQ(v.windowTitle(), QStringLiteral("Actualización de productos en línea   v 1.0.0"));
    EXPECT_EQ(control<QLineEdit>("txtDato_0")->text(), QStringLiteral("datos1"));
    EXPECT_EQ(control<QLineEdit>("txtDato_2")->text(), QStringLiteral("productos.csv"));
    EXPECT_EQ(control<QLineEdit>("txtDato_6")->text(), QStringLiteral("/catalogo/"));
    EXPECT_EQ(control<QLineEdit>("txtDato_1")->text(), QStringLiteral("5"));
    EXPECT_FALSE(control<QLabel>("Label2")->text().isEmpty()) << "the computer's name";
    EXPECT_EQ(control<QLabel>("Label4")->text(),
              QStringLiteral("INSERT:agregar producto     SUPR:quitar producto\r\n"
                             "     Si la lista queda vacía se enviarán TODOS los productos"));
    auto* grid = control<MSFlexGrid>("mfgProds");
    EXPECT_EQ(grid->Cols(), 3);
    EXPECT_EQ(grid->TextMatrix(0, 1), QStringLiteral("Producto"));
    EXPECT_EQ(grid->TextMatrix(0, 2), QStringLiteral("Descripción"));
}

TEST_F(VentanaPrincipal, SpeaksSpanishOnEveryTabAndKeepsItsDesignSize) {
    frmInicial& v = cargar(5);
    auto* tabs = control<QTabWidget>("stbTabs");
    QStringList pestanas;
    for (int i = 0; i < tabs->count(); ++i)
        pestanas << tabs->tabText(i);
    EXPECT_EQ(pestanas,
              (QStringList{QStringLiteral("Principal"), QStringLiteral("Configuración"),
                           QStringLiteral("Lista de productos"), QStringLiteral("Campos a exportar")}));

    const std::pair<const char*, const char*> botones[] = {{"cmdLeerAhora", "Enviar ahora"},
                                                           {"cmdConfigurar", "Configurar"},
                                                           {"cmdListaProds", "Lista de productos"},
                                                           {"cmdCampos", "Lista de campos"},
                                                           {"cmdGrabar", "Grabar"},
                                                           {"cmdCancelar", "Cancelar"},
                                                           {"cmdRegresar", "Regresar"},
                                                           {"cmdGrabar2", "Grabar"},
                                                           {"cmdCancelar2", "Cancelar"}};
    for (const auto& [nombre, texto] : botones)
        EXPECT_EQ(control<QAbstractButton>(nombre)->text(), QString::fromUtf8(texto)) << nombre;
    EXPECT_EQ(control<QAbstractButton>("cmdTerminar")->toolTip(), QStringLiteral("Cerrar el programa"));
    EXPECT_EQ(control<QAbstractButton>("cmdMinimizar")->toolTip(),
              QStringLiteral("Ocultar ventana, enviándola a la barra de tareas"));

    QStringList etiquetas;
    for (const QLabel* etiqueta : v.findChildren<QLabel*>())
        etiquetas << etiqueta->text();
    for (const char* texto :
         {"Actualización de productos", "Para envío de productos faltan:", "Nombre del equipo:",
          "Base de datos:", "Intervalo (minutos):", "URL del FTP:", "Directorio o carpeta del sitio FTP:",
          "Archivo local a generar:", "Usuario:", "Contraseña:", "Lista de Campos a exportar:",
          "Escriba un número en el campo seleccionado para obtener un orden específico"})
        EXPECT_TRUE(etiquetas.contains(QString::fromUtf8(texto))) << texto;
    EXPECT_EQ(control<QLineEdit>("txtDato_1")->maxLength(), 4);

    const double pixelPorTwip = v.logicalDpiX() / 1440.0;
    EXPECT_EQ(v.size(), QSize(qRound(9750 * pixelPorTwip), qRound(6885 * pixelPorTwip)));
}

TEST_F(VentanaPrincipal, WithNoIntervalTheWindowShowsItselfAndTheCountdownIsUndefined) {
    frmInicial& v = cargar(0);
    EXPECT_TRUE(v.isVisible());
    EXPECT_FALSE(v.isMinimized());
    EXPECT_FALSE(reloj());
    EXPECT_EQ(cuentaAtras(), QStringLiteral("Sin definir"));
}

TEST_F(VentanaPrincipal, ANegativeIntervalStaysHiddenWithTheTimerOff) {
    frmInicial& v = cargar(-3);
    EXPECT_FALSE(v.isVisible());
    EXPECT_FALSE(reloj());
}

struct Opcion {
    const char* nombre;
    const char* argumento;
    bool normal;
};

class OpcionKtfa : public VentanaPrincipal, public ::testing::WithParamInterface<Opcion> {};

TEST_P(OpcionKtfa, OpensTheWindowOnlyWhenWrittenInSmallLetters) {
    frmInicial& v = cargar(5, {QString::fromLatin1(GetParam().argumento)});
    EXPECT_EQ(v.isVisible(), GetParam().normal);
    EXPECT_EQ(v.isMinimized(), !GetParam().normal);
}

INSTANTIATE_TEST_SUITE_P(Argumentos, OpcionKtfa,
                         ::testing::Values(Opcion{"tal_cual", "-ktfa", true},
                                           Opcion{"en_mayusculas", "-KTFA", false},
                                           Opcion{"dentro_de_otro", "x-ktfay", true}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(VentanaPrincipal, WithoutThePointOfSaleTheProgramEndsAfterSayingWhy) {
    prepararCarpeta(5);
    QFile::remove(carpeta.filePath(QStringLiteral("vendalia/Q7K.ini")));
    Contestador contestador(QStringLiteral("No"));
    ventana.reset(qobject_cast<frmInicial*>(
        iniciar(leerLineaDeComandos({QStringLiteral("--carpeta"), carpeta.path()}))));
    EXPECT_EQ(ventana, nullptr);
    ASSERT_EQ(contestador.vistas.size(), 2);
    EXPECT_TRUE(contestador.vistas[0].startsWith(QStringLiteral("Atención: En el archivo de configuración")));
    EXPECT_EQ(contestador.vistas[1],
              QStringLiteral("Editar INI: ¿Desea editar el archivo de configuración?"));
    EXPECT_EQ(modulo().frmInicial, nullptr);
}

struct Cuenta {
    const char* nombre;
    qint16 intervalo;
    int tics;
    const char* texto;
};

class CuentaAtras : public VentanaPrincipal, public ::testing::WithParamInterface<Cuenta> {};

TEST_P(CuentaAtras, ShowsHoursMinutesAndSecondsLeft) {
    cargar(GetParam().intervalo);
    tic(GetParam().tics);
    EXPECT_EQ(cuentaAtras(), QString::fromUtf8(GetParam().texto));
}

INSTANTIATE_TEST_SUITE_P(Intervalos, CuentaAtras,
                         ::testing::Values(Cuenta{"cincoMinutos", 5, 1, "0 hors. 4 min. 59 segs."},
                                           Cuenta{"horaYMedia", 90, 1, "1 hors. 29 min. 59 segs."},
                                           Cuenta{"unMinutoCumplido", 2, 60, "0 hors. 1 min. 0 segs."},
                                           Cuenta{"diezHoras", 600, 1, "9 hors. 59 min. 59 segs."},
                                           Cuenta{"masDe255Horas", 30000, 1, "255 hors. 59 min. 59 segs."}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(VentanaPrincipal, TheSendStartsAtTheTickThatReachesTheInterval) {
    frmInicial& v = cargar(1);
    tic(59);
    EXPECT_EQ(cuentaAtras(), QStringLiteral("0 hors. 0 min. 1 segs."));
    tic();
    EXPECT_EQ(cuentaAtras(), QString()) << "a send clears the countdown";
    EXPECT_EQ(v.inMinutos, 0);
    EXPECT_EQ(v.inSegundos, 0);
    EXPECT_TRUE(reloj());
    tic();
    EXPECT_EQ(cuentaAtras(), QStringLiteral("0 hors. 0 min. 59 segs."));
}

TEST_F(VentanaPrincipal, AnIntervalLoweredBelowTheTimeCountedSendsAtTheNextTick) {
    frmInicial& v = cargar(10);
    tic(6 * 60 + 30);
    modulo().nIntervalo = 5;
    tic();
    EXPECT_EQ(v.inMinutos, 0);
    EXPECT_EQ(cuentaAtras(), QString()) << "the send started at this tick";
}

struct Edge {
    const char* nombre;
    qint16 intervalo, minutos, segundos;
    int horas, min, seg;
};

class TiempoQueFalta : public ::testing::TestWithParam<Edge> {};

// Three bytes hold what is left; what they cannot hold is brought to their edge.
TEST_P(TiempoQueFalta, FitsInThreeBytes) {
    const Edge& caso = GetParam();
    const Restante r = TiempoRestante(caso.intervalo, caso.minutos, caso.segundos);
    EXPECT_EQ(r.horas, caso.horas);
    EXPECT_EQ(r.minutos, caso.min);
    EXPECT_EQ(r.segundos, caso.seg);
}

INSTANTIATE_TEST_SUITE_P(Bordes, TiempoQueFalta,
                         ::testing::Values(Edge{"cumplido", 5, 5, 0, 0, 0, 0},
                                           Edge{"intervaloRebasado", 5, 6, 1, 0, 0, 0},
                                           Edge{"mayorQue16Bits", 600, 546, 10, 0, 53, 50},
                                           Edge{"maximoDeLaConfiguracion", 9999, 0, 0, 166, 39, 0},
                                           Edge{"masDe255Horas", 32767, 0, 0, 255, 59, 59},
                                           Edge{"casiFuera", 32767, 32000, 0, 12, 47, 0}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(VentanaPrincipal, SendNowKeepsTheMinutesCountedTowardTheNextAutomaticSend) {
    frmInicial& v = cargar(5);
    tic(3 * 60 + 20);
    QTest::mouseClick(control<QPushButton>("cmdLeerAhora"), Qt::LeftButton);
    EXPECT_EQ(v.inMinutos, 3);
    EXPECT_EQ(v.inSegundos, 0);
    EXPECT_EQ(cuentaAtras(), QString());
    tic(119);
    EXPECT_EQ(cuentaAtras(), QStringLiteral("0 hors. 0 min. 1 segs."));
    tic();
    EXPECT_EQ(v.inMinutos, 0) << "the automatic send follows two minutes later";
}

// What the window looks like while the send runs, seen from the events the send lets through.
struct DuranteElEnvio {
    bool visto = false;
    bool habilitada = true;
    bool reloj = true;
    QString cuentaAtras;
    bool progresoVisible = false;
};

TEST_F(VentanaPrincipal, DuringASendTheWindowIsGreyedAndStillThenItIsBackAndTheFileIsPublished) {
    frmInicial& v = cargar(5);
    tic(10);
    DuranteElEnvio durante;
    QTimer espia;
    QObject::connect(&espia, &QTimer::timeout, [&] {
        if (durante.visto || v.isEnabled())
            return;
        durante = {true, v.isEnabled(), reloj(), cuentaAtras(), control<QLabel>("Label3")->isVisible()};
    });
    espia.start(0);
    v.show();
    QTest::mouseClick(control<QPushButton>("cmdLeerAhora"), Qt::LeftButton);
    espia.stop();

    ASSERT_TRUE(durante.visto) << "the send let no event through";
    EXPECT_FALSE(durante.reloj);
    EXPECT_EQ(durante.cuentaAtras, QString());
    EXPECT_TRUE(durante.progresoVisible);

    EXPECT_TRUE(v.isEnabled());
    EXPECT_TRUE(reloj());
    EXPECT_FALSE(control<QLabel>("Label3")->isVisible());
    QFile publicado(archivoPublicadoDeDemo(carpeta.path()));
    ASSERT_TRUE(publicado.open(QIODevice::ReadOnly));
    const qint64 tamano = publicado.size();
    EXPECT_GT(tamano, 0);
    EXPECT_EQ(control<QLabel>("Label5")->text(), QStringLiteral("De 'productos.csv': bytes copiados %1 de %1")
                                                     .arg(QLocale::system().toString(tamano)));
}

// Below the countdown and on the icon: how the last send ended, still there after a restart; a failure
// after a publication raises one balloon, never a box.
TEST_F(VentanaPrincipal, SaysHowTheLastSendEndedEvenAfterARestart) {
    cargar(0);
    const auto ultimoEnvio = [&] { return control<QLabel>("lblUltimoEnvio")->text(); };
    const auto globos = [] { return shell_notify::GlobosMostrados(nidBandeja.hWnd, nidBandeja.uID); };
    EXPECT_EQ(ultimoEnvio(), QStringLiteral("Último envío: ninguno"));
    QTest::mouseClick(control<QPushButton>("cmdLeerAhora"), Qt::LeftButton);
    const QLocale regional = QLocale::system();
    const qint64 bytes = QFileInfo(archivoPublicadoDeDemo(carpeta.path())).size();
    const QString publicado = QStringLiteral(", publicado: %1 productos, %2 bytes")
                                  .arg(regional.toString(3000), regional.toString(bytes));
    EXPECT_TRUE(ultimoEnvio().startsWith(QStringLiteral("Último envío: ")) &&
                ultimoEnvio().endsWith(publicado))
        << ultimoEnvio().toStdString();
    const QString tip = shell_notify::IconoDeBandeja(nidBandeja.hWnd, nidBandeja.uID)->toolTip();
    EXPECT_TRUE(tip.endsWith(QLatin1Char('\n') + ultimoEnvio())) << tip.toStdString();

    modulo().cURLFTP = carpeta.filePath(QStringLiteral("no-existe"));
    const int antes = globos();
    for (int envio = 0; envio < 2; ++envio)
        QTest::mouseClick(control<QPushButton>("cmdLeerAhora"), Qt::LeftButton);
    EXPECT_TRUE(ultimoEnvio().contains(QStringLiteral(", no se publicó: "))) << ultimoEnvio().toStdString();
    EXPECT_EQ(globos() - antes, 1) << "one balloon for the first failure only";

    const QString antesDeReiniciar = ultimoEnvio();
    ventana.reset();
    reiniciarModulo();
    ventana.reset(qobject_cast<frmInicial*>(
        iniciar(leerLineaDeComandos({QStringLiteral("--carpeta"), carpeta.path()}))));
    ASSERT_NE(ventana, nullptr);
    EXPECT_EQ(ultimoEnvio(), antesDeReiniciar);
}

TEST_F(VentanaPrincipal, ASendWithNoIntervalLeavesTheCountdownEmptyAndTheTimerOff) {
    cargar(0);
    QTest::mouseClick(control<QPushButton>("cmdLeerAhora"), Qt::LeftButton);
    EXPECT_EQ(cuentaAtras(), QString());
    EXPECT_FALSE(reloj());
    EXPECT_TRUE(QFile::exists(archivoPublicadoDeDemo(carpeta.path())));
}

TEST_F(VentanaPrincipal, AnotherTabPausesTheCountdownAndPrincipalResumesIt) {
    frmInicial& v = cargar(5);
    tic(75);
    QTest::mouseClick(control<QPushButton>("cmdConfigurar"), Qt::LeftButton);
    EXPECT_FALSE(reloj());
    EXPECT_EQ(pestanasVisibles(), QList<int>{1});
    QTest::mouseClick(control<QPushButton>("cmdCancelar"), Qt::LeftButton);
    EXPECT_TRUE(reloj());
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_EQ(v.inMinutos, 1);
    EXPECT_EQ(v.inSegundos, 15);
    tic();
    EXPECT_EQ(cuentaAtras(), QStringLiteral("0 hors. 3 min. 44 segs."));
}

TEST_F(VentanaPrincipal, CancelWithNoIntervalLeavesTheTimerOff) {
    cargar(0);
    QTest::mouseClick(control<QPushButton>("cmdConfigurar"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("cmdCancelar"), Qt::LeftButton);
    EXPECT_FALSE(reloj());
    EXPECT_EQ(cuentaAtras(), QStringLiteral("Sin definir"));
}

class UnaPestana : public VentanaPrincipal, public ::testing::WithParamInterface<int> {};

TEST_P(UnaPestana, MostrarPestanaLeavesOnlyThatTabVisibleAndCurrent) {
    frmInicial& v = cargar(5);
    auto* tabs = control<QTabWidget>("stbTabs");
    for (const int antes : {0, 1, 2, 3}) {
        v.MostrarPestana(quint8(antes));
        v.MostrarPestana(quint8(GetParam()));
        EXPECT_EQ(pestanasVisibles(), QList<int>{GetParam()}) << "desde la pestaña " << antes;
        EXPECT_EQ(tabs->currentIndex(), GetParam()) << "desde la pestaña " << antes;
    }
}

INSTANTIATE_TEST_SUITE_P(Pestanas, UnaPestana, ::testing::Values(0, 1, 2, 3));

TEST_F(VentanaPrincipal, TheFirstActivationPaintsTheSkinAndShowsPrincipalOnly) {
    frmInicial& v = cargar(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
    EXPECT_FALSE(v.blPrimeraVez);
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_EQ(v.palette().brush(QPalette::Window).style(), Qt::LinearGradientPattern);

    v.MostrarPestana(2);
    v.hide();
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
    EXPECT_EQ(pestanasVisibles(), QList<int>{2}) << "later activations do nothing";
}

TEST_F(VentanaPrincipal, BroughtBackWithTheConfigurationOpenTheCursorIsInItsFirstBox) {
    frmInicial& v = cargar(5);
    QSystemTrayIcon* icono = shell_notify::IconoDeBandeja(ventanas::hWndDe(&v), 1);
    emit icono->activated(QSystemTrayIcon::Trigger);
    QTest::mouseClick(control<QPushButton>("cmdConfigurar"), Qt::LeftButton);
    QTest::mouseClick(control<QAbstractButton>("cmdMinimizar"), Qt::LeftButton);
    ASSERT_FALSE(v.isVisible());
    emit icono->activated(QSystemTrayIcon::Context);
    ASSERT_TRUE(v.isVisible());
    EXPECT_EQ(v.focusWidget(), control<QLineEdit>("txtDato_0"));
}

TEST_F(VentanaPrincipal, TheProductListTabPutsTheCursorInTheGrid) {
    frmInicial& v = cargar(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
    v.MostrarPestana(2);
    EXPECT_EQ(v.focusWidget(), control<MSFlexGrid>("mfgProds"));
}

TEST_F(VentanaPrincipal, TheCloseBoxHidesTheWindowAndTheProgramGoesOn) {
    frmInicial& v = cargar(5);
    clsInicio().Restaurar(v);
    QSignalSpy fin(&v, &frmInicial::descargada);
    QCloseEvent cierre; // what the close box sends
    QCoreApplication::sendEvent(&v, &cierre);
    EXPECT_FALSE(cierre.isAccepted());
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(fin.count(), 0);
    EXPECT_NE(shell_notify::IconoDeBandeja(ventanas::hWndDe(&v), 1), nullptr);
    EXPECT_TRUE(reloj());
}

TEST_F(VentanaPrincipal, AltF4EndsTheProgramWithoutAsking) {
    frmInicial& v = cargar(0);
    const ventanas::HWND hWnd = ventanas::hWndDe(&v);
    QSignalSpy fin(&v, &frmInicial::descargada);
    QTest::keyClick(v.findChild<QPushButton*>(QStringLiteral("cmdLeerAhora")), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(fin.count(), 1);
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(shell_notify::IconoDeBandeja(hWnd, 1), nullptr) << "the icon leaves the notification area";
    EXPECT_FALSE(reloj());
}

TEST_F(VentanaPrincipal, TheHideButtonSendsTheWindowToTheNotificationArea) {
    frmInicial& v = cargar(0);
    QTest::mouseClick(control<QAbstractButton>("cmdMinimizar"), Qt::LeftButton);
    EXPECT_FALSE(v.isVisible());
    EXPECT_NE(shell_notify::IconoDeBandeja(ventanas::hWndDe(&v), 1), nullptr);
}

struct Respuesta {
    const char* nombre;
    const char* boton; // "" presses Enter
    bool termina;
};

class CerrarElPrograma : public VentanaPrincipal, public ::testing::WithParamInterface<Respuesta> {};

TEST_P(CerrarElPrograma, AsksFirstWithNoAsTheDefault) {
    frmInicial& v = cargar(0);
    QSignalSpy fin(&v, &frmInicial::descargada);
    Contestador contestador(QString::fromUtf8(GetParam().boton));
    QTest::mouseClick(control<QAbstractButton>("cmdTerminar"), Qt::LeftButton);
    EXPECT_EQ(contestador.vistas,
              QStringList{QStringLiteral("Cerrar conexión: ¿Está seguro de cerrar este programa?")});
    EXPECT_EQ(fin.count(), GetParam().termina ? 1 : 0);
    EXPECT_EQ(v.isVisible(), !GetParam().termina);
    EXPECT_EQ(modulo().oKtfa == nullptr, GetParam().termina) << "unloading releases the components";
}

INSTANTIATE_TEST_SUITE_P(Respuestas, CerrarElPrograma,
                         ::testing::Values(Respuesta{"intro", "", false}, Respuesta{"no", "No", false},
                                           Respuesta{"si", "Sí", true}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(VentanaPrincipal, F1OpensTheDescriptionWhichKeepsItsPlaceInTheSettings) {
    cargar(0);
    QTest::keyClick(control<QLineEdit>("txtDato_4"), Qt::Key_F1, Qt::ControlModifier);
    QWidget* encontrada = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("frmDescripcion") && w->isVisible())
            encontrada = w;
    ASSERT_NE(encontrada, nullptr);
    auto* descripcion = qobject_cast<Formulario*>(encontrada);
    EXPECT_EQ(descripcion->windowTitle(), QStringLiteral("Descripción del programa"));
    EXPECT_EQ(descripcion->pos(), QPoint(0, 0)) << "no placement stored yet";

    EXPECT_EQ(descripcion->width(), qRound(9180 * descripcion->logicalDpiX() / 1440.0)) << "design size";
    descripcion->Move(1500, 900);
    const QString ancho = QString::number(descripcion->Width()); // the frame included
    descripcion->close();
    const QString ini = modulo().cArchivoINI;
    const auto lee = [&](const char* clave) {
        return modulo().oKtfa->LeeIni(QStringLiteral("frmDescripcion"), QString::fromLatin1(clave), ini);
    };
    EXPECT_EQ(lee("Ventana"), QStringLiteral("Descripción del programa"));
    EXPECT_EQ(lee("Linea"), QStringLiteral("900"));
    EXPECT_EQ(lee("Columna"), QStringLiteral("1500"));
    EXPECT_EQ(lee("Ancho"), ancho);
}

// The desktop's opener is a script of the test's that notes what it was asked to open.
TEST_F(VentanaPrincipal, ADoubleClickOnTheBackgroundOpensTheSettingsFile) {
    frmInicial& v = cargar(0);
    QTemporaryDir programas;
    const QString anotado = programas.filePath(QStringLiteral("abierto"));
    escribir(programas.filePath(QStringLiteral("xdg-open")),
             "#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(anotado) + "'\n");
    QFile::setPermissions(programas.filePath(QStringLiteral("xdg-open")), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray ruta = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(programas.path()) + ":" + ruta);

    QTest::mouseDClick(control<QLabel>("lblInfo"), Qt::LeftButton);
    QTest::qWait(300);
    EXPECT_FALSE(QFile::exists(anotado)) << "a double-click on a control is the control's";
    QTest::mouseDClick(&v, Qt::LeftButton, {}, QPoint(2, v.height() - 2));
    const bool abierto = QTest::qWaitFor([&] { return QFile::exists(anotado); }, 5000);
    qputenv("PATH", ruta);
    ASSERT_TRUE(abierto);
    QTest::qWait(50);
    QFile archivo(anotado);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(archivo.readAll()), modulo().cArchivoINI);
}

} // namespace
