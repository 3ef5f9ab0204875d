#pragma once
// The message box of a program without windows (`enviar`, `configurar`): the text goes to standard
// error and the answer is the one a refusal would give, so that nothing is done on the user's behalf.

#include <QString>

quint8 cajaDeConsola(const QString& texto, qint32 estilo, const QString& titulo);
