// What depends on the shop's regional settings: the value texts of the export file and the byte
// counts of the upload progress.

#include "entorno.h"
#include "export/Referencias.h"
#include "export/TextoDeValor.h"
#include "export/clsDeProductos.h"
#include "tienda_de_prueba.h"

namespace {

struct Regional {
    const char* nombre;
    const char* decimal; // -85.50 stored as DECIMAL
    const char* doble;   // 0.1 + 0.2 as a DOUBLE
    const char* fecha;   // 31 March 2024, also at midnight
    const char* fechaYHora;
};

void PrintTo(const Regional& r, std::ostream* os) {
    *os << r.nombre;
}

class ValorEnRegional : public ::testing::TestWithParam<Regional> {};

TEST_P(ValorEnRegional, NumerosSencillosYFechasDeLaConfiguracionRegional) {
    const Regional& r = GetParam();
    const TextoDeValor texto{FormatoRegional(QLocale(QString::fromLatin1(r.nombre)))};
    const QDate dia(2024, 3, 31);
    const std::pair<QString, QString> casos[] = {
        {texto(QVariant(qlonglong(1234567))), "1234567"},
        {texto(QVariant(-5)), "-5"},
        {texto(QVariant(0u)), "0"},
        {texto(ado::Field("Precio3", QStringLiteral("-85.50"), QMetaType(QMetaType::Double))), r.decimal},
        {texto(ado::Field("Precio1", QStringLiteral("12.000"), QMetaType(QMetaType::Double))), "12"},
        {texto(QVariant(0.1 + 0.2)), r.doble},
        {texto(QVariant(1e20)), "100000000000000000000"},
        {texto(QVariant(-0.0)), "0"},
        {texto(QVariant(dia)), r.fecha},
        {texto(QVariant(QDateTime(dia, QTime(0, 0)))), r.fecha},
        {texto(QVariant(QDateTime(dia, QTime(14, 30, 5)))), r.fechaYHora},
    };
    for (const auto& [obtenido, esperado] : casos)
        EXPECT_EQ(obtenido, esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Regiones, ValorEnRegional,
    ::testing::Values(Regional{"es_ES", "-85,5", "0,3", "31/3/24", "31/3/24 14:30:05"},
                      Regional{"es_MX", "-85.5", "0.3", "31/03/24", "31/03/24 14:30:05"},
                      Regional{"en_US", "-85.5", "0.3", "3/31/24", "3/31/24 2:30:05 PM"},
                      Regional{"de_DE", "-85,5", "0,3", "31.03.24", "31.03.24 14:30:05"},
                      Regional{"sv_SE", "-85,5", "0,3", "2024-03-31", "2024-03-31 14:30:05"}),
    [](const ::testing::TestParamInfo<Regional>& info) { return std::string(info.param.nombre); });

TEST(ColumnaDeReferencia, ElIdGuardadoComoDecimalOTextoEsUnNumeroEntero) {
    const NombresPorId marcas(QHash<qint64, QString>{{1, "Truper"}, {2, "Pretul"}});
    const std::pair<QVariant, QString> casos[] = {
        {QStringLiteral("1.00"), "Truper"},
        {QStringLiteral("2"), "Pretul"},
        {2.0, "Pretul"},
        {2.5, "Pretul"},
        {0, ""},
        {QStringLiteral("-1"), ""},
        {QStringLiteral("x"), ""},
        {QVariant(), ""},
        {7, ""},
    };
    for (const auto& [id, esperado] : casos)
        EXPECT_EQ(marcas(id), esperado) << id.toString().toStdString();
}

// The last progress text of the upload for byte counts under each regional setting; the handler is
// driven directly after a real send, which is what makes it show anything.
TEST(Label5, BytesAgrupadosDeTresEnTresConElSeparadorRegional) {
    TiendaDePrueba tienda;
    tienda.abrir(Motor::SQLite, 3);
    if (::testing::Test::IsSkipped() || ::testing::Test::HasFailure())
        return;
    clsDeProductos envio(tienda.avance);
    envio.CrearArchivo();
    ASSERT_EQ(envio.resultado(), clsDeProductos::Resultado::Enviado);

    struct Fila {
        const char* regional;
        qint32 bytes;
        QString cifras;
    };
    const Fila filas[] = {
        {"es_ES", 7646, "7.646"},
        {"es_ES", 999, "999"},
        {"es_MX", 1048576, "1,048,576"},
        {"en_US", 0, "0"},
        {"de_DE", 2147483647, "2.147.483.647"},
        {"sv_SE", 1048576, QStringLiteral("1\u00A0048\u00A0576")},
    };
    const QLocale antes;
    for (const Fila& fila : filas) {
        QLocale::setDefault(QLocale(QString::fromLatin1(fila.regional)));
        envio.mFTP_FileTransferProgress(fila.bytes, fila.bytes);
        EXPECT_EQ(tienda.avance.label5.last(),
                  QStringLiteral("De 'catalogo.csv': bytes copiados %1 de %1").arg(fila.cifras))
            << fila.regional;
    }
    QLocale::setDefault(antes);

    // A count past the total leaves the label as it was, but the window still gets its turn.
    const int eventos = tienda.avance.eventos;
    const QString ultimo = tienda.avance.label5.last();
    envio.mFTP_FileTransferProgress(500, 100);
    EXPECT_EQ(tienda.avance.label5.last(), ultimo);
    EXPECT_EQ(tienda.avance.eventos, eventos + 1);
}

} // namespace
