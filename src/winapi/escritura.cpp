#include "winapi/escritura.h"

namespace escritura {

bool escribirTodo(QFileDevice& archivo, const QByteArray& bytes, QString& motivo) {
    for (qint64 hecho = 0; hecho < bytes.size();) {
        const qint64 parte = archivo.write(bytes.constData() + hecho, bytes.size() - hecho);
        if (parte <= 0) {
            motivo = archivo.errorString();
            return false;
        }
        hecho += parte;
    }
    // What stays in the buffer after a flush cut short is tried again by the next one.
    if (archivo.flush() || archivo.flush())
        return true;
    motivo = archivo.errorString();
    return false;
}

} // namespace escritura
