// Window placement in the settings file: stored in twips under the window's section, restored on the
// next opening, and a broken placement falling back to the top-left corner in the design size.

#include "components/Nucleo.h"
#include "components/Registro.h"
#include "modulo/Modulo.h"
#include "shell/Formulario.h"
#include "shell/Ventana.h"

#include "ui_impresion.h"
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Colocacion : public ::testing::Test {
protected:
    void SetUp() override {
        reiniciarModulo();
        modulo().cArchivoINI = carpeta.filePath(QStringLiteral("catalogo-ftp.ini"));
        modulo().oKtfa = std::make_unique<LibKtfaNucleo>();
    }
    void TearDown() override { reiniciarModulo(); }

    QString lee(const QString& seccion, const char* clave) const {
        return modulo().oKtfa->LeeIni(seccion, QString::fromLatin1(clave), modulo().cArchivoINI);
    }
    void escribe(const char* clave, const char* valor) const {
        modulo().oKtfa->EscribeIni(QStringLiteral("frmPrueba"), QString::fromLatin1(clave),
                                   QString::fromLatin1(valor), modulo().cArchivoINI);
    }

    // A window of the design size 6000 x 4500 twips, never placed.
    static std::unique_ptr<Formulario> ventana() {
        auto forma = std::make_unique<Formulario>();
        forma->setObjectName(QStringLiteral("frmPrueba"));
        forma->setWindowTitle(QStringLiteral("Ventana de prueba"));
        forma->TamanoDeDiseno(6000, 4500);
        forma->move(333, 222);
        return forma;
    }

    QTemporaryDir carpeta;
};

TEST_F(Colocacion, APlacementStoredInTwipsIsRestoredOnTheNextOpening) {
    auto primera = ventana();
    primera->Move(1500, 900);
    primera->Resize(7500, 5250);
    GuardaVentana(*primera, true);

    EXPECT_EQ(lee(QStringLiteral("frmPrueba"), "Ventana"), QStringLiteral("Ventana de prueba"));
    EXPECT_EQ(lee(QStringLiteral("frmPrueba"), "Linea"), QStringLiteral("900"));
    EXPECT_EQ(lee(QStringLiteral("frmPrueba"), "Columna"), QStringLiteral("1500"));
    EXPECT_EQ(lee(QStringLiteral("frmPrueba"), "Ancho"), QStringLiteral("7500"));
    EXPECT_EQ(lee(QStringLiteral("frmPrueba"), "Alto"), QStringLiteral("5250"));

    auto segunda = ventana();
    ColocaVentana(*segunda, true);
    EXPECT_EQ(segunda->Left(), 1500);
    EXPECT_EQ(segunda->Top(), 900);
    EXPECT_EQ(segunda->Width(), 7500);
    EXPECT_EQ(segunda->Height(), 5250);
}

TEST_F(Colocacion, WithoutTheSizeFlagOnlyThePositionTravels) {
    auto primera = ventana();
    primera->Move(1500, 900);
    GuardaVentana(*primera, false);
    EXPECT_EQ(lee(QStringLiteral("frmPrueba"), "Ancho"), QString());

    escribe("Ancho", "9000");
    escribe("Alto", "9000");
    auto segunda = ventana();
    ColocaVentana(*segunda, false);
    EXPECT_EQ(segunda->Left(), 1500);
    EXPECT_EQ(segunda->Top(), 900);
    EXPECT_EQ(segunda->Width(), 6000);
}

TEST_F(Colocacion, ANonBlankTagNamesTheSection) {
    auto forma = ventana();
    forma->Tag = QStringLiteral("Descripcion");
    GuardaVentana(*forma, false);
    EXPECT_EQ(lee(QStringLiteral("Descripcion"), "Ventana"), QStringLiteral("Ventana de prueba"));
    EXPECT_EQ(lee(QStringLiteral("frmPrueba"), "Ventana"), QString());

    forma->Tag = QStringLiteral("   ");
    forma->setWindowTitle(QStringLiteral("Otra"));
    GuardaVentana(*forma, false);
    EXPECT_EQ(lee(QStringLiteral("frmPrueba"), "Ventana"), QStringLiteral("Otra"));
}

struct Rota {
    const char* nombre;
    std::vector<std::pair<const char*, const char*>> claves;
    int izquierda, arriba;
};

class ColocacionRota : public Colocacion, public ::testing::WithParamInterface<Rota> {};

// What cannot be read sends the window to the corner; the steps after it still run, and the size stays
// the design size unless both sizes were read.
TEST_P(ColocacionRota, OpensAtTheCornerInTheDesignSize) {
    for (const auto& [clave, valor] : GetParam().claves)
        escribe(clave, valor);
    auto forma = ventana();
    ColocaVentana(*forma, true);
    EXPECT_EQ(forma->Left(), GetParam().izquierda);
    EXPECT_EQ(forma->Top(), GetParam().arriba);
    EXPECT_EQ(forma->Width(), 6000);
    EXPECT_EQ(forma->Height(), 4500);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ColocacionRota,
    ::testing::Values(Rota{"sinClaves", {}, 0, 0},
                      Rota{"anchoSinAlto", {{"Linea", "900"}, {"Columna", "1500"}, {"Ancho", "7500"}}, 0, 0},
                      Rota{"altoNoNumerico",
                           {{"Linea", "900"}, {"Columna", "1500"}, {"Ancho", "7500"}, {"Alto", "x"}},
                           0,
                           0},
                      Rota{"anchoFueraDe16Bits",
                           {{"Linea", "900"}, {"Columna", "1500"}, {"Ancho", "40000"}, {"Alto", "5250"}},
                           0,
                           0},
                      Rota{"lineaFueraDe16Bits",
                           {{"Linea", "40000"}, {"Columna", "1500"}, {"Ancho", "x"}, {"Alto", "5250"}},
                           0,
                           0}),
    [](const auto& info) { return std::string(info.param.nombre); });

} // namespace
