// Publishes a catalogue of N products (100,000 by default) from MariaDB to a local FTP server with
// `catalogo-ftp enviar` (fields Clave, Descrip, Marca, Linea, Existencia, Precio3), and beside it with
// a pipeline of the `mariadb` client (one SELECT with the joins, batch output) into `curl -T`, in
// alternating runs; prints both medians, their ratio and the peak memory (largest resident set) of each.
//
//   build/bench/exportacion_bench [productos] [vueltas]

#include "base_de_bench.h"
#include "ftp_servidor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Medida {
    double segundos = 0;
    qint64 memoriaKb = 0;
    bool bien = false;
};

double mediana(std::vector<double> valores) {
    std::sort(valores.begin(), valores.end());
    return valores[valores.size() / 2];
}

// Runs a command under /usr/bin/time, which reports the largest resident set of it and its children.
Medida medir(const QString& programa, const QStringList& argumentos, const QProcessEnvironment& entorno) {
    QTemporaryDir temporal;
    const QString informe = temporal.filePath("time");
    QProcess proceso;
    proceso.setProcessEnvironment(entorno);
    proceso.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer reloj;
    reloj.start();
    proceso.start("/usr/bin/time", QStringList{"-f", "%M", "-o", informe, programa} + argumentos);
    proceso.waitForFinished(-1);
    Medida medida;
    medida.segundos = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
    medida.bien = proceso.exitStatus() == QProcess::NormalExit && proceso.exitCode() == 0;
    QFile archivo(informe);
    if (archivo.open(QIODevice::ReadOnly))
        medida.memoriaKb = archivo.readAll().trimmed().split('\n').last().toLongLong();
    if (!medida.bien)
        std::fprintf(stderr, "falló: %s\n%s", qPrintable(programa),
                     proceso.readAllStandardError().constData());
    return medida;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint32 productos = argc > 1 ? QString(argv[1]).toInt() : 100000;
    const int vueltas = argc > 2 ? QString(argv[2]).toInt() : 5;
    const QString programa = QCoreApplication::applicationDirPath() + "/../catalogo-ftp";
    const QString base = QStringLiteral("catalogo_bench_%1").arg(QCoreApplication::applicationPid());

    ServidorFtp ftp;
    if (!ftp.listo()) {
        std::fprintf(stderr, "pyftpdlib: %s\n", qPrintable(ftp.motivo()));
        return 1;
    }
    QElapsedTimer reloj;
    reloj.start();
    if (!prepararBase(base, productos))
        return 1;
    std::printf("%d productos en MariaDB en %.1f s\n", productos,
                static_cast<double>(reloj.elapsed()) / 1000);

    // A shop set up as a technician would: the point-of-sale's settings and `configurar`.
    QTemporaryDir carpeta;
    QTemporaryDir usuario;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("XDG_CONFIG_HOME", usuario.path());
    QDir().mkpath(carpeta.filePath("vendalia"));
    QFile q7k(carpeta.filePath("vendalia/Q7K.ini"));
    q7k.open(QIODevice::WriteOnly);
    q7k.write("[Q7K]\r\nMySQLServer=127.0.0.1\r\nMySQLPuerto=3306\r\n");
    q7k.close();
    QFile campos(carpeta.filePath("ListaDeCampos.dat"));
    campos.open(QIODevice::WriteOnly);
    campos.write("Clave\r\nDescrip\r\nMarca\r\nLinea\r\nExistencia\r\nPrecio3\r\n");
    campos.close();
    QProcess configurar;
    configurar.setProcessEnvironment(entorno);
    configurar.start(programa, {"configurar", "--carpeta", carpeta.path(), "--ruta-vendalia",
                                carpeta.filePath("vendalia"), "--base", base, "--url", ftp.direccion(),
                                "--usuario", ftp.usuario(), "--contrasena", ftp.contrasena(), "--directorio",
                                "/", "--archivo", "catalogo.csv"});
    configurar.waitForFinished(-1);

    const QString consulta =
        "SELECT p.Clave, p.Descrip, m.Marca, l.Linea, p.Existencia, p.Precio3 FROM productos p "
        "LEFT JOIN marcas m ON m.Id = p.Marca LEFT JOIN lineas l ON l.Id = p.Linea ORDER BY p.Clave";
    const QString tuberia =
        QStringLiteral("mariadb -h127.0.0.1 -uroot --batch --skip-column-names -e '%1' %2 | "
                       "curl -s -S -T - ftp://%3:%4@%5/tuberia.csv")
            .arg(consulta, base, ftp.usuario(), ftp.contrasena(), ftp.direccion());

    std::vector<double> nuestros, suyos;
    qint64 memoriaNuestra = 0, memoriaSuya = 0;
    for (int i = 0; i < vueltas; ++i) {
        const Medida enviar = medir(programa, {"enviar", "--carpeta", carpeta.path()}, entorno);
        const Medida otra = medir("/bin/bash", {"-c", tuberia}, entorno);
        if (!enviar.bien || !otra.bien) {
            borrarBase(base);
            return 1;
        }
        nuestros.push_back(enviar.segundos);
        suyos.push_back(otra.segundos);
        memoriaNuestra = std::max(memoriaNuestra, enviar.memoriaKb);
        memoriaSuya = std::max(memoriaSuya, otra.memoriaKb);
    }
    const qint64 bytes = QFileInfo(ftp.carpeta() + "/catalogo.csv").size();
    borrarBase(base);

    std::printf("%d productos, %lld bytes publicados, mediana de %d vueltas alternadas\n", productos, bytes,
                vueltas);
    std::printf("catalogo-ftp enviar      %.3f s   memoria máxima %lld KB\n", mediana(nuestros),
                memoriaNuestra);
    std::printf("mariadb | curl -T        %.3f s   memoria máxima %lld KB\n", mediana(suyos), memoriaSuya);
    std::printf("razón %.2f\n", mediana(nuestros) / mediana(suyos));
    return 0;
}
