#include "entorno.h"

#include <QtGlobal>

bool enCI() {
    return !qEnvironmentVariableIsEmpty("CI");
}
