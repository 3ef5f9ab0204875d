// Starts of one program folder at the same moment (the logon's autostart, then a double-click): one goes
// on, the others end at once after asking it to show its window. Runs the built program itself.

#include "shell/InstanciaUnica.h"
#include "tienda_en_ventana.h"

#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <array>

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
        for (QProcess& p : arranques) {
            p.setProcessEnvironment(entorno);
            p.setProgram(QStringLiteral(CATALOGO_EXE));
            p.setArguments({QStringLiteral("--carpeta"), carpeta.path()});
        }
    }
    void TearDown() override {
        for (QProcess& p : arranques) {
            p.kill();
            p.waitForFinished(5000);
        }
        TiendaEnVentana::TearDown();
    }

    QByteArray bitacora() const { return leer(ruta(QStringLiteral("catalogo-ftp.log"))); }

    QTemporaryDir usuario;
    std::array<QProcess, 10> arranques;
};

TEST_F(InstanciaUnicaDelPrograma, TenStartsAtOnceLeaveOneProgramWhoseWindowTheOthersShowed) {
    for (QProcess& p : arranques)
        p.start();
    const auto salidas = [this] { // of those that ended
        QList<int> codigos;
        for (const QProcess& p : arranques)
            if (p.state() == QProcess::NotRunning)
                codigos << (p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1);
        return codigos;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return salidas().size() >= 9; }, 30000)) << bitacora().toStdString();
    QTest::qWait(500);
    EXPECT_EQ(salidas(), QList<int>(9, 0)) << bitacora().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([this] {
        return bitacora().count("se muestra la ventana del programa") == 9;
    })) << bitacora().toStdString();
    EXPECT_EQ(bitacora().count("Inicio de"), 1) << "the others never got as far as starting up";

    // The one that runs answers on the folder's name, which a later start reaches at once.
    QLocalSocket socket;
    socket.connectToServer(InstanciaUnica::nombreDelServidor(carpeta.path()));
    EXPECT_TRUE(socket.waitForConnected(1000));
}

} // namespace
