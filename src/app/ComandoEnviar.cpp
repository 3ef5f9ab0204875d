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
    case clsDeProductos::Resultado::SinCambios:
        return salida::kHecho;
    case clsDeProductos::Resultado::Retenido:
        return salida::kRetenido;
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

int EnviarUnaVez(QTextStream& salida, clsDeProductos::Modo modo) {
    AvanceEnConsola avance(salida);
    clsDeProductos envio(avance);
    QString cambios;
    QString error;
    const clsDeProductos::Resultado resultado = envio.enviar(modo, &cambios, &error);
    const QString remoto = modulo().cDirectorioFTP + modulo().cArchivoFTP;
    switch (resultado) {
    case clsDeProductos::Resultado::Enviado:
        salida << "Enviado: " << remoto << Qt::endl << cambios << Qt::endl;
        break;
    case clsDeProductos::Resultado::SinCambios:
        salida << "Sin cambios: " << remoto << Qt::endl;
        break;
    case clsDeProductos::Resultado::Retenido:
        salida << "Retenido: " << error
               << "; no se publicó. Si el catálogo es correcto: catalogo-ftp enviar --forzar" << Qt::endl;
        break;
    default:
        salida << "No se envió: " << error << Qt::endl;
    }
    return salidaDe(resultado);
}

int ComandoEnviar(const LineaDeComandos& linea) {
    QTextStream salida(stdout);
    const Arranque arranque = arrancarNucleo(carpetaDelPrograma(linea.carpeta), false);
    int estado = salida::kSinArranque;
    if (arranque == Arranque::listo)
        estado = EnviarUnaVez(salida, linea.forzar ? clsDeProductos::Modo::forzado
                                                   : clsDeProductos::Modo::programado);
    else if (arranque == Arranque::carpetaInexistente)
        QTextStream(stderr) << "catalogo-ftp enviar: no existe la carpeta " << linea.carpeta << '\n';
    // Components and the database connection go before the application object does.
    reiniciarModulo();
    return estado;
}
