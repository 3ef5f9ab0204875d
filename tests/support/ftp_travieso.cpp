#include "ftp_travieso.h"

ServidorFtpTravieso::ServidorFtpTravieso(const QString& capricho, int bytesPorSegundo)
    : ServidorFtpDePrueba(QStringLiteral("catalogo"), QStringLiteral("clave-de-prueba")) {
    if (prepararCarpeta())
        arrancarPython({QStringLiteral(CATALOGO_SOURCE_DIR "/tests/support/ftp_travieso.py"), capricho,
                        carpeta_, usuario_, contrasena_, QString::number(bytesPorSegundo)},
                       QStringLiteral("puerto (\\d+)"));
}
