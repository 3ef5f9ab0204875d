// The FTP layer against real servers and a local folder: transfers, folders and listings, the error texts a
// user reads, what keeps a silent server from hanging the program, and publishing over a web shop's file.

#include "entorno.h"
#include "ftp/Publicacion.h"
#include "ftp_travieso.h"
#include "ftp_vsftpd.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSet>
#include <QTcpServer>
#include <QThread>
#include <QTimeZone>
#include <QUrl>
#include <ctime>
#include <map>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

// Every byte value, shifted by one after each 251 bytes, so that a byte altered, lost or added shows.
QByteArray bytesDePrueba(qsizetype n) {
    QByteArray bytes(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        bytes[i] = static_cast<char>((i + i / 251) & 0xFF);
    return bytes;
}

// The FileTransferProgress events of a session, in order.
struct Eventos : QObject, QList<QPair<qint32, qint32>> {
    explicit Eventos(clsFTP& ftp) {
        connect(&ftp, &clsFTP::FileTransferProgress, this, [this](qint32 actual, qint32 total) {
            append({actual, total});
        });
    }
};

// A session on one target; the servers start on first use and stop with the suite.
struct PruebaFtp : ::testing::Test {
    static void TearDownTestSuite() {
        servidores.clear();
        carpetaLocal.reset();
    }

    // Short enough that a fault shows in seconds, long enough for a busy machine.
    void SetUp() override { wininet::setLimits({5s, 5s}); }

    struct Cuenta {
        QString servidor, usuario, contrasena;
        QString carpeta; // the target's "/" on disk
        bool activo = false;
        const ServidorFtpDePrueba* proceso = nullptr;
    };

    // A pyftpdlib behaving ("normal") or failing in one way (see ServidorFtpTravieso).
    static ServidorFtp& servidorPy(const QString& capricho = u"normal"_s, int bytesPorSegundo = 0) {
        auto& s = servidores[capricho + QString::number(bytesPorSegundo)];
        if (!s)
            s = std::make_unique<ServidorFtpTravieso>(capricho, bytesPorSegundo);
        return static_cast<ServidorFtp&>(*s);
    }

    static Cuenta cuenta(const ServidorFtpDePrueba& s, const QString& esquema = {}, bool activo = false) {
        return {esquema + s.direccion(), s.usuario(), s.contrasena(), s.carpeta(), activo, &s};
    }

    // Pyftpdlib or PyftpdlibActivo (active mode), Vsftpd or VsftpdTls (explicit TLS), Carpeta or CarpetaUrl
    // (a local folder, by its path or as a file URL).
    static Cuenta cuenta(const char* destino) {
        const QLatin1StringView nombre(destino);
        if (nombre.startsWith(u"Pyftpdlib"))
            return cuenta(servidorPy(), {}, nombre.endsWith(u"Activo"));
        if (nombre.startsWith(u"Vsftpd")) {
            auto& s = servidores[u"vsftpd"_s];
            if (!s)
                s = std::make_unique<ServidorVsftpd>();
            wininet::setCaFile(static_cast<ServidorVsftpd&>(*s).certificado());
            return cuenta(*s, nombre.endsWith(u"Tls") ? u"ftps://"_s : u"ftp://"_s);
        }
        if (!carpetaLocal)
            carpetaLocal = std::make_unique<QTemporaryDir>();
        const QString ruta = carpetaLocal->path();
        return {nombre.endsWith(u"Url") ? QUrl::fromLocalFile(ruta).toString() : ruta, {}, {}, ruta};
    }

    // Opens `ftp` on the target, passive unless the target is active; skipped without the server.
    void abrir(const Cuenta& cuenta) {
        c = cuenta;
        if (c.proceso)
            REQUERIR_SERVIDOR(c.proceso->listo(), c.proceso->motivo().toStdString());
        ftp.SetTransferBinary();
        if (!c.activo)
            ftp.SetModePassive();
        ASSERT_TRUE(ftp.OpenConnection(c.servidor, c.usuario, c.contrasena))
            << ftp.GetLastErrorMessage().toStdString();
    }

    // A file of the test's own local folder, written with `bytes`.
    QString local(const QString& nombre, const QByteArray& bytes) {
        escribirArchivo(temporal.filePath(nombre), bytes);
        return temporal.filePath(nombre);
    }

    QByteArray remoto(const QString& ruta) const { return leerArchivo(c.carpeta + u'/' + ruta); }

    Cuenta c;
    clsFTP ftp;
    QTemporaryDir temporal;
    static inline std::map<QString, std::unique_ptr<ServidorFtpDePrueba>> servidores;
    static inline std::unique_ptr<QTemporaryDir> carpetaLocal;
};

// Opens the session on the target, and ends the test when it cannot.
#define ABRIR(cuenta)                                                                                        \
    do {                                                                                                     \
        abrir(cuenta);                                                                                       \
        if (HasFatalFailure() || IsSkipped())                                                                \
            return;                                                                                          \
    } while (false)

// ---- Transfers, folder operations and listings, the same on every kind of target

class EnCadaDestino : public PruebaFtp, public ::testing::WithParamInterface<const char*> {};

// Published over an old file, which the name holds whole until the new one replaces it (looked at
// during the upload), brought back, moved about and listed.
TEST_P(EnCadaDestino, LosBytesLleganIntactosYLasOperacionesSeVenEnElDisco) {
    ABRIR(cuenta(GetParam()));
    const QByteArray bytes = bytesDePrueba(3 * 1024 * 1024 + 100);
    const QString subida = local(u"subida"_s, bytes), bajada = temporal.filePath(u"bajada"_s);
    escribirArchivo(c.carpeta + u"/remoto.bin"_s, "lo de ayer");
    Eventos eventos(ftp);
    QSet<QByteArray> vistos;
    QObject::connect(&ftp, &clsFTP::FileTransferProgress, &ftp, [&](qint32 actual, qint32) {
        if (actual % (1000 * 255) == 0)
            vistos << remoto(u"remoto.bin"_s);
    });
    QString motivo;
    ASSERT_TRUE(publicar(ftp, subida, u"/remoto.bin"_s, &motivo)) << motivo.toStdString();
    EXPECT_EQ(vistos, QSet<QByteArray>{"lo de ayer"});
    EXPECT_EQ(remoto(u"remoto.bin"_s), bytes);
    EXPECT_EQ(QDir(c.carpeta).entryList({u"*remoto*"_s}, QDir::Files | QDir::Hidden),
              QStringList{u"remoto.bin"_s});
    ASSERT_TRUE(ftp.FTPDownloadFile(bajada, u"/remoto.bin"_s)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_EQ(leerArchivo(bajada), bytes);
    const qsizetype porSentido = bytes.size() / 255 + 1;
    ASSERT_EQ(eventos.size(), 2 * porSentido);
    EXPECT_EQ(eventos[porSentido - 1], qMakePair(qint32(bytes.size()), qint32(bytes.size())));
    EXPECT_EQ(eventos.last(), eventos[porSentido - 1]);

    // The single-call pair; the download replaces a local file that is already there.
    ASSERT_TRUE(ftp.SimpleFTPPutFile(subida, u"/simple.bin"_s));
    EXPECT_EQ(remoto(u"simple.bin"_s), bytes);
    escribirArchivo(bajada, "viejo");
    ASSERT_TRUE(ftp.SimpleFTPGetFile(bajada, u"/simple.bin"_s)) << ftp.GetLastErrorMessage().toStdString();
    EXPECT_EQ(leerArchivo(bajada), bytes);

    escribirArchivo(c.carpeta + u"/viejo.txt"_s, "hola");
    EXPECT_TRUE(ftp.CreateFTPDirectory(u"/nueva"_s));
    EXPECT_FALSE(ftp.CreateFTPDirectory(u"/nueva"_s)) << "already there";
    EXPECT_TRUE(ftp.SetFTPDirectory(u"nueva"_s));
    EXPECT_EQ(ftp.GetFTPDirectory(), u"/nueva"_s);
    // Relative paths now start in the new folder.
    EXPECT_TRUE(ftp.RenameFTPFile(u"../viejo.txt"_s, u"nuevo.txt"_s));
    EXPECT_EQ(remoto(u"nueva/nuevo.txt"_s), "hola");
    EXPECT_TRUE(ftp.DeleteFTPFile(u"nuevo.txt"_s));
    EXPECT_TRUE(ftp.SetFTPDirectory(u".."_s));
    EXPECT_EQ(ftp.GetFTPDirectory(), u"/"_s);
    // Nothing is left of the old file and the folder.
    EXPECT_TRUE(ftp.RemoveFTPDirectory(u"nueva"_s));
    EXPECT_EQ(QDir(c.carpeta).entryList({u"nue*"_s, u"viejo*"_s}), QStringList());

    // A refusal is the target's own reply, with its code and nothing else.
    EXPECT_FALSE(ftp.DeleteFTPFile(u"/no-existe.txt"_s));
    const QString negativa = ftp.GetLastErrorMessage();
    EXPECT_TRUE(negativa.startsWith(u"550 "_s) && negativa.endsWith(u"\r\n"_s)) << negativa.toStdString();
    EXPECT_FALSE(ftp.SetFTPDirectory(u"/no-existe"_s));
    EXPECT_EQ(ftp.GetFTPDirectory(), u"/"_s);
    const QString errorPrevio = ftp.GetLastErrorMessage();

    // A folder, a file stamped 2000-01-01 00:00 UTC and a file whose name holds a space.
    QDir(c.carpeta).mkpath(u"lista/Sub"_s);
    escribirArchivo(c.carpeta + u"/lista/b c.csv"_s, bytesDePrueba(300));
    QFile archivo(c.carpeta + u"/lista/a.txt"_s);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly) && archivo.write("12345") == 5 && archivo.flush());
    ASSERT_TRUE(archivo.setFileTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0), QTimeZone::utc()),
                                    QFileDevice::FileModificationTime));
    ASSERT_TRUE(ftp.SetFTPDirectory(u"/lista"_s));
    // Six hours behind UTC, the same instant is six hours earlier on the local clock (ctest runs each
    // test in a process of its own).
    qputenv("TZ", "<-06>6");
    tzset();
    const std::shared_ptr<cDirList> lista = ftp.GetDirectoryListing(u"*"_s);
    ASSERT_TRUE(lista) << ftp.GetLastErrorMessage().toStdString();
    ASSERT_EQ(lista->Count(), 3);
    const cDirItem& a = lista->Item(u"A.TXT"_s);
    EXPECT_EQ(a.Filename, u"a.txt"_s);
    EXPECT_EQ(a.FileSize, 5);
    EXPECT_TRUE(a.Normal && !a.Directory);
    EXPECT_DOUBLE_EQ(a.LastWriteTime, 36525.75);
    EXPECT_TRUE(lista->Item(u"sub"_s).Directory && !lista->Item(u"sub"_s).Normal);
    EXPECT_EQ(lista->Item(u"b c.csv"_s).FileSize, 300);
    EXPECT_EQ(ftp.GetFTPFileSize(u"nada.txt"_s), -1);
    // Nothing that matches is no error.
    EXPECT_EQ(ftp.GetDirectoryListing(u"*.pdf"_s), nullptr);
    EXPECT_EQ(ftp.Directory()->Count(), 0);
    EXPECT_EQ(lista->Count(), 3) << "a list handed out earlier stays as it was";
    EXPECT_EQ(ftp.GetLastErrorMessage(), errorPrevio);
    ftp.CloseConnection();
}

