#pragma once
// A point-of-sale database of its own for each test: a fresh MariaDB database on the test server
// (a name no other run uses, dropped at the end), or the same schema and rows in a SQLite file in a
// temporary folder. Both hold the sample catalogue's reference rows, settings and texts.

#include "components/BasesDD.h"
#include "components/EsquemaPuntoDeVenta.h"

#include <QSqlDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

enum class Motor { MariaDB, SQLite };

void PrintTo(Motor motor, std::ostream* os);
// Test names for INSTANTIATE_TEST_SUITE_P: "MariaDB", "SQLite".
std::string nombreDelMotor(const ::testing::TestParamInfo<Motor>& info);

// The MariaDB server of the tests: root with an empty password.
inline constexpr char hostDePrueba[] = "127.0.0.1";
inline constexpr qint32 puertoDePrueba = 3306;

class BaseDePrueba {
public:
    ~BaseDePrueba();

    // Creates the database with products 1 to `productos` of the sample catalogue. False when the
    // MariaDB server cannot be reached (motivo() says why: use REQUERIR_SERVIDOR); any other failure
    // is also a test failure.
    bool abrir(Motor motor, qint32 productos = 0);
    QString motivo() const { return razon; }
    // Puts this database into a database component: cRuta ("sqlite:<folder>" for SQLite), cPuerto,
    // cUsuario, cPassword and cMiBase.
    void configurar(BasesDD& bd) const;
    QString nombre() const { return base; }

    // The fixture's own connection, to arrange rows and check them.
    QSqlDatabase db() const { return QSqlDatabase::database(conexion, false); }
    void insertar(const QList<puntoDeVenta::Producto>& productos);
    void ejecutar(const QString& sql);

private:
    bool fallo(const QString& motivo, bool deLaPrueba = true);

    Motor motor = Motor::SQLite;
    QString base;
    QString conexion;
    QString razon;
    std::unique_ptr<QTemporaryDir> carpeta;
};

// A product with only its code and description; set other fields by assignment.
puntoDeVenta::Producto productoDePrueba(const QString& clave, const QString& descrip);

// Suites that run the same cases on both back ends derive from this and instantiate with
// INSTANTIATE_TEST_SUITE_P(Motores, Suite, ::testing::Values(Motor::MariaDB, Motor::SQLite), nombreDelMotor).
class ConBaseDePrueba : public ::testing::TestWithParam<Motor> {
protected:
    explicit ConBaseDePrueba(qint32 productos = 0) : productosDeMuestra(productos) {}
    void SetUp() override;

    BaseDePrueba base;

private:
    qint32 productosDeMuestra;
};
