// Window placement in the settings file: stored in twips under the window's section, restored on the
// next opening, and a broken placement falling back to the top-left corner in the design size.

#include "components/Nucleo.h"
#include "components/Registro.h"
#include "entorno.h"
#include "modulo/Modulo.h"
#include "shell/Formulario.h"
#include "shell/Ventana.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

using Claves = std::vector<std::pair<const char*, const char*>>;

class Colocacion : public ::testing::Test {
protected:
    void SetUp() override {
        reiniciarModulo();
        modulo().cArchivoINI = carpeta.filePath(QStringLiteral("catalogo-ftp.ini"));
        modulo().oKtfa = std::make_unique<LibKtfaNucleo>();
    }
    void TearDown() override { reiniciarModulo(); }

    // The keys of a section, in this order.
    QStringList lee(const char* seccion, std::initializer_list<const char*> claves) const {
        QStringList valores;
        for (const char* clave : claves)
            valores << modulo().oKtfa->LeeIni(QString::fromLatin1(seccion), QString::fromLatin1(clave),
                                              modulo().cArchivoINI);
        return valores;
    }
    void escribe(const Claves& claves) const {
        for (const auto& [clave, valor] : claves)
            modulo().oKtfa->EscribeIni(QStringLiteral("frmPrueba"), QString::fromLatin1(clave),
                                       QString::fromLatin1(valor), modulo().cArchivoINI);
    }

    // A window of the design size 6000 x 4500 twips, placed from the settings when `colocar` says so.
    static std::unique_ptr<Formulario> ventana(std::optional<bool> colocar = std::nullopt) {
        auto forma = std::make_unique<Formulario>();
        forma->setObjectName(QStringLiteral("frmPrueba"));
        forma->setWindowTitle(QStringLiteral("Ventana de prueba"));
        forma->TamanoDeDiseno(6000, 4500);
        forma->move(333, 222);
        if (colocar)
            ColocaVentana(*forma, *colocar);
        return forma;
    }
    static QList<float> lugar(const Formulario& forma) {
        return {forma.Left(), forma.Top(), forma.Width(), forma.Height()};
    }

    QTemporaryDir carpeta;
};

// Without the size flag only the position travels.
TEST_F(Colocacion, APlacementStoredInTwipsIsRestoredOnTheNextOpening) {
    auto primera = ventana();
    primera->Move(1500, 900);
    primera->Resize(7500, 5250);
    GuardaVentana(*primera, true);
    EXPECT_EQ(lee("frmPrueba", {"Ventana", "Linea", "Columna", "Ancho", "Alto"}),
              QStringList({"Ventana de prueba", "900", "1500", "7500", "5250"}));
    EXPECT_EQ(lugar(*ventana(true)), QList<float>({1500, 900, 7500, 5250}));
    EXPECT_EQ(lugar(*ventana(false)), QList<float>({1500, 900, 6000, 4500}));

    primera->Move(3000, 0);
    GuardaVentana(*primera, false);
    EXPECT_EQ(lee("frmPrueba", {"Columna", "Ancho"}), QStringList({"3000", "7500"}))
        << "the size left as it was";
}

// What cannot be read sends the window to the corner; the steps after it still run, and the size stays
// the design size unless both sizes were read.
TEST_F(Colocacion, ABrokenPlacementOpensAtTheCornerInTheDesignSize) {
    const std::pair<const char*, Claves> casos[] = {
        {"sinClaves", {}},
        {"anchoSinAlto", {{"Linea", "900"}, {"Columna", "1500"}, {"Ancho", "7500"}, {"Alto", ""}}},
        {"altoNoNumerico", {{"Alto", "x"}}},
        {"anchoFueraDe16Bits", {{"Ancho", "40000"}, {"Alto", "5250"}}},
        {"lineaFueraDe16Bits", {{"Linea", "40000"}, {"Ancho", "x"}}}};
    for (const auto& [nombre, claves] : casos) {
        escribe(claves);
        EXPECT_EQ(lugar(*ventana(true)), QList<float>({0, 0, 6000, 4500})) << nombre;
    }
}

} // namespace
