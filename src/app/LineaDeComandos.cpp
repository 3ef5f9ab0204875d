#include "app/LineaDeComandos.h"

#include "app/Salidas.h"
#include "modulo/Rutinas.h"

namespace {

using Orden = LineaDeComandos::Orden;

// What --help says of each command; %1, %2, ...: its exit statuses, numbered as app/Salidas.h has them.
const char* const kUsoDelEscritorio =
    "  catalogo-ftp [-ktfa] [--carpeta DIR]\n"
    "      El programa de escritorio: vive en el área de notificación y publica el catálogo cada\n"
    "      intervalo; -ktfa abre su ventana.\n"
    "      Salida: %1 al terminar; %2 si el arranque no pudo terminar (no se encontró el punto de venta,\n"
    "      su configuración o la de este programa no se puede leer, falta un componente).\n";
const char* const kUsoDeEnviar =
    "  catalogo-ftp enviar [--carpeta DIR] [--forzar]\n"
    "      Un envío, con su avance en líneas. Un catálogo igual al publicado, que el servidor aún tiene,\n"
    "      no se sube otra vez; uno con menos de la mitad de los productos de la última publicación\n"
    "      (si tenía al menos 20) se retiene. --forzar lo sube siempre.\n"
    "      Salida: %1 publicado o sin cambios; %2 el arranque no pudo terminar (como arriba); %3 mal uso;\n"
    "      %4 no se pudo abrir o leer la base de datos; %5 un archivo de la carpeta del programa no se\n"
    "      pudo leer o escribir (las listas, el archivo a enviar, lo publicado, el candado del envío) y\n"
    "      no se subió nada; %6 el servidor FTP no respondió o rechazó el acceso, o su configuración no\n"
    "      se puede descifrar; %7 la subida falló; %8 otro envío de la misma carpeta seguía en curso tras\n"
    "      esperarlo 3 s; %9 retenido: no se subió nada.\n";
const char* const kUsoDeConfigurar =
    "  catalogo-ftp configurar [--carpeta DIR] [--url URL] [--usuario USUARIO] [--contrasena CONTRASEÑA]\n"
    "                          [--directorio DIRECTORIO] [--archivo ARCHIVO] [--intervalo MINUTOS]\n"
    "                          [--base BASE] [--ruta-vendalia RUTA] [--mostrar]\n"
    "      Graba los ajustes dados y nada más, como \"Grabar\" las casillas cambiadas; --mostrar la\n"
    "      muestra descifrada; --contrasena - lee la contraseña de la entrada estándar (sin eco en\n"
    "      una terminal).\n"
    "      Salida: %1 hecho (lo que no se puede descifrar se conserva y se nombra); %2 no se puede leer\n"
    "      o escribir el archivo de configuración, cifrar un valor o crear un componente; %3 mal uso,\n"
    "      o una configuración que destruiría archivos del programa.\n";
const char* const kUsoDeLasDemas =
    "  catalogo-ftp demo [--carpeta DIR]\n"
    "      Una tienda de muestra publicada en una carpeta local. Salida: como enviar.\n"
    "  catalogo-ftp --help | -h      esta ayuda\n"
    "  catalogo-ftp --version        la versión\n";

Orden ordenDe(const QString& palabra) {
    if (palabra == QLatin1String("enviar"))
        return Orden::Enviar;
    if (palabra == QLatin1String("configurar"))
        return Orden::Configurar;
    if (palabra == QLatin1String("demo"))
        return Orden::Demo;
    if (palabra == QLatin1String("-h") || palabra == QLatin1String("--help"))
        return Orden::Ayuda;
    if (palabra == QLatin1String("--version"))
        return Orden::Version;
    return Orden::Escritorio;
}

} // namespace

std::optional<LineaDeComandos> leerLineaDeComandos(const QStringList& argumentos, QString* error) {
    const auto malUso = [error](const QString& queEstaMal) -> std::optional<LineaDeComandos> {
        if (error)
            *error = queEstaMal;
        return std::nullopt;
    };
    LineaDeComandos linea;
    linea.ktfa = HayParametroKtfa(argumentos);
    if (!argumentos.isEmpty())
        linea.orden = ordenDe(argumentos.constFirst());
    if (linea.orden == Orden::Ayuda || linea.orden == Orden::Version)
        return linea;
    const qsizetype primera = linea.orden == Orden::Escritorio ? 0 : 1;
    // A first word that is no command and no option is most likely a command mistyped; with "-ktfa" on
    // the line it is a shortcut's, and the desktop program starts as it always did.
    if (primera == 0 && !argumentos.isEmpty() && !argumentos.constFirst().startsWith(QLatin1Char('-')) &&
        !linea.ktfa)
        return malUso(QStringLiteral("orden desconocida: ") + argumentos.constFirst());
    // "catalogo-ftp enviar --help" asks for the usage too.
    if (primera == 1 && argumentos.size() > 1 && ordenDe(argumentos.at(1)) == Orden::Ayuda) {
        linea.orden = Orden::Ayuda;
        return linea;
    }
    const QString opcionCarpeta = QStringLiteral("--carpeta");
    for (qsizetype i = primera; i < argumentos.size(); ++i) {
        const QString& palabra = argumentos.at(i);
        if (palabra == opcionCarpeta) {
            if (++i == argumentos.size())
                return malUso(QStringLiteral("falta la carpeta tras --carpeta"));
            linea.carpeta = argumentos.at(i);
        } else if (palabra.startsWith(opcionCarpeta + QLatin1Char('='))) {
            linea.carpeta = palabra.mid(opcionCarpeta.size() + 1);
        } else if (linea.orden == Orden::Enviar && palabra == QLatin1String("--forzar")) {
            linea.forzar = true;
        } else if (linea.orden == Orden::Configurar) {
            linea.opciones << palabra;
        } else if (linea.orden != Orden::Escritorio) {
            return malUso(QStringLiteral("argumento de más: ") + palabra);
        }
        // The desktop program looks for "-ktfa" alone and leaves any other word be, as it always did.
    }
    return linea;
}

QString textoDeUso() {
    using namespace salida;
    return QStringLiteral("uso:\n") + QString::fromUtf8(kUsoDelEscritorio).arg(kHecho).arg(kSinArranque) +
           QString::fromUtf8(kUsoDeEnviar)
               .arg(kHecho)
               .arg(kSinArranque)
               .arg(kMalUso)
               .arg(kSinBaseDeDatos)
               .arg(kArchivoIncompleto)
               .arg(kSinConexionFtp)
               .arg(kSubidaFallida)
               .arg(kOtroEnvio)
               .arg(kRetenido) +
           QString::fromUtf8(kUsoDeConfigurar).arg(kHecho).arg(kSinArranque).arg(kMalUso) +
           QString::fromUtf8(kUsoDeLasDemas);
}

QString textoDeVersion() {
    return QStringLiteral("catalogo-ftp %1.%2.%3\n")
        .arg(CATALOGO_VERSION_MAJOR)
        .arg(CATALOGO_VERSION_MINOR)
        .arg(CATALOGO_VERSION_PATCH);
}
