#include "app/ComandoEnviar.h"

#include "app/Arranque.h"
#include "app/AvanceEnConsola.h"
#include "app/LineaDeComandos.h"
#include "export/clsDeProductos.h"
#include "modulo/Modulo.h"

namespace {

int salidaDe(clsDeProductos::Resultado resultado) {
    switch (resultado) {
    case clsDeProductos::Resultado::Enviado:
        return salida::kHecho;
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
    QString error;
    const clsDeProductos::Resultado resultado = envio.enviar(&error);
    if (resultado == clsDeProductos::Resultado::Enviado)
        salida << "Enviado: " << modulo().cDirectorioFTP << modulo().cArchivoFTP << Qt::endl;
    else
        salida << "No se envió: " << error << Qt::endl;
    return salidaDe(resultado);
}

int ComandoEnviar(const LineaDeComandos& linea) {
    QTextStream salida(stdout);
    const Arranque arranque = arrancarNucleo(carpetaDelPrograma(linea.carpeta), false);
    int estado = salida::kSinArranque;
    if (arranque == Arranque::listo)
        estado = EnviarUnaVez(salida);
    else if (arranque == Arranque::carpetaInexistente)
        QTextStream(stderr) << "catalogo-ftp enviar: no existe la carpeta " << linea.carpeta << '\n';
    // Components and the database connection go before the application object does.
    reiniciarModulo();
    return estado;
}