INSTANTIATE_TEST_SUITE_P(Destinos, EnCadaDestino,
                         ::testing::Values("PyftpdlibPasivo", "PyftpdlibActivo", "Vsftpd", "VsftpdTls",
                                           "Carpeta", "CarpetaUrl"),
                         [](const auto& info) { return std::string(info.param); });

// ---- Uploads and downloads on one session

class Subida : public PruebaFtp {};

// One event a whole 255-byte chunk and the last one again at the end; while an upload runs, the session
// refuses other operations.
TEST_F(Subida, UnEventoPorTrozoCompletoYUnoFinalYNadaMasEntretanto) {
    ABRIR(cuenta("PyftpdlibPasivo"));
    const struct {
        qsizetype bytes;
        QList<QPair<qint32, qint32>> eventos;
    } casos[] = {{0, {{0, 0}}},
                 {255, {{255, 255}, {255, 255}}},
                 {256, {{255, 256}, {256, 256}}},
                 {510, {{255, 510}, {510, 510}, {510, 510}}}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.bytes);
        const QString nombre = u"%1.csv"_s.arg(caso.bytes);
        Eventos eventos(ftp);
        EXPECT_TRUE(ftp.FTPUploadFile(local(nombre, bytesDePrueba(caso.bytes)), u'/' + nombre));
        EXPECT_EQ(eventos, caso.eventos);
        EXPECT_TRUE(QFile::exists(c.carpeta + u'/' + nombre));
        EXPECT_EQ(remoto(nombre), bytesDePrueba(caso.bytes));
    }

    bool borrado = true;
    QString mensaje;
    QObject::connect(&ftp, &clsFTP::FileTransferProgress, &ftp, [&](qint32 actual, qint32) {
        if (actual == 255) {
            borrado = ftp.DeleteFTPFile(u"/a"_s);
            mensaje = ftp.GetLastErrorMessage();
        }
    });
    EXPECT_TRUE(ftp.FTPUploadFile(local(u"a"_s, bytesDePrueba(600)), u"/a"_s));
    EXPECT_FALSE(borrado);
    EXPECT_EQ(mensaje, u"DeleteFTPFile error code: 12110 Message: Hay una transferencia de archivo en curso "
                       "en esta conexión.\r\n"_s);
    // Free again once the upload has ended.
    EXPECT_TRUE(ftp.DeleteFTPFile(u"/a"_s));
}

