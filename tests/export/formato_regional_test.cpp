// What depends on the shop's regional settings: the value texts of the export file.

#include "export/Referencias.h"
#include "export/TextoDeValor.h"
#include "tienda_de_prueba.h"

namespace {

struct Regional {
    const char* nombre;
    const char* decimal; // -85.50 stored as DECIMAL
    const char* doble;   // 0.1 + 0.2 as a DOUBLE
};

// Numbers never take a group separator, and only decimals the regional decimal separator. (Dates are
// checked in the export file.)
TEST(ValorEnRegional, NumerosSencillosYFechasDeLaConfiguracionRegional) {
    const Regional regionales[] = {{"es_ES", "-85,5", "0,3"}, {"en_US", "-85.5", "0.3"}};
    for (const Regional& r : regionales) {
        SCOPED_TRACE(r.nombre);
        const TextoDeValor texto{FormatoRegional(QLocale(QString::fromLatin1(r.nombre)))};
        const auto decimal = [&](const char* guardado) {
            return texto(ado::Field("Precio", QString::fromLatin1(guardado), QMetaType(QMetaType::Double)));
        };
        EXPECT_EQ(texto(QVariant(qlonglong(1234567))), "1234567");
        EXPECT_EQ(texto(QVariant(-5)), "-5");
        EXPECT_EQ(decimal("-85.50"), r.decimal);
        EXPECT_EQ(decimal("12.000"), "12");
        EXPECT_EQ(texto(QVariant(0.1 + 0.2)), r.doble);
        EXPECT_EQ(texto(QVariant(1e20)), "100000000000000000000");
        EXPECT_EQ(texto(QVariant(-0.0)), "0");
    }
}

// A brand or line id stored as a decimal or as text is still an integer id.
TEST(ColumnaDeReferencia, ElIdGuardadoComoDecimalOTextoEsUnNumeroEntero) {
    const NombresPorId marcas(QHash<qint64, QString>{{1, "Truper"}, {2, "Pretul"}});
    const std::pair<QVariant, QString> casos[] = {
        {QStringLiteral("1.00"), "Truper"}, {QStringLiteral("2"), "Pretul"}, {2.5, "Pretul"},  {0, ""},
        {QStringLiteral("-1"), ""},         {QStringLiteral("x"), ""},       {QVariant(), ""}, {7, ""}};
    for (const auto& [id, esperado] : casos)
        EXPECT_EQ(marcas(id), esperado) << id.toString().toStdString();
}

} // namespace
