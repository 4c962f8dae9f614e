#pragma once
// What the device and service windows share: window flags, colours and font from the opener, and
// closing a window that was opened without a controller link.
#include <QColor>
#include <QDialog>
#include <QFont>
#include <QMetaObject>

namespace OknoDialogu {

// Fixed border, only the close box.
inline Qt::WindowFlags Flagi() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

// Background and text of the colour scheme, the main window's font in bold.
inline void Kolory(QWidget *w, const QColor &background, const QColor &text, const QFont &font,
                   int pixelSize = 16) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    w->setPalette(p);
    w->setAutoFillBackground(true);
    QFont f = font;
    f.setBold(true);
    f.setPixelSize(pixelSize);
    w->setFont(f);
}

// Closes the dialog once its own show has finished (a nested exec() is running by then).
inline void ZamknijPozniej(QDialog *d) {
    QMetaObject::invokeMethod(
        d, [d] { d->reject(); }, Qt::QueuedConnection);
}

} // namespace OknoDialogu
