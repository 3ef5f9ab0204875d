// The configuration tab: "Grabar" stores the seven boxes and shows back what was stored, the interval
// box refuses what is no interval, and each box filters what is typed in it.

#include "config/Configuracion.h"
#include "tienda_en_ventana.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

class PestanaDeConfiguracion : public TiendaEnVentana {
protected:
    void SetUp() override {
        TiendaEnVentana::SetUp();
        cargar({}, 0);
        clic("cmdConfigurar");
    }
    QLineEdit* caja(int i) const {
        return control<QLineEdit>(qPrintable(QStringLiteral("txtDato_%1").arg(i)));
    }
    QString guardado(const QString& clave) const {
        return modulo().oKtfa->LeeIni(claves::kSeccion, clave, archivoIni());
    }
    QString descifrado(const QString& clave) const {
        return modulo().oUtilerias->DesEncripta(guardado(clave));
    }
    static QWidget* foco() {
        QApplication::processEvents();
        return QApplication::focusWidget();
    }
};

// An export named like the settings file is refused, the tab kept open; then the boxes are stored.
TEST_F(PestanaDeConfiguracion, GrabarStoresTheBoxesAndShowsWhatWasStored) {
    const QByteArray antes = leer(archivoIni());
    const QString ini = QFileInfo(archivoIni()).fileName();
    caja(2)->setText(ini);
    Contestador contestador;
    clic("cmdGrabar");
    EXPECT_EQ(contestador.vistas, QStringList(QStringLiteral("Atención: El archivo para el FTP no puede ser "
                                                             "\"%1\", un archivo del propio programa: el "
                                                             "primer envío lo sobrescribiría.")
                                                  .arg(ini)));
    EXPECT_EQ(leer(archivoIni()), antes);
    EXPECT_EQ(pestanasVisibles(), QList<int>{1});

    const QStringList textos = {"otra", "7", "lista.csv", "usuario", "ftp.tienda.mx", "secreto", "/tienda"};
    for (int i = 0; i < 7; ++i)
        caja(i)->setText(textos[i]);
    clic("cmdGrabar");

    EXPECT_EQ(QStringList({guardado(claves::kBase), guardado(claves::kIntervalo), guardado(claves::kArchivo),
                           descifrado(claves::kUsuario), descifrado(claves::kURL),
                           descifrado(claves::kContrasena), descifrado(claves::kDirectorio)}),
              textos);
    EXPECT_NE(guardado(claves::kContrasena), QStringLiteral("secreto")) << "stored enciphered";

    EXPECT_EQ(caja(6)->text(), QStringLiteral("/tienda/"));
    EXPECT_EQ(modulo().nIntervalo, 7);
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_TRUE(reloj()) << "the new interval counts at once";
}

TEST_F(PestanaDeConfiguracion, AnIntervalOutsideZeroTo9999IsNotSavedAndKeepsTheFocus) {
    const QByteArray antes = leer(archivoIni());
    caja(1)->setText(QStringLiteral("-1")); // only pasting gets a sign past the box's digits-only mask
    caja(1)->setFocus();
    QTest::keyClick(caja(1), Qt::Key_Tab);
    EXPECT_EQ(foco(), caja(1));
    QTest::mouseClick(caja(3), Qt::LeftButton);
    EXPECT_EQ(foco(), caja(1)) << "a click elsewhere in the window checks the box too";

    clic("cmdGrabar");
    EXPECT_EQ(leer(archivoIni()), antes);
    EXPECT_EQ(pestanasVisibles(), QList<int>{1});
    EXPECT_EQ(foco(), caja(1));

    // "Cancelar" still leaves, and the keyboard goes on working on what is shown.
    QTest::mouseClick(control<QPushButton>("cmdCancelar"), Qt::LeftButton);
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    ASSERT_NE(foco(), nullptr);
    EXPECT_TRUE(foco()->isVisible());
    EXPECT_EQ(leer(archivoIni()), antes);

    clic("cmdConfigurar");
    EXPECT_EQ(caja(1)->text(), QStringLiteral("-1")) << "what was typed is kept for next time";
    caja(1)->setText(QString()); // empty is 0: no automatic send
    clic("cmdGrabar");
    EXPECT_EQ(guardado(claves::kIntervalo), QStringLiteral("0"));
    EXPECT_FALSE(reloj());
}

