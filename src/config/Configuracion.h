#pragma once
// The settings file: the read-with-default that every settings read goes through, the load of the FTP
// settings and the send interval into the module state, and the save of the configuration tab.

#include <QString>
#include <QStringList>
#include <array>

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

// The value of the key in `archivo`, read through `ktfa`. An empty value is replaced by the default,
// which is written and read again. When the file cannot be written the default itself is returned
// after a few attempts.
QString LeeIniConDefecto(LibKtfa& ktfa, const QString& archivo, const QString& seccion, const QString& clave,
                         const QString& defecto);
// The same on the program's settings file (cArchivoINI) through the shared skin component.
QString LeeIniConDefecto(const QString& seccion, const QString& clave, const QString& defecto);

// DesEncripta of a stored value. A value that is there but does not decipher is logged and its setting's
// `nombre` kept in the module's cIlegibles until it is read again.
QString DescifraGuardada(Utilerias& u, const QString& nombre, const QString& guardada);
// Why a send cannot use these settings, in words for the shop.
QString TextoDeIlegibles(const QStringList& nombres);

// Loads cArchivoFTP, cUsuarioFTP, cClaveFTP, cURLFTP, cDirectorioFTP (ending with "/") and nIntervalo
// into the module state. The window then shows them: boxes 2 to 6, Timer1 and lblInfo.
void LeeConfiguracion();

// The texts of the configuration tab's boxes by box number: txtDato_0 (database) … txtDato_6 (folder).
using CajasDeConfiguracion = std::array<QString, 7>;

// Saves the boxes in the order the settings file has always been written: database, interval (as the
// number the box spells), URL, user, password, file, folder; URL, user, password and folder enciphered.
void GrabarConfiguracion(const CajasDeConfiguracion& txtDato);
