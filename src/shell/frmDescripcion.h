#pragma once
// The description window that F1 opens: what the program does, in a text area that fills it. It keeps
// its place and size in the settings file between uses.

#include "shell/Formulario.h"

class QTextBrowser;

class frmDescripcion : public Formulario {
    Q_OBJECT

public:
    explicit frmDescripcion(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    QTextBrowser* rtbTexto;
};
