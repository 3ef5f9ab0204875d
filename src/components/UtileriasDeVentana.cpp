#include "components/UtileriasDeVentana.h"

#include "components/CajaDeMensaje.h"

#include <QWidget>

quint8 UtileriasDeVentana::MsgBoxSkn(QString& mensaje, qint32& estilo, QString& titulo, quint8&) {
    return MostrarCajaDeMensaje(qobject_cast<QWidget*>(ElMenu), mensaje, estilo, titulo);
}
