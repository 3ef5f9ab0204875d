#include "ftp_travieso.h"

ServidorFtpTravieso::ServidorFtpTravieso(const QString& capricho, int bytesPorSegundo)
    : ServidorFtp(QStringLiteral("catalogo"), QStringLiteral("clave-de-prueba")) {
    arrancar({QStringLiteral(CATALOGO_SOURCE_DIR "/tests/support/ftp_travieso.py"), capricho, carpeta_,
              usuario_, contrasena_, QString::number(bytesPorSegundo)},
             QStringLiteral("puerto (\\d+)"));
}