// ---- Opening and closing, and the texts a user reads when they fail

class Sesion : public PruebaFtp {};

TEST_F(Sesion, SinConexionNoHayErrorHastaQueUnaOperacionFalla) {
    ftp.CloseConnection();
    EXPECT_TRUE(ftp.GetLastErrorMessage().isEmpty());
    EXPECT_EQ(ftp.Directory()->Count(), 0);
    EXPECT_EQ(ftp.GetFTPDirectory(), QString());
    EXPECT_EQ(ftp.GetLastErrorMessage(),
              u"FtpGetCurrentDirectory error code: 6 Message: El identificador no es válido.\r\n"_s);
}

struct CasoServidor {
    const char* nombre;
    QString servidor;
    QString mensaje;
    friend void PrintTo(const CasoServidor& caso, std::ostream* os) { *os << caso.nombre; }
};

class ServidorInvalido : public PruebaFtp, public ::testing::WithParamInterface<CasoServidor> {};

TEST_P(ServidorInvalido, ElMensajeLlevaContextoCodigoYTexto) {
    EXPECT_FALSE(ftp.OpenConnection(GetParam().servidor, u"u"_s, u"p"_s));
    EXPECT_EQ(ftp.GetLastErrorMessage(), GetParam().mensaje);
}

quint16 puertoCerrado() {
    QTcpServer sonda;
    sonda.listen(QHostAddress::LocalHost, 0);
    return sonda.serverPort();
}

