#pragma once
// Which tabs of the main window's `stbTabs` can be seen: only one at a time, as the program shows them.

#include <QList>
#include <QTabWidget>
#include <QWidget>

inline QList<int> pestanasVisibles(const QWidget& ventana) {
    QList<int> visibles;
    const auto* tabs = ventana.findChild<QTabWidget*>(QStringLiteral("stbTabs"));
    for (int i = 0; tabs != nullptr && i < tabs->count(); ++i)
        if (tabs->isTabVisible(i))
            visibles << i;
    return visibles;
}
