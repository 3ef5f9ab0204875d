// Publishing over the file a web shop reads, against servers that fail: every way a server fails is a
// failure told in its words that leaves the old file whole, and a slow line is not a stalled one.

#include "ftp/Publicacion.h"
#include "ftp_comun.h"
#include "ftp_travieso.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <map>

namespace {

const QByteArray kAnterior = "lo de ayer\r\n";

// One misbehaving server per way of failing, started on first use and kept for the suite.
class ConTravieso : public PruebaFtp {
public:
    static void TearDownTestSuite() {
        traviesos.clear();
        PruebaFtp::TearDownTestSuite();
    }

protected:
    static Cuenta travieso(const QString& capricho, int bytesPorSegundo = 0) {
        auto& s = traviesos[capricho + QString::number(bytesPorSegundo)];
        if (!s)
            s = std::make_unique<ServidorFtpTravieso>(capricho, bytesPorSegundo);
        return {s->direccion(), s->usuario(), s->contrasena(), s->carpeta(), false, s.get()};
    }

    static inline std::map<QString, std::unique_ptr<ServidorFtpTravieso>> traviesos;
};

struct Caso {
    const char* capricho;
    const char* motivo; // a pattern of how the reason starts; "" when the file is published
};

class Fallos : public ConTravieso, public ::testing::WithParamInterface<std::tuple<Caso, qsizetype>> {};

TEST_P(Fallos, SoloSePublicaLoQueLlegoEnteroYElMotivoEsElDelServidor) {
    const auto [caso, tamano] = GetParam();
    wininet::setLimits({5s, 1s, 1s});
    const Cuenta c = travieso(QString::fromLatin1(caso.capricho));
    clsFTP ftp;
    ABRIR(ftp, c);
    escribir(c.carpeta + QStringLiteral("/catalogo.csv"), kAnterior);
    QTemporaryDir local;
    const QByteArray nuevo = bytesDePrueba(tamano);
    escribir(local.filePath(QStringLiteral("catalogo.csv")), nuevo);
    QString motivo;

    const bool publicado = publicar(ftp, local.filePath(QStringLiteral("catalogo.csv")),
                                    QStringLiteral("/catalogo.csv"), motivo);

    EXPECT_EQ(publicado, *caso.motivo == 0) << motivo.toStdString();
    const QRegularExpression esperado(QStringLiteral("^(?:%1)").arg(QString::fromUtf8(caso.motivo)));
    EXPECT_TRUE(*caso.motivo ? esperado.match(motivo).hasMatch() : motivo.isEmpty()) << motivo.toStdString();
    EXPECT_EQ(leer(c.carpeta + QStringLiteral("/catalogo.csv")), publicado ? nuevo : kAnterior);
    EXPECT_EQ(QDir(c.carpeta).entryList(QDir::Files | QDir::Hidden), QStringList{"catalogo.csv"})
        << "sin temporal";
}

INSTANTIATE_TEST_SUITE_P(
    Servidores, Fallos,
    ::testing::Combine(
        ::testing::Values(Caso{"corta", "426 Connection closed|InternetWriteFile error code: 12030 "},
                          Caso{"426", "426 Connection closed; transfer aborted."},
                          Caso{"451", "451 Local error in processing."},
                          Caso{"552", "552 Disk quota exceeded."},
                          Caso{"muda", "InternetCloseHandle error code: 12002 Message: Se agotó el tiempo"},
                          Caso{"stor", "553 Could not create file."},
                          Caso{"sin-pasivo", "502 Passive mode not allowed."}, Caso{"sin-renombrar", ""},
                          Caso{"sin-reemplazar", ""}),
        // Under and over the block that the layer hands libcurl at once.
        ::testing::Values(qsizetype(10 * 1024), qsizetype(1024 * 1024 + 7))),
    [](const auto& info) {
        QString nombre = QString::fromLatin1(std::get<0>(info.param).capricho) +
                         (std::get<1>(info.param) > 256 * 1024 ? "_Grande" : "_Pequeno");
        return nombre.replace(u'-', u'_').toStdString();
    });

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
};

class Lentitud : public ConTravieso, public ::testing::WithParamInterface<Ritmo> {};

TEST_P(Lentitud, LoLentoTerminaYLoParadoFalla) {
    const Ritmo r = GetParam();
    wininet::setLimits(r.limites);
    const Cuenta c = travieso(QString::fromLatin1(r.capricho), r.bytesPorSegundo);
    clsFTP ftp;
    ABRIR(ftp, c);
    QTemporaryDir local;
    const QByteArray bytes = bytesDePrueba(r.bytes);
    escribir(local.filePath(QStringLiteral("a")), bytes);
    QElapsedTimer reloj;
    reloj.start();

    const bool subido = ftp.FTPUploadFile(local.filePath(QStringLiteral("a")), QStringLiteral("/a"));

    EXPECT_EQ(subido, r.termina) << ftp.GetLastErrorMessage().toStdString();
    if (r.termina) {
        EXPECT_GT(reloj.elapsed(), 1500 * r.limites.stall.count()) << "más lento que el límite";
        EXPECT_EQ(leer(c.carpeta + QStringLiteral("/a")), bytes);
    } else {
        EXPECT_LT(reloj.elapsed(), 4000 * r.limites.stall.count());
        EXPECT_TRUE(ftp.GetLastErrorMessage().contains(QStringLiteral(" error code: 12002 ")))
            << ftp.GetLastErrorMessage().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ritmos, Lentitud,
    ::testing::Values(Ritmo{"A20KBs", "normal", 20 * 1024, 50 * 1024, {5s, 1s, 1s}, true},
                      Ritmo{"A1KBs", "normal", 1024, 4 * 1024, {5s, 5s, 2s}, true},
                      Ritmo{"Parada", "parada", 0, 4 * 1024 * 1024, {5s, 1s, 1s}, false}),
    [](const auto& info) { return std::string(info.param.nombre); });

} // namespace