const QString kConectar = u"InternetConnect error code: "_s;
const QString kEsquema =
    kConectar + u"12006 Message: No se reconoce el esquema de la dirección URL o no se admite.\r\n"_s;
const QString kUrlInvalida = kConectar + u"12005 Message: La dirección URL no es válida.\r\n"_s;

INSTANTIATE_TEST_SUITE_P(
    Direcciones, ServidorInvalido,
    ::testing::Values(
        CasoServidor{"NadieEscucha", u"127.0.0.1:%1"_s.arg(puertoCerrado()),
                     kConectar + u"12029 Message: No se pudo establecer una conexión con el servidor.\r\n"_s},
        CasoServidor{"EsquemaDesconocido", u"sftp://127.0.0.1"_s, kEsquema},
        CasoServidor{"SinEsquema", u"://127.0.0.1"_s, kEsquema},
        CasoServidor{"UrlConRuta", u"ftp://127.0.0.1/carpeta"_s, kUrlInvalida},
        CasoServidor{"PuertoFueraDeRango", u"127.0.0.1:70000"_s, kUrlInvalida},
        CasoServidor{"CarpetaQueNoExiste", u"/no/existe/esta/carpeta"_s,
                     u"550 /no/existe/esta/carpeta: no existe la carpeta de publicación.\r\n"_s}),
    ::testing::PrintToStringParamName());

