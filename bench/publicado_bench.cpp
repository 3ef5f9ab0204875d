// What telling an unchanged catalogue and counting its changes costs, on N products (100,000 by default)
// in MariaDB published to pyftpdlib:
// - the export as a send makes it, alternately with and without the lines handed to the catalogue's
//   fingerprint and the kept publication read, compared and written again, a price changed before each
//   run; against the median of `catalogo-ftp enviar --forzar` of the same changed catalogue;
// - `catalogo-ftp enviar` of a changed and of an unchanged catalogue against a server whose data channel
//   takes 1 MB/s, as a shop's uplink does, alternately.
//
//   build/bench/publicado_bench [productos] [vueltas] [vueltas a 1 MB/s]

#include "app/Arranque.h"
#include "archivos.h"
#include "base_de_bench.h"
#include "components/BasesDD.h"
#include "components/Registro.h"
#include "export/Avance.h"
#include "export/Exportador.h"
#include "export/LoPublicado.h"
#include "ftp_travieso.h"
#include "modulo/Modulo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class SinAvance : public Avance {
public:
    void MostrarLabel3(bool) override {}
    void Label3(const QString&) override {}
    void Label5(const QString&) override {}
    void ProcesarEventos() override {}
    void Pitido() override {}
};

double mediana(std::vector<double> valores) {
    std::sort(valores.begin(), valores.end());
    return valores[valores.size() / 2];
}

double segundosDesde(const QElapsedTimer& reloj) {
    return static_cast<double>(reloj.nsecsElapsed()) / 1e9;
}

// Runs the program; its time in seconds, or a negative one when it failed.
double ejecutar(const QString& programa, const QStringList& argumentos, const QProcessEnvironment& entorno) {
    QProcess proceso;
    proceso.setProcessEnvironment(entorno);
    QElapsedTimer reloj;
    reloj.start();
    proceso.start(programa, argumentos);
    proceso.waitForFinished(-1);
    const double segundos = segundosDesde(reloj);
    if (proceso.exitStatus() != QProcess::NormalExit || proceso.exitCode() != 0) {
        std::fprintf(stderr, "falló: %s %s\n%s", qPrintable(programa), qPrintable(argumentos.join(' ')),
                     proceso.readAllStandardOutput().right(400).constData());
        return -1;
    }
    return segundos;
}

