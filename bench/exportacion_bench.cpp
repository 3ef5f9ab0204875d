// Publishes a catalogue of N products (100,000 by default) from MariaDB to a local FTP server three
// ways, in alternating runs, with one price changed before each so that every send has something new:
// `catalogo-ftp enviar` (fields Clave, Descrip, Marca, Linea, Existencia, Precio3); the same with a
// product list of every code in random order; and a pipeline of the `mariadb` client (one SELECT with
// the joins, batch output) into `curl -T`. Prints the medians, their ratios, the peak memory (largest
// resident set) of each, and the machine's load before and after.
//
//   build/bench/exportacion_bench [productos] [vueltas]

#include "base_de_bench.h"
#include "components/EsquemaPuntoDeVenta.h"
#include "export/ListasDeArchivo.h"
#include "ftp_servidor.h"
#include "tienda_de_bench.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>

namespace {

struct Forma {
    const char* nombre;
    std::vector<double> segundos;
    qint64 memoriaKb = 0;
};

QByteArray carga() {
    QFile archivo("/proc/loadavg");
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll().split(' ').mid(0, 3).join(' ') : "?";
}

// The lines of a published file in one order, to compare two files that list the same products.
QList<QByteArray> lineasOrdenadas(const QString& ruta) {
    QFile archivo(ruta);
    archivo.open(QIODevice::ReadOnly);
    QList<QByteArray> lineas = archivo.readAll().split('\n');
    std::sort(lineas.begin(), lineas.end());
    return lineas;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto [productos, vueltas, programa, base] = leerCorrida(argc, argv);
    ServidorFtp ftp;
    if (!ftpListo(ftp))
        return 1;
    QElapsedTimer reloj;
    reloj.start();
    if (!prepararBase(base, productos))
        return 1;
    std::printf("%d productos en MariaDB en %.1f s\n", productos,
                static_cast<double>(reloj.elapsed()) / 1000);

    QTemporaryDir carpeta;
    QTemporaryDir usuario;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("XDG_CONFIG_HOME", usuario.path());
    if (!prepararTienda(programa, carpeta.path(), base, ftp, entorno)) {
        std::fprintf(stderr, "configurar falló\n");
        return 1;
    }
    // Every code once, in random order, kept aside and put in place for the runs with a list.
    QList<ProductoDeLista> lista;
    for (qint32 i = 1; i <= productos; ++i)
        lista.append({puntoDeVenta::productoDeMuestra(i).Clave, puntoDeVenta::productoDeMuestra(i).Descrip});
    std::shuffle(lista.begin(), lista.end(), std::mt19937(7));
    const QString listaAparte = carpeta.filePath("lista.dat");
    const QString listaDeLaTienda = carpeta.filePath("ListaProductosReja.dat");
    escribirListaDeProductos(listaAparte, lista);
    lista.clear();

    const QString consulta =
        "SELECT p.Clave, p.Descrip, m.Marca, l.Linea, p.Existencia, p.Precio3 FROM productos p "
        "LEFT JOIN marcas m ON m.Id = p.Marca LEFT JOIN lineas l ON l.Id = p.Linea ORDER BY p.Clave";
    const QString tuberia =
        QStringLiteral("mariadb -h127.0.0.1 -uroot --batch --skip-column-names -e '%1' %2 | "
                       "curl -s -S -T - ftp://%3:%4@%5/tuberia.csv")
            .arg(consulta, base, ftp.usuario(), ftp.contrasena(), ftp.direccion());
    const QStringList enviar = {"enviar", "--carpeta", carpeta.path()};

    const QByteArray cargaAntes = carga();
    Forma sinLista{"catalogo-ftp enviar", {}};
    Forma conLista{"catalogo-ftp enviar, con lista", {}};
    Forma laTuberia{"mariadb | curl -T", {}};
    QString publicadoConLista = carpeta.filePath("con-lista.csv");
    const auto correr = [&](Forma& forma, const QString& orden, const QStringList& argumentos) {
        cambiarUnPrecio(base);
        const Medida medida = medir(orden, argumentos, entorno);
        forma.segundos.push_back(medida.segundos);
        forma.memoriaKb = std::max(forma.memoriaKb, medida.memoriaKb);
        return medida.bien;
    };
    for (int i = 0; i < vueltas; ++i) {
        bool bien = correr(sinLista, programa, enviar) && QFile::copy(listaAparte, listaDeLaTienda) &&
                    correr(conLista, programa, enviar);
        QFile::remove(publicadoConLista);
        bien = bien && QFile::copy(ftp.carpeta() + "/catalogo.csv", publicadoConLista) &&
               QFile::remove(listaDeLaTienda) && correr(laTuberia, "/bin/bash", {"-c", tuberia});
        if (!bien) {
            borrarBase(base);
            return 1;
        }
    }
    const QString publicado = ftp.carpeta() + "/catalogo.csv";
    const qint64 bytes = QFileInfo(publicado).size();
    const bool mismasLineas = lineasOrdenadas(publicado) == lineasOrdenadas(publicadoConLista);
    borrarBase(base);

    std::printf("%d productos, %lld bytes publicados, mediana de %d vueltas alternadas; carga %s, luego %s\n",
                productos, bytes, vueltas, cargaAntes.constData(), carga().constData());
    for (const Forma* forma : {&sinLista, &conLista, &laTuberia})
        std::printf("%-32s %.3f s   memoria máxima %lld KB\n", forma->nombre, mediana(forma->segundos),
                    forma->memoriaKb);
    std::printf(
        "razón enviar / tubería %.2f; con lista / sin lista %.2f; la lista da las mismas líneas: %s\n",
        mediana(sinLista.segundos) / mediana(laTuberia.segundos),
        mediana(conLista.segundos) / mediana(sinLista.segundos), mismasLineas ? "sí" : "NO");
    return mismasLineas ? 0 : 1;
}