// One control connection a session, which a second OpenConnection replaces and CloseConnection ends;
// the mode asked for takes effect on the next connection.
TEST_F(Sesion, UnaSesionDeControlPorConexionYNingunaAlCerrar) {
    ABRIR(cuenta("PyftpdlibActivo"));
    const auto veces = [&](const QString& texto) { return c.proceso->registro().count(texto); };
    for (int pasivas = 0; pasivas < 2; ++pasivas) {
        ftp.SetModePassive();
        EXPECT_TRUE(ftp.FTPUploadFile(local(u"a"_s, bytesDePrueba(600)), u"/a"_s));
        EXPECT_EQ(veces(u"<- EPRT"_s), 1);
        EXPECT_EQ(veces(u"<- EPSV"_s), pasivas);
        ASSERT_TRUE(ftp.OpenConnection(c.servidor, c.usuario, c.contrasena));
    }
    EXPECT_EQ(ftp.GetFTPFileSize(u"/a"_s), 600);
    EXPECT_TRUE(ftp.DeleteFTPFile(u"/a"_s));
    ftp.CloseConnection();
    EXPECT_EQ(veces(u"<- USER"_s), 3);
    QElapsedTimer reloj;
    reloj.start();
    while (veces(u"FTP session closed"_s) < 3 && reloj.elapsed() < 3000)
        QThread::msleep(20);
    EXPECT_EQ(veces(u"FTP session closed"_s), 3);
}

TEST_F(Sesion, FtpsCifraAmbosCanalesYCompruebaElCertificado) {
    ABRIR(cuenta("VsftpdTls"));
    ASSERT_TRUE(ftp.FTPUploadFile(local(u"a"_s, "secreto"), u"/a"_s));
    EXPECT_TRUE(c.proceso->registro().contains(u"\"PROT P\""_s));
    // The certificate made for the run is trusted only because the test says so.
    wininet::setCaFile(QString());
    EXPECT_FALSE(ftp.OpenConnection(c.servidor, c.usuario, c.contrasena));
    EXPECT_EQ(ftp.GetLastErrorMessage(), kConectar + u"12045 Message: El certificado del servidor no es de "
                                                     "una entidad emisora de confianza.\r\n"_s);
}

// A session that fails must come back within the time-out, with the time-out's message.
struct Espera : PruebaFtp {
    void SetUp() override { wininet::setLimits({1s, 1s}); }

    void esperarFallo(const char* contexto, const std::function<bool()>& operacion) {
        QElapsedTimer reloj;
        reloj.start();
        EXPECT_FALSE(operacion());
        EXPECT_LT(reloj.elapsed(), 5000);
        EXPECT_EQ(ftp.GetLastErrorMessage(),
                  QLatin1String(contexto) +
                      u" error code: 12002 Message: Se agotó el tiempo de espera de la operación.\r\n"_s);
    }
};

