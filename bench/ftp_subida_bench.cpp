// Uploads a 10 MB file to a local FTP server through clsFTP::FTPUploadFile (255-byte chunks, one
// progress event per chunk, waiting events looked at every few milliseconds) and through `curl -T`,
// alternately, and prints the median times and their ratio; all include connecting and logging in. It
// also times what one event-loop pass per chunk would cost on its own, and the same 255-byte writes
// straight through the WinINet layer, with no events.
//
//   build/bench/ftp_subida_bench [vueltas]

#include "ftp/clsFTP.h"
#include "ftp_servidor.h"
#include "ftp_vsftpd.h"
#include "winapi/ansi.h"
#include "winapi/wininet.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr qint64 kBytes = 10 * 1024 * 1024;

double mediana(std::vector<double> tiempos) {
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos[tiempos.size() / 2];
}

double conClsFtp(const ServidorFtpDePrueba& servidor, const QString& local) {
    QElapsedTimer reloj;
    reloj.start();
    clsFTP ftp;
    qint64 eventos = 0;
    QObject::connect(&ftp, &clsFTP::FileTransferProgress, &ftp, [&](qint32, qint32) { ++eventos; });
    ftp.SetModePassive();
    ftp.SetTransferBinary();
    const bool bien = ftp.OpenConnection(servidor.direccion(), servidor.usuario(), servidor.contrasena()) &&
                      ftp.FTPUploadFile(local, QStringLiteral("/clsftp.bin"));
    ftp.CloseConnection();
    const double segundos = reloj.nsecsElapsed() / 1e9;
    if (!bien || eventos != kBytes / 255 + 1 ||
        QFileInfo(servidor.carpeta() + QStringLiteral("/clsftp.bin")).size() != kBytes) {
        std::fprintf(stderr, "la subida con clsFTP falló: %s\n", qUtf8Printable(ftp.GetLastErrorMessage()));
        std::exit(1);
    }
    return segundos;
}

double soloCapa(const ServidorFtpDePrueba& servidor, const QString& local) {
    using namespace wininet;
    QElapsedTimer reloj;
    reloj.start();
    QFile archivo(local);
    archivo.open(QIODevice::ReadOnly);
    HINTERNET sesion = InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET conexion = InternetConnectA(
        sesion, aAnsi(servidor.direccion()).constData(), 0, aAnsi(servidor.usuario()).constData(),
        aAnsi(servidor.contrasena()).constData(), INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
    HINTERNET remoto = FtpOpenFileA(conexion, "/capa.bin", GENERIC_WRITE, FTP_TRANSFER_TYPE_BINARY, 0);
    char trozo[255];
    DWORD escritos = 0;
    bool bien = remoto != nullptr;
    for (qint64 leidos; bien && (leidos = archivo.read(trozo, sizeof trozo)) > 0;)
        bien = InternetWriteFile(remoto, trozo, static_cast<DWORD>(leidos), &escritos);
    bien = bien && InternetCloseHandle(remoto);
    InternetCloseHandle(sesion);
    const double segundos = reloj.nsecsElapsed() / 1e9;
    if (!bien || QFileInfo(servidor.carpeta() + QStringLiteral("/capa.bin")).size() != kBytes) {
        std::fprintf(stderr, "la subida por la capa falló: %u\n", kernel32::GetLastError());
        std::exit(1);
    }
    return segundos;
}

double soloBucleDeEventos() {
    QElapsedTimer reloj;
    reloj.start();
    for (qint64 i = 0; i < kBytes / 255; ++i)
        QCoreApplication::processEvents();
    return reloj.nsecsElapsed() / 1e9;
}

double conCurl(const ServidorFtpDePrueba& servidor, const QString& local) {
    QProcess curl;
    QElapsedTimer reloj;
    reloj.start();
    curl.start(QStringLiteral("curl"),
               {QStringLiteral("-sS"), QStringLiteral("--user"),
                servidor.usuario() + u':' + servidor.contrasena(), QStringLiteral("-T"), local,
                QStringLiteral("ftp://%1/curl.bin").arg(servidor.direccion())});
    curl.waitForFinished(60000);
    const double segundos = reloj.nsecsElapsed() / 1e9;
    if (curl.exitCode() != 0 ||
        QFileInfo(servidor.carpeta() + QStringLiteral("/curl.bin")).size() != kBytes) {
        std::fprintf(stderr, "curl falló: %s\n", curl.readAllStandardError().constData());
        std::exit(1);
    }
    return segundos;
}

void medir(const char* nombre, const ServidorFtpDePrueba& servidor, const QString& local, int vueltas) {
    if (!servidor.listo()) {
        std::printf("%-10s no disponible: %s\n", nombre,
                    qUtf8Printable(servidor.motivo().section(u'\n', 0, 0)));
        return;
    }
    std::vector<double> nuestro, curl, capa, bucle;
    for (int i = 0; i < vueltas; ++i) {
        nuestro.push_back(conClsFtp(servidor, local));
        curl.push_back(conCurl(servidor, local));
        capa.push_back(soloCapa(servidor, local));
        bucle.push_back(soloBucleDeEventos());
    }
    const double a = mediana(nuestro);
    const double b = mediana(curl);
    std::printf("%-10s FTPUploadFile %.3f s   curl -T %.3f s   razón %.2f\n", nombre, a, b, a / b);
    std::printf(
        "%-10s (las %lld pasadas del bucle de eventos solas: %.3f s; la capa WinINet sola, en trozos de "
        "255 y sin eventos: %.3f s, razón %.2f)\n",
        "", kBytes / 255, mediana(bucle), mediana(capa), mediana(capa) / b);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int vueltas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir temporal;
    const QString local = temporal.filePath(QStringLiteral("10MB.bin"));
    QFile archivo(local);
    if (!archivo.open(QIODevice::WriteOnly))
        return 1;
    QByteArray bytes(kBytes, Qt::Uninitialized);
    for (qint64 i = 0; i < kBytes; ++i)
        bytes[i] = static_cast<char>(i * 131 + (i >> 11));
    archivo.write(bytes);
    archivo.close();

    std::printf("10 MB, mediana de %d vueltas\n", vueltas);
    medir("pyftpdlib", ServidorFtp(), local, vueltas);
    medir("vsftpd", ServidorVsftpd(), local, vueltas);
    return 0;
}
