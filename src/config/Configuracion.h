#pragma once
// The settings file: the table of its settings, the read-with-default that every settings read goes
// through, the load of the FTP settings and the send interval into the module state, and the save
// shared by the configuration tab and `catalogo-ftp configurar`.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <utility>

class LibKtfa;
class Utilerias;

// Section "Configuración" and its eight keys.
namespace claves {
inline const QString kSeccion = QStringLiteral("Configuración");
inline const QString kRutaVendalia = QStringLiteral("Ruta de Vendalia Pro");
inline const QString kBase = QStringLiteral("Base de datos principal");
inline const QString kArchivo = QStringLiteral("Archivo para el FTP");
inline const QString kUsuario = QStringLiteral("Usuario del FTP");
inline const QString kContrasena = QStringLiteral("Contraseña del FTP");
inline const QString kURL = QStringLiteral("URL del FTP");
inline const QString kDirectorio = QStringLiteral("Directorio");
inline const QString kIntervalo = QStringLiteral("Intervalo en minutos para enviar productos");
} // namespace claves

// One setting of section "Configuración".
struct Ajuste {
    enum class Forma { texto, cifrada, entero }; // as stored: plain, enciphered, a plain whole number
    QString clave;
    QString defecto; // stored when the key is missing or empty (enciphered first for a cifrada one)
    Forma forma;
    int caja;       // the box of the configuration tab that shows it (txtDato_n); -1 for none
    QString opcion; // the option of `catalogo-ftp configurar` that sets it

    bool cifrada() const { return forma == Forma::cifrada; }
};

// Every setting of the section, in the order a first start writes them and `configurar --mostrar` lists
// them. No other key of the section is read or written.
const std::array<Ajuste, 8>& ajustes();
const Ajuste& ajuste(const QString& clave);

// The value of the key in `archivo`, read through `ktfa`. An empty value is replaced by the default,
// which is written and read again; the default itself is returned when the file cannot be written, or
// cannot be read (ktfa.cError then says why, and nothing is written over it).
QString LeeIniConDefecto(LibKtfa& ktfa, const QString& archivo, const QString& seccion, const QString& clave,
                         const QString& defecto);
// The same on the program's settings file (cArchivoINI) through the shared skin component.
QString LeeIniConDefecto(const QString& seccion, const QString& clave, const QString& defecto);

// A setting's value as the program uses it, deciphered where it is stored enciphered. A missing or empty
// key gets its default stored; a default that cannot be enciphered now (no key to encipher with) is used
// but never stored, since stored empty it would be lost.
QString leerAjuste(const QString& clave);

// A setting as stored, deciphered where it is stored enciphered; nothing is written. "" for a value this
// user cannot decipher, and `error` says why.
QString ajusteGuardado(const Ajuste& a, QString* error = nullptr);

// DesEncripta of a stored value. A value that is there but does not decipher is logged and its setting's
// `nombre` kept in the module's cIlegibles until it is read again.
QString DescifraGuardada(Utilerias& u, const QString& nombre, const QString& guardada);
// Why a send cannot use these settings, in words for the shop.
QString TextoDeIlegibles(const QStringList& nombres);
// The enciphered settings of section "Configuración" that this user cannot read, by key.
QStringList ilegiblesDeLaConfiguracion();

// Loads cArchivoFTP, cUsuarioFTP, cClaveFTP, cURLFTP, cDirectorioFTP (ending with "/") and nIntervalo
// into the module state. The window then shows them: boxes 2 to 6, Timer1 and lblInfo. A settings file
// that cannot be read keeps what was loaded before.
void LeeConfiguracion();

// The texts of the configuration tab's boxes by box number: txtDato_0 (database) … txtDato_6 (folder).
using CajasDeConfiguracion = std::array<QString, 7>;
// The box of the setting `clave`, as the table places it.
inline QString& enCaja(CajasDeConfiguracion& cajas, const QString& clave) {
    return cajas[size_t(ajuste(clave).caja)];
}
inline const QString& enCaja(const CajasDeConfiguracion& cajas, const QString& clave) {
    return cajas[size_t(ajuste(clave).caja)];
}

// Settings to store: key and value as the user reads them.
using Cambios = QList<std::pair<QString, QString>>;

// Stores these settings and nothing else: enciphered where the table says so, the interval as the whole
// number the countdown uses ("2.5" is 2). Nothing is written unless every value could be enciphered.
// False when a value could not be enciphered or the file could not be written: `error` says why.
bool GrabarAjustes(const Cambios& cambios, QString* error);

// The settings of the boxes whose text is not what the program gave them to show.
Cambios cambiosDe(const CajasDeConfiguracion& txtDato, const CajasDeConfiguracion& mostradas);

// Stores every box, as a first set-up does.
bool GrabarConfiguracion(const CajasDeConfiguracion& txtDato);
