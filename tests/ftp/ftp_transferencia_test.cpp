// Chunked and single-call transfers: the progress events a send shows, the bytes that arrive, and the
// file and folder operations, on every kind of target.

#include "ftp/Publicacion.h"
#include "ftp_comun.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

struct CasoAvance {
    qsizetype bytes;
    QList<QPair<qint32, qint32>> eventos;
};

void PrintTo(const CasoAvance& caso, std::ostream* os) {
    *os << caso.bytes << " bytes";
}

class Avance : public PruebaFtp, public ::testing::WithParamInterface<CasoAvance> {};

TEST_P(Avance, UnEventoPorTrozoCompletoYUnoFinal) {
    const Cuenta c = cuenta(Destino::PyftpdlibPasivo);
    clsFTP ftp;
    ABRIR(ftp, c);
    QTemporaryDir local;
    const QByteArray bytes = bytesDePrueba(GetParam().bytes);
    escribir(local.filePath(QStringLiteral("a.csv")), bytes);
    Eventos eventos(ftp);

    EXPECT_TRUE(ftp.FTPUploadFile(local.filePath(QStringLiteral("a.csv")), QStringLiteral("/a.csv")));

    EXPECT_EQ(eventos, GetParam().eventos);
    EXPECT_EQ(leer(c.carpeta + QStringLiteral("/a.csv")), bytes);
    EXPECT_TRUE(QFileInfo::exists(c.carpeta + QStringLiteral("/a.csv")));
}

INSTANTIATE_TEST_SUITE_P(Tamanos, Avance,
                         ::testing::Values(CasoAvance{0, {{0, 0}}}, CasoAvance{255, {{255, 255}, {255, 255}}},
                                           CasoAvance{256, {{255, 256}, {256, 256}}},
                                           CasoAvance{510, {{255, 510}, {510, 510}, {510, 510}}}));

class EnCadaDestino : public PruebaFtp, public ::testing::WithParamInterface<Destino> {};

// Published over an old file, which the name holds whole until the new one replaces it (looked at
// during the upload), and brought back.
TEST_P(EnCadaDestino, LosBytesLleganIntactosEnAmbosSentidos) {
    const Cuenta c = cuenta(GetParam());
    clsFTP ftp;
    ABRIR(ftp, c);
    QTemporaryDir local;
    const QByteArray bytes = bytesDePrueba(3 * 1024 * 1024 + 100);
    escribir(local.filePath(QStringLiteral("subida")), bytes);
    escribir(c.carpeta + QStringLiteral("/remoto.bin"), "lo de ayer");
    Eventos eventos(ftp);
    QSet<QByteArray> vistos;
    QObject::connect(&ftp, &clsFTP::FileTransferProgress, &ftp, [&](qint32 actual, qint32) {
        if (actual % (1000 * 255) == 0)
            vistos << leer(c.carpeta + QStringLiteral("/remoto.bin"));
    });
    QString motivo;
    ASSERT_TRUE(
        publicar(ftp, local.filePath(QStringLiteral("subida")), QStringLiteral("/remoto.bin"), motivo))
        << motivo.toStdString();
    EXPECT_EQ(vistos, QSet<QByteArray>{"lo de ayer"});
    EXPECT_EQ(leer(c.carpeta + QStringLiteral("/remoto.bin")), bytes);
    EXPECT_EQ(QDir(c.carpeta).entryList({QStringLiteral("*remoto*")}, QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("remoto.bin")});
    ASSERT_TRUE(ftp.FTPDownloadFile(local.filePath(QStringLiteral("bajada")), QStringLiteral("/remoto.bin")))
        << ftp.GetLastErrorMessage().toStdString();
    EXPECT_EQ(leer(local.filePath(QStringLiteral("bajada"))), bytes);
    const qsizetype porSentido = bytes.size() / 255 + 1;
    ASSERT_EQ(eventos.size(), 2 * porSentido);
    EXPECT_EQ(eventos[porSentido - 1], qMakePair(qint32(bytes.size()), qint32(bytes.size())));
    EXPECT_EQ(eventos.last(), eventos[porSentido - 1]);

    // The single-call pair, which replaces a local file that is already there.
    ASSERT_TRUE(
        ftp.SimpleFTPPutFile(local.filePath(QStringLiteral("subida")), QStringLiteral("/simple.bin")));
    EXPECT_EQ(leer(c.carpeta + QStringLiteral("/simple.bin")), bytes);
    escribir(local.filePath(QStringLiteral("bajada")), "viejo");
    ASSERT_TRUE(
        ftp.SimpleFTPGetFile(local.filePath(QStringLiteral("bajada")), QStringLiteral("/simple.bin")));
    EXPECT_EQ(leer(local.filePath(QStringLiteral("bajada"))), bytes);
    ftp.CloseConnection();
}

