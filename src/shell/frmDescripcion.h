#pragma once
// The description window that F1 opens: what the program does, in a text area that fills it, and a
// menu that opens the settings file for editing. It keeps its place and size in the settings file
// between uses.

#include "shell/Formulario.h"

class QAction;
class QMenuBar;
class QTextEdit;

class frmDescripcion : public Formulario {
    Q_OBJECT

public:
    explicit frmDescripcion(QWidget* parent = nullptr);

    void mnDescrip_Click();
    void mnEditINI_Click();

protected:
    void closeEvent(QCloseEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    QMenuBar* menu;
    QTextEdit* rtbTexto;
};