TEST_F(Espera, UnServidorQueAceptaYNuncaContestaNoCuelgaLaConexion) {
    QTcpServer mudo;
    ASSERT_TRUE(mudo.listen(QHostAddress::LocalHost, 0));
    esperarFallo("InternetConnect", [&] {
        return ftp.OpenConnection(u"127.0.0.1:%1"_s.arg(mudo.serverPort()), u"u"_s, u"p"_s);
    });
}

TEST_F(Espera, UnaDescargaDetenidaFalla) {
    ABRIR(cuenta("PyftpdlibPasivo"));
    // More than the sockets' buffers hold, so that the transfer must stall.
    escribirArchivo(c.carpeta + u"/grande"_s, QByteArray(48 * 1024 * 1024, 'x'));
    QObject::connect(&ftp, &clsFTP::FileTransferProgress, &ftp, [&](qint32 actual, qint32) {
        if (actual == 255)
            servidorPy().suspender();
    });
    esperarFallo("InternetReadFile",
                 [&] { return ftp.FTPDownloadFile(temporal.filePath(u"g"_s), u"/grande"_s); });
    servidorPy().reanudar();
}

// ---- Publishing over the file a web shop reads, against servers that fail: every way a server fails
// is a failure told in its words that leaves the old file whole, and a slow line is not a stalled one

struct Caso {
    const char* capricho;
    const char* motivo;            // a pattern of how the reason starts; "" when the file is published
    const char* vaciado = nullptr; // a temporary the server will not delete, which must be left empty
    friend void PrintTo(const Caso& caso, std::ostream* os) { *os << caso.capricho; }
};

class Fallos : public PruebaFtp, public ::testing::WithParamInterface<Caso> {};

std::string nombreDelCaso(const ::testing::TestParamInfo<Caso>& info) {
    return QString::fromLatin1(info.param.capricho).replace(u'-', u'_').toStdString();
}

