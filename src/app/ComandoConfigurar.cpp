#include "app/ComandoConfigurar.h"

#include "app/Arranque.h"
#include "app/LineaDeComandos.h"
#include "app/Salidas.h"
#include "config/ComprobacionesDeConfigurar.h"
#include "config/Configuracion.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>

namespace {

const QString kUso = QStringLiteral(
    "uso: catalogo-ftp configurar [--carpeta DIR] [--url URL] [--usuario USUARIO] [--contrasena CONTRASEÑA]\n"
    "                             [--directorio DIRECTORIO] [--archivo ARCHIVO] [--intervalo MINUTOS]\n"
    "                             [--base BASE] [--ruta-vendalia RUTA] [--mostrar]\n"
    "  --contrasena - lee la contraseña de la entrada estándar (sin eco en una terminal)\n");

int malUso(const QString& motivo) {
    QTextStream(stderr) << "catalogo-ftp configurar: " << motivo << '\n' << kUso;
    return salida::kMalUso;
}

// Like the tab's interval box: at most four digits (0 to 9999); empty is 0.
bool intervaloValido(const QString& texto) {
    static const QRegularExpression cifras(QStringLiteral("^[0-9]{0,4}$"));
    return cifras.match(texto).hasMatch();
}

// The boxes as the stored settings fill them, deciphered ("" where they cannot be) but otherwise as
// stored; nothing is written.
CajasDeConfiguracion cajasGuardadas() {
    CajasDeConfiguracion cajas;
    for (const Ajuste& a : ajustes())
        if (a.caja >= 0)
            cajas[size_t(a.caja)] = ajusteGuardado(a);
    return cajas;
}

void avisarSiEnClaro(const QString& url) {
    if (!url.isEmpty() && contrasenaEnClaro(url))
        QTextStream(stderr) << "catalogo-ftp configurar: aviso: con \"" << url
                            << "\" (FTP sin cifrar) el usuario y la contraseña viajan en claro por la red; "
                               "use ftps:// si el servidor lo admite\n";
}

// One "key=value" line per key of the section, as stored (nothing is written), deciphered, the
// password masked; a value this user cannot decipher is shown empty and said why.
void mostrar() {
    QTextStream salida(stdout);
    QTextStream errores(stderr);
    QString url;
    for (const Ajuste& a : ajustes()) {
        QString error;
        QString valor = ajusteGuardado(a, &error);
        if (!error.isEmpty())
            errores << "catalogo-ftp configurar: \"" << a.clave << "\" no se puede descifrar: " << error
                    << '\n';
        if (a.clave == claves::kURL)
            url = valor;
        if (a.clave == claves::kContrasena && !valor.isEmpty())
            valor = QStringLiteral("********");
        salida << a.clave << '=' << valor << '\n';
    }
    salida.flush();
    errores.flush();
    avisarSiEnClaro(url);
}

int fallo(const QString& motivo) {
    QTextStream(stderr) << "catalogo-ftp configurar: " << motivo << '\n';
    return salida::kSinArranque;
}

} // namespace

int ComandoConfigurar(const LineaDeComandos& linea) {
    QCommandLineParser parser;
    const QCommandLineOption verlas(QStringLiteral("mostrar"));
    parser.addOption(verlas);
    QList<QCommandLineOption> opciones;
    for (const Ajuste& a : ajustes())
        parser.addOption(opciones.emplace_back(a.opcion, QString(), QStringLiteral("VALOR")));
    if (!parser.parse(QStringList{QStringLiteral("catalogo-ftp configurar")} + linea.opciones))
        return malUso(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return malUso(QStringLiteral("argumento de más: ") + parser.positionalArguments().constFirst());
    // Only the settings given are written: the others keep their bytes, also those this user cannot read.
    Cambios cambios;
    for (qsizetype i = 0; i < opciones.size(); ++i)
        if (parser.isSet(opciones[i]))
            cambios.append({ajustes()[size_t(i)].clave, parser.value(opciones[i])});
    if (cambios.isEmpty() && !parser.isSet(verlas))
        return malUso(QStringLiteral("no se indicó nada que grabar ni --mostrar"));
    const auto valorDado = [&](const QString& clave) -> QString* {
        for (auto& [dada, valor] : cambios)
            if (dada == clave)
                return &valor;
        return nullptr;
    };
    if (const QString* intervalo = valorDado(claves::kIntervalo); intervalo && !intervaloValido(*intervalo))
        return malUso(QStringLiteral("el intervalo debe ser un número de minutos de 0 a 9999"));
    if (QString* contrasena = valorDado(claves::kContrasena);
        contrasena && *contrasena == QLatin1String("-")) {
        const std::optional<QString> leida = leerContrasenaDeLaEntrada();
        if (!leida)
            return malUso(QStringLiteral("no se pudo leer la contraseña de la entrada estándar"));
        *contrasena = *leida;
    }

    const QString folder = carpetaDelPrograma(linea.carpeta);
    if (!prepararCarpeta(folder))
        return malUso(QStringLiteral("la carpeta no existe: ") + folder);
    // Neither the point-of-sale installation nor its database is needed here: a technician must be able
    // to correct a wrong "Ruta de Vendalia Pro" with this very command.
    Modulo& m = modulo();
    const QString nodex = QStringLiteral("Nodex");
    if (!CreaObjeto(m.oKtfa, QStringLiteral("libKtfa"), nodex) ||
        !CreaObjeto(m.oUtilerias, QStringLiteral("Utilerias"), nodex))
        return salida::kSinArranque;
    m.oKtfa->LeeIni(claves::kSeccion, claves::kRutaVendalia, m.cArchivoINI);
    if (!m.oKtfa->cError.isEmpty())
        return fallo(m.oKtfa->cError);

    if (!cambios.isEmpty()) {
        CajasDeConfiguracion txtDato = cajasGuardadas();
        for (const auto& [clave, valor] : cambios)
            if (const int caja = ajuste(clave).caja; caja >= 0)
                txtDato[size_t(caja)] = valor;
        if (QString rechazo; !sePuedenGrabar(txtDato, m.cCarpeta, m.cNombre, &rechazo)) {
            QTextStream(stderr) << "catalogo-ftp configurar: " << rechazo << '\n';
            return salida::kMalUso;
        }
        if (QString error; !GrabarAjustes(cambios, &error))
            return fallo(error);
    }
    if (std::any_of(cambios.begin(), cambios.end(),
                    [](const auto& c) { return ajuste(c.first).caja >= 0; })) {
        // As a first start does and after "Grabar": a key missing or saved empty gets its default.
        for (const Ajuste& a : ajustes())
            if (a.caja >= 0)
                leerAjuste(a.clave);
        if (const QStringList ilegibles = ilegiblesDeLaConfiguracion(); !ilegibles.isEmpty())
            QTextStream(stderr) << "catalogo-ftp configurar: aviso: " << TextoDeIlegibles(ilegibles)
                                << "; lo guardado se conserva tal como estaba\n";
        if (!parser.isSet(verlas))
            avisarSiEnClaro(leerAjuste(claves::kURL));
    }
    if (parser.isSet(verlas))
        mostrar();
    return salida::kHecho;
}
