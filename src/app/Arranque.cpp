#include "app/Arranque.h"

#include "config/ConexionQ7K.h"
#include "config/Configuracion.h"
#include "modulo/ArchivosDelPrograma.h"
#include "modulo/Bitacora.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <spdlog/spdlog.h>

QString carpetaDelPrograma(const QString& carpetaDada) {
    const QString carpeta = carpetaDada.isEmpty() ? QCoreApplication::applicationDirPath() : carpetaDada;
    return QDir::cleanPath(QDir(carpeta).absolutePath());
}

QString nombreDelEjecutable() {
    // The console companion catalogo-ftp.com is the same program, with the same settings file.
    QString nombre = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    for (const QString& extension : {archivos::kEscritorioEnWindows, archivos::kConsolaEnWindows})
        if (nombre.endsWith(extension, Qt::CaseInsensitive))
            nombre.chop(extension.size());
    return nombre;
}

bool prepararCarpeta(const QString& carpeta) {
    if (!QFileInfo(carpeta).isDir() || !QDir::setCurrent(carpeta))
        return false;
    Modulo& m = modulo();
    m.cCarpeta = carpetaDelPrograma(carpeta);
    iniciarBitacora(m.cCarpeta);
    m.cNombre = nombreDelEjecutable();
    m.cSeparador = QStringLiteral(" - ");
    // Written the system's way ("\" on Windows): the settings file's path reaches the user in messages.
    m.cArchivoProductos = QDir::toNativeSeparators(archivos::en(m.cCarpeta, archivos::kProductos));
    m.cArchivoCampos = QDir::toNativeSeparators(archivos::en(m.cCarpeta, archivos::kCampos));
    m.cArchivoINI = QDir::toNativeSeparators(archivos::en(m.cCarpeta, archivos::ajustes(m.cNombre)));
    m.cVersion = QStringLiteral("   v %1.%2.%3")
                     .arg(CATALOGO_VERSION_MAJOR)
                     .arg(CATALOGO_VERSION_MINOR)
                     .arg(CATALOGO_VERSION_PATCH);
    spdlog::info("Inicio de {}{} en {}", m.cNombre.toStdString(), m.cVersion.toStdString(),
                 m.cCarpeta.toStdString());
    return true;
}

bool crearComponentes(bool conControles) {
    Modulo& m = modulo();
    const QString nodex = QStringLiteral("Nodex");
    return CreaObjeto(m.oKtfa, QStringLiteral("libKtfa"), nodex) &&
           CreaObjeto(m.oBasesDD, QStringLiteral("BasesDD"), nodex) &&
           CreaObjeto(m.oEquipo, QStringLiteral("DeEquipo"), nodex) &&
           CreaObjeto(m.oUtilerias, QStringLiteral("Utilerias"), nodex) &&
           CreaObjeto(m.oArchivos, QStringLiteral("DeArchivos"), nodex) &&
           CreaObjeto(m.oRegistro, QStringLiteral("DelRegistro"), QStringLiteral("nodex")) &&
           (!conControles || CreaObjeto(m.oControles, QStringLiteral("DeControles"), nodex));
}

Arranque arrancarNucleo(const QString& carpeta, bool conControles) {
    if (!prepararCarpeta(carpeta))
        return Arranque::carpetaInexistente;
    if (!crearComponentes(conControles))
        return Arranque::faltaComponente;
    Modulo& m = modulo();
    if (!ConexionQ7K(*m.oKtfa, *m.oRegistro, *m.oBasesDD, m.cArchivoINI, true))
        return Arranque::sinPuntoDeVenta;
    LeeConfiguracion();
    return Arranque::listo;
}
