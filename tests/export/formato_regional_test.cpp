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

// DOUBLE and FLOAT columns as the file must show them, not as the server prints them ("1e20",
// "0.30000000000000004", "3.4e38"): the same on both back ends and under every regional setting.
class NumeroDeLaBase : public ::testing::TestWithParam<Motor> {};

TEST_P(NumeroDeLaBase, SinExponenteYConQuinceCifras) {
    TiendaDePrueba tienda;
    if (!tienda.abrir(GetParam(), 1))
        return;
    for (const char* columna :
         {"Grande DOUBLE", "Suma DOUBLE", "Flotante FLOAT", "Largo DOUBLE", "Chico DOUBLE"})
        tienda.base.ejecutar(QStringLiteral("ALTER TABLE productos ADD %1").arg(QLatin1String(columna)));
    tienda.base.ejecutar("UPDATE productos SET Grande = 1e20, Suma = 0.1e0 + 0.2e0, Flotante = 3.4e38, "
                         "Largo = 123456789012345678e0, Chico = -1.5e-7");
    escribirArchivo(modulo().cArchivoCampos, "Grande\r\nSuma\r\nFlotante\r\nLargo\r\nChico\r\n");
    const QLocale antes;
    for (const auto& [nombre, separador] : {std::pair{"es_ES", ","}, std::pair{"en_US", "."}}) {
        SCOPED_TRACE(nombre);
        QLocale::setDefault(QLocale(QString::fromLatin1(nombre)));
        tienda.enviar();
        // "#" stands for the regional decimal separator.
        EXPECT_EQ(
            QString::fromLatin1(tienda.exportado()),
            QStringLiteral("\"100000000000000000000\",\"0#3\",\"340000000000000000000000000000000000000\","
                           "\"123456789012346000\",\"-0#00000015\"\r\n")
                .replace(u'#', QLatin1String(separador)));
    }
    QLocale::setDefault(antes);
}

INSTANTIATE_TEST_SUITE_P(Motores, NumeroDeLaBase, ::testing::Values(Motor::MariaDB, Motor::SQLite),
                         nombreDelMotor);

// What only MariaDB holds: a DECIMAL wider than a double, kept to its last digit; the zero date, which is
// no date; a brand Id on two rows, which names the first, as a lookup of that Id with LIMIT 1 finds it.
TEST(ValorDeMariaDB, DecimalExactoFechaCeroYLaPrimeraFilaDeUnId) {
    TiendaDePrueba tienda;
    if (!tienda.abrir(Motor::MariaDB, 1))
        return;
    tienda.base.ejecutar("ALTER TABLE productos ADD Exacto DECIMAL(30,10), ADD Baja DATETIME, ADD Dia DATE");
    tienda.base.ejecutar("ALTER TABLE marcas DROP PRIMARY KEY");
    tienda.base.ejecutar("INSERT INTO marcas (Id, Marca) VALUES (7, 'Primera'), (7, 'Segunda')");
    tienda.base.ejecutar("SET SESSION sql_mode = ''"); // MariaDB's default refuses zero dates
    tienda.base.ejecutar("UPDATE productos SET Exacto = '12345678901234567890.0123456789', "
                         "Baja = '0000-00-00 00:00:00', Dia = '0000-00-00', Marca = 7");
    escribirArchivo(modulo().cArchivoCampos, "Exacto\r\nBaja\r\nDia\r\nMarca\r\n");
    const QLocale antes;
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    tienda.enviar();
    QLocale::setDefault(antes);
    EXPECT_EQ(tienda.exportado(), "\"12345678901234567890.0123456789\",\"\",\"\",\"Primera\"\r\n");
}

// Every other kind of MySQL column a shop may have added, with a value and as NULL.
TEST(ValorDeMariaDB, CadaTipoDeColumna) {
    TiendaDePrueba tienda;
    if (!tienda.abrir(Motor::MariaDB, 2))
        return;
    const QStringList columnas =
        QStringLiteral("Mini TINYINT|MiniSin TINYINT UNSIGNED|Corto SMALLINT|Medio MEDIUMINT|"
                       "Entero INT UNSIGNED|Grande BIGINT|GrandeSin BIGINT UNSIGNED|Ceros INT(6) ZEROFILL|"
                       "Anio YEAR|Hora TIME|Sello TIMESTAMP NULL|Fino DATETIME(3)|Dia DATE|Bit BIT(8)|"
                       "Fijo CHAR(5)|Texto TEXT|Binario VARBINARY(8)|Crudo BLOB|Lista ENUM('uno','dos')|"
                       "Varios SET('a','b')|Exacto VARCHAR(20) COLLATE utf8mb4_bin|Flotante FLOAT|"
                       "Doble DOUBLE|Cero DECIMAL(8,2)")
            .split(u'|');
    QStringList alta, campos;
    for (const QString& columna : columnas) {
        alta << "ADD " + columna;
        campos << columna.section(u' ', 0, 0);
    }
    tienda.base.ejecutar("ALTER TABLE productos " + alta.join(", "));
    tienda.base.ejecutar(
        "UPDATE productos SET Mini = -128, MiniSin = 255, Corto = -32768, Medio = 8388607, "
        "Entero = 4294967295, Grande = -9223372036854775808, GrandeSin = 18446744073709551615, Ceros = 42, "
        "Anio = 2024, Hora = '-838:59:59', Sello = '2024-03-01 14:30:05', "
        "Fino = '2024-03-01 00:00:00.250', Dia = '2024-12-31', Bit = b'01000001', Fijo = 'ab', Texto = "
        "'Mañana 🔧', "
        "Binario = X'41FF42', Crudo = X'C3A9', Lista = 'dos', Varios = 'a,b', Exacto = 'Café', "
        "Flotante = 0.1, Doble = -2.5e-3, Cero = -0.001 WHERE Clave = 'P000001'");
    escribirArchivo(modulo().cArchivoCampos, campos.join("\r\n").toUtf8());
    const QLocale antes;
    QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
    tienda.enviar();
    QLocale::setDefault(antes);
    const QLocale es(QStringLiteral("es_ES"));
    const auto dia = [&](int anio, int mes, int d) {
        return es.toString(QDate(anio, mes, d), QLocale::ShortFormat).toLatin1();
    };
    // The zero-filled, the bit field and the binary ones as Qt SQL has always handed them over.
    EXPECT_EQ(tienda.exportado(),
              "\"-128\",\"255\",\"-32768\",\"8388607\",\"4294967295\",\"-9223372036854775808\","
              "\"18446744073709551615\",\"42\",\"2024\",\"-838:59:59\",\"" +
                  dia(2024, 3, 1) + " 14:30:05\",\"" + dia(2024, 3, 1) + " 0:00:00\",\"" + dia(2024, 12, 31) +
                  "\",\"A\",\"ab\",\"Ma\xF1"
                  "ana ?\",\"A?B\",\"\xE9\",\"dos\",\"a,b\",\"Caf\xE9\",\"0,1\",\"-0,0025\",\"0\"\r\n" +
                  QList<QByteArray>(columnas.size(), "\"\"").join(',') + "\r\n");
}

} // namespace
