// The product search window on both database back ends: the filter narrows the list as one types,
// Enter returns the chosen code, Escape returns nothing.

#include "bd_base.h"
#include "components/BasesDDSql.h"
#include "components/BusquedaDeProductos.h"
#include "components/DeAyudaQ7DeVentana.h"
#include "tienda_en_ventana.h"

namespace {

class BusquedaDeProductos : public ConBaseDePrueba {
protected:
    void SetUp() override {
        ConBaseDePrueba::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        base.insertar({productoDePrueba(QStringLiteral("1001"), QStringLiteral("Café molido")),
                       productoDePrueba(QStringLiteral("1002"), QStringLiteral("Café en grano")),
                       productoDePrueba(QStringLiteral("2001"), QStringLiteral("Azúcar morena"))});
        base.configurar(bd);
        ayuda.cUsuario = bd.cUsuario;
        ayuda.cPassword = bd.cPassword;
        ayuda.cPuerto = bd.cPuerto;
    }

    // A search in which the user types `filtro` and presses `tecla`; the code it returns.
    QString buscar(const QString& filtro, Qt::Key tecla, QString condicion = QString()) {
        AlAparecer usuario(
            [this, filtro, tecla](QWidget* modal) { cuenta = buscarEnDialogo(modal, filtro, tecla); });
        QObject* ventana = nullptr;
        QString ini;
        return ayuda.BuscarProdsSkn(ventana, bd.cRuta, ventana, bd.cMiBase, true, ini, ini, condicion, true,
                                    false);
    }

    BasesDDSql bd;
    DeAyudaQ7DeVentana ayuda;
    QString cuenta;
};

TEST_P(BusquedaDeProductos, TheFilterNarrowsTheListEnterReturnsTheCodeAndEscapeNothing) {
    EXPECT_EQ(buscar(QStringLiteral("CAFÉ gra"), Qt::Key_Return), QStringLiteral("1002"));
    EXPECT_EQ(cuenta, QStringLiteral("1 de 3 productos"));
    EXPECT_EQ(buscar(QStringLiteral("200"), Qt::Key_Enter), QStringLiteral("2001")) << "codes match too";
    EXPECT_EQ(buscar(QStringLiteral("molido"), Qt::Key_Escape), QString());

    // A condition limits the products and is left in Condicion().
    const QString condicion = QStringLiteral("Clave <> '1001'");
    EXPECT_EQ(buscar(QStringLiteral("CAF"), Qt::Key_Return, condicion), QStringLiteral("1002"));
    EXPECT_EQ(cuenta, QStringLiteral("1 de 2 productos"));
    EXPECT_EQ(ayuda.Condicion(), condicion);
}

INSTANTIATE_TEST_SUITE_P(Motores, BusquedaDeProductos, ::testing::Values(Motor::MariaDB, Motor::SQLite),
                         nombreDelMotor);

// The list the window shows over a catalogue too large to hand the view at once.
TEST(ModeloDeProductos, FiltersTheWholeCatalogueAndHandsTheViewRowsAsItScrolls) {
    ModeloDeProductos modelo;
    QStringList claves, descripciones;
    for (int i = 1; i <= 2500; ++i) {
        claves << QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0'));
        descripciones << (i % 2 ? QStringLiteral("Café molido") : QStringLiteral("Té verde"));
    }
    modelo.agregar(claves.mid(0, 1200), descripciones.mid(0, 1200));
    modelo.agregar(claves.mid(1200), descripciones.mid(1200));
    EXPECT_EQ(modelo.coincidentes(), 2500);
    EXPECT_EQ(modelo.rowCount(), 1000);
    modelo.fetchMore(QModelIndex());
    modelo.fetchMore(QModelIndex());
    EXPECT_EQ(modelo.rowCount(), 2500);
    EXPECT_FALSE(modelo.canFetchMore(QModelIndex()));

    modelo.filtrar(QStringLiteral("verde p2"));
    EXPECT_EQ(modelo.coincidentes(), 251); // the even codes from P2000 to P2500
    EXPECT_EQ(modelo.clave(0), QStringLiteral("P2000"));
    modelo.filtrar(QStringLiteral("CAFÉ")); // a new search over everything
    EXPECT_EQ(modelo.coincidentes(), 1250);
    EXPECT_EQ(modelo.clave(999), QStringLiteral("P1999"));
    EXPECT_EQ(modelo.clave(1000), QString()) << "not handed to the view yet";
}

} // namespace
