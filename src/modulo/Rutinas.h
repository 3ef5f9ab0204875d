#pragma once
// Module routines used across the program.

#include "components/Registro.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Message box styles and answers, with the platform's values.
namespace estilo {
inline constexpr qint32 vbOKOnly = 0;
inline constexpr qint32 vbYesNo = 4;
inline constexpr qint32 vbCritical = 16;
inline constexpr qint32 vbQuestion = 32;
inline constexpr qint32 vbExclamation = 48;
inline constexpr qint32 vbInformation = 64;
inline constexpr qint32 vbDefaultButton2 = 256;
inline constexpr quint8 vbOK = 1;
inline constexpr quint8 vbYes = 6;
inline constexpr quint8 vbNo = 7;
} // namespace estilo

// A plain system message box (not the point-of-sale's skinned one). The desktop program shows a
// window; `enviar` and `configurar` print the text and answer as a refusal would.
using CajaDelSistema = std::function<quint8(const QString& texto, qint32 estilo, const QString& titulo)>;
// An empty function puts the console box back.
void ponerCajaDelSistema(CajaDelSistema caja);
quint8 MsgBoxDelSistema(const QString& texto, qint32 estilo, const QString& titulo);

// Creates the component libreria + "." + clase. On failure shows the "Alerta" box, leaves `objeto`
// null and returns false.
bool CreaObjetoComponente(std::unique_ptr<Componente>& objeto, const QString& clase, const QString& libreria);

// The "Alerta" box of a component that could not be created.
void AvisoDeCreacion(qint32 numero, const QString& descripcion, const QString& clase,
                     const QString& libreria);

template <class T>
bool CreaObjeto(std::unique_ptr<T>& objeto, const QString& clase, const QString& libreria) {
    objeto.reset();
    std::unique_ptr<Componente> creado;
    if (!CreaObjetoComponente(creado, clase, libreria))
        return false;
    if (auto* tipado = dynamic_cast<T*>(creado.get())) {
        creado.release();
        objeto.reset(tipado);
        return true;
    }
    AvisoDeCreacion(13, QStringLiteral("No coinciden los tipos"), clase, libreria);
    return false;
}

// Every message box of the program goes through the utility component's MsgBoxSkn.
quint8 Mensaje(const QString& texto, qint32 botones, const QString& titulo);
bool Pregunta(const QString& texto, const QString& titulo, bool noPorDefecto);

// True when "-ktfa" appears anywhere in the command line (case-sensitive). `argumentos` are the
// command line's arguments without the program itself, whose path could hold the text by chance.
bool HayParametroKtfa(const QStringList& argumentos);
