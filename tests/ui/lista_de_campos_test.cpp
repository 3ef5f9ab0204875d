// The field list tab: the columns of `productos` with the marks and selection the file gives, the
// order number typed on an item, and "Grabar" writing the file.

#include "bd_base.h"
#include "tienda_en_ventana.h"

#include <QInputDialog>
#include <QListWidget>
#include <QTest>

namespace {

class ListaDeCampos : public TiendaEnVentana {
protected:
    QListWidget& abrir(const QByteArray& archivo = QByteArray()) {
        if (!archivo.isNull())
            escribir(archivoCampos(), archivo);
        cargar({productoDePrueba(QStringLiteral("1001"), QStringLiteral("Café molido"))});
        clic("cmdCampos");
        return *control<QListWidget>("lstCampos");
    }

    // Each item as shown, with "*" after the selected ones; the columns left without mark or selection
    // are left out, so the table can grow a column without changing the cases.
    QStringList marcados() const {
        QStringList texto;
        auto* lista = control<QListWidget>("lstCampos");
        for (int i = 0; i < lista->count(); ++i)
            if (lista->item(i)->isSelected() || lista->item(i)->text().contains(QStringLiteral(" - (")))
                texto << lista->item(i)->text() +
                             (lista->item(i)->isSelected() ? QStringLiteral("*") : QString());
        return texto;
    }

    QListWidgetItem* elemento(const QString& inicio) const {
        auto* lista = control<QListWidget>("lstCampos");
        for (int i = 0; i < lista->count(); ++i)
            if (lista->item(i)->text().startsWith(inicio))
                return lista->item(i);
        ADD_FAILURE() << inicio.toStdString();
        return nullptr;
    }
};

TEST_F(ListaDeCampos, WithoutAFileTheDefaultFieldsAreWrittenMarkedAndSelected) {
    QListWidget& lista = abrir();
    EXPECT_EQ(leer(archivoCampos()), QByteArray("Clave\r\nDescrip\r\nMarca\r\nExistencia\r\nPrecio3\r\n"));
    EXPECT_EQ(lista.count(), puntoDeVenta::columnasDeProductos().size());
    EXPECT_EQ(marcados(), QStringList({"Clave - (1)*", "Descrip - (2)*", "Marca - (3)*", "Existencia - (4)*",
                                       "Precio3 - (5)*"}));
    EXPECT_EQ(elemento(QStringLiteral("Linea"))->text(), QStringLiteral("Linea"));
    EXPECT_EQ(pestanasVisibles(), QList<int>{3});
    EXPECT_FALSE(reloj());
}

TEST_F(ListaDeCampos, FileNamesMatchWithoutRegardToCaseAndUnknownOnesTakeNoNumber) {
    abrir("PRECIO1\r\nYaNoExiste\r\nclave\r\n");
    EXPECT_EQ(marcados(), QStringList({"Clave - (2)*", "Precio1 - (1)*"}));
}

struct Tecla {
    const char* nombre;
    const char* campo;     // the item the key is pressed on
    Qt::Key tecla;         // a digit, or Return
    const char* propuesta; // what the box proposes; null: no box comes up
    const char* respuesta;
    const char* resultado; // the item afterwards, "*" when selected
};

class OrdenDeCampo : public ListaDeCampos, public ::testing::WithParamInterface<Tecla> {};

TEST_P(OrdenDeCampo, TheTypedNumberGoesBehindTheName) {
    const Tecla& caso = GetParam();
    QListWidget& lista = abrir();
    QListWidgetItem* item = elemento(QString::fromLatin1(caso.campo));
    lista.setCurrentItem(item, QItemSelectionModel::NoUpdate);

    QString propuesta, pregunta, titulo;
    AlAparecer contestar([&](QWidget* modal) {
        auto* caja = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(caja, nullptr);
        propuesta = caja->textValue();
        pregunta = caja->labelText();
        titulo = caja->windowTitle();
        caja->setTextValue(QString::fromLatin1(caso.respuesta));
        caja->accept();
    });
    QTest::keyClick(&lista, caso.tecla);

    ASSERT_EQ(contestar.visto(), caso.propuesta != nullptr);
    if (contestar.visto()) {
        EXPECT_EQ(propuesta, QString::fromLatin1(caso.propuesta));
        // The point of sale's texts 1072 and 382.
        EXPECT_EQ(pregunta, QStringLiteral("Escriba el número de orden del campo:"));
        EXPECT_EQ(titulo, QStringLiteral("Orden del campo"));
    }
    EXPECT_EQ(item->text() + (item->isSelected() ? QStringLiteral("*") : QString()),
              QString::fromLatin1(caso.resultado));
}

INSTANTIATE_TEST_SUITE_P(
    Teclas, OrdenDeCampo,
    ::testing::Values(Tecla{"digito_propone_el_digito", "Marca", Qt::Key_7, "7", "7", "Marca - (7)*"},
                      Tecla{"enter_propone_la_marca", "Marca", Qt::Key_Return, "3", "12", "Marca - (12)*"},
                      Tecla{"enter_sin_marca_no_propone", "Linea", Qt::Key_Return, "", "2", "Linea - (2)*"},
                      Tecla{"cero_no_pregunta", "Marca", Qt::Key_0, nullptr, "", "Marca - (3)*"},
                      Tecla{"respuesta_cero_no_cambia", "Linea", Qt::Key_5, "5", "0", "Linea"},
                      // A half goes to the even number: 2.5 is 2, and 0.5 is 0, which changes nothing.
                      Tecla{"medio_al_par", "Linea", Qt::Key_2, "2", "2.5", "Linea - (2)*"},
                      Tecla{"medio_a_cero", "Linea", Qt::Key_1, "1", "0.5", "Linea"},
                      Tecla{"respuesta_vacia_no_cambia", "Marca", Qt::Key_4, "4", "", "Marca - (3)*"},
                      Tecla{"letra_no_pregunta", "Linea", Qt::Key_A, nullptr, "", "Linea"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(ListaDeCampos, GrabarWritesTheSelectedFieldsInTheirOrderAndGoesBack) {
    abrir("Descrip\r\nClave\r\n");
    elemento(QStringLiteral("Marca"))->setSelected(true);
    elemento(QStringLiteral("Descrip"))->setSelected(false);
    clic("cmdGrabar2");
    EXPECT_EQ(leer(archivoCampos()), QByteArray("Clave\r\nMarca\r\n"))
        << "number 2 stands alone: nothing for 1";
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_TRUE(reloj());
}

TEST_F(ListaDeCampos, GrabarWithNothingSelectedStaysAndWritesNothing) {
    QListWidget& lista = abrir("Descrip\r\n");
    lista.clearSelection();
    clic("cmdGrabar2");
    EXPECT_EQ(pestanasVisibles(), QList<int>{3});
    EXPECT_EQ(leer(archivoCampos()), QByteArray("Descrip\r\n"));

    clic("cmdCancelar2");
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_EQ(leer(archivoCampos()), QByteArray("Descrip\r\n"));
}

} // namespace
