#include "app/Komunikaty.h"

#include "lang/LangText.h"

#include <QApplication>
#include <QMessageBox>

int PokazKomunikat(QWidget *parent, const QString &text, int flags) {
    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(QStringLiteral("TARVEN"));
    box.setText(text);
    switch (flags & 0xF0) {
    case 16: box.setIcon(QMessageBox::Critical); break;
    case 32: box.setIcon(QMessageBox::Question); break;
    case 48: box.setIcon(QMessageBox::Warning); break;
    case 64: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    const bool yesNo = (flags & 0x0F) == 4;
    if (yesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int r = box.exec();
    if (yesNo) return r == QMessageBox::Yes ? 6 : 7;
    return 1;
}

void ZainstalujKomunikaty() {
    LangSetMessageHandler(
        [](const QString &text, int flags) { return PokazKomunikat(nullptr, text, flags); });
}