// How long the fingerprint of the export file `ruta` takes, in nanoseconds: each line with its code
// (the first value, between its quotes), as the export hands them over.
qint64 tiempoDeLaHuella(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = archivo.readAll();
    std::vector<std::pair<QByteArrayView, QByteArrayView>> lineas;
    for (qsizetype inicio = 0; inicio < bytes.size();) {
        const qsizetype fin = bytes.indexOf("\r\n", inicio) + 2;
        const QByteArrayView linea = QByteArrayView(bytes).sliced(inicio, fin - inicio);
        lineas.emplace_back(linea.sliced(1, linea.indexOf('"', 1) - 1), linea);
        inicio = fin;
    }
    QElapsedTimer reloj;
    reloj.start();
    HuellaDelCatalogo huella;
    for (const auto& [clave, linea] : lineas)
        huella.agregar(clave, linea);
    return reloj.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList argumentos = app.arguments();
    const auto numero = [&](int i, int siFalta) {
        return argumentos.size() > i ? argumentos[i].toInt() : siFalta;
    };
    const qint32 productos = numero(1, 100000);
    const int vueltas = numero(2, 7);
    const int vueltasLentas = numero(3, 3);
    const QString programa = QCoreApplication::applicationDirPath() + "/../catalogo-ftp";
    const QString base = QStringLiteral("catalogo_bench_%1").arg(QCoreApplication::applicationPid());

    ServidorFtpTravieso ftp(QStringLiteral("normal"));
    ServidorFtpTravieso lento(QStringLiteral("normal"), 1000 * 1000);
    if (!ftp.listo() || !lento.listo()) {
        std::fprintf(stderr, "pyftpdlib: %s\n", qPrintable(ftp.motivo() + lento.motivo()));
        return 1;
    }
    if (!prepararBase(base, productos))
        return 1;
    QSqlQuery cambiar(QSqlDatabase::database("bench"));
    int cambiados = 0;
    // One price changed, a different product each time, so that every send has something to publish.
    const auto cambiarUnPrecio = [&] {
        cambiar.exec(QStringLiteral("UPDATE %1.productos SET Precio3 = Precio3 + 1 WHERE Clave = 'P%2'")
                         .arg(base)
                         .arg(++cambiados % productos + 1, 6, 10, QLatin1Char('0')));
    };

    // A shop set up as a technician would, the same settings under the benchmark's own name for the part
    // that runs here; the enciphering key of a user of its own.
    QTemporaryDir carpeta;
    QTemporaryDir usuario;
    qputenv("XDG_CONFIG_HOME", usuario.path().toUtf8());
    const QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    escribirArchivo(carpeta.filePath("vendalia/Q7K.ini"),
                    "[Q7K]\r\nMySQLServer=127.0.0.1\r\nMySQLPuerto=3306\r\n");
    escribirArchivo(carpeta.filePath("ListaDeCampos.dat"),
                    "Clave\r\nDescrip\r\nMarca\r\nLinea\r\nExistencia\r\nPrecio3\r\n");
    const auto configurar = [&](const ServidorFtp& servidor) {
        return ejecutar(programa,
                        {"configurar", "--carpeta", carpeta.path(), "--ruta-vendalia",
                         carpeta.filePath("vendalia"), "--base", base, "--url", servidor.direccion(),
                         "--usuario", servidor.usuario(), "--contrasena", servidor.contrasena(),
                         "--directorio", "/", "--archivo", "catalogo.csv"},
                        entorno) >= 0;
    };
    if (!configurar(ftp))
        return 1;
    QFile::copy(carpeta.filePath("catalogo-ftp.ini"), carpeta.filePath(nombreDelEjecutable() + ".ini"));
    registrarComponentesDelNucleo();
    if (arrancarNucleo(carpeta.path(), false) != Arranque::listo) {
        std::fprintf(stderr, "el arranque no terminó\n");
        return 1;
    }

    BasesDD& bd = *modulo().oBasesDD;
    ado::Connection conexion;
    bd.AbrirBdD(conexion, bd.cMiBase);
    SinAvance avance;
    const QString exportado = carpeta.filePath("medida.csv");
    const QString guardado = carpeta.filePath("medida.publicado");
    const QByteArray destino = destinoDe(ftp.direccion(), ftp.usuario(), "/catalogo.csv");
    // The totals with and without are seconds long and the machine's load moves them by tenths, so the
    // added work is also timed on its own: the fingerprint of the lines just written (timed in one block,
    // the lines taken from the file beforehand: a clock read per line would cost as much as the work) and
    // the kept publication's handling.
    std::vector<double> sin, con, directo, envios;
    for (int i = 0; i < vueltas; ++i) {
        for (const bool huellaTambien : {false, true}) {
            cambiarUnPrecio();
            HuellaDelCatalogo huella;
            AlEscribirLinea alEscribir;
            if (huellaTambien)
                alEscribir = [&huella](QByteArrayView clave, QByteArrayView linea) {
                    huella.agregar(clave, linea);
                };
            QElapsedTimer reloj;
            reloj.start();
            Exportador(bd, conexion, avance, alEscribir)
                .exportar(modulo().cArchivoProductos, modulo().cArchivoCampos, exportado, nullptr);
            if (huellaTambien) {
                QElapsedTimer estado;
                estado.start();
                LoPublicado anterior;
                const bool habia =
                    leerLoPublicado(guardado, anterior, nullptr) == LecturaDeLoPublicado::leido;
                const LoPublicado* antes = habia ? &anterior : nullptr;
                std::optional<CambiosDelCatalogo> cambios;
                guardarPublicacion(guardado,
                                   publicacionDe(huella, destino, antes, QDateTime::currentDateTimeUtc()),
                                   huella, antes, cambios, nullptr);
                directo.push_back(static_cast<double>(estado.nsecsElapsed()) / 1e9);
            }
            (huellaTambien ? con : sin).push_back(segundosDesde(reloj));
            if (huellaTambien)
                directo.back() += static_cast<double>(tiempoDeLaHuella(exportado)) / 1e9;
        }
        cambiarUnPrecio();
        envios.push_back(ejecutar(programa, {"enviar", "--forzar", "--carpeta", carpeta.path()}, entorno));
    }
    conexion.Close();
    reiniciarModulo();

    // Against a server that takes 1 MB/s: a changed catalogue, then the same one again.
    std::vector<double> cambiado, igual;
    if (!configurar(lento))
        return 1;
    for (int i = 0; i < vueltasLentas; ++i) {
        cambiarUnPrecio();
        cambiado.push_back(ejecutar(programa, {"enviar", "--carpeta", carpeta.path()}, entorno));
        igual.push_back(ejecutar(programa, {"enviar", "--carpeta", carpeta.path()}, entorno));
    }
    borrarBase(base);
    if (std::min({*std::min_element(envios.begin(), envios.end()),
                  *std::min_element(cambiado.begin(), cambiado.end()),
                  *std::min_element(igual.begin(), igual.end())}) < 0)
        return 1;

    const double coste = mediana(directo);
    std::printf("%d productos, %lld bytes; medianas de %d vueltas alternadas\n", productos,
                QFileInfo(exportado).size(), vueltas);
    std::printf("exportación sin huella          %.3f s (mínimo %.3f s)\n", mediana(sin),
                *std::min_element(sin.begin(), sin.end()));
    std::printf("exportación con huella y estado %.3f s (mínimo %.3f s)\n", mediana(con),
                *std::min_element(con.begin(), con.end()));
    std::printf("enviar --forzar                 %.3f s\n", mediana(envios));
    std::printf("decir si cambió y contarlo, medido donde se hace: %.3f s, %.1f %% del envío\n", coste,
                100 * coste / mediana(envios));
    std::printf("a 1 MB/s, medianas de %d vueltas: cambiado %.3f s, sin cambios %.3f s, razón %.2f\n",
                vueltasLentas, mediana(cambiado), mediana(igual), mediana(igual) / mediana(cambiado));
    return 0;
}
