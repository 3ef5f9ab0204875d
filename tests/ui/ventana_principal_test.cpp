// The main window: its tabs, how it hides and ends, the send countdown driven tick by tick, and the
// description window F1 opens.

#include "app/Demo.h"
#include "editors/MSFlexGrid.h"
#include "shell/clsInicio.h"
#include "shell/frmDescripcion.h"
#include "tienda_en_ventana.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextEdit>

namespace {

// The sample shop of the demo: a SQLite catalogue of 3,000 products and a local folder to publish to.
class VentanaPrincipal : public TiendaEnVentana {
protected:
    QString cuentaAtras() const { return control<QLabel>("lblInfo")->text(); }
    // A tick that starts a send waits for its end.
    void tic(int veces = 1) {
        for (int i = 0; i < veces; ++i) {
            QMetaObject::invokeMethod(ventana.get(), "Timer1_Timer", Qt::DirectConnection);
            ASSERT_TRUE(esperarEnvio());
        }
    }
    QList<int> contado() const { return {ventana->inMinutos, ventana->inSegundos}; }
    QString ultimoEnvio() const { return control<QLabel>("lblUltimoEnvio")->text(); }
    static int globos() { return shell_notify::GlobosMostrados(nidBandeja.hWnd, nidBandeja.uID); }
    void enviarAhora() {
        QTest::mouseClick(control<QPushButton>("cmdLeerAhora"), Qt::LeftButton);
        ASSERT_TRUE(esperarEnvio());
    }
};

TEST_F(VentanaPrincipal, LoadedWithAnIntervalItGoesToTheNotificationAreaAndComesBackFromTheIcon) {
    frmInicial& v = cargarMuestra(5);
    EXPECT_FALSE(v.isVisible());
    EXPECT_NE(icono(), nullptr);
    EXPECT_TRUE(reloj());
    EXPECT_EQ(v.windowTitle(), QStringLiteral("Actualización de productos en línea   v 1.0.0"));
    const QStringList cajas = {
        control<QLineEdit>("txtDato_0")->text(), control<QLineEdit>("txtDato_1")->text(),
        control<QLineEdit>("txtDato_2")->text(), control<QLineEdit>("txtDato_6")->text()};
    EXPECT_EQ(cajas, QStringList({"datos1", "5", "productos.csv", "/catalogo/"}));
    EXPECT_FALSE(control<QLabel>("Label2")->text().isEmpty()) << "the computer's name";
    auto* grid = control<MSFlexGrid>("mfgProds");
    EXPECT_EQ(QStringList({grid->TextMatrix(0, 1), grid->TextMatrix(0, 2)}),
              QStringList({"Producto", "Descripción"}));

    QStringList textos; // tabs, then buttons by name, then labels
    for (int i = 0; i < control<QTabWidget>("stbTabs")->count(); ++i)
        textos << control<QTabWidget>("stbTabs")->tabText(i);
    for (const char* boton : {"cmdLeerAhora", "cmdConfigurar", "cmdListaProds", "cmdCampos", "cmdGrabar",
                              "cmdCancelar", "cmdRegresar", "cmdGrabar2", "cmdCancelar2"})
        textos << control<QAbstractButton>(boton)->text();
    EXPECT_EQ(textos, QStringList({"Principal", "Configuración", "Lista de productos", "Campos a exportar",
                                   "Enviar ahora", "Configurar", "Lista de productos", "Lista de campos",
                                   "Grabar", "Cancelar", "Regresar", "Grabar", "Cancelar"}));
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
          "Escriba un número en el campo seleccionado para obtener un orden específico",
          "INSERT:agregar producto     SUPR:quitar producto\r\n"
          "     Si la lista queda vacía se enviarán TODOS los productos"})
        EXPECT_TRUE(etiquetas.contains(QString::fromUtf8(texto))) << texto;

    const double pixelPorTwip = v.logicalDpiX() / 1440.0;
    EXPECT_EQ(v.size(), QSize(qRound(9750 * pixelPorTwip), qRound(6885 * pixelPorTwip)));

    // Hidden and brought back from the icon; the close box only hides it.
    for (const auto razon : {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick})
        emit icono()->activated(razon);
    ASSERT_FALSE(v.isVisible()) << "only releasing the left or right button brings it back";
    emit icono()->activated(QSystemTrayIcon::Trigger);
    ASSERT_TRUE(v.isVisible());
    clic("cmdConfigurar");
    QTest::mouseClick(control<QAbstractButton>("cmdMinimizar"), Qt::LeftButton);
    ASSERT_FALSE(v.isVisible());
    ASSERT_NE(icono(), nullptr);
    emit icono()->activated(QSystemTrayIcon::Context);
    ASSERT_TRUE(v.isVisible());
    EXPECT_EQ(v.focusWidget(), control<QLineEdit>("txtDato_0")) << "the configuration's first box";

    clic("cmdCancelar");
    QSignalSpy fin(&v, &frmInicial::descargada);
    QCloseEvent cierre; // what the close box sends
    QCoreApplication::sendEvent(&v, &cierre);
    EXPECT_FALSE(cierre.isAccepted());
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(fin.count(), 0);
    EXPECT_NE(icono(), nullptr);
    EXPECT_TRUE(reloj());
}

