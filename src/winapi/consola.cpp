#include "winapi/consola.h"

#include "winapi/ansi.h"

#ifdef Q_OS_WIN
#include <QStringConverter>
#include <windows.h>
#endif

namespace consola {

QString desdeLaEntrada(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    DWORD modo = 0;
    if (GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &modo) != 0) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString texto = utf8(bytes);
        if (!utf8.hasError())
            return texto;
        const UINT pagina = GetConsoleCP();
        const int largo = static_cast<int>(bytes.size());
        QString tecleado(MultiByteToWideChar(pagina, 0, bytes.constData(), largo, nullptr, 0),
                         Qt::Uninitialized);
        MultiByteToWideChar(pagina, 0, bytes.constData(), largo, reinterpret_cast<wchar_t*>(tecleado.data()),
                            static_cast<int>(tecleado.size()));
        return tecleado;
    }
#endif
    return desdeUtf8OAnsi(bytes);
}

} // namespace consola
