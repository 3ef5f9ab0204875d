// Starting at logon: the Run value (here an XDG autostart entry) written when it does not name the
// running executable letter for letter, and left alone when it does.

#include "shell/clsInicio.h"
#include "winapi/wscript_shell.h"

#include "ui_impresion.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

    QString nombre() const { return QFileInfo(QCoreApplication::applicationFilePath()).fileName(); }
    QString entrada() const {
        return configuracion.path() + QStringLiteral("/autostart/") + nombre() + ".desktop";
    }
    QString ejecutable() const {
        return QCoreApplication::applicationDirPath() + QLatin1Char('/') + nombre();
    }

    void escribirEntrada(const QByteArray& contenido) const {
        QDir().mkpath(QFileInfo(entrada()).path());
        QFile archivo(entrada());
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.write(contenido);
    }
    QByteArray leerEntrada() const {
        QFile archivo(entrada());
        return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
    }
    void registrar() const {
        QString archivo = QLatin1Char('\\') + nombre();
        clsInicio().SiRegistrado(archivo);
    }

    QTemporaryDir configuracion;
    QByteArray anterior;
};

TEST_F(InicioAutomatico, AMissingEntryIsCreatedWithTheExecutablesPath) {
    registrar();
    const QByteArray contenido = leerEntrada();
    EXPECT_TRUE(contenido.startsWith("[Desktop Entry]\n")) << contenido.constData();
    EXPECT_TRUE(contenido.contains("\nExec=" + ejecutable().toUtf8() + "\n")) << contenido.constData();
    EXPECT_TRUE(contenido.contains("\nType=Application\n"));
    EXPECT_EQ(WScriptShell().RegRead(run + nombre()), ejecutable());
}

TEST_F(InicioAutomatico, AnEntryNamingTheExecutableExactlyIsLeftAsItIs) {
    const QByteArray propia =
        "[Desktop Entry]\nType=Application\nExec=" + ejecutable().toUtf8() + "\nX-Propia=1\n";
    escribirEntrada(propia);
    registrar();
    EXPECT_EQ(leerEntrada(), propia);
}

struct Valor {
    const char* nombre;
    QString exec;
};

class ValorDistinto : public InicioAutomatico, public ::testing::WithParamInterface<Valor> {};

TEST_P(ValorDistinto, IsRewrittenToTheExecutableKeepingTheEntrysOtherLines) {
    QString exec = GetParam().exec;
    exec.replace(QStringLiteral("<ejecutable>"), ejecutable());
    escribirEntrada("[Desktop Entry]\nType=Application\nExec=" + exec.toUtf8() + "\nX-Propia=1\n");
    registrar();
    EXPECT_EQ(leerEntrada(),
              "[Desktop Entry]\nType=Application\nExec=" + ejecutable().toUtf8() + "\nX-Propia=1\n");
}

INSTANTIATE_TEST_SUITE_P(Valores, ValorDistinto,
                         ::testing::Values(Valor{"vacio", QString()},
                                           Valor{"otraRuta", QStringLiteral("/opt/viejo/catalogo-ftp")},
                                           Valor{"conArgumentos", QStringLiteral("<ejecutable> -ktfa")}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(InicioAutomatico, TheSamePathInOtherLettersIsRewritten) {
    escribirEntrada("[Desktop Entry]\nExec=" + ejecutable().toUpper().toUtf8() + "\n");
    registrar();
    EXPECT_EQ(leerEntrada(), "[Desktop Entry]\nExec=" + ejecutable().toUtf8() + "\n");
}

TEST_F(InicioAutomatico, PathsWithReservedCharactersSurviveTheCommandLineQuoting) {
    WScriptShell shell;
    const QString raro = QStringLiteral("/opt/mi tienda/catálogo \"$HOME\" 100% \\ `x`/catalogo-ftp");
    ASSERT_TRUE(shell.RegWrite(
        QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\catalogo-ftp"), raro));
    EXPECT_EQ(shell.RegRead(run + QStringLiteral("catalogo-ftp")), raro);

    QFile archivo(configuracion.path() + QStringLiteral("/autostart/catalogo-ftp.desktop"));
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_TRUE(archivo.readAll().contains(
        "Exec=\"/opt/mi tienda/catálogo \\\\\"\\\\$HOME\\\\\" 100%% \\\\\\\\ \\\\`x\\\\`/catalogo-ftp\"\n"));
}

TEST_F(InicioAutomatico, AWindowsExecutableNameNamesTheEntryWithoutItsExtension) {
    WScriptShell shell;
    ASSERT_TRUE(
        shell.RegWrite(run + QStringLiteral("catalogo-ftp.exe"), QStringLiteral("/opt/catalogo-ftp")));
    EXPECT_TRUE(QFile::exists(configuracion.path() + QStringLiteral("/autostart/catalogo-ftp.desktop")));
    EXPECT_EQ(shell.RegRead(run + QStringLiteral("catalogo-ftp")), QStringLiteral("/opt/catalogo-ftp"));
}

} // namespace
