// Opening and closing the point-of-sale database, and failing in bounded time when it cannot be had.

#include "bd_base.h"
#include "components/BasesDDSql.h"
#include "entorno.h"
#include "modulo/Bitacora.h"

#include <QElapsedTimer>
#include <QTcpServer>

using namespace Qt::StringLiterals;

namespace {

class AbrirBdD : public ConBaseDePrueba {};

// Every send opens the shared connection again: over days of sends no Qt connection may pile up,
// closing one connection must never close another, and a query that never ends must not hang.
TEST_P(AbrirBdD, AbreCierraYNoAcumulaConexiones) {
    BasesDDSql bd;
    base.configurar(bd);
    bd.nSegundosDeEspera = 1;
    const qsizetype antes = QSqlDatabase::connectionNames().size();
    ado::Connection compartida, otra;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(bd.AbrirBdD(compartida, bd.cMiBase));
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), antes + 1);
    ASSERT_TRUE(bd.AbrirBdD(otra, bd.cMiBase));
    bd.CierraBdD(otra);
    EXPECT_EQ(otra.State(), ado::adStateClosed);
    EXPECT_EQ(compartida.State(), ado::adStateOpen);

    ado::Recordset rs;
    ASSERT_TRUE(bd.AbrirTabla(rs, compartida, u"textos"_s));
    bd.CierraTabla(rs);
    EXPECT_EQ(rs.State(), ado::adStateClosed);
    QElapsedTimer reloj;
    reloj.start();
    if (GetParam() == Motor::MariaDB) {
        EXPECT_FALSE(bd.AbrirTabla(rs, compartida, u"(SELECT SLEEP(10) AS s) AS t"_s));
    }
    EXPECT_LT(reloj.elapsed(), 5000);
    bd.CierraBdD(compartida);
    EXPECT_EQ(compartida.State(), ado::adStateClosed);
    EXPECT_FALSE(bd.AbrirTabla(rs, compartida, u"textos"_s));
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), antes);
}

INSTANTIATE_TEST_SUITE_P(Motores, AbrirBdD, ::testing::Values(Motor::MariaDB, Motor::SQLite), nombreDelMotor);

// With a one-second limit every failure must come back within a few seconds, close the connection
// opened before, and say why in the log, never with the password.
TEST(AbrirBdDMariaDB, FallaAPrisaYSinRevelarLaContrasena) {
    BaseDePrueba base;
    REQUERIR_SERVIDOR(base.abrir(Motor::MariaDB), base.motivo().toStdString());
    // Nobody accepts on `mudo`: the system completes the connection, then nothing is ever said.
    QTcpServer mudo, cerrado;
    ASSERT_TRUE(mudo.listen(QHostAddress::LocalHost) && cerrado.listen(QHostAddress::LocalHost));
    const quint16 sinServidor = cerrado.serverPort();
    cerrado.close();
    const std::pair<const char*, quint16> casos[] = {{"contraseña equivocada", 0},
                                                     {"puerto sin servidor", sinServidor},
                                                     {"servidor que no contesta", mudo.serverPort()}};
    const QString clave = u"Clave-Secreta-7731"_s;
    QTemporaryDir carpeta;
    iniciarBitacora(carpeta.path());
    QFile bitacora(carpeta.filePath(u"catalogo-ftp.log"_s));
    ASSERT_TRUE(bitacora.open(QIODevice::ReadOnly));
    for (const auto& [caso, puerto] : casos) {
        BasesDDSql bd;
        base.configurar(bd);
        bd.nSegundosDeEspera = 1;
        ado::Connection conexion;
        ASSERT_TRUE(bd.AbrirBdD(conexion, bd.cMiBase));
        bd.cPassword = clave;
        bd.cPuerto = puerto ? puerto : bd.cPuerto;

        QElapsedTimer reloj;
        reloj.start();
        EXPECT_FALSE(bd.AbrirBdD(conexion, bd.cMiBase)) << caso;
        EXPECT_LT(reloj.elapsed(), 5000) << caso;
        EXPECT_EQ(conexion.State(), ado::adStateClosed) << caso;
        const QByteArray escrito = bitacora.readAll(); // what this case added
        EXPECT_TRUE(escrito.contains("No se pudo abrir") && !escrito.contains(clave.toUtf8()))
            << escrito.data();
    }
}

} // namespace
