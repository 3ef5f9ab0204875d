#include "components/Nucleo.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <spdlog/spdlog.h>

#ifdef Q_OS_WIN
#include <windows.h>

// After <windows.h>, which it needs.
#include <shellapi.h>
#endif

bool DeArchivosNucleo::HayArchivo(QString& ruta) {
    return QFileInfo(ruta).isFile();
}

QString DeArchivosNucleo::NombreDeArchivo(QString& ruta) {
    const qsizetype separador = qMax(ruta.lastIndexOf(QLatin1Char('\\')), ruta.lastIndexOf(QLatin1Char('/')));
    return ruta.mid(separador + 1);
}

void DeArchivosNucleo::BorraArchivo(QString& ruta) {
    QFile archivo(ruta);
    if (archivo.exists() && !archivo.remove())
        spdlog::error("No se puede borrar {}: {}", ruta.toStdString(), archivo.errorString().toStdString());
}

void DeArchivosNucleo::AbreDocumento(QString& ruta, qint16 ventana, qint16 mostrar) {
#ifdef Q_OS_WIN
    const auto resultado = reinterpret_cast<quintptr>(
        ShellExecuteW(reinterpret_cast<HWND>(static_cast<quintptr>(ventana)), L"open",
                      reinterpret_cast<const wchar_t*>(ruta.utf16()), nullptr, nullptr, mostrar));
    // The shell answers a value above 32 when it opened the document.
    const bool abierto = resultado > 32;
#elif defined(Q_OS_MACOS)
    Q_UNUSED(ventana);
    Q_UNUSED(mostrar);
    const bool abierto = QProcess::startDetached(QStringLiteral("open"), {ruta});
#else
    Q_UNUSED(ventana);
    Q_UNUSED(mostrar);
    const bool abierto = QProcess::startDetached(QStringLiteral("xdg-open"), {ruta});
#endif
    if (!abierto)
        spdlog::error("No se puede abrir {}", ruta.toStdString());
}
