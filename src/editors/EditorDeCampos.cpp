#include "editors/EditorDeCampos.h"

#include "export/ListasDeArchivo.h"
#include "export/clsDeProductos.h"
#include "modulo/Modulo.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QListWidget>

EditorDeCampos::EditorDeCampos(QListWidget* lstCampos, Avance& avance, QObject* parent)
    : QObject(parent), lstCampos(lstCampos), avance(avance) {
    // A click adds an item to the selection or takes it out: several fields are exported at once.
    lstCampos->setSelectionMode(QAbstractItemView::MultiSelection);
    lstCampos->installEventFilter(this);
}

void EditorDeCampos::cmdCampos_Click() {
    Modulo& m = modulo();
    BasesDD& bd = *m.oBasesDD;
    if (!bd.AbrirBdD(m.oConexion, bd.cMiBase))
        return;
    ado::Recordset rs;
    bd.AbrirTabla(rs, m.oConexion, QStringLiteral("productos LIMIT 0"));
    const qint32 columnas = rs.Fields().Count();
    if (columnas == 0) { // the table could not be read: stay where we are
        bd.CierraTabla(rs);
        return;
    }
    lstCampos->clear();
    for (qint32 j = 0; j < columnas; ++j)
        lstCampos->addItem(rs.Fields(j).Name());
    emit detenerReloj();

    if (!m.oArchivos->HayArchivo(m.cArchivoCampos)) {
        QList<CampoDeLista> porDefecto;
        for (const QString& campo : camposPorDefecto())
            porDefecto.append({campo, true});
        escribirListaDeCampos(m.cArchivoCampos, porDefecto, m.cSeparador, *m.oKtfa);
    }
    // Names that are no column of the table any more take no number.
    qint16 orden = 0;
    const auto lista = leerListaDeCampos(m.cArchivoCampos);
    for (const QString& linea : lista ? lista->valores : QStringList()) {
        for (qint32 j = 0; j < columnas; ++j) {
            QListWidgetItem* elemento = lstCampos->item(j);
            if (linea.compare(rs.Fields(j).Name(), Qt::CaseInsensitive) != 0)
                continue;
            ++orden;
            elemento->setText(elemento->text() + m.cSeparador + QLatin1Char('(') + QString::number(orden) +
                              QLatin1Char(')'));
            elemento->setSelected(true);
        }
        QCoreApplication::processEvents();
    }
    bd.CierraTabla(rs);
    // The connection stays open: the order-number box reads its texts through it.
    emit mostrarPestana(3);
}

void EditorDeCampos::cmdGrabar2_Click() {
    if (lstCampos->selectedItems().isEmpty()) {
        QApplication::beep();
        return;
    }
    QList<CampoDeLista> elementos;
    for (int i = 0; i < lstCampos->count(); ++i)
        elementos.append({lstCampos->item(i)->text(), lstCampos->item(i)->isSelected()});
    clsDeProductos(avance).GrabarListaCampos(elementos);
    emit volverAPrincipal();
}

bool EditorDeCampos::lstCampos_KeyPress(qint16& KeyAscii) {
    QListWidgetItem* actual = lstCampos->currentItem();
    if (actual == nullptr)
        return false;
    QString texto = actual->text();
    const CajaDeEntrada InputBox = [this](const QString& prompt, const QString& titulo,
                                          const QString& propuesta) {
        bool aceptada = false;
        const QString respuesta = QInputDialog::getText(lstCampos->window(), titulo, prompt,
                                                        QLineEdit::Normal, propuesta, &aceptada);
        return aceptada ? respuesta : QString();
    };
    const qint16 tecla = KeyAscii;
    if (clsDeProductos(avance).LstProds_KeyPress(KeyAscii, texto, InputBox)) {
        actual->setText(texto);
        actual->setSelected(true);
    }
    return (tecla >= '1' && tecla <= '9') || tecla == 13;
}

bool EditorDeCampos::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == lstCampos && evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        qint16 codigo = 0;
        if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter)
            codigo = 13;
        else if (tecla->text().size() == 1)
            codigo = qint16(tecla->text().at(0).unicode());
        // Digits and Enter belong to the order number; the list's own jump-to-letter keeps the rest.
        if (codigo != 0 && lstCampos_KeyPress(codigo))
            return true;
    }
    return QObject::eventFilter(objeto, evento);
}
