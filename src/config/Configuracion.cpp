#include "config/Configuracion.h"

#include "components/Cifrado.h"
#include "modulo/Modulo.h"

#include <spdlog/spdlog.h>

namespace {

// How many times an empty key gets its default written before the default is taken as it is.
constexpr int kEscrituras = 2;

// The interval as stored: a whole number in the 16-bit range, anything else 0 (no automatic send).
qint16 enteroDe16Bits(const QString& texto) {
    bool correcto = false;
    const qint16 valor = texto.trimmed().toShort(&correcto);
    return correcto ? valor : 0;
}

// A number written back as text, as the box shows it: "15", not "15.0".
QString textoDeNumero(double valor) {
    return QString::number(valor + 0.0, 'g', 15);
}

} // namespace

QString LeeIniConDefecto(LibKtfa& ktfa, const QString& archivo, const QString& seccion, const QString& clave,
                         const QString& defecto) {
    for (int escritas = 0;; ++escritas) {
        const QString valor = ktfa.LeeIni(seccion, clave, archivo);
        if (!valor.isEmpty())
            return valor;
        if (escritas == kEscrituras)
            break;
        ktfa.EscribeIni(seccion, clave, defecto, archivo);
    }
    spdlog::warn("La clave \"{}\" sigue vacía en {}; se usa su valor por defecto", clave.toStdString(),
                 archivo.toStdString());
    return defecto;
}

QString LeeIniConDefecto(const QString& seccion, const QString& clave, const QString& defecto) {
    Modulo& m = modulo();
    return LeeIniConDefecto(*m.oKtfa, m.cArchivoINI, seccion, clave, defecto);
}

QString DescifraGuardada(Utilerias& u, const QString& nombre, const QString& guardada) {
    QStringList& ilegibles = modulo().cIlegibles;
    ilegibles.removeAll(nombre);
    const QString plano = u.DesEncripta(guardada);
    // An empty text enciphered is empty too; only a value that fails to decipher is unreadable.
    if (plano.isEmpty() && !guardada.isEmpty() && !cifrado::descifrar(guardada)) {
        spdlog::error("\"{}\" no se puede descifrar con la clave de este usuario", nombre.toStdString());
        ilegibles << nombre;
    }
    return plano;
}

QString TextoDeIlegibles(const QStringList& nombres) {
    return QStringLiteral("no se puede descifrar \"%1\": se cifró con la clave de otro usuario o de otro "
                          "equipo; grábelo de nuevo como el usuario que ejecuta el programa")
        .arg(nombres.join(QStringLiteral("\", \"")));
}

void LeeConfiguracion() {
    using namespace claves;
    Modulo& m = modulo();
    Utilerias& u = *m.oUtilerias;
    const auto cifrada = [&](const QString& clave, const QString& defecto) {
        return DescifraGuardada(u, clave, LeeIniConDefecto(kSeccion, clave, u.Encripta(defecto)));
    };
    m.cArchivoFTP = LeeIniConDefecto(kSeccion, kArchivo, QStringLiteral("Archivo"));
    m.cUsuarioFTP = cifrada(kUsuario, QStringLiteral("Usuario"));
    m.cClaveFTP = cifrada(kContrasena, QStringLiteral("Palabras"));
    m.cURLFTP = cifrada(kURL, QStringLiteral("URL"));
    m.cDirectorioFTP = cifrada(kDirectorio, QStringLiteral("/CarpetaDelFTP/"));
    // The export file is always made in the working folder, whatever folder the setting names.
    m.cArchivoFTP = m.oArchivos->NombreDeArchivo(m.cArchivoFTP);
    if (!m.cDirectorioFTP.endsWith(QLatin1Char('/')))
        m.cDirectorioFTP += QLatin1Char('/');
    m.nIntervalo = enteroDe16Bits(LeeIniConDefecto(kSeccion, kIntervalo, QStringLiteral("0")));
    spdlog::info("Configuración leída: archivo {}, intervalo {} min", m.cArchivoFTP.toStdString(),
                 m.nIntervalo);
}

void GrabarConfiguracion(const CajasDeConfiguracion& txtDato) {
    using namespace claves;
    Modulo& m = modulo();
    LibKtfa& k = *m.oKtfa;
    Utilerias& u = *m.oUtilerias;
    const auto escribe = [&](const QString& clave, const QString& valor) {
        k.EscribeIni(kSeccion, clave, valor, m.cArchivoINI);
    };
    escribe(kBase, txtDato[0]);
    escribe(kIntervalo, textoDeNumero(k.nxVal(txtDato[1])));
    escribe(kURL, u.Encripta(txtDato[4]));
    escribe(kUsuario, u.Encripta(txtDato[3]));
    escribe(kContrasena, u.Encripta(txtDato[5]));
    escribe(kArchivo, txtDato[2]);
    escribe(kDirectorio, u.Encripta(txtDato[6]));
    spdlog::info("Configuración guardada en {}", m.cArchivoINI.toStdString());
}
