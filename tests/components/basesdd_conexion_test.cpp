// Opening and closing the point-of-sale database, and failing in bounded time when it cannot be had.

#include "bd_base.h"
#include "bd_registro.h"
#include "components/BasesDDSql.h"
#include "entorno.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <functional>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A TCP port on 127.0.0.1 that completes the connection (the kernel does, from the listen queue)
// and then never says a word: a hung server.
class SocketMudo {
public:
    SocketMudo() : fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in direccion{};
        direccion.sin_family = AF_INET;
        direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t largo = sizeof direccion;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&direccion), largo) == 0 && ::listen(fd, 8) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&direccion), &largo) == 0)
            numero = ntohs(direccion.sin_port);
    }
    SocketMudo(const SocketMudo&) = delete;
    SocketMudo& operator=(const SocketMudo&) = delete;
    ~SocketMudo() { ::close(fd); }
    qint32 puerto() const { return numero; }

private:
    int fd;
    qint32 numero = 0;
};

// A port where nothing listens: one the system just gave out and took back.
qint32 puertoCerrado() {
    return SocketMudo().puerto();
}

const QString claveSecreta = QStringLiteral("Clave-Secreta-7731");

class AbrirBdD : public ConBaseDePrueba {
protected:
    void SetUp() override {
        ConBaseDePrueba::SetUp();
        base.configurar(bd);
        bd.nSegundosDeEspera = 1;
    }
    BasesDDSql bd;
};

TEST_P(AbrirBdD, AbreLaBaseConfiguradaYLaCierra) {
    ado::Connection conexion;
    ASSERT_TRUE(bd.AbrirBdD(conexion, bd.cMiBase));
    EXPECT_EQ(conexion.State(), ado::adStateOpen);
    ado::Recordset rs;
    ASSERT_TRUE(bd.AbrirTabla(rs, conexion, QStringLiteral("textos WHERE Numero=382")));
    EXPECT_EQ(rs.Fields(QStringLiteral("Texto")).Value().toString(), QStringLiteral("Orden del campo"));
    bd.CierraTabla(rs);
    EXPECT_EQ(rs.State(), ado::adStateClosed);

    bd.CierraBdD(conexion);
    EXPECT_EQ(conexion.State(), ado::adStateClosed);
    EXPECT_FALSE(bd.AbrirTabla(rs, conexion, QStringLiteral("textos")));
}

// Every send opens the shared connection again; over days of sends no Qt connection may pile up,
// and closing one connection must never close another.
TEST_P(AbrirBdD, CadaAperturaTieneSuPropiaConexion) {
    const qsizetype antes = QSqlDatabase::connectionNames().size();
    ado::Connection compartida;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(bd.AbrirBdD(compartida, bd.cMiBase));
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), antes + 1);

    ado::Connection otra;
    ASSERT_TRUE(bd.AbrirBdD(otra, bd.cMiBase));
    bd.CierraBdD(otra);
    EXPECT_EQ(compartida.State(), ado::adStateOpen);
    ado::Recordset rs;
    EXPECT_TRUE(bd.AbrirTabla(rs, compartida, QStringLiteral("textos")));
    bd.CierraTabla(rs);
    bd.CierraBdD(compartida);
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), antes);
}

INSTANTIATE_TEST_SUITE_P(Motores, AbrirBdD, ::testing::Values(Motor::MariaDB, Motor::SQLite), nombreDelMotor);

struct Fallo {
    const char* nombre;
    std::function<void(BasesDD&, SocketMudo&)> estropear;
};

void PrintTo(const Fallo& fallo, std::ostream* os) {
    *os << fallo.nombre;
}

// A MariaDB test database and a component connected to it with a one-second limit.
template <class Prueba> class ConPlazoCorto : public Prueba {
protected:
    void SetUp() override {
        REQUERIR_SERVIDOR(base.abrir(Motor::MariaDB), base.motivo().toStdString());
        base.configurar(bd);
        bd.nSegundosDeEspera = 1;
        ASSERT_TRUE(bd.AbrirBdD(conexion, bd.cMiBase));
    }
    BaseDePrueba base;
    BasesDDSql bd;
    ado::Connection conexion;
};

class AbrirBdDFalla : public ConPlazoCorto<::testing::TestWithParam<Fallo>> {};

// With a one-second limit every failure must come back within a few seconds, leave the connection
// closed and say why in the log, never with the password.
// The connection opened by SetUp is the earlier one, which a failure closes.
TEST_P(AbrirBdDFalla, DevuelveFalsoAPrisaYSinRevelarLaContrasena) {
    SocketMudo mudo;
    ASSERT_NE(mudo.puerto(), 0);
    GetParam().estropear(bd, mudo);

    RegistroCapturado registro;
    QElapsedTimer reloj;
    reloj.start();
    EXPECT_FALSE(bd.AbrirBdD(conexion, bd.cMiBase));
    EXPECT_LT(reloj.elapsed(), 5000);
    EXPECT_EQ(conexion.State(), ado::adStateClosed);
    EXPECT_NE(registro.texto().find("No se pudo abrir"), std::string::npos) << registro.texto();
    EXPECT_EQ(registro.texto().find(claveSecreta.toStdString()), std::string::npos) << registro.texto();
}

INSTANTIATE_TEST_SUITE_P(
    MariaDB, AbrirBdDFalla,
    ::testing::Values(
        Fallo{"ContrasenaEquivocada", [](BasesDD& bd, SocketMudo&) { bd.cPassword = claveSecreta; }},
        Fallo{"BaseInexistente",
              [](BasesDD& bd, SocketMudo&) { bd.cMiBase = QStringLiteral("catalogo_no_existe"); }},
        Fallo{"PuertoSinServidor",
              [](BasesDD& bd, SocketMudo&) {
                  bd.cPuerto = puertoCerrado();
                  bd.cPassword = claveSecreta;
              }},
        Fallo{"ServidorQueNoContesta",
              [](BasesDD& bd, SocketMudo& mudo) {
                  bd.cPuerto = mudo.puerto();
                  bd.cPassword = claveSecreta;
              }}),
    [](const ::testing::TestParamInfo<Fallo>& info) { return std::string(info.param.nombre); });

// A server that stops answering once connected: the query fails instead of hanging the window.
using AbrirTablaMariaDB = ConPlazoCorto<::testing::Test>;

TEST_F(AbrirTablaMariaDB, UnaConsultaSinRespuestaFallaAlVencerElPlazo) {
    ado::Recordset rs;
    QElapsedTimer reloj;
    reloj.start();
    EXPECT_FALSE(bd.AbrirTabla(rs, conexion, QStringLiteral("(SELECT SLEEP(10) AS s) AS t")));
    EXPECT_LT(reloj.elapsed(), 5000);
}

// The demo's catalogue is a file: a wrong name or folder must fail, not leave a new empty database.
TEST(AbrirBdDSQLite, UnArchivoQueNoExisteNoSeCrea) {
    QTemporaryDir carpeta;
    BasesDDSql bd;
    for (const QString& ruta : {carpeta.path(), carpeta.filePath(QStringLiteral("no-existe"))}) {
        bd.cRuta = QStringLiteral("sqlite:") + ruta;
        ado::Connection conexion;
        EXPECT_FALSE(bd.AbrirBdD(conexion, QStringLiteral("catalogo"))) << ruta.toStdString();
        EXPECT_EQ(conexion.State(), ado::adStateClosed);
    }
    EXPECT_TRUE(QDir(carpeta.path()).isEmpty());
    EXPECT_FALSE(QDir(carpeta.filePath(QStringLiteral("no-existe"))).exists());
}

} // namespace
