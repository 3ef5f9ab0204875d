#include "app/Demo.h"

#include "app/Arranque.h"
#include "app/ComandoEnviar.h"
#include "app/LineaDeComandos.h"
#include "components/EsquemaPuntoDeVenta.h"
#include "config/Configuracion.h"
#include "modulo/ArchivosDelPrograma.h"
#include "modulo/Modulo.h"
#include "winapi/ansi.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QUrl>

namespace {

constexpr qint32 kProductosDeDemo = 3000;
constexpr int kLineasMostradas = 5;

QString carpetaVendalia(const QString& carpeta) {
    return carpeta + QStringLiteral("/vendalia");
}
QString carpetaSitio(const QString& carpeta) {
    return carpeta + QStringLiteral("/sitio-ftp");
}

// The settings a shop owner would type on the configuration tab, pointing at the sample shop.
bool escribirConfiguracion(const QString& carpeta, QString* error) {
    if (!prepararCarpeta(carpeta) || !crearComponentes(false)) {
        *error = QStringLiteral("no se pudo preparar la carpeta del programa");
        return false;
    }
    Modulo& m = modulo();
    m.oKtfa->EscribeIni(claves::kSeccion, claves::kRutaVendalia,
                        QDir::toNativeSeparators(carpetaVendalia(carpeta)), m.cArchivoINI);
    CajasDeConfiguracion cajas;
    enCaja(cajas, claves::kBase) = QStringLiteral("datos1");
    enCaja(cajas, claves::kIntervalo) = QStringLiteral("5");
    enCaja(cajas, claves::kArchivo) = QStringLiteral("productos.csv");
    enCaja(cajas, claves::kUsuario) = QStringLiteral("demo");
    enCaja(cajas, claves::kURL) = QUrl::fromLocalFile(carpetaSitio(carpeta)).toString();
    enCaja(cajas, claves::kContrasena) = QStringLiteral("demo");
    enCaja(cajas, claves::kDirectorio) = QStringLiteral("/catalogo/");
    GrabarConfiguracion(cajas);
    const bool escrito = QFile::exists(m.cArchivoINI);
    reiniciarModulo();
    if (!escrito)
        *error = QStringLiteral("no se pudo escribir el archivo de configuración");
    return escrito;
}

} // namespace

QString archivoPublicadoDeDemo(const QString& carpeta) {
    return carpetaSitio(carpeta) + QStringLiteral("/catalogo/productos.csv");
}

bool prepararDemo(const QString& carpeta, QString* error) {
    const QString vendalia = carpetaVendalia(carpeta);
    if (!QDir().mkpath(vendalia) || !QDir().mkpath(carpetaSitio(carpeta) + QStringLiteral("/catalogo"))) {
        *error = QStringLiteral("no se pudo crear la carpeta ") + carpeta;
        return false;
    }
    const QString catalogo = vendalia + QStringLiteral("/datos1.sqlite");
    if (!QFile::exists(catalogo) && !puntoDeVenta::crearCatalogoSQLite(catalogo, kProductosDeDemo, error))
        return false;
    // The point-of-sale's own settings: its database is the SQLite file above. The rest of its MySQL
    // settings are completed by the program at start-up, as for a real installation.
    QFile q7k(vendalia + QStringLiteral("/Q7K.ini"));
    if (!q7k.exists()) {
        if (!q7k.open(QIODevice::WriteOnly)) {
            *error = q7k.errorString();
            return false;
        }
        q7k.write(QByteArrayLiteral("[Q7K]\r\nMySQLServer=sqlite:") +
                  QDir::toNativeSeparators(vendalia).toUtf8() + QByteArrayLiteral("\r\n"));
        q7k.close();
    }
    if (!QFile::exists(archivos::en(carpeta, archivos::ajustes(nombreDelEjecutable()))))
        return escribirConfiguracion(carpeta, error);
    return true;
}

int ComandoDemo(const LineaDeComandos& linea) {
    const QString& dada = linea.carpeta;
    QTextStream salida(stdout);
    if (!dada.isEmpty() && !QDir().mkpath(dada)) {
        QTextStream(stderr) << "catalogo-ftp demo: no se pudo crear la carpeta " << dada << '\n';
        return salida::kSinArranque;
    }
    const QString carpeta = carpetaDelPrograma(dada);
    QString error;
    if (!prepararDemo(carpeta, &error)) {
        QTextStream(stderr) << "catalogo-ftp demo: " << error << '\n';
        return salida::kSinArranque;
    }
    salida << "Tienda de demostración en " << QDir::toNativeSeparators(carpeta) << Qt::endl;
    if (arrancarNucleo(carpeta, false) != Arranque::listo) {
        reiniciarModulo();
        return salida::kSinArranque;
    }
    const int estado = EnviarUnaVez(salida);
    reiniciarModulo();
    if (estado != salida::kHecho)
        return estado;

    QFile publicado(archivoPublicadoDeDemo(carpeta));
    salida << "\nArchivo publicado: " << QDir::toNativeSeparators(publicado.fileName()) << Qt::endl;
    if (publicado.open(QIODevice::ReadOnly))
        for (int i = 0; i < kLineasMostradas && !publicado.atEnd(); ++i)
            salida << "  " << desdeAnsi(publicado.readLine()).trimmed() << Qt::endl;
    return estado;
}
