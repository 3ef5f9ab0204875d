#include "components/BasesDD.h"

#include "components/BasesDDSql.h"
#include "components/Registro.h"

void registrarBasesDD() {
    registrarComponente(QStringLiteral("Nodex.BasesDD"), [] { return std::make_unique<BasesDDSql>(); });
}
