#include "scope/TScope.h"

#include "config/TConfig.h"
#include "device/ScopeCsv.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <algorithm>

THakDialoguScope &DialogPlikuScope() {
    static THakDialoguScope hak;
    return hak;
}

TScope::TScope(QWidget *parent, TSterownik *link) : QWidget(parent), link_(link) {
    setObjectName(QStringLiteral("Scope"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    if (parent) setGeometry(parent->rect());
    hide();
}

void TScope::UstawKolory(const TPaleta &p) {
    paleta_ = p;
    if (isVisible()) RysujOscyloskop(false);
}

const TWykres *TScope::Seria(int k) const {
    if (!link_ || k < 0 || k >= int(link_->Wykresy.size())) return nullptr;
    return &link_->Wykresy[size_t(k)];
}

int TScope::StanPracy(int i) const {
    const uint8_t *p = model_.Probka(i);
    const TWykres *w = Seria(0);
    if (!p || !w) return -1;
    return WartoscKanalu(*w, p, 0);
}

QString TScope::Dialog(bool zapis, int tytul, int filtr, const QString &ext) const {
    TDialogPlikuScope d;
    d.Zapis = zapis;
    d.Tytul = tytul;
    d.Filtr = filtr;
    d.Rozszerzenie = ext;
    if (link_ && !link_->DocumentsFolder.isEmpty() && ext == QLatin1String("osc")) {
        const QString folder = TConfig::FolderScope(link_->DocumentsFolder);
        if (QDir(folder).exists()) d.Folder = folder;
    }
    if (DialogPlikuScope()) return DialogPlikuScope()(d);
    QFileDialog fd(const_cast<TScope *>(this), LangText(tytul), d.Folder);
    fd.setAcceptMode(zapis ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fd.setFileMode(zapis ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    fd.setNameFilters({LangText(filtr) + QStringLiteral(" (*.") + ext + QLatin1Char(')'),
                       LangText(1110) + QStringLiteral(" (*.*)")});
    fd.setDefaultSuffix(ext);
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty()) return QString();
    return fd.selectedFiles().first();
}

void TScope::Polecenie(int command) {
    TModelScope &m = model_;
    switch (command) {
    case 1:
    case 2:
    case 3: m.Stan = command; break;
    case 4:
        if (!link_) break;
        if (m.Stan == TModelScope::Odtwarzanie || link_->ScopeFile) {
            link_->ZamnkijOscyloskop();
        } else {
            const QString name = Dialog(true, 1106, 1112, QStringLiteral("osc"));
            if (name.isEmpty()) break;
            m.Wyprostuj(); // the file holds the samples oldest first
            link_->ZapiszOscyloskop(name, m.Bufor(), m.Ile());
        }
        break;
    case 5: {
        if (!link_) break;
        link_->ZamnkijOscyloskop();
        const QString name = Dialog(false, 1105, 1112, QStringLiteral("osc"));
        if (name.isEmpty()) break;
        m.Wyprostuj();
        const int n = link_->CzytajOscyloskop(name, m.Bufor(), TModelScope::Pojemnosc);
        m.BuforZmieniony(); // a read that failed half-way may have written some of it
        if (n > 0) {
            m.Wczytane(n);
            m.Last = n;
        }
        m.Stan = TModelScope::Odtwarzanie;
        break;
    }
    case 6: m.Kasuj(); break;
    case 7: {
        if (!link_) break;
        const QString name = Dialog(true, 1107, 1113, QStringLiteral("csv"));
        if (name.isEmpty()) break;
        m.Wyprostuj();
        QString error;
        if (!ScopeCsv::Zapisz(*link_, m.Bufor(), m.Ile(), name, &error))
            LangMessageText(name + QStringLiteral(": ") + error, 16);
        break;
    }
    case 10:
    case 11:
    case 12: m.Uklad = command - 9; break;
    case 20: m.ZoomIndeks = std::max(m.ZoomIndeks - 1, 0); break;
    case 21: m.ZoomIndeks = std::min(m.ZoomIndeks + 1, TModelScope::IleZoomow - 1); break;
    default: break;
    }
    RysujOscyloskop(false);
}

void TScope::NowaProbka(const uint8_t *reply) {
    if (!reply || (model_.Stan != TModelScope::Live && model_.Stan != TModelScope::Pauza)) return;
    const int slot = model_.Dodaj(reply);
    if (link_) link_->DopiszOscyloskop(model_.Bufor(), slot);
    if (model_.Stan == TModelScope::Live && PrzesunNaZywo()) return;
    RysujOscyloskop(model_.Stan == TModelScope::Pauza);
}

// Commands and samples that came while hidden drew nothing (a file read from the menu on another
// tab): the picture is composed again before it is shown.
void TScope::showEvent(QShowEvent *) {
    RysujOscyloskop(false);
}

void TScope::paintEvent(QPaintEvent *) {
    if (obraz_.size() != size()) RysujOscyloskop(false);
    QPainter g(this);
    g.drawImage(0, 0, obraz_);
    if (kursorX_ >= 0) {
        // The cursor line: XOR over the picture, so it never hides the trace under it.
        g.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        g.setPen(QPen(Kolor(paleta_.ScopeCursor), 1));
        g.drawLine(kursorX_, 40, kursorX_, height() - 40);
    }
}
