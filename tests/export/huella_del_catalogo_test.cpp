// A large catalogue's fingerprint goes to disk in sorted parts: told in parts of any size, it must keep
// the same file and count the same changes as told whole in memory.

#include "export/HuellaDelCatalogo.h"
#include "export/LoPublicado.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Lineas = std::vector<std::pair<QByteArray, QByteArray>>;

Lineas catalogo(int desde, int hasta) {
    Lineas lineas;
    for (int i = desde; i <= hasta; ++i)
        lineas.emplace_back("P" + QByteArray::number(i), "\"P" + QByteArray::number(i) + "\",\"1.5\"\r\n");
    return lineas;
}

QByteArray leer(const QString& ruta) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

} // namespace

TEST(HuellaDelCatalogo, EnPartesDeCualquierTamanoGuardaYCuentaLoMismo) {
    const QDateTime ahora(QDate(2026, 12, 6), QTime(10, 0), Qt::UTC);
    // More products than the kept file takes in one write. P7 comes twice in the first catalogue, its two
    // lines far apart; the second drops the last five, adds three, changes P10 and P20, and has P7 once,
    // whose lines together were its product.
    constexpr int n = 4100;
    Lineas antes = catalogo(1, n);
    antes.emplace_back("P7", "\"P7\",\"otra\"\r\n");
    Lineas ahoraLineas = catalogo(1, n + 3);
    ahoraLineas.erase(ahoraLineas.begin() + n - 5, ahoraLineas.begin() + n);
    ahoraLineas[9].second = "\"P10\",\"2\"\r\n";
    ahoraLineas[19].second = "\"P20\",\"2\"\r\n";

    QByteArray enMemoria;
    for (const size_t parte : {HuellaDelCatalogo::kEnMemoria, size_t(1), size_t(3), size_t(1000)}) {
        SCOPED_TRACE(parte);
        QTemporaryDir carpeta;
        const QString ruta = carpeta.filePath("catalogo-ftp.publicado");
        const auto publicar = [&](const Lineas& lineas, const LoPublicado* anterior) {
            HuellaDelCatalogo huella(parte);
            for (const auto& [clave, linea] : lineas)
                huella.agregar(clave, linea);
            std::optional<CambiosDelCatalogo> cambios;
            QString error;
            EXPECT_TRUE(guardarPublicacion(ruta, publicacionDe(huella, "destino", anterior, ahora), huella,
                                           anterior, cambios, &error))
                << error.toStdString();
            return cambios;
        };
        EXPECT_FALSE(publicar(antes, nullptr).has_value());
        LoPublicado anterior;
        ASSERT_EQ(leerLoPublicado(ruta, anterior, nullptr), LecturaDeLoPublicado::leido);
        EXPECT_EQ(anterior.productos, n);
        EXPECT_EQ(anterior.lineas, n + 1);

        const std::optional<CambiosDelCatalogo> cambios = publicar(ahoraLineas, &anterior);
        ASSERT_TRUE(cambios.has_value());
        EXPECT_EQ(textoDeCambios(cambios), "Cambios: 3 nuevos, 5 retirados, 3 modificados");
        if (enMemoria.isEmpty())
            enMemoria = leer(ruta);
        EXPECT_EQ(leer(ruta), enMemoria);
    }
}
