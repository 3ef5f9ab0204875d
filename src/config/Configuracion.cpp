#include "config/Configuracion.h"

#include "components/Cifrado.h"
#include "modulo/Modulo.h"
#include "modulo/Redondeo.h"

#include <algorithm>
#include <spdlog/spdlog.h>

namespace {

using Forma = Ajuste::Forma;

// The interval as stored: a whole number in the 16-bit range, anything else 0 (no automatic send).
qint16 enteroDe16Bits(const QString& texto) {
    bool correcto = false;
    const qint16 valor = texto.trimmed().toShort(&correcto);
    return correcto ? valor : 0;
}

} // namespace

QString leerAjuste(const QString& clave) {
    using namespace claves;
    Modulo& m = modulo();
    const Ajuste& a = ajuste(clave);
    if (!a.cifrada())
        return LeeIniConDefecto(kSeccion, a.clave, a.defecto);
    QString guardado = m.oKtfa->LeeIni(kSeccion, a.clave, m.cArchivoINI);
    if (guardado.isEmpty() && m.oKtfa->cError.isEmpty()) {
        const QString defecto = m.oUtilerias->Encripta(a.defecto);
        if (defecto.isEmpty())
            return a.defecto;
        guardado = LeeIniConDefecto(kSeccion, a.clave, defecto);
    }
    return DescifraGuardada(*m.oUtilerias, a.clave, guardado);
}

QString ajusteGuardado(const Ajuste& a, QString* error) {
    Modulo& m = modulo();
    const QString guardado = m.oKtfa->LeeIni(claves::kSeccion, a.clave, m.cArchivoINI);
    if (!a.cifrada())
        return guardado;
    const QString plano = m.oUtilerias->DesEncripta(guardado);
    if (!m.oUtilerias->cError.isEmpty() && error)
        *error = m.oUtilerias->cError;
    return plano;
}

const std::array<Ajuste, 8>& ajustes() {
    using namespace claves;
    static const std::array<Ajuste, 8> tabla{{
        {kRutaVendalia, QStringLiteral("C:\\vendaliapro"), Forma::texto, -1, QStringLiteral("ruta-vendalia")},
        {kBase, QStringLiteral("datos1"), Forma::texto, 0, QStringLiteral("base")},
        {kArchivo, QStringLiteral("Archivo"), Forma::texto, 2, QStringLiteral("archivo")},
        {kUsuario, QStringLiteral("Usuario"), Forma::cifrada, 3, QStringLiteral("usuario")},
        {kContrasena, QStringLiteral("Palabras"), Forma::cifrada, 5, QStringLiteral("contrasena")},
        {kURL, QStringLiteral("URL"), Forma::cifrada, 4, QStringLiteral("url")},
        {kDirectorio, QStringLiteral("/CarpetaDelFTP/"), Forma::cifrada, 6, QStringLiteral("directorio")},
        {kIntervalo, QStringLiteral("0"), Forma::entero, 1, QStringLiteral("intervalo")},
    }};
    return tabla;
}

const Ajuste& ajuste(const QString& clave) {
    const auto& tabla = ajustes();
    return *std::find_if(tabla.begin(), tabla.end(), [&](const Ajuste& a) { return a.clave == clave; });
}

QString LeeIniConDefecto(LibKtfa& ktfa, const QString& archivo, const QString& seccion, const QString& clave,
                         const QString& defecto) {
    QString valor = ktfa.LeeIni(seccion, clave, archivo);
    if (!valor.isEmpty())
        return valor;
    // A file that cannot be read is never written over; the caller sees why in cError.
    if (ktfa.cError.isEmpty() && ktfa.EscribeIni(seccion, clave, defecto, archivo))
        valor = ktfa.LeeIni(seccion, clave, archivo);
    if (valor.isEmpty() && ktfa.cError.isEmpty())
        spdlog::warn("La clave \"{}\" sigue vacía en {}; se usa su valor por defecto", clave.toStdString(),
                     archivo.toStdString());
    return valor.isEmpty() ? defecto : valor;
}

QString LeeIniConDefecto(const QString& seccion, const QString& clave, const QString& defecto) {
    Modulo& m = modulo();
    return LeeIniConDefecto(*m.oKtfa, m.cArchivoINI, seccion, clave, defecto);
}