// With no interval the window shows itself; "-ktfa" opens it only when written in small letters. Without
// a notification area it stays minimized where it can be found.
TEST_F(VentanaPrincipal, ShowsTheWindowOrLeavesItMinimized) {
    const struct {
        const char* nombre;
        qint16 intervalo;
        const char* opcion;
        bool bandeja, visible, reloj;
    } casos[] = {{"sinIntervalo", 0, "", true, true, false},
                 {"intervaloNegativo", -3, "", true, false, false},
                 {"ktfa", 5, "-ktfa", true, true, true},
                 {"ktfaEnMayusculas", 5, "-KTFA", true, false, true},
                 {"ktfaDentroDeOtro", 5, "x-ktfay", true, true, true},
                 {"sinBandeja", 5, "", false, false, true}};
    for (const auto& caso : casos) {
        shell_notify::ForzarBandejaDisponible(caso.bandeja);
        frmInicial& v =
            cargarMuestra(caso.intervalo, caso.opcion[0] ? QStringList{caso.opcion} : QStringList());
        EXPECT_EQ(v.isVisible(), caso.visible || !caso.bandeja) << caso.nombre;
        EXPECT_EQ(v.isMinimized(), !caso.visible) << caso.nombre;
        EXPECT_EQ(reloj(), caso.reloj) << caso.nombre;
        ventana.reset();
        reiniciarModulo();
    }
}

TEST_F(VentanaPrincipal, WithoutThePointOfSaleTheProgramEndsAfterSayingWhy) {
    prepararMuestra(5);
    QFile::remove(ruta(QStringLiteral("vendalia/Q7K.ini")));
    Contestador contestador(QStringLiteral("No"));
    EXPECT_EQ(arrancar(), nullptr);
    ASSERT_EQ(contestador.vistas.size(), 2);
    EXPECT_TRUE(contestador.vistas[0].startsWith(QStringLiteral("Atención: En el archivo de configuración")));
    EXPECT_EQ(contestador.vistas[1],
              QStringLiteral("Editar INI: ¿Desea editar el archivo de configuración?"));
    EXPECT_EQ(modulo().frmInicial, nullptr);
}

// What is left fits in three bytes: more than 255 hours show as 255 h 59 min 59 s, and intervals
// longer than 16 bits of seconds count on to their end.
TEST_F(VentanaPrincipal, TheCountdownShowsWhatIsLeftAndTheSendStartsAtTheTickThatReachesTheInterval) {
    frmInicial& v = cargarMuestra(1);
    const std::tuple<qint16, qint16, qint16, const char*> cuentas[] = {
        {5, 0, 0, "0 hors. 4 min. 59 segs."},          {90, 0, 0, "1 hors. 29 min. 59 segs."},
        {2, 0, 59, "0 hors. 1 min. 0 segs."},          {600, 546, 9, "0 hors. 53 min. 50 segs."},
        {9999, 0, 0, "166 hors. 38 min. 59 segs."},    {32767, 0, 0, "255 hors. 59 min. 59 segs."},
        {32767, 32000, 0, "12 hors. 46 min. 59 segs."}};
    for (const auto& [intervalo, minutos, segundos, texto] : cuentas) {
        modulo().nIntervalo = intervalo;
        v.inMinutos = minutos;
        v.inSegundos = segundos;
        tic();
        EXPECT_EQ(cuentaAtras(), QString::fromUtf8(texto)) << intervalo << " " << minutos;
    }

    modulo().nIntervalo = 1;
    v.inMinutos = v.inSegundos = 0;
    tic(59);
    EXPECT_EQ(cuentaAtras(), QStringLiteral("0 hors. 0 min. 1 segs."));
    tic();
    EXPECT_EQ(cuentaAtras(), QString()) << "a send clears the countdown";
    EXPECT_EQ(contado(), QList<int>({0, 0}));
    EXPECT_TRUE(reloj());
    tic();
    EXPECT_EQ(cuentaAtras(), QStringLiteral("0 hors. 0 min. 59 segs."));

    // An interval lowered below the time counted sends at the next tick.
    v.inMinutos = 6;
    modulo().nIntervalo = 5;
    tic();
    EXPECT_EQ(contado(), QList<int>({0, 0}));
    EXPECT_EQ(cuentaAtras(), QString());
}