TEST_P(EnCadaDestino, OperacionesDeArchivosYCarpetas) {
    const Cuenta c = cuenta(GetParam());
    clsFTP ftp;
    ABRIR(ftp, c);
    escribir(c.carpeta + QStringLiteral("/viejo.txt"), "hola");
    const QDir disco(c.carpeta);

    EXPECT_TRUE(ftp.CreateFTPDirectory(QStringLiteral("/nueva")));
    EXPECT_TRUE(disco.exists(QStringLiteral("nueva")));
    EXPECT_TRUE(ftp.SetFTPDirectory(QStringLiteral("nueva")));
    EXPECT_EQ(ftp.GetFTPDirectory(), QStringLiteral("/nueva"));
    // Relative paths now start in the new folder.
    EXPECT_TRUE(ftp.RenameFTPFile(QStringLiteral("../viejo.txt"), QStringLiteral("nuevo.txt")));
    EXPECT_EQ(leer(c.carpeta + QStringLiteral("/nueva/nuevo.txt")), "hola");
    EXPECT_FALSE(disco.exists(QStringLiteral("viejo.txt")));
    EXPECT_TRUE(ftp.DeleteFTPFile(QStringLiteral("nuevo.txt")));
    EXPECT_FALSE(disco.exists(QStringLiteral("nueva/nuevo.txt")));
    EXPECT_TRUE(ftp.SetFTPDirectory(QStringLiteral("..")));
    EXPECT_EQ(ftp.GetFTPDirectory(), QStringLiteral("/"));
    EXPECT_TRUE(ftp.RemoveFTPDirectory(QStringLiteral("nueva")));
    EXPECT_FALSE(disco.exists(QStringLiteral("nueva")));

    // A refusal is the target's own reply, with its code and nothing else.
    EXPECT_FALSE(ftp.DeleteFTPFile(QStringLiteral("/no-existe.txt")));
    EXPECT_TRUE(ftp.GetLastErrorMessage().startsWith(QStringLiteral("550 ")))
        << ftp.GetLastErrorMessage().toStdString();
    EXPECT_TRUE(ftp.GetLastErrorMessage().endsWith(QStringLiteral("\r\n")));
    EXPECT_FALSE(ftp.SetFTPDirectory(QStringLiteral("/no-existe")));
    EXPECT_EQ(ftp.GetFTPDirectory(), QStringLiteral("/"));
}

INSTANTIATE_TEST_SUITE_P(Destinos, EnCadaDestino,
                         ::testing::Values(Destino::PyftpdlibPasivo, Destino::PyftpdlibActivo,
                                           Destino::Vsftpd, Destino::VsftpdTls, Destino::Carpeta,
                                           Destino::CarpetaUrl),
                         [](const auto& info) { return nombreDe(info.param); });

class Subida : public PruebaFtp {};

TEST_F(Subida, BajarBlSigueDejaDeEnviarPeroTerminaBien) {
    const Cuenta c = cuenta(Destino::PyftpdlibPasivo);
    clsFTP ftp;
    ABRIR(ftp, c);
    QTemporaryDir local;
    const QByteArray bytes = bytesDePrueba(10 * 255 + 7);
    escribir(local.filePath(QStringLiteral("a")), bytes);
    Eventos eventos(ftp);
    QObject::connect(&ftp, &clsFTP::FileTransferProgress, &ftp, [&](qint32 actual, qint32) {
        if (actual == 3 * 255)
            ftp.setBlSigue(false);
    });

    EXPECT_TRUE(ftp.FTPUploadFile(local.filePath(QStringLiteral("a")), QStringLiteral("/a")));

    QList<QPair<qint32, qint32>> esperados;
    for (qint32 i = 1; i <= 10; ++i)
        esperados.append({std::min(i, 3) * 255, qint32(bytes.size())});
    esperados.append({qint32(bytes.size()), qint32(bytes.size())});
    EXPECT_EQ(eventos, esperados);
    EXPECT_EQ(leer(c.carpeta + QStringLiteral("/a")), bytes.left(3 * 255));
    EXPECT_FALSE(ftp.blSigue());
}

