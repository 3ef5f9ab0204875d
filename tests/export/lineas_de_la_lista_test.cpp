// The lines of a listed catalogue kept past the memory they may take: those beyond it come back from
// disk the same as those within it.

#include "export/LineasDeLaLista.h"

#include <gtest/gtest.h>

TEST(LineasDeLaLista, MasAllaDeLaMemoriaLasLineasVuelvenIgualesDelDisco) {
    const QList<QByteArray> listadas = {"A1", "b2", "C3", "d4", "E5", "f6"};
    // Room for the first product kept: the other five go to the file.
    LineasDeLaLista lineas(static_cast<qint32>(listadas.size()), 40);
    for (const QByteArray& clave : listadas)
        lineas.agregarCodigo(clave);
    const auto lineaDe = [](const QByteArray& clave) {
        return "\"" + clave + "\",\"" + QByteArray(9, 'x') + "\"\r\n";
    };
    // The catalogue's order, with a code not listed and a listed one read twice: only its first is kept.
    const std::pair<QByteArray, bool> catalogo[] = {{"f6", true}, {"C3", true}, {"zz", false}, {"A1", true},
                                                    {"E5", true}, {"d4", true}, {"C3", false}, {"b2", true}};
    for (const auto& [clave, buscada] : catalogo) {
        LineasDeLaLista::Codigo* codigo = lineas.buscado(clave);
        ASSERT_EQ(codigo != nullptr, buscada) << clave.constData();
        if (codigo != nullptr) {
            ASSERT_TRUE(lineas.guardar(*codigo, clave, lineaDe(clave))) << lineas.error().toStdString();
        }
    }
    ASSERT_TRUE(lineas.terminar()) << lineas.error().toStdString();

    std::vector<std::optional<QByteArray>> halladas;
    lineas.lineas({"E5", "f6", "c3", "A1", "f6", "zz", "d4", "b2", "C3"}, halladas);
    const std::vector<std::optional<QByteArray>> esperadas = {lineaDe("E5"), lineaDe("f6"), std::nullopt,
                                                              lineaDe("A1"), lineaDe("f6"), std::nullopt,
                                                              lineaDe("d4"), lineaDe("b2"), lineaDe("C3")};
    EXPECT_EQ(halladas, esperadas);
}