TEST_F(VentanaPrincipal, SendNowGreysTheWindowPublishesAndKeepsTheMinutesCountedAcrossTabs) {
    frmInicial& v = cargarMuestra(5);
    tic(3 * 60 + 20);
    v.show();
    QTest::mouseClick(control<QPushButton>("cmdLeerAhora"), Qt::LeftButton);
    EXPECT_EQ(QStringList({v.isEnabled() ? "activa" : "", reloj() ? "reloj" : "", cuentaAtras()}),
              QStringList({"", "", ""}))
        << "greyed, the timer and the countdown off while the send runs";
    ASSERT_TRUE(esperarEnvio());

    EXPECT_TRUE(v.isEnabled());
    EXPECT_TRUE(reloj());
    EXPECT_FALSE(control<QLabel>("Label3")->isVisible());
    const qint64 tamano = QFileInfo(archivoPublicadoDeDemo(carpeta.path())).size();
    EXPECT_GT(tamano, 0);
    EXPECT_EQ(control<QLabel>("Label5")->text(), QStringLiteral("De 'productos.csv': bytes copiados %1 de %1")
                                                     .arg(QLocale::system().toString(tamano)));

    EXPECT_EQ(contado(), QList<int>({3, 0}));
    clic("cmdConfigurar");
    EXPECT_FALSE(reloj()) << "another tab pauses the countdown";
    clic("cmdCancelar");
    EXPECT_TRUE(reloj()) << "and Principal resumes it where it was";
    tic(119);
    EXPECT_EQ(cuentaAtras(), QStringLiteral("0 hors. 0 min. 1 segs."));
    tic();
    EXPECT_EQ(v.inMinutos, 0) << "the automatic send follows two minutes later";
}

// Below the countdown and on the icon: how the last send ended, still there after a restart; a failure
// after a publication raises one balloon, never a box.
TEST_F(VentanaPrincipal, SaysHowTheLastSendEndedEvenAfterARestart) {
    cargarMuestra(0);
    EXPECT_EQ(ultimoEnvio(), QStringLiteral("Último envío: ninguno"));
    enviarAhora();
    EXPECT_EQ(cuentaAtras(), QString()) << "with no interval the countdown stays empty";
    EXPECT_FALSE(reloj());
    const QLocale regional = QLocale::system();
    const qint64 bytes = QFileInfo(archivoPublicadoDeDemo(carpeta.path())).size();
    EXPECT_TRUE(
        ultimoEnvio().startsWith(QStringLiteral("Último envío: ")) &&
        ultimoEnvio().endsWith(QStringLiteral(", publicado: %1 productos, %2 bytes; Primera publicación")
                                   .arg(regional.toString(3000), regional.toString(bytes))))
        << ultimoEnvio().toStdString();
    EXPECT_TRUE(icono()->toolTip().endsWith(QLatin1Char('\n') + ultimoEnvio()))
        << icono()->toolTip().toStdString();

    modulo().cURLFTP = ruta(QStringLiteral("no-existe"));
    const int antes = globos();
    enviarAhora();
    enviarAhora();
    EXPECT_TRUE(ultimoEnvio().contains(QStringLiteral(", no se publicó: "))) << ultimoEnvio().toStdString();
    EXPECT_EQ(globos() - antes, 1) << "one balloon for the first failure only";

    const QString antesDeReiniciar = ultimoEnvio();
    ventana.reset();
    reiniciarModulo();
    ASSERT_NE(arrancar(), nullptr);
    EXPECT_EQ(ultimoEnvio(), antesDeReiniciar);
}

