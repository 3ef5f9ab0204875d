#include "config/ComandoConfigurar.h"

#include "config/ComprobacionesDeConfigurar.h"
#include "config/Configuracion.h"
#include "modulo/Arranque.h"
#include "modulo/LineaDeComandos.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>

namespace {

constexpr int kHecho = 0;
constexpr int kFallo = 1;
constexpr int kMalUso = 2;

const QString kUso = QStringLiteral(
    "uso: catalogo-ftp configurar [--carpeta DIR] [--url URL] [--usuario USUARIO] [--contrasena CONTRASEÑA]\n"
    "                             [--directorio DIRECTORIO] [--archivo ARCHIVO] [--intervalo MINUTOS]\n"
    "                             [--base BASE] [--ruta-vendalia RUTA] [--mostrar]\n"
    "  --contrasena - lee la contraseña de la entrada estándar (sin eco en una terminal)\n");

int malUso(const QString& motivo) {
    QTextStream(stderr) << "catalogo-ftp configurar: " << motivo << '\n' << kUso;
    return kMalUso;
}

// An option that fills one box of the configuration tab.
struct OpcionDeCaja {
    QCommandLineOption opcion;
    qsizetype caja;
};

// Like the tab's interval box: at most four digits (0 to 9999); empty is 0.
bool intervaloValido(const QString& texto) {
    static const QRegularExpression cifras(QStringLiteral("^[0-9]{0,4}$"));
    return cifras.match(texto).hasMatch();
}

// The file can be written: it exists as a writable file, or its folder takes a new one.
bool sePuedeEscribir(const QString& archivo) {
    const QFileInfo info(archivo);
    return info.exists() ? info.isFile() && info.isWritable() : QFileInfo(info.absolutePath()).isWritable();
}

// The boxes as the stored settings fill them, deciphered but otherwise as stored.
CajasDeConfiguracion cajasGuardadas() {
    using namespace claves;
    Utilerias& u = *modulo().oUtilerias;
    const auto cifrada = [&](const QString& clave, const QString& defecto) {
        return u.DesEncripta(LeeIniConDefecto(kSeccion, clave, u.Encripta(defecto)));
    };
    // Read in the order of a first start, so that a new file lists its keys as the program's own do.
    CajasDeConfiguracion cajas;
    cajas[0] = LeeIniConDefecto(kSeccion, kBase, QStringLiteral("datos1"));
    cajas[2] = LeeIniConDefecto(kSeccion, kArchivo, QStringLiteral("Archivo"));
    cajas[3] = cifrada(kUsuario, QStringLiteral("Usuario"));
    cajas[5] = cifrada(kContrasena, QStringLiteral("Palabras"));
    cajas[4] = cifrada(kURL, QStringLiteral("URL"));
    cajas[6] = cifrada(kDirectorio, QStringLiteral("/CarpetaDelFTP/"));
    cajas[1] = LeeIniConDefecto(kSeccion, kIntervalo, QStringLiteral("0"));
    return cajas;
}

void avisarSiEnClaro(const QString& url) {
    if (contrasenaEnClaro(url))
        QTextStream(stderr) << "catalogo-ftp configurar: aviso: con \"" << url
                            << "\" (FTP sin cifrar) el usuario y la contraseña viajan en claro por la red; "
                               "use ftps:// si el servidor lo admite\n";
}

// One "key=value" line per key of the section, as stored (nothing is written), deciphered, the
// password masked.
void mostrar() {
    using namespace claves;
    Modulo& m = modulo();
    QTextStream salida(stdout);
    QTextStream errores(stderr);
    const auto lee = [&](const QString& clave) { return m.oKtfa->LeeIni(kSeccion, clave, m.cArchivoINI); };
    const auto descifrada = [&](const QString& clave) {
        const QString guardada = lee(clave);
        const QString plano = m.oUtilerias->DesEncripta(guardada);
        if (plano.isEmpty() && !guardada.isEmpty())
            errores << "catalogo-ftp configurar: \"" << clave
                    << "\" no se puede descifrar (¿escrito a mano, o por otro usuario?)\n";
        return plano;
    };
    const QString contrasena = descifrada(kContrasena);
    const QList<std::pair<QString, QString>> lineas{
        {kRutaVendalia, lee(kRutaVendalia)},
        {kBase, lee(kBase)},
        {kArchivo, lee(kArchivo)},
        {kUsuario, descifrada(kUsuario)},
        {kContrasena, contrasena.isEmpty() ? QString() : QStringLiteral("********")},
        {kURL, descifrada(kURL)},
        {kDirectorio, descifrada(kDirectorio)},
        {kIntervalo, lee(kIntervalo)},
    };
    for (const auto& [clave, valor] : lineas)
        salida << clave << '=' << valor << '\n';
    salida.flush();
    avisarSiEnClaro(lineas[5].second);
}

} // namespace

