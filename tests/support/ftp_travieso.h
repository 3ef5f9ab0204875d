#pragma once
// pyftpdlib failing on purpose in one way (ftp_travieso.py says how each fails), or "normal"; the data
// channel of uploads slowed down to `bytesPorSegundo` when given.

#include "ftp_servidor.h"

class ServidorFtpTravieso : public ServidorFtp {
public:
    explicit ServidorFtpTravieso(const QString& capricho, int bytesPorSegundo = 0);
};
