#pragma once
// A shop as a technician sets it up, for the benchmarks that run the program itself: a program folder
// whose point-of-sale installation points at a MariaDB database of the benchmark's, and settings made
// with `catalogo-ftp configurar` for an FTP server. Also how a run is timed and measured.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <vector>

class ServidorFtpDePrueba;

// The fields every benchmark exports: two of them reference columns.
inline constexpr char kCamposDeBench[] = "Clave\r\nDescrip\r\nMarca\r\nLinea\r\nExistencia\r\nPrecio3\r\n";

// Lays out `carpeta` for database `base` and the server, with kCamposDeBench; false when `configurar`
// failed. The user's enciphering key goes where `entorno` says (XDG_CONFIG_HOME).
bool prepararTienda(const QString& programa, const QString& carpeta, const QString& base,
                    const ServidorFtpDePrueba& ftp, const QProcessEnvironment& entorno);

// What a benchmark of `catalogo-ftp` itself runs: `[productos] [vueltas]` from its command line (100,000
// and 5 by default), the program beside the benchmarks' folder, and a database name of its own.
struct Corrida {
    qint32 productos = 100000;
    int vueltas = 5;
    QString programa;
    QString base;
};
// Once the application object exists.
Corrida leerCorrida(int argc, char** argv);

// Whether the FTP server started; says why not on standard error.
bool ftpListo(const ServidorFtpDePrueba& ftp);

// Changes one price of database `base`, so that the next send has something new to publish.
void cambiarUnPrecio(const QString& base);

struct Medida {
    double segundos = 0;
    qint64 memoriaKb = 0; // the largest resident set of the command and its children
    bool bien = false;
};

// Runs a command to its end under /usr/bin/time; its output is dropped, its errors shown when it fails.
Medida medir(const QString& programa, const QStringList& argumentos, const QProcessEnvironment& entorno);

double mediana(std::vector<double> valores);