int ComandoConfigurar(const LineaDeComandos& linea) {
    QCommandLineParser parser;
    const QCommandLineOption rutaVendalia(QStringLiteral("ruta-vendalia"), QString(), QStringLiteral("RUTA"));
    const QCommandLineOption verlas(QStringLiteral("mostrar"));
    const QList<OpcionDeCaja> cajas{
        {QCommandLineOption(QStringLiteral("base"), QString(), QStringLiteral("BASE")), 0},
        {QCommandLineOption(QStringLiteral("intervalo"), QString(), QStringLiteral("MINUTOS")), 1},
        {QCommandLineOption(QStringLiteral("archivo"), QString(), QStringLiteral("ARCHIVO")), 2},
        {QCommandLineOption(QStringLiteral("usuario"), QString(), QStringLiteral("USUARIO")), 3},
        {QCommandLineOption(QStringLiteral("url"), QString(), QStringLiteral("URL")), 4},
        {QCommandLineOption(QStringLiteral("contrasena"), QString(), QStringLiteral("CONTRASEÑA")), 5},
        {QCommandLineOption(QStringLiteral("directorio"), QString(), QStringLiteral("DIRECTORIO")), 6},
    };
    parser.addOptions({rutaVendalia, verlas});
    for (const OpcionDeCaja& c : cajas)
        parser.addOption(c.opcion);
    if (!parser.parse(QStringList{QStringLiteral("catalogo-ftp configurar")} + linea.opciones))
        return malUso(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return malUso(QStringLiteral("argumento de más: ") + parser.positionalArguments().constFirst());
    const bool grabar = std::any_of(cajas.begin(), cajas.end(),
                                    [&](const OpcionDeCaja& c) { return parser.isSet(c.opcion); });
    if (!grabar && !parser.isSet(rutaVendalia) && !parser.isSet(verlas))
        return malUso(QStringLiteral("no se indicó nada que grabar ni --mostrar"));
    if (parser.isSet(cajas[1].opcion) && !intervaloValido(parser.value(cajas[1].opcion)))
        return malUso(QStringLiteral("el intervalo debe ser un número de minutos de 0 a 9999"));

    std::optional<QString> contrasena;
    if (parser.value(cajas[5].opcion) == QLatin1String("-") && !(contrasena = leerContrasenaDeLaEntrada()))
        return malUso(QStringLiteral("no se pudo leer la contraseña de la entrada estándar"));

    const QString folder = carpetaDelPrograma(linea.carpeta);
    if (!prepararCarpeta(folder))
        return malUso(QStringLiteral("la carpeta no existe: ") + folder);
    // Neither the point-of-sale installation nor its database is needed here: a technician must be able
    // to correct a wrong "Ruta de Vendalia Pro" with this very command.
    Modulo& m = modulo();
    const QString nodex = QStringLiteral("Nodex");
    if (!CreaObjeto(m.oKtfa, QStringLiteral("libKtfa"), nodex) ||
        !CreaObjeto(m.oUtilerias, QStringLiteral("Utilerias"), nodex) ||
        !CreaObjeto(m.oArchivos, QStringLiteral("DeArchivos"), nodex))
        return kFallo;

    if ((grabar || parser.isSet(rutaVendalia)) && !sePuedeEscribir(m.cArchivoINI)) {
        QTextStream(stderr) << "catalogo-ftp configurar: no se puede escribir " << m.cArchivoINI << '\n';
        return kFallo;
    }
    if (parser.isSet(rutaVendalia))
        m.oKtfa->EscribeIni(claves::kSeccion, claves::kRutaVendalia, parser.value(rutaVendalia),
                            m.cArchivoINI);
    if (grabar) {
        CajasDeConfiguracion txtDato = cajasGuardadas();
        for (const OpcionDeCaja& c : cajas)
            if (parser.isSet(c.opcion))
                txtDato[static_cast<std::size_t>(c.caja)] = parser.value(c.opcion);
        if (contrasena)
            txtDato[5] = *contrasena;
        if (const QString rechazo = motivoDeRechazo(txtDato, m.cCarpeta, m.cNombre); !rechazo.isEmpty()) {
            QTextStream(stderr) << "catalogo-ftp configurar: " << rechazo << '\n';
            return kMalUso;
        }
        GrabarConfiguracion(txtDato);
        // As after "Grabar": a key saved empty gets its default back.
        LeeConfiguracion();
        if (!parser.isSet(verlas))
            avisarSiEnClaro(m.cURLFTP);
    }
    if (parser.isSet(verlas))
        mostrar();
    return kHecho;
}
