// Opening and closing a session, the error texts a user reads, and what keeps a dead or silent server
// from hanging the program.

#include "ftp_comun.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QThread>

namespace {

class Sesion : public PruebaFtp {};

TEST_F(Sesion, SinConexionNoHayErrorHastaQueUnaOperacionFalla) {
    clsFTP ftp;
    EXPECT_TRUE(ftp.GetLastErrorMessage().isEmpty());
    ftp.CloseConnection();
    EXPECT_TRUE(ftp.GetLastErrorMessage().isEmpty());
    EXPECT_EQ(ftp.Directory()->Count(), 0);

    EXPECT_EQ(ftp.GetFTPDirectory(), QString());
    EXPECT_EQ(
        ftp.GetLastErrorMessage(),
        QStringLiteral("FtpGetCurrentDirectory error code: 6 Message: El identificador no es válido.\r\n"));
}

struct CasoRechazo {
    Destino destino;
    QString respuesta; // the server's own words
};

void PrintTo(const CasoRechazo& caso, std::ostream* os) {
    *os << nombreDe(caso.destino);
}

class LoginRechazado : public PruebaFtp, public ::testing::WithParamInterface<CasoRechazo> {};

TEST_P(LoginRechazado, ElMensajeEsSoloLaRespuestaDelServidor) {
    Cuenta c = cuenta(GetParam().destino);
    REQUERIR_SERVIDOR(c.proceso->listo(), c.proceso->motivo().toStdString());
    clsFTP ftp;
    EXPECT_FALSE(ftp.OpenConnection(c.servidor, c.usuario, QStringLiteral("no-es-la-clave")));
    EXPECT_EQ(ftp.GetLastErrorMessage(), GetParam().respuesta);
}

INSTANTIATE_TEST_SUITE_P(Servidores, LoginRechazado,
                         ::testing::Values(CasoRechazo{Destino::Vsftpd,
                                                       QStringLiteral("530 Login incorrect.\r\n")},
                                           CasoRechazo{Destino::PyftpdlibPasivo,
                                                       QStringLiteral("530 Authentication failed.\r\n")}),
                         [](const auto& info) { return nombreDe(info.param.destino); });

quint16 puertoCerrado() {
    QTcpServer sonda;
    sonda.listen(QHostAddress::LocalHost, 0);
    return sonda.serverPort();
}

struct CasoServidor {
    const char* nombre;
    QString servidor;
    QString mensaje;
};

void PrintTo(const CasoServidor& caso, std::ostream* os) {
    *os << caso.servidor.toStdString();
}

class ServidorInvalido : public PruebaFtp, public ::testing::WithParamInterface<CasoServidor> {};

TEST_P(ServidorInvalido, ElMensajeLlevaContextoCodigoYTexto) {
    clsFTP ftp;
    EXPECT_FALSE(ftp.OpenConnection(GetParam().servidor, QStringLiteral("u"), QStringLiteral("p")));
    EXPECT_EQ(ftp.GetLastErrorMessage(), GetParam().mensaje);
}

INSTANTIATE_TEST_SUITE_P(
    Direcciones, ServidorInvalido,
    ::testing::Values(
        CasoServidor{
            "NadieEscucha", QStringLiteral("127.0.0.1:%1").arg(puertoCerrado()),
            QStringLiteral("InternetConnect error code: 12029 Message: No se pudo establecer una conexión "
                           "con el servidor.\r\n")},
        CasoServidor{
            "EsquemaDesconocido", QStringLiteral("sftp://127.0.0.1"),
            QStringLiteral("InternetConnect error code: 12006 Message: No se reconoce el esquema de la "
                           "dirección URL o no se admite.\r\n")},
        CasoServidor{
            "UrlConRuta", QStringLiteral("ftp://127.0.0.1/carpeta"),
            QStringLiteral("InternetConnect error code: 12005 Message: La dirección URL no es válida.\r\n")},
        CasoServidor{
            "PuertoFueraDeRango", QStringLiteral("127.0.0.1:70000"),
            QStringLiteral("InternetConnect error code: 12005 Message: La dirección URL no es válida.\r\n")},
        CasoServidor{
            "CarpetaQueNoExiste", QStringLiteral("/no/existe/esta/carpeta"),
            QStringLiteral("550 /no/existe/esta/carpeta: no existe la carpeta de publicación.\r\n")}),
    [](const auto& info) { return std::string(info.param.nombre); });

// A session that fails must come back within the time-out, with the time-out's message.
class Espera : public PruebaFtp {
protected:
    void SetUp() override { wininet::setLimits({1s, 1s}); }

