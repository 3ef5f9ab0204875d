// The configuration tab: "Grabar" stores the seven boxes and shows back what was stored, the interval
// box refuses what is no interval, and each box filters what is typed in it.

#include "config/Configuracion.h"
#include "modulo/Modulo.h"
#include "tienda_en_ventana.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

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
};

TEST_F(PestanaDeConfiguracion, GrabarStoresTheBoxesAndShowsWhatWasStored) {
    EXPECT_EQ(pestanasVisibles(), QList<int>{1});
    const char* textos[] = {"otra", "7", "lista.csv", "usuario", "ftp.tienda.mx", "secreto", "/tienda"};
    for (int i = 0; i < 7; ++i)
        caja(i)->setText(QString::fromLatin1(textos[i]));
    clic("cmdGrabar");

    EXPECT_EQ(guardado(claves::kBase), QStringLiteral("otra"));
    EXPECT_EQ(guardado(claves::kIntervalo), QStringLiteral("7"));
    EXPECT_EQ(guardado(claves::kArchivo), QStringLiteral("lista.csv"));
    EXPECT_EQ(descifrado(claves::kUsuario), QStringLiteral("usuario"));
    EXPECT_EQ(descifrado(claves::kURL), QStringLiteral("ftp.tienda.mx"));
    EXPECT_EQ(descifrado(claves::kContrasena), QStringLiteral("secreto"));
    EXPECT_EQ(descifrado(claves::kDirectorio), QStringLiteral("/tienda"));
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
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), caja(1));

    clic("cmdGrabar");
    EXPECT_EQ(leer(archivoIni()), antes);
    EXPECT_EQ(pestanasVisibles(), QList<int>{1});
    EXPECT_EQ(QApplication::focusWidget(), caja(1));

    // "Cancelar" still leaves, and the keyboard goes on working on what is shown.
    QTest::mouseClick(control<QPushButton>("cmdCancelar"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(QApplication::focusWidget()->isVisible());
    EXPECT_EQ(leer(archivoIni()), antes);

    clic("cmdConfigurar");
    caja(1)->setText(QString()); // empty is 0: no automatic send
    clic("cmdGrabar");
    EXPECT_EQ(guardado(claves::kIntervalo), QStringLiteral("0"));
    EXPECT_FALSE(reloj());
}

TEST_F(PestanaDeConfiguracion, AnExportNamedLikeTheSettingsFileIsRefusedWithTheTabKeptOpen) {
    const QByteArray antes = leer(archivoIni());
    const QString ini = QFileInfo(archivoIni()).fileName();
    caja(2)->setText(ini);
    QString visto;
    AlAparecer contestar([&visto](QWidget* modal) {
        auto* caja = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(caja, nullptr);
        visto = caja->windowTitle() + QStringLiteral(": ") + caja->text();
        caja->accept();
    });
    clic("cmdGrabar");
    EXPECT_TRUE(QTest::qWaitFor([&] { return contestar.visto(); }));
    EXPECT_EQ(visto, QStringLiteral("Atención: El archivo para el FTP no puede ser \"%1\", un archivo del "
                                    "propio programa: el primer envío lo sobrescribiría.")
                         .arg(ini));
    EXPECT_EQ(leer(archivoIni()), antes);
    EXPECT_EQ(pestanasVisibles(), QList<int>{1});
    EXPECT_EQ(caja(2)->text(), ini);
}

struct Tecleo {
    const char* nombre;
    int caja;
    const char* tecleado;
    const char* queda;
};

class MascaraDeCaja : public PestanaDeConfiguracion, public ::testing::WithParamInterface<Tecleo> {};

TEST_P(MascaraDeCaja, KeepsWhatTheBoxAccepts) {
    QLineEdit* destino = caja(GetParam().caja);
    destino->clear();
    destino->setFocus();
    QTest::keyClicks(destino, QString::fromUtf8(GetParam().tecleado));
    EXPECT_EQ(destino->text(), QString::fromUtf8(GetParam().queda));
}

INSTANTIATE_TEST_SUITE_P(Cajas, MascaraDeCaja,
                         ::testing::Values(Tecleo{"base_en_minusculas", 0, "DatOS1", "datos1"},
                                           Tecleo{"intervalo_solo_digitos", 1, "1a2-3", "123"},
                                           Tecleo{"intervalo_cuatro_digitos", 1, "10000", "1000"},
                                           Tecleo{"url_tal_cual", 4, "Ftp.Tienda.MX", "Ftp.Tienda.MX"},
                                           Tecleo{"contrasena_a_la_vista", 5, "Clave.1", "Clave.1"}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(PestanaDeConfiguracion, EnterAndTabVisitTheBoxesTopToBottomThenEnterPressesGrabar) {
    caja(2)->setText(QStringLiteral("enter.csv"));
    caja(0)->setFocus();
    const int orden[] = {1, 4, 6, 2, 3, 5};
    for (int siguiente : orden) {
        QTest::keyClick(QApplication::focusWidget(), siguiente % 2 ? Qt::Key_Return : Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), caja(siguiente));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), control<QPushButton>("cmdGrabar"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(guardado(claves::kArchivo), QStringLiteral("enter.csv"));
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
}

TEST_F(PestanaDeConfiguracion, CancelarKeepsWhatWasTypedForNextTime) {
    caja(2)->setText(QStringLiteral("nuevo.csv"));
    clic("cmdCancelar");
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_NE(guardado(claves::kArchivo), QStringLiteral("nuevo.csv"));
    clic("cmdConfigurar");
    EXPECT_EQ(caja(2)->text(), QStringLiteral("nuevo.csv"));
}

} // namespace