// Only what the user changed is stored, the interval as the whole number the countdown uses. A setting
// this user cannot decipher shows empty and keeps what it holds; the user is told. A save that cannot
// be written says why and keeps the tab open.
TEST_F(PestanaDeConfiguracion, GrabarStoresOnlyWhatChangedAndKeepsWhatItCannotRead) {
    const QString ajeno = QStringLiteral("v1:QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9w");
    modulo().oKtfa->EscribeIni(claves::kSeccion, claves::kUsuario, ajeno, archivoIni());
    LeeConfiguracion();
    ventana->MostrarConfiguracion();
    EXPECT_EQ(caja(3)->text(), QString());
    const QByteArray antes = leer(archivoIni());

    caja(1)->setText(QStringLiteral("2.5"));
    {
        Contestador contestador;
        clic("cmdGrabar");
        EXPECT_EQ(
            contestador.vistas,
            QStringList(QStringLiteral("Atención: No se puede descifrar \"Usuario del FTP\": se cifró con la "
                                       "clave de otro usuario o de otro equipo; grábelo de nuevo como el "
                                       "usuario que ejecuta el programa; lo guardado se conserva tal como "
                                       "estaba.")));
    }
    EXPECT_EQ(leer(archivoIni()), QByteArray(antes).replace("productos=0", "productos=2"));
    EXPECT_EQ(modulo().nIntervalo, 2);

#ifdef Q_OS_UNIX // a file size limit plays the full disk
    clic("cmdConfigurar");
    caja(0)->setText(QStringLiteral("otra"));
    rlimit limite{};
    getrlimit(RLIMIT_FSIZE, &limite);
    const rlimit lleno{10, limite.rlim_max};
    const auto senal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &lleno);
    Contestador contestador;
    clic("cmdGrabar");
    setrlimit(RLIMIT_FSIZE, &limite);
    std::signal(SIGXFSZ, senal);
    ASSERT_EQ(contestador.vistas.size(), 1);
    EXPECT_TRUE(
        contestador.vistas[0].startsWith(QStringLiteral("Atención: No se pudo grabar la configuración: no se "
                                                        "puede escribir ") +
                                         QDir::toNativeSeparators(archivoIni())))
        << contestador.vistas[0].toStdString();
    EXPECT_EQ(pestanasVisibles(), QList<int>{1});
#endif
}

// Each box keeps what it accepts of what is typed; Enter and Tab visit them top to bottom, then Enter
// presses "Grabar".
TEST_F(PestanaDeConfiguracion, TypingFiltersEachBoxAndEnterWalksThemToGrabar) {
    const std::tuple<int, const char*, const char*> tecleos[] = {{0, "DatOS1", "datos1"},
                                                                 {1, "1a2-3", "123"},
                                                                 {1, "10000", "1000"},
                                                                 {4, "Ftp.Tienda.MX", "Ftp.Tienda.MX"},
                                                                 {5, "Clave.1", "Clave.1"}};
    for (const auto& [i, tecleado, queda] : tecleos) {
        caja(i)->clear();
        caja(i)->setFocus();
        QTest::keyClicks(caja(i), QString::fromUtf8(tecleado));
        EXPECT_EQ(caja(i)->text(), QString::fromUtf8(queda)) << tecleado;
    }

    caja(2)->setText(QStringLiteral("enter.csv"));
    caja(0)->setFocus();
    for (const int siguiente : {1, 4, 6, 2, 3, 5}) {
        QTest::keyClick(QApplication::focusWidget(), siguiente % 2 ? Qt::Key_Return : Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), caja(siguiente));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), control<QPushButton>("cmdGrabar"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(guardado(claves::kArchivo), QStringLiteral("enter.csv"));
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
}

} // namespace
