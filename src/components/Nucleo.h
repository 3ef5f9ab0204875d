#pragma once
// Our implementations of the point-of-sale components that need no window. The desktop program
// derives from these to replace what draws (the message box of Utilerias).

#include "components/DeArchivos.h"
#include "components/DeEquipo.h"
#include "components/DelRegistro.h"
#include "components/LibKtfa.h"
#include "components/Utilerias.h"

// Nodex.libKtfa.
class LibKtfaNucleo : public LibKtfa {
public:
    QString LeeIni(const QString& seccion, const QString& clave, const QString& archivo) override;
    bool EscribeIni(const QString& seccion, const QString& clave, const QString& valor,
                    const QString& archivo) override;
    // Blanks skipped, an optional sign, digits with at most one decimal point, up to the first other
    // character: " 12abc" is 12, "2)" is 2, "-1.5" is -1.5, "abc" and "" are 0.
    double nxVal(const QString& texto) override;
    // Selects the box's whole text once the event that gave it the focus is over (a mouse click would
    // otherwise clear the selection at once).
    void Resalta(QObject* cajaDeTexto) override;
    // Key codes are the platform's virtual-key codes. Enter (13) comes back as Tab (9): the window
    // moves the focus to the next box, as the point-of-sale's own forms do.
    void Teclas(qint16& codigoTecla) override;
    // The character code is a UTF-16 unit. Control characters (below 32: backspace, Enter, the copy and
    // paste keys) always pass. Masks:
    //   "9"  digits 0 to 9 only; anything else is dropped (code 0)
    //   "X"  anything, as typed
    //   "!"  letters become capitals
    //   "¡"  letters become small letters (database names)
    // An unknown mask lets everything pass.
    void Enter(qint16& codigoCaracter, QString& mascara) override;
};

// Nodex.Utilerias. Its message box is the console's: the text goes to standard error and the answer is
// the one a refusal would give (OK for an OK box, No for a yes/no question).
class UtileriasNucleo : public Utilerias {
public:
    QString Encripta(const QString& texto) override;
    QString DesEncripta(const QString& texto) override;
    quint8 MsgBoxSkn(QString& mensaje, qint32& estilo, QString& titulo, quint8& extra) override;
    QString DameTexto(qint16 numero, ado::Connection& conexion) override;
};

// Nodex.DeArchivos.
class DeArchivosNucleo : public DeArchivos {
public:
    bool HayArchivo(QString& ruta) override;
    // The part after the last "\" or "/".
    QString NombreDeArchivo(QString& ruta) override;
    void BorraArchivo(QString& ruta) override;
    // `ventana` and `mostrar` are the owner window handle and the show command of the Windows shell
    // (1: normal window); elsewhere the desktop's opener (xdg-open) is used and they do not matter.
    void AbreDocumento(QString& ruta, qint16 ventana, qint16 mostrar) override;
};

// nodex.DelRegistro: an installation of the point of sale is a folder holding Q7K.ini, whose section
// "Q7K" keeps the point-of-sale settings.
class DelRegistroNucleo : public DelRegistro {
public:
    QString DatosQ7K(const QString& nombre) override;
    void GuardaDatosQ7K(const QString& nombre, const QString& valor) override;
    QString BuscarRegistroQ7K(QString& carpeta) override;

private:
    QString archivoQ7K; // set once an installation has been found
};

// Nodex.DeEquipo.
class DeEquipoNucleo : public DeEquipo {
public:
    QString NetName() override;
};