// The timer leaves an unchanged catalogue at home and holds one that lost most of its products, with one
// balloon and no box; "Enviar ahora" asks about it, No the default, and publishes it on Sí.
TEST_F(VentanaPrincipal, TheTimerLeavesAnUnchangedCatalogueAndHoldsOneThatLostMostOfItsProducts) {
    cargarMuestra(1);
    const QString publicado = archivoPublicadoDeDemo(carpeta.path());
    enviarAhora();
    const QDateTime primera = QFileInfo(publicado).lastModified();
    tic(60);
    EXPECT_TRUE(ultimoEnvio().contains(QStringLiteral(", sin cambios desde ")))
        << ultimoEnvio().toStdString();
    EXPECT_EQ(QFileInfo(publicado).lastModified(), primera);

    escribir(archivoProductos(), "P000001\r\nUNO\r\nP000002\r\nDOS\r\nP000003\r\nTRES\r\n");
    const int antes = globos();
    const QString retenido =
        QStringLiteral(", retenido: 3 productos frente a los 3000 de la última publicación");
    for (int vez = 0; vez < 2; ++vez) {
        Contestador contestador;
        tic(60);
        EXPECT_EQ(contestador.vistas, QStringList()) << "the timer asks no one";
        EXPECT_TRUE(ultimoEnvio().endsWith(retenido + QStringLiteral("; no se publicó")))
            << ultimoEnvio().toStdString();
    }
    EXPECT_EQ(globos() - antes, 1) << "one balloon while it lasts";
    EXPECT_TRUE(icono()->toolTip().endsWith(QLatin1Char('\n') + ultimoEnvio()));
    EXPECT_EQ(QFileInfo(publicado).lastModified(), primera);

    for (const char* respuesta : {"", "Sí"}) { // Enter takes the default, No
        Contestador contestador(QString::fromUtf8(respuesta));
        enviarAhora();
        ASSERT_EQ(contestador.vistas.size(), 1);
        EXPECT_TRUE(contestador.vistas[0].endsWith(QStringLiteral("¿Publicar de todos modos?")))
            << contestador.vistas[0].toStdString();
    }
    EXPECT_TRUE(ultimoEnvio().endsWith(QStringLiteral("; Cambios: 0 nuevos, 2997 retirados, 0 modificados")))
        << ultimoEnvio().toStdString();
    EXPECT_EQ(leer(publicado).count("\r\n"), 3);
    EXPECT_EQ(globos() - antes, 1);
}

// A scheduled `enviar` of the same folder shows within 2 s, and its failure after a publication raises
// the one balloon that the window's own would.
TEST_F(VentanaPrincipal, FollowsTheSendsOfAScheduledEnviar) {
    cargarMuestra(5);
    const auto programa = [&](const QStringList& argumentos) {
        QProcess proceso;
        proceso.start(QStringLiteral(CATALOGO_EXE), argumentos + QStringList{"--carpeta", carpeta.path()});
        return proceso.waitForFinished(20000) ? proceso.exitCode() : -1;
    };
    // The program reads the settings file named after it.
    ASSERT_TRUE(QFile::copy(archivoIni(), ruta(QStringLiteral("catalogo-ftp.ini"))));
    const int antes = globos();
    ASSERT_EQ(programa({"enviar"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ultimoEnvio().contains(", publicado: "); }, 2000))
        << ultimoEnvio().toStdString();

    ASSERT_EQ(programa({"configurar", "--url", ruta("no-existe")}), 0);
    for (int vez = 0; vez < 2; ++vez) {
        ASSERT_NE(programa({"enviar"}), 0);
        QTest::qWait(2000);
        EXPECT_TRUE(ultimoEnvio().contains(", no se publicó: ")) << ultimoEnvio().toStdString();
        EXPECT_EQ(globos() - antes, 1) << "one balloon, for the first failure only";
    }
}

