#include "widgets/TRichBox.h"

#include "widgets/TPaleta.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

TRichBox::TRichBox(QWidget *parent) : QTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setAcceptRichText(false);
    timer_.setSingleShot(true);
    timer_.setInterval(40);
    connect(&timer_, &QTimer::timeout, this, &TRichBox::Wypisz);
}

void TRichBox::Dodaj(const QString &line, int colour) {
    linie_.append(line);
    oczekujace_.append({line, colour});
    if (limit_ > 0 && linie_.size() > limit_) linie_.removeFirst();
    if (!timer_.isActive()) timer_.start();
}

void TRichBox::Wyczysc() {
    linie_.clear();
    oczekujace_.clear();
    timer_.stop();
    clear();
    emit Wyczyszczono();
}

void TRichBox::Wypisz() {
    timer_.stop();
    if (oczekujace_.isEmpty()) return;
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.beginEditBlock();
    for (const Linia &l : std::as_const(oczekujace_)) {
        QTextCharFormat f;
        f.setForeground(l.kolor < 0 ? palette().color(QPalette::Text) : Kolor(uint32_t(l.kolor)));
        if (!document()->isEmpty()) c.insertBlock();
        c.insertText(l.tekst, f);
    }
    c.endEditBlock();
    oczekujace_.clear();
    if (limit_ > 0) {
        while (document()->blockCount() > limit_) {
            QTextCursor d(document()->firstBlock());
            d.select(QTextCursor::BlockUnderCursor);
            d.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
            d.removeSelectedText();
        }
    }
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void TRichBox::mouseDoubleClickEvent(QMouseEvent *) {
    Wyczysc();
}
