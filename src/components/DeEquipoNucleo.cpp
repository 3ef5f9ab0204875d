#include "components/Nucleo.h"

#include <QSysInfo>

QString DeEquipoNucleo::NetName() {
    return QSysInfo::machineHostName();
}
