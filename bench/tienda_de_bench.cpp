#include "tienda_de_bench.h"

#include "ftp_servidor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

bool escribir(const QString& ruta, const QByteArray& bytes) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::WriteOnly) && archivo.write(bytes) == bytes.size();
}

} // namespace

bool prepararTienda(const QString& programa, const QString& carpeta, const QString& base,
                    const ServidorFtpDePrueba& ftp, const QProcessEnvironment& entorno) {
    QDir().mkpath(carpeta + "/vendalia");
    if (!escribir(carpeta + "/vendalia/Q7K.ini", "[Q7K]\r\nMySQLServer=127.0.0.1\r\nMySQLPuerto=3306\r\n") ||
        !escribir(carpeta + "/ListaDeCampos.dat", kCamposDeBench))
        return false;
    QProcess configurar;
    configurar.setProcessEnvironment(entorno);
    configurar.start(programa,
                     {"configurar", "--carpeta", carpeta, "--ruta-vendalia", carpeta + "/vendalia", "--base",
                      base, "--url", ftp.direccion(), "--usuario", ftp.usuario(), "--contrasena",
                      ftp.contrasena(), "--directorio", "/", "--archivo", "catalogo.csv"});
    return configurar.waitForFinished(-1) && configurar.exitCode() == 0;
}

Corrida leerCorrida(int argc, char** argv) {
    Corrida corrida;
    // At least one product and one run: a median of no runs is none.
    if (argc > 1)
        corrida.productos = std::max(1, QString(argv[1]).toInt());
    if (argc > 2)
        corrida.vueltas = std::max(1, QString(argv[2]).toInt());
    corrida.programa = QCoreApplication::applicationDirPath() + "/../catalogo-ftp";
    corrida.base = QStringLiteral("catalogo_bench_%1").arg(QCoreApplication::applicationPid());
    return corrida;
}

bool ftpListo(const ServidorFtpDePrueba& ftp) {
    if (!ftp.listo())
        std::fprintf(stderr, "pyftpdlib: %s\n", qPrintable(ftp.motivo()));
    return ftp.listo();
}

void cambiarUnPrecio(const QString& base) {
    QSqlQuery(QSqlDatabase::database("bench"))
        .exec("UPDATE " + base + ".productos SET Precio3 = Precio3 + 0.01 WHERE Clave = 'P000001'");
}

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

double mediana(std::vector<double> valores) {
    std::sort(valores.begin(), valores.end());
    return valores[valores.size() / 2];
}
