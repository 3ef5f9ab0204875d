#include "winapi/escritura.h"

#include <QDir>
#include <QSaveFile>

namespace escritura {

bool escribirTodo(QFileDevice& archivo, const QByteArray& bytes, QString* error) {
    for (qint64 hecho = 0; hecho < bytes.size();) {
        const qint64 parte = archivo.write(bytes.constData() + hecho, bytes.size() - hecho);
        if (parte <= 0) {
            if (error)
                *error = archivo.errorString();
            return false;
        }
        hecho += parte;
    }
    // What stays in the buffer after a flush cut short is tried again by the next one.
    if (archivo.flush() || archivo.flush())
        return true;
    if (error)
        *error = archivo.errorString();
    return false;
}

bool reemplazar(const QString& ruta, const QByteArray& bytes, QString* error) {
    return reemplazar(
        ruta,
        [&bytes](QFileDevice& archivo, QString* porQue) { return escribirTodo(archivo, bytes, porQue); },
        error);
}

bool reemplazar(const QString& ruta, const Escritor& escribir, QString* error) {
    QSaveFile archivo(ruta);
    QString porQue;
    if (archivo.open(QIODevice::WriteOnly) && escribir(archivo, &porQue) && archivo.commit())
        return true;
    if (porQue.isEmpty())
        porQue = archivo.errorString();
    if (archivo.isOpen()) {
        archivo.cancelWriting();
        archivo.commit();
    }
    if (error)
        *error = QStringLiteral("no se puede escribir %1: %2").arg(QDir::toNativeSeparators(ruta), porQue);
    return false;
}

} // namespace escritura