QString DescifraGuardada(Utilerias& u, const QString& nombre, const QString& guardada) {
    QStringList& ilegibles = modulo().cIlegibles;
    ilegibles.removeAll(nombre);
    const QString plano = u.DesEncripta(guardada);
    if (!u.cError.isEmpty()) {
        spdlog::error("\"{}\" no se puede descifrar: {}", nombre.toStdString(), u.cError.toStdString());
        ilegibles << nombre;
    }
    return plano;
}

QString TextoDeIlegibles(const QStringList& nombres) {
    const QString prefijo =
        QStringLiteral("no se puede descifrar \"%1\": ").arg(nombres.join(QStringLiteral("\", \"")));
    // A key that is there but cannot be used stops every enciphered setting at once.
    if (QString clave; !cifrado::claveUsable(&clave))
        return prefijo + clave;
    return prefijo +
           QStringLiteral("se cifró con la clave de otro usuario o de otro equipo; grábelo de nuevo "
                          "como el usuario que ejecuta el programa");
}

QStringList ilegiblesDeLaConfiguracion() {
    QStringList nombres;
    for (const Ajuste& a : ajustes())
        if (modulo().cIlegibles.contains(a.clave))
            nombres << a.clave;
    return nombres;
}

void LeeConfiguracion() {
    using namespace claves;
    Modulo& m = modulo();
    // Read as missing, a file that cannot be read now would put the defaults in place of the settings
    // a send uses: it keeps what was read before.
    m.oKtfa->LeeIni(kSeccion, kArchivo, m.cArchivoINI);
    if (!m.oKtfa->cError.isEmpty()) {
        spdlog::error("Configuración sin leer: {}", m.oKtfa->cError.toStdString());
        return;
    }
    m.cArchivoFTP = leerAjuste(kArchivo);
    m.cUsuarioFTP = leerAjuste(kUsuario);
    m.cClaveFTP = leerAjuste(kContrasena);
    m.cURLFTP = leerAjuste(kURL);
    m.cDirectorioFTP = leerAjuste(kDirectorio);
    // The export file is always made in the working folder, whatever folder the setting names.
    m.cArchivoFTP = m.oArchivos->NombreDeArchivo(m.cArchivoFTP);
    if (!m.cDirectorioFTP.endsWith(QLatin1Char('/')))
        m.cDirectorioFTP += QLatin1Char('/');
    m.nIntervalo = enteroDe16Bits(leerAjuste(kIntervalo));
    spdlog::info("Configuración leída: archivo {}, intervalo {} min", m.cArchivoFTP.toStdString(),
                 m.nIntervalo);
}

bool GrabarAjustes(const Cambios& cambios, QString* error) {
    Modulo& m = modulo();
    Utilerias& u = *m.oUtilerias;
    Cambios guardados;
    for (const auto& [clave, valor] : cambios) {
        const Ajuste& a = ajuste(clave);
        if (a.forma == Forma::entero)
            guardados.append({clave, QString::number(entero16(m.oKtfa->nxVal(valor)).value_or(0))});
        else if (!a.cifrada())
            guardados.append({clave, valor});
        else if (const QString cifrado = u.Encripta(valor); !cifrado.isEmpty())
            guardados.append({clave, cifrado});
        else {
            // Stored empty, the setting would be lost: nothing is written.
            if (error)
                *error = QStringLiteral("no se puede cifrar \"%1\": %2").arg(clave, u.cError);
            return false;
        }
    }
    for (const auto& [clave, valor] : guardados) {
        if (!m.oKtfa->EscribeIni(claves::kSeccion, clave, valor, m.cArchivoINI)) {
            if (error)
                *error = m.oKtfa->cError;
            return false;
        }
    }
    spdlog::info("Configuración guardada en {}", m.cArchivoINI.toStdString());
    return true;
}

Cambios cambiosDe(const CajasDeConfiguracion& txtDato, const CajasDeConfiguracion& mostradas) {
    Cambios cambios;
    for (const Ajuste& a : ajustes())
        if (a.caja >= 0 && txtDato[size_t(a.caja)] != mostradas[size_t(a.caja)])
            cambios.append({a.clave, txtDato[size_t(a.caja)]});
    return cambios;
}

bool GrabarConfiguracion(const CajasDeConfiguracion& txtDato) {
    Cambios cambios;
    for (const Ajuste& a : ajustes())
        if (a.caja >= 0)
            cambios.append({a.clave, txtDato[size_t(a.caja)]});
    return GrabarAjustes(cambios, nullptr);
}
