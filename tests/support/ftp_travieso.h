#pragma once
// The misbehaving servers are pyftpdlib with a capricho (see ServidorFtp).

#include "ftp_servidor.h"

using ServidorFtpTravieso = ServidorFtp;
