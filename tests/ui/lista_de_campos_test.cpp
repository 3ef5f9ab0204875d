// The field list tab: the columns of `productos` with the marks and selection the file gives, the
// order number typed on an item, and "Grabar" writing the file.

#include "bd_base.h"
#include "tienda_en_ventana.h"

#include <QInputDialog>
#include <QKeySequence>
#include <QListWidget>

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
        for (const QListWidgetItem* item :
             control<QListWidget>("lstCampos")->findItems({}, Qt::MatchContains))
            if (item->isSelected() || item->text().contains(QStringLiteral(" - (")))
                texto << comoSeVe(*item);
        return texto;
    }
    static QString comoSeVe(const QListWidgetItem& item) {
        return item.text() + (item.isSelected() ? QStringLiteral("*") : QString());
    }

    QListWidgetItem* elemento(const QString& inicio) const {
        const auto hallados = control<QListWidget>("lstCampos")->findItems(inicio, Qt::MatchStartsWith);
        EXPECT_FALSE(hallados.isEmpty()) << inicio.toStdString();
        return hallados.value(0);
    }
};

TEST_F(ListaDeCampos, WithoutAFileTheDefaultFieldsAreWrittenMarkedAndSelected) {
    abrir();
    EXPECT_EQ(leer(archivoCampos()), QByteArray("Clave\r\nDescrip\r\nMarca\r\nExistencia\r\nPrecio3\r\n"));
    EXPECT_EQ(marcados(), QStringList({"Clave - (1)*", "Descrip - (2)*", "Marca - (3)*", "Existencia - (4)*",
                                       "Precio3 - (5)*"}));
    EXPECT_EQ(pestanasVisibles(), QList<int>{3});
    EXPECT_FALSE(reloj());
}

TEST_F(ListaDeCampos, FileNamesMatchWithoutRegardToCaseAndUnknownOnesTakeNoNumber) {
    abrir("PRECIO1\r\nYaNoExiste\r\nclave\r\n");
    EXPECT_EQ(marcados(), QStringList({"Clave - (2)*", "Precio1 - (1)*"}));
}

// A digit or Enter on an item asks for its order number and puts it behind the name.
TEST_F(ListaDeCampos, TheTypedNumberGoesBehindTheName) {
    const struct {
        const char* campo;     // the item the key is pressed on: Marca (3, selected) or Linea (no mark)
        Qt::Key tecla;         // a digit, or Return
        const char* propuesta; // what the box proposes; null: no box comes up
        const char* respuesta;
        const char* resultado; // the item afterwards, "*" when selected
    } casos[] = {{"Marca", Qt::Key_7, "7", "7", "Marca - (7)*"},
                 {"Marca", Qt::Key_Return, "3", "12", "Marca - (12)*"},
                 {"Linea", Qt::Key_Return, "", "2", "Linea - (2)*"},
                 {"Marca", Qt::Key_0, nullptr, "", "Marca - (3)*"},
                 {"Linea", Qt::Key_5, "5", "0", "Linea"},
                 // A half goes to the even number: 2.5 is 2, and 0.5 is 0, which changes nothing.
                 {"Linea", Qt::Key_2, "2", "2.5", "Linea - (2)*"},
                 {"Linea", Qt::Key_1, "1", "0.5", "Linea"},
                 {"Marca", Qt::Key_4, "4", "", "Marca - (3)*"},
                 {"Linea", Qt::Key_A, nullptr, "", "Linea"}};
    QListWidget& lista = abrir();
    QListWidgetItem* marca = elemento(QStringLiteral("Marca"));
    QListWidgetItem* linea = elemento(QStringLiteral("Linea"));
    for (const auto& caso : casos) {
        marca->setText(QStringLiteral("Marca - (3)"));
        marca->setSelected(true);
        linea->setText(QStringLiteral("Linea"));
        linea->setSelected(false);
        QListWidgetItem* item = caso.campo[0] == 'M' ? marca : linea;
        lista.setCurrentItem(item, QItemSelectionModel::NoUpdate);

        QStringList caja; // what the box proposed, asked and was titled
        AlAparecer contestar([&](QWidget* modal) {
            auto* entrada = qobject_cast<QInputDialog*>(modal);
            ASSERT_NE(entrada, nullptr);
            caja = QStringList{entrada->textValue(), entrada->labelText(), entrada->windowTitle()};
            for (const QAbstractButton* boton : entrada->findChildren<QAbstractButton*>())
                caja << boton->text();
            entrada->setTextValue(QString::fromLatin1(caso.respuesta));
            entrada->accept();
        });
        QTest::keyClick(&lista, caso.tecla);

        const QString fila = QStringLiteral("%1 %2").arg(caso.campo, QKeySequence(caso.tecla).toString());
        if (caso.propuesta == nullptr)
            EXPECT_FALSE(contestar.visto()) << fila.toStdString();
        else
            EXPECT_EQ(caja, QStringList({caso.propuesta, "Escriba el número de orden del campo:",
                                         "Orden del campo", "Aceptar", "Cancelar"}))
                << fila.toStdString();
        EXPECT_EQ(comoSeVe(*item), QString::fromLatin1(caso.resultado)) << fila.toStdString();
    }
}

// With nothing selected "Grabar" stays and writes nothing; "Cancelar" goes back without writing.
TEST_F(ListaDeCampos, GrabarWritesTheSelectedFieldsInTheirOrderAndGoesBack) {
    QListWidget& lista = abrir("Descrip\r\nClave\r\n");
    lista.clearSelection();
    clic("cmdGrabar2");
    EXPECT_EQ(pestanasVisibles(), QList<int>{3});
    clic("cmdCancelar2");
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_EQ(leer(archivoCampos()), QByteArray("Descrip\r\nClave\r\n"));

    clic("cmdCampos");
    elemento(QStringLiteral("Marca"))->setSelected(true);
    elemento(QStringLiteral("Descrip"))->setSelected(false);
    clic("cmdGrabar2");
    EXPECT_EQ(leer(archivoCampos()), QByteArray("Clave\r\nMarca\r\n"))
        << "number 2 stands alone: nothing for 1";
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_TRUE(reloj());
}

} // namespace
