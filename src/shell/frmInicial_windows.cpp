// Windows' close requests, which Qt makes one close event, told apart by their own messages: the close
// box and the window menu (WM_SYSCOMMAND with SC_CLOSE) hide the window, and so does Alt+F4 while a send
// greys it out; Alt+F4 otherwise ends the program, as does a bare WM_CLOSE (the task manager's "Finalizar
// tarea", taskkill); the end of the session ends it before Windows ends the process.

#include "shell/frmInicial.h"

#include <windows.h>

bool frmInicial::nativeEvent(const QByteArray& tipo, void* mensaje, qintptr* resultado) {
    const auto* msg = static_cast<const MSG*>(mensaje);
    switch (msg->message) {
    case WM_SYSCOMMAND:
        if ((msg->wParam & 0xFFF0) != SC_CLOSE)
            break;
        // Alt+F4 comes this way when the window has not taken the key itself; the keys are still down.
        if (GetKeyState(VK_F4) < 0 && GetKeyState(VK_MENU) < 0) {
            if (isEnabled())
                Terminar();
        } else {
            Ocultar();
        }
        *resultado = 0;
        return true;
    case WM_CLOSE:
        Terminar();
        *resultado = 0;
        return true;
    case WM_ENDSESSION:
        // Windows ends the process as soon as this message is answered: the send stops and the program
        // unloads now, and Qt then does its own part.
        if (msg->wParam)
            Descargar();
        break;
    default:
        break;
    }
    return Formulario::nativeEvent(tipo, mensaje, resultado);
}
