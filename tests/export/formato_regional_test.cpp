// What depends on the shop's regional settings: the value texts of the export file.

#include "export/Referencias.h"
#include "export/TextoDeValor.h"
#include "tienda_de_prueba.h"

namespace {

struct Regional {
    const char* nombre;
    const char* decimal; // -85.50 stored as DECIMAL
    const char* doble;   // 0.1 + 0.2 as a DOUBLE
    const char* fecha;   // 31 March 2024, also at midnight
    const char* fechaYHora;
};

// Numbers never take a group separator, and only decimals the regional decimal separator.
TEST(ValorEnRegional, NumerosSencillosYFechasDeLaConfiguracionRegional) {
    const Regional regionales[] = {{"es_ES", "-85,5", "0,3", "31/3/24", "31/3/24 14:30:05"},
                                   {"es_MX", "-85.5", "0.3", "31/03/24", "31/03/24 14:30:05"},
                                   {"en_US", "-85.5", "0.3", "3/31/24", "3/31/24 2:30:05 PM"},
                                   {"sv_SE", "-85,5", "0,3", "2024-03-31", "2024-03-31 14:30:05"}};
    const QDate dia(2024, 3, 31);
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
        EXPECT_EQ(texto(QVariant(dia)), r.fecha);
        EXPECT_EQ(texto(QVariant(QDateTime(dia, QTime(0, 0)))), r.fecha);
        EXPECT_EQ(texto(QVariant(QDateTime(dia, QTime(14, 30, 5)))), r.fechaYHora);
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