// The first activation paints the skin; a double-click on the background opens the settings file (the
// desktop's opener is a script that notes what it was asked to open); F1 opens the description.
TEST_F(VentanaPrincipal, TheFirstActivationTheBackgroundAndF1) {
    frmInicial& v = cargarMuestra(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
    EXPECT_FALSE(v.blPrimeraVez);
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_EQ(cuentaAtras(), QStringLiteral("Sin definir"));
    EXPECT_EQ(v.palette().brush(QPalette::Window).style(), Qt::LinearGradientPattern);

    v.MostrarPestana(2); // each tab shown alone is seen through its button in the tabs' suites
    EXPECT_EQ(control<QTabWidget>("stbTabs")->currentIndex(), 2);
    EXPECT_EQ(v.focusWidget(), control<MSFlexGrid>("mfgProds"));
    v.hide();
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
    EXPECT_EQ(pestanasVisibles(), QList<int>{2}) << "later activations do nothing";

    clic("cmdConfigurar");
    clic("cmdCancelar");
    EXPECT_FALSE(reloj()) << "no interval: Cancelar leaves the timer off";
    EXPECT_EQ(cuentaAtras(), QStringLiteral("Sin definir"));
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
    EXPECT_EQ(QString::fromUtf8(leer(anotado)), modulo().cArchivoINI);
    // F1 anywhere, on a box too and with Ctrl: read-only, with a menu for the settings file.
    QTest::keyClick(control<QLineEdit>("txtDato_4"), Qt::Key_F1, Qt::ControlModifier);
    frmDescripcion* d = descripcion();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Descripción del programa"));
    auto* mnUno = d->findChild<QMenu*>(QStringLiteral("mnUno"));
    ASSERT_NE(mnUno, nullptr);
    QStringList menu{mnUno->title()};
    for (QAction* a : mnUno->actions())
        menu << a->objectName() + QLatin1Char('=') + a->text();
    EXPECT_EQ(menu, QStringList({"Uno", "mnDescrip=Descripción del programa",
                                 "mnEditINI=Editar archivo INI de configuración"}));
    auto* rtbTexto = d->findChild<QTextEdit*>(QStringLiteral("rtbTexto"));
    EXPECT_TRUE(rtbTexto->isReadOnly());
    for (const char* tema : {"Enviar ahora", "ListaProductosReja.dat", "ListaDeCampos.dat", "Insert", "Supr"})
        EXPECT_TRUE(rtbTexto->toPlainText().contains(QString::fromUtf8(tema))) << tema;

    // It opens at the corner in its design size; its text box shrinks with it, never below nothing.
    EXPECT_EQ(d->pos(), QPoint(0, 0)) << "no placement stored yet";
    EXPECT_EQ(d->width(), qRound(9180 * d->logicalDpiX() / 1440.0));
    d->resize(10, 10);
    EXPECT_EQ(rtbTexto->size(), QSize(0, 0));

    d->Move(1500, 900);
    d->resize(700, 500);
    const QString ancho = QString::number(d->Width()); // the frame included
    d->close();
    QStringList guardado;
    for (const char* clave : {"Ventana", "Linea", "Columna", "Ancho"})
        guardado << modulo().oKtfa->LeeIni(QStringLiteral("frmDescripcion"), QString::fromLatin1(clave),
                                           modulo().cArchivoINI);
    EXPECT_EQ(guardado, QStringList({"Descripción del programa", "900", "1500", ancho}));
    d->findChild<QAction*>(QStringLiteral("mnDescrip"))->trigger();
    EXPECT_TRUE(d->isVisible()) << "its menu shows it again";
}

// The close button asks first, Enter taking "No"; Alt+F4 ends the program without asking, F4 alone does
// nothing.
TEST_F(VentanaPrincipal, OnlyYesOrAltF4EndTheProgram) {
    prepararMuestra(5);
    for (const auto& [boton, termina] :
         {std::pair{"", false}, {"No", false}, {"Sí", true}, {"Alt+F4", true}, {"F4", false}}) {
        ASSERT_NE(arrancar(), nullptr);
        frmInicial& v = *ventana;
        clsInicio().Restaurar(v);
        QSignalSpy fin(&v, &frmInicial::descargada);
        Contestador contestador(QString::fromUtf8(boton));
        const bool tecla = boton[0] == 'A' || boton[0] == 'F';
        if (tecla)
            QTest::keyClick(control<QPushButton>("cmdLeerAhora"), Qt::Key_F4,
                            boton[0] == 'A' ? Qt::AltModifier : Qt::NoModifier);
        else
            QTest::mouseClick(control<QAbstractButton>("cmdTerminar"), Qt::LeftButton);
        EXPECT_EQ(contestador.vistas.join(QString()),
                  tecla ? QString()
                        : QStringLiteral("Cerrar conexión: ¿Está seguro de cerrar este programa?"));
        EXPECT_EQ(fin.count(), termina ? 1 : 0) << boton;
        EXPECT_EQ(v.isVisible(), !termina) << boton;
        EXPECT_EQ(icono(&v) == nullptr, termina) << "the icon leaves the notification area";
        EXPECT_EQ(reloj(), !termina) << boton;
        EXPECT_EQ(modulo().oKtfa == nullptr, termina) << "unloading releases the components";
        ventana.reset();
        reiniciarModulo();
    }
}

} // namespace
