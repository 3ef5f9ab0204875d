// Starting at logon: the Run value (here an XDG autostart entry) written when it does not name the
// running executable letter for letter, and left alone when it does.

#include "archivos.h"
#include "components/WScriptShell.h"
#include "entorno.h"
#include "shell/clsInicio.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString run = QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\");

// Each test has its own configuration folder, so the user's autostart entries are never touched.
class InicioAutomatico : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(configuracion.isValid());
        anterior = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configuracion.path().toUtf8());
        registrarShellDeScripts();
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", anterior); }

    QString entrada(const QString& nombre = nombreDelPrograma()) const {
        return configuracion.path() + QStringLiteral("/autostart/") + nombre + ".desktop";
    }
    static QString nombreDelPrograma() {
        return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    }
    static QByteArray ejecutable() { return QCoreApplication::applicationFilePath().toUtf8(); }
    void registrar() const {
        QString archivo = QLatin1Char('\\') + nombreDelPrograma();
        clsInicio().SiRegistrado(archivo);
    }

    QTemporaryDir configuracion;
    QByteArray anterior;
};

TEST_F(InicioAutomatico, AMissingEntryIsCreatedWithTheExecutablesPath) {
    registrar();
    const QByteArray contenido = leerArchivo(entrada());
    EXPECT_TRUE(contenido.startsWith("[Desktop Entry]\n")) << contenido.constData();
    EXPECT_TRUE(contenido.contains("\nExec=" + ejecutable() + "\n")) << contenido.constData();
    EXPECT_TRUE(contenido.contains("\nType=Application\n"));
    EXPECT_EQ(WScriptShell().RegRead(run + nombreDelPrograma()), QString::fromUtf8(ejecutable()));
}

// Any other value, the same path in other letters included, is rewritten keeping the entry's other lines.
TEST_F(InicioAutomatico, AnEntryEndsNamingTheExecutableExactly) {
    const auto conExec = [](const QByteArray& exec) {
        return "[Desktop Entry]\nType=Application\nExec=" + exec + "\nX-Propia=1\n";
    };
    for (const QByteArray& exec : {ejecutable(), QByteArray(), QByteArray("/opt/viejo/catalogo-ftp"),
                                   ejecutable() + " -ktfa", ejecutable().toUpper()}) {
        escribirArchivo(entrada(), conExec(exec));
        registrar();
        EXPECT_EQ(leerArchivo(entrada()), conExec(ejecutable())) << exec.constData();
    }
}

TEST_F(InicioAutomatico, PathsWithReservedCharactersSurviveTheCommandLineQuoting) {
    WScriptShell shell;
    const QString raro = QStringLiteral("/opt/mi tienda/catálogo \"$HOME\" 100% \\ `x`/catalogo-ftp");
    ASSERT_TRUE(shell.RegWrite(
        QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\catalogo-ftp"), raro));
    EXPECT_EQ(shell.RegRead(run + QStringLiteral("catalogo-ftp")), raro);
    EXPECT_TRUE(leerArchivo(entrada(QStringLiteral("catalogo-ftp")))
                    .contains("Exec=\"/opt/mi tienda/catálogo \\\\\"\\\\$HOME\\\\\" 100%% \\\\\\\\ "
                              "\\\\`x\\\\`/catalogo-ftp\"\n"));
}

} // namespace
