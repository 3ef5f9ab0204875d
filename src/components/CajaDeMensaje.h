#pragma once
// A message box with the platform's style codes (buttons + icon + default button) and answer codes
// (1 OK … 6 Yes, 7 No), in Spanish whatever the desktop's language.

#include <QString>
#include <QtGlobal>

class QWidget;

quint8 MostrarCajaDeMensaje(QWidget* dueno, const QString& texto, qint32 estilo, const QString& titulo);