    static void esperarFallo(const std::function<bool()>& operacion) {
        QElapsedTimer reloj;
        reloj.start();
        EXPECT_FALSE(operacion());
        EXPECT_LT(reloj.elapsed(), 5000);
    }
};

TEST_F(Espera, UnServidorQueAceptaYNuncaContestaNoCuelgaLaConexion) {
    QTcpServer mudo;
    ASSERT_TRUE(mudo.listen(QHostAddress::LocalHost, 0));
    clsFTP ftp;
    esperarFallo([&] {
        return ftp.OpenConnection(QStringLiteral("127.0.0.1:%1").arg(mudo.serverPort()), QStringLiteral("u"),
                                  QStringLiteral("p"));
    });
    EXPECT_EQ(ftp.GetLastErrorMessage(),
              QStringLiteral("InternetConnect error code: 12002 Message: Se agotó el tiempo de espera de la "
                             "operación.\r\n"));
}

TEST_F(Espera, UnServidorQueDejaDeContestarHaceFallarLaOperacion) {
    const Cuenta c = cuenta(Destino::PyftpdlibPasivo);
    clsFTP ftp;
    ABRIR(ftp, c);
    servidorPy().suspender();
    esperarFallo([&] { return ftp.DeleteFTPFile(QStringLiteral("/a")); });
    servidorPy().reanudar();
    EXPECT_EQ(ftp.GetLastErrorMessage(),
              QStringLiteral("DeleteFTPFile error code: 12002 Message: Se agotó el "
                             "tiempo de espera de la operación.\r\n"));
}

TEST_F(Espera, UnaDescargaDetenidaFalla) {
    const Cuenta c = cuenta(Destino::PyftpdlibPasivo);
    clsFTP ftp;
    ABRIR(ftp, c);
    // More than the sockets' buffers hold, so that the transfer must stall.
    escribir(c.carpeta + QStringLiteral("/grande"), QByteArray(48 * 1024 * 1024, 'x'));
    QTemporaryDir local;
    QObject::connect(&ftp, &clsFTP::FileTransferProgress, &ftp, [&](qint32 actual, qint32) {
        if (actual == 255)
            servidorPy().suspender();
    });
    esperarFallo([&] {
        return ftp.FTPDownloadFile(local.filePath(QStringLiteral("grande")), QStringLiteral("/grande"));
    });
    servidorPy().reanudar();
    EXPECT_EQ(ftp.GetLastErrorMessage(),
              QStringLiteral("InternetReadFile error code: 12002 Message: Se agotó el "
                             "tiempo de espera de la operación.\r\n"));
}

TEST_F(Sesion, UnaSesionDeControlPorConexionYNingunaAlCerrar) {
    const Cuenta c = cuenta(Destino::PyftpdlibPasivo);
    clsFTP ftp;
    ABRIR(ftp, c);
    QTemporaryDir local;
    escribir(local.filePath(QStringLiteral("a")), bytesDePrueba(600));

    // Delete, upload, size; then a second connection replaces the first.
    ftp.DeleteFTPFile(QStringLiteral("/a"));
    EXPECT_TRUE(ftp.FTPUploadFile(local.filePath(QStringLiteral("a")), QStringLiteral("/a")));
    EXPECT_EQ(ftp.GetFTPFileSize(QStringLiteral("/a")), 600);
    ASSERT_TRUE(ftp.OpenConnection(c.servidor, c.usuario, c.contrasena));
    EXPECT_TRUE(ftp.DeleteFTPFile(QStringLiteral("/a")));
    ftp.CloseConnection();

    const auto cuenta = [&](const QString& texto) { return c.proceso->registro().count(texto); };
    EXPECT_EQ(cuenta(QStringLiteral("<- USER")), 2);
    QElapsedTimer reloj;
    reloj.start();
    while (cuenta(QStringLiteral("FTP session closed")) < 2 && reloj.elapsed() < 3000)
        QThread::msleep(20);
    EXPECT_EQ(cuenta(QStringLiteral("FTP session closed")), 2);
}

TEST_F(Sesion, ElModoCambiaEnLaSiguienteConexion) {
    const Cuenta c = cuenta(Destino::PyftpdlibActivo);
    clsFTP ftp;
    ABRIR(ftp, c);
    QTemporaryDir local;
    escribir(local.filePath(QStringLiteral("a")), "hola");
    const auto ordenes = [&](qsizetype desde) { return c.proceso->registro().mid(desde); };

    ftp.SetModePassive();
    qsizetype desde = c.proceso->registro().size();
    ASSERT_TRUE(ftp.FTPUploadFile(local.filePath(QStringLiteral("a")), QStringLiteral("/a")));
    EXPECT_TRUE(ordenes(desde).contains(QStringLiteral("<- EPRT")));
    EXPECT_FALSE(ordenes(desde).contains(QStringLiteral("<- EPSV")));

    ASSERT_TRUE(ftp.OpenConnection(c.servidor, c.usuario, c.contrasena));
    desde = c.proceso->registro().size();
    ASSERT_TRUE(ftp.FTPUploadFile(local.filePath(QStringLiteral("a")), QStringLiteral("/a")));
    EXPECT_TRUE(ordenes(desde).contains(QStringLiteral("<- EPSV")));
    EXPECT_FALSE(ordenes(desde).contains(QStringLiteral("<- EPRT")));
}

TEST_F(Sesion, FtpsCifraAmbosCanalesYCompruebaElCertificado) {
    const Cuenta c = cuenta(Destino::VsftpdTls);
    clsFTP ftp;
    ABRIR(ftp, c);
    QTemporaryDir local;
    escribir(local.filePath(QStringLiteral("a")), "secreto");
    ASSERT_TRUE(ftp.FTPUploadFile(local.filePath(QStringLiteral("a")), QStringLiteral("/a")));
    EXPECT_TRUE(c.proceso->registro().contains(QStringLiteral("\"PROT P\"")));
    ftp.CloseConnection();

    // The certificate made for the run is trusted only because the test says so.
    wininet::setCaFile(QString());
    EXPECT_FALSE(ftp.OpenConnection(c.servidor, c.usuario, c.contrasena));
    EXPECT_EQ(
        ftp.GetLastErrorMessage(),
        QStringLiteral("InternetConnect error code: 12045 Message: El certificado del servidor no es de una "
                       "entidad emisora de confianza.\r\n"));
}

} // namespace
