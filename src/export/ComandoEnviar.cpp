#include "export/ComandoEnviar.h"

#include "export/AvanceEnConsola.h"
#include "export/clsDeProductos.h"
#include "modulo/Arranque.h"
#include "modulo/Modulo.h"

#include <QCommandLineParser>

namespace {

int salidaDe(clsDeProductos::Resultado resultado) {
    switch (resultado) {
    case clsDeProductos::Resultado::Enviado:
        return salida::kEnviado;
    case clsDeProductos::Resultado::SinBaseDeDatos:
        return salida::kSinBaseDeDatos;
    case clsDeProductos::Resultado::ArchivoIncompleto:
        return salida::kArchivoIncompleto;
    case clsDeProductos::Resultado::SinConexionFtp:
        return salida::kSinConexionFtp;
    case clsDeProductos::Resultado::OtroEnvio:
        return salida::kOtroEnvio;
    case clsDeProductos::Resultado::SubidaFallida:
    case clsDeProductos::Resultado::SinEnviar:
        break;
    }
    return salida::kSubidaFallida;
}

} // namespace

int EnviarUnaVez(QTextStream& salida) {
    AvanceEnConsola avance(salida);
    clsDeProductos envio(avance);
    envio.CrearArchivo();
    if (envio.resultado() == clsDeProductos::Resultado::Enviado)
        salida << "Enviado: " << modulo().cDirectorioFTP << modulo().cArchivoFTP << Qt::endl;
    else
        salida << "No se envió: " << envio.detalle() << Qt::endl;
    return salidaDe(envio.resultado());
}

bool leerSoloCarpeta(const QStringList& argumentos, const QString& comando, QString& carpeta) {
    QCommandLineParser opciones;
    const QCommandLineOption opcionCarpeta(QStringLiteral("carpeta"), QString(), QStringLiteral("DIR"));
    opciones.addOption(opcionCarpeta);
    if (!opciones.parse(QStringList{QStringLiteral("catalogo-ftp")} + argumentos) ||
        !opciones.positionalArguments().isEmpty()) {
        QTextStream(stderr) << "uso: catalogo-ftp " << comando << " [--carpeta DIR]\n";
        return false;
    }
    carpeta = opciones.value(opcionCarpeta);
    return true;
}

int ComandoEnviar(const QStringList& argumentos) {
    QString carpeta;
    if (!leerSoloCarpeta(argumentos, QStringLiteral("enviar"), carpeta))
        return salida::kMalUso;
    QTextStream salida(stdout);
    const Arranque arranque = arrancarNucleo(carpetaDelPrograma(carpeta), false);
    int estado = salida::kSinArranque;
    if (arranque == Arranque::listo)
        estado = EnviarUnaVez(salida);
    else if (arranque == Arranque::carpetaInexistente)
        QTextStream(stderr) << "catalogo-ftp enviar: no existe la carpeta " << carpeta << '\n';
    // Components and the database connection go before the application object does.
    reiniciarModulo();
    return estado;
}
