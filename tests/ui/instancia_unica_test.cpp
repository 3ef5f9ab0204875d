// Two starts on one program folder (the logon's autostart, then a double-click): the second ends at
// once and the first shows its window. Runs the built program itself.

#include "shell/InstanciaUnica.h"
#include "tienda_en_ventana.h"

#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

class InstanciaUnicaDelPrograma : public TiendaEnVentana {
protected:
    void SetUp() override {
        TiendaEnVentana::SetUp();
        ASSERT_TRUE(usuario.isValid());
        prepararTienda({}, 5, QStringLiteral("catalogo-ftp"));
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        entorno.insert(QStringLiteral("XDG_CONFIG_HOME"), usuario.path());
        for (QProcess* p : {&primero, &segundo}) {
            p->setProcessEnvironment(entorno);
            p->setProgram(QStringLiteral(CATALOGO_EXE));
            p->setArguments({QStringLiteral("--carpeta"), carpeta.path()});
        }
    }
    void TearDown() override {
        for (QProcess* p : {&primero, &segundo}) {
            p->kill();
            p->waitForFinished(5000);
        }
        TiendaEnVentana::TearDown();
    }

    bool escuchando() const {
        QLocalSocket socket;
        socket.connectToServer(InstanciaUnica::nombreDelServidor(carpeta.path()));
        return socket.waitForConnected(100);
    }
    QByteArray bitacora() const { return leer(ruta(QStringLiteral("catalogo-ftp.log"))); }

    QTemporaryDir usuario;
    QProcess primero;
    QProcess segundo;
};

TEST_F(InstanciaUnicaDelPrograma, TheSecondStartShowsTheFirstWindowAndEnds) {
    primero.start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return escuchando(); }, 15000)) << bitacora().toStdString();

    segundo.start();
    ASSERT_TRUE(segundo.waitForFinished(5000));
    EXPECT_EQ(segundo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(segundo.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return bitacora().contains("se muestra la ventana del programa que ya funciona"); }, 5000))
        << bitacora().toStdString();
    EXPECT_EQ(primero.state(), QProcess::Running);
    EXPECT_EQ(bitacora().count("Inicio de"), 1) << "the second start never got as far as starting up";
}

} // namespace