TEST_P(Fallos, SoloSePublicaLoQueLlegoEnteroYElMotivoEsElDelServidor) {
    const Caso caso = GetParam();
    wininet::setLimits({5s, 1s, 1s});
    ABRIR(cuenta(servidorPy(QString::fromLatin1(caso.capricho))));
    const QRegularExpression esperado(u"^(?:%1)"_s.arg(QString::fromUtf8(caso.motivo)));
    // Under and over the block that the layer hands libcurl at once.
    for (const qsizetype tamano : {10 * 1024, 1024 * 1024 + 7}) {
        SCOPED_TRACE(tamano);
        escribirArchivo(c.carpeta + u"/catalogo.csv"_s, "lo de ayer\r\n");
        const QByteArray nuevo = bytesDePrueba(tamano);
        QString motivo;
        const bool publicado = publicar(ftp, local(u"catalogo.csv"_s, nuevo), u"/catalogo.csv"_s, &motivo);
        EXPECT_EQ(publicado, *caso.motivo == 0) << motivo.toStdString();
        EXPECT_TRUE(*caso.motivo ? esperado.match(motivo).hasMatch() : motivo.isEmpty())
            << motivo.toStdString();
        EXPECT_EQ(remoto(u"catalogo.csv"_s), publicado ? nuevo : "lo de ayer\r\n");
        QStringList quedan{u"catalogo.csv"_s};
        if (caso.vaciado) {
            quedan.prepend(QString::fromLatin1(caso.vaciado));
            EXPECT_EQ(remoto(quedan.first()), "") << "el temporal que no se pudo borrar queda vacío";
        }
        EXPECT_EQ(QDir(c.carpeta).entryList(QDir::Files | QDir::Hidden, QDir::Name), quedan)
            << "sin temporal";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Servidores, Fallos,
    ::testing::Values(Caso{"corta", "426 Connection closed|InternetWriteFile error code: 12030 "},
                      Caso{"426", "426 Connection closed; transfer aborted."},
                      Caso{"451", "451 Local error in processing."}, Caso{"552", "552 Disk quota exceeded."},
                      Caso{"muda", "InternetCloseHandle error code: 12002 Message: Se agotó el tiempo"},
                      Caso{"vacia", "el servidor recibió 0 bytes de "},
                      Caso{"552-a-medias", "552 Disk quota exceeded."},
                      Caso{"stor", "553 Could not create file."},
                      Caso{"sin-pasivo", "502 Passive mode not allowed."}),
    nombreDelCaso);

// The ways a server refuses a name or a rename. Where it said no the file still gets published, the old
// one deleted first only when the server refused to rename onto it; where it went silent or dropped the
// connection, nothing is known of the rename and the published file is left alone.
INSTANTIATE_TEST_SUITE_P(Nombres, Fallos,
                         ::testing::Values(Caso{"sin-renombrar", ""}, Caso{"sin-reemplazar", ""},
                                           Caso{"sin-borrar", ""}, Caso{"sin-punto", ""},
                                           Caso{"sin-renombrar-ni-borrar", "", ".catalogo.csv.subiendo"},
                                           Caso{"rnto-muda", "RenameFTPFile error code: 12002 "},
                                           Caso{"rnto-corta", "RenameFTPFile error code: 12030 "}),
                         nombreDelCaso);

// An upload that keeps moving runs past the stall limit to its end; one that stops fails with the
// time-out soon after.
struct Ritmo {
    const char* nombre;
    const char* capricho;
    int bytesPorSegundo;
    qsizetype bytes;
    // With a one-second reply limit, the closing reply must not wait for bytes queued on our side. At
    // 1 KB/s the server acknowledges a window's worth every second or so, and its own buffer takes seconds.
    wininet::Limits limites;
    bool termina;
    friend void PrintTo(const Ritmo& ritmo, std::ostream* os) { *os << ritmo.nombre; }
};

class Lentitud : public PruebaFtp, public ::testing::WithParamInterface<Ritmo> {};

TEST_P(Lentitud, LoLentoTerminaYLoParadoFalla) {
    const Ritmo r = GetParam();
    wininet::setLimits(r.limites);
    ABRIR(cuenta(servidorPy(QString::fromLatin1(r.capricho), r.bytesPorSegundo)));
    const QByteArray bytes = bytesDePrueba(r.bytes);
    const QString a = local(u"a"_s, bytes);
    QElapsedTimer reloj;
    reloj.start();
    EXPECT_EQ(ftp.FTPUploadFile(a, u"/a"_s), r.termina) << ftp.GetLastErrorMessage().toStdString();
    if (r.termina) {
        EXPECT_GT(reloj.elapsed(), 1500 * r.limites.stall.count()) << "más lento que el límite";
        EXPECT_EQ(remoto(u"a"_s), bytes);
    } else {
        EXPECT_LT(reloj.elapsed(), 4000 * r.limites.stall.count());
        EXPECT_TRUE(ftp.GetLastErrorMessage().contains(u" error code: 12002 "_s))
            << ftp.GetLastErrorMessage().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ritmos, Lentitud,
    ::testing::Values(Ritmo{"A20KBs", "normal", 20 * 1024, 50 * 1024, {5s, 1s, 1s}, true},
                      Ritmo{"A1KBs", "normal", 1024, 4 * 1024, {5s, 5s, 2s}, true},
                      // Through the system's ordinary buffers, which hold tens of kilobytes the server
                      // reads for seconds after the last byte has been acknowledged, and acknowledge in
                      // bursts as they empty by halves.
                      Ritmo{"A32KBsConBuferesDelSistema", "lenta", 32 * 1024, 320 * 1024, {5s, 1s, 5s}, true},
                      Ritmo{"Parada", "parada", 0, 4 * 1024 * 1024, {5s, 1s, 1s}, false}),
    ::testing::PrintToStringParamName());

} // namespace