TEST_F(Subida, RutasVaciasNoLleganAlServidorYSeRecortanLosEspacios) {
    const Cuenta c = cuenta(Destino::PyftpdlibPasivo);
    clsFTP ftp;
    ABRIR(ftp, c);
    ASSERT_FALSE(ftp.DeleteFTPFile(QStringLiteral("/no-existe")));
    const QString errorPrevio = ftp.GetLastErrorMessage();
    const qsizetype registroPrevio = c.proceso->registro().size();

    EXPECT_FALSE(ftp.FTPUploadFile(QStringLiteral("   "), QStringLiteral("/x")));
    EXPECT_FALSE(ftp.FTPUploadFile(QStringLiteral("/etc/hostname"), QString()));
    EXPECT_EQ(ftp.GetLastErrorMessage(), errorPrevio);
    EXPECT_FALSE(c.proceso->registro().mid(registroPrevio).contains(QStringLiteral("STOR")));

    QTemporaryDir local;
    escribir(local.filePath(QStringLiteral("a b")), "12345");
    QString rutaLocal = QStringLiteral("  ") + local.filePath(QStringLiteral("a b")) + QStringLiteral(" ");
    QString rutaRemota = QStringLiteral(" /con espacio.txt  ");
    EXPECT_TRUE(ftp.FTPUploadFile(rutaLocal, rutaRemota));
    EXPECT_EQ(rutaLocal, local.filePath(QStringLiteral("a b")));
    EXPECT_EQ(rutaRemota, QStringLiteral("/con espacio.txt"));
    EXPECT_EQ(leer(c.carpeta + QStringLiteral("/con espacio.txt")), "12345");
}

TEST_F(Subida, OtraOperacionDuranteLaSubidaEsRechazada) {
    const Cuenta c = cuenta(Destino::PyftpdlibPasivo);
    clsFTP ftp;
    ABRIR(ftp, c);
    QTemporaryDir local;
    escribir(local.filePath(QStringLiteral("a")), bytesDePrueba(1000));
    bool borrado = true;
    QString mensaje;
    QObject::connect(&ftp, &clsFTP::FileTransferProgress, &ftp, [&](qint32 actual, qint32) {
        if (actual == 255) {
            borrado = ftp.DeleteFTPFile(QStringLiteral("/a"));
            mensaje = ftp.GetLastErrorMessage();
        }
    });

    EXPECT_TRUE(ftp.FTPUploadFile(local.filePath(QStringLiteral("a")), QStringLiteral("/a")));

    EXPECT_FALSE(borrado);
    EXPECT_EQ(mensaje,
              QStringLiteral("DeleteFTPFile error code: 12110 Message: Hay una transferencia de archivo en "
                             "curso en esta conexión.\r\n"));
    EXPECT_EQ(leer(c.carpeta + QStringLiteral("/a")), bytesDePrueba(1000));
    // Free again once the upload has ended.
    EXPECT_TRUE(ftp.DeleteFTPFile(QStringLiteral("/a")));
}

TEST_F(Subida, UnArchivoRemotoVacioNoSeDescarga) {
    const Cuenta c = cuenta(Destino::PyftpdlibPasivo);
    clsFTP ftp;
    ABRIR(ftp, c);
    escribir(c.carpeta + QStringLiteral("/vacio"), QByteArray());
    QTemporaryDir local;
    Eventos eventos(ftp);

    EXPECT_FALSE(ftp.FTPDownloadFile(local.filePath(QStringLiteral("vacio")), QStringLiteral("/vacio")));
    EXPECT_FALSE(ftp.FTPDownloadFile(local.filePath(QStringLiteral("falta")), QStringLiteral("/falta")));

    EXPECT_FALSE(QFileInfo::exists(local.filePath(QStringLiteral("vacio"))));
    EXPECT_FALSE(QFileInfo::exists(local.filePath(QStringLiteral("falta"))));
    EXPECT_TRUE(eventos.isEmpty());
    EXPECT_TRUE(ftp.GetLastErrorMessage().isEmpty());
}

} // namespace
