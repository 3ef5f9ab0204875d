#include "config/ConexionQ7K.h"

#include "components/BasesDD.h"
#include "components/DeArchivos.h"
#include "components/DelRegistro.h"
#include "components/LibKtfa.h"
#include "components/Utilerias.h"
#include "config/Configuracion.h"
#include "modulo/Rutinas.h"

#include <QStringList>
#include <spdlog/spdlog.h>

namespace {

// The stored port, as the database component takes it; a port beyond the 16-bit unsigned range is 0,
// which the first connection then reports.
qint32 puertoDe(double valor) {
    return valor >= 0 && valor <= 65535 ? static_cast<qint32>(valor) : 0;
}

void avisarRutaIncorrecta(const QString& cArchivoINI, const QString& carpeta) {
    const QStringList lineas{QStringLiteral("En el archivo de configuración de este programa"),
                             QString(),
                             QLatin1Char('(') + cArchivoINI + QLatin1Char(')'),
                             QString(),
                             QStringLiteral("debe indicarse la ruta correcta de Vendalia Pro."),
                             QStringLiteral("Ruta indicada e incorrecta: "),
                             QString(),
                             carpeta};
    Mensaje(lineas.join(QChar(13)), estilo::vbCritical + estilo::vbOKOnly, QStringLiteral("Atención"));
}

// A file of settings that is there but cannot be read: nothing can be sent until it can.
void avisarIlegible(const QString& cual, const QString& motivo) {
    spdlog::error("{}", motivo.toStdString());
    Mensaje(cual + QStringLiteral("\r\r") + motivo +
                QStringLiteral("\r\rCorríjalo, o ciérrelo en el programa que lo tenga abierto, y vuelva a "
                               "iniciar este programa."),
            estilo::vbCritical + estilo::vbOKOnly, QStringLiteral("Atención"));
}

} // namespace

bool ConexionQ7K(LibKtfa& ktfa, DelRegistro& registro, BasesDD& bases, const QString& cArchivoINI,
                 bool leerBase) {
    std::unique_ptr<LibKtfa> oKtfa;
    std::unique_ptr<DeArchivos> oArchivos;
    std::unique_ptr<Utilerias> oUtilerias;
    CreaObjeto(oKtfa, QStringLiteral("LibKtfa"), QStringLiteral("nodex"));
    CreaObjeto(oArchivos, QStringLiteral("DeArchivos"), QStringLiteral("nodex"));
    CreaObjeto(oUtilerias, QStringLiteral("Utilerias"), QStringLiteral("nodex"));
    // CreaObjeto has told the user; without these nothing below can run, so the program ends.
    if (!oKtfa || !oArchivos || !oUtilerias)
        return false;

    QString carpeta = LeeIniConDefecto(ktfa, cArchivoINI, claves::kSeccion, claves::kRutaVendalia,
                                       ajuste(claves::kRutaVendalia).defecto);
    // Read as missing, the settings would send with the defaults, and the first save would replace them.
    if (!ktfa.cError.isEmpty()) {
        avisarIlegible(QStringLiteral("El archivo de configuración de este programa no se puede leer:"),
                       ktfa.cError);
        return false;
    }
    if (registro.BuscarRegistroQ7K(carpeta).isEmpty()) {
        spdlog::error("No se encuentra Vendalia Pro en \"{}\"", carpeta.toStdString());
        avisarRutaIncorrecta(cArchivoINI, carpeta);
        if (Pregunta(QStringLiteral("¿Desea editar el archivo de configuración?"),
                     QStringLiteral("Editar INI"), false)) {
            QString ruta = cArchivoINI;
            oArchivos->AbreDocumento(ruta, 0, 1);
        }
        return false;
    }
    if (!registro.cError.isEmpty()) {
        avisarIlegible(QStringLiteral("La configuración de Vendalia Pro no se puede leer:"), registro.cError);
        return false;
    }

    bases.cPuerto = 3306;
    bases.cPassword = QString();
    bases.cUsuario = QStringLiteral("root");
    const auto vacio = [&](const QString& nombre) { return registro.DatosQ7K(nombre).trimmed().isEmpty(); };
    if (oKtfa->nxVal(registro.DatosQ7K(QStringLiteral("MySQLPuerto"))) == 0)
        registro.GuardaDatosQ7K(QStringLiteral("MySQLPuerto"), QString::number(bases.cPuerto));
    if (vacio(QStringLiteral("MySQLServer")))
        registro.GuardaDatosQ7K(QStringLiteral("MySQLServer"), registro.DatosQ7K(QStringLiteral("servidor")));
    if (vacio(QStringLiteral("MySQLUsuario")))
        registro.GuardaDatosQ7K(QStringLiteral("MySQLUsuario"), oUtilerias->Encripta(bases.cUsuario));
    if (vacio(QStringLiteral("MySQLPassword")))
        registro.GuardaDatosQ7K(QStringLiteral("MySQLPassword"), oUtilerias->Encripta(bases.cPassword));

    const auto descifrado = [&](const QString& nombre) {
        return DescifraGuardada(*oUtilerias, nombre, registro.DatosQ7K(nombre));
    };
    bases.cPassword = descifrado(QStringLiteral("MySQLPassword"));
    bases.cUsuario = descifrado(QStringLiteral("MySQLUsuario"));
    bases.cPuerto = puertoDe(oKtfa->nxVal(registro.DatosQ7K(QStringLiteral("MySQLPuerto"))));
    bases.cRuta = registro.DatosQ7K(QStringLiteral("MySQLServer"));
    if (leerBase)
        bases.cMiBase = LeeIniConDefecto(ktfa, cArchivoINI, claves::kSeccion, claves::kBase,
                                         ajuste(claves::kBase).defecto);
    spdlog::info("Vendalia Pro en \"{}\": MySQL {}:{}, base {}", carpeta.toStdString(),
                 bases.cRuta.toStdString(), bases.cPuerto, bases.cMiBase.toStdString());
    return true;
}
