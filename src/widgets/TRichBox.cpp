#include "widgets/TRichBox.h"

#include "widgets/TPaleta.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace {
// The line's own colour, kept beside the colour it is drawn in.
constexpr int WlasnyKolor = QTextFormat::UserProperty + 1;
} // namespace

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
        if (l.kolor >= 0) {
            f.setProperty(WlasnyKolor, l.kolor);
            f.setForeground(KolorLinii(l.kolor));
        }
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

QColor TRichBox::KolorLinii(int colour) const {
    return Czytelny(Kolor(uint32_t(colour)), palette().color(QPalette::Base));
}

void TRichBox::changeEvent(QEvent *e) {
    QTextEdit::changeEvent(e);
    if (e->type() != QEvent::PaletteChange) return;
    struct Odcinek {
        int od, dlugosc, kolor;
    };
    QList<Odcinek> odcinki;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QVariant v = f.charFormat().property(WlasnyKolor);
            if (v.isValid()) odcinki.append({f.position(), f.length(), v.toInt()});
        }
    QTextCursor c(document());
    for (const Odcinek &o : std::as_const(odcinki)) {
        c.setPosition(o.od);
        c.setPosition(o.od + o.dlugosc, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setForeground(KolorLinii(o.kolor));
        c.mergeCharFormat(f);
    }
}
