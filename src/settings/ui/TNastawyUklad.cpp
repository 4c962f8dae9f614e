// The settings grid's pages, view levels and layout.
#include "settings/ui/TNastawy.h"

#include "settings/TKatalogNastaw.h"

#include <QEvent>
#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>

namespace {

// Page 0 at the three view levels and the two OBD pages: left | right per row; numbers are items,
// negative numbers decorations (-1 empty, -2..-6 frame tops with captions, -7/-8 frame bottoms,
// -10 the row of two buttons).
constexpr int32_t UkladPodstawowy[64] = {
    -2,  -2, 1,  8,  2,  10, 3,  -1, -7, -7, -3, -4, 20, 40, 24, 45, //
    -10, 46, -8, -8, -5, -6, 50, 60, 51, 61, 54, 62, 55, 63, -8, -8, //
};
constexpr int UkladPodstawowyWiersze = 16;

constexpr int32_t UkladPelny[64] = {
    -2,  -2, 1,  8,  2,  10, 3,  11, -7, -7, -3, -4, 20, 40, 24, 45, 21, 46,         //
    -10, 47, -8, -8, -5, -6, 50, 60, 51, 61, 54, 62, 55, 63, 56, 70, 57, 96, -8, -8, //
};
constexpr int UkladPelnyWiersze = 19;

constexpr int32_t UkladZaawansowany[64] = {
    -2, -2, 1,  8,  2,  10, 3,  11, 4,  12, 5,  68, -7, -7, -3, -4, 20, 40, 24, 45, 21, 46, -10, 47, //
    -8, -8, -5, -6, 50, 60, 51, 61, 52, 62, 53, 63, 54, 65, 55, 66, 59, 67, 56, 70, 57, 96, -8,  -8, //
};
constexpr int UkladZaawansowanyWiersze = 24;

constexpr int32_t UkladObd1[32] = {
    -1, -1, 257, 260, 103, 261, 104, 262, -1, 263, 81, 265, 106, 267, 107, 269, -1, -1, //
};
constexpr int32_t UkladObd2[32] = {
    -1, -1, 109, 112, 103, 113, 104, 114, -1, 115, 81, 117, 106, 119, 107, 121, -1, -1, //
};
constexpr int UkladObdWiersze = 9;

constexpr int32_t UkladKalibracji[6] = {86, 90, 85, -1, 83, 82};
constexpr int32_t UkladMapy[6] = {79, 90, 78, 81, 77, -1};

} // namespace

int TNastawy::StronaNastawy(int item) {
    if (item < 0) return -1;
    const auto ma = [item](const int32_t *t, int n) { return std::find(t, t + n, item) != t + n; };
    // The advanced level of page 0 holds every item of the other two levels.
    if (ma(UkladZaawansowany, 64)) return 0;
    if (ma(UkladKalibracji, 6)) return 1;
    if (ma(UkladMapy, 6)) return 20;
    if (ma(UkladObd1, 32)) return 50;
    if (ma(UkladObd2, 32)) return 51;
    return -1;
}

TNastawy::TNastawy(QWidget *parent, TSterownik *sterownik, TKatalogNastaw *katalog)
    : QAbstractScrollArea(parent), Sterownik(sterownik), Katalog(katalog) {
    setObjectName(QStringLiteral("Nastawy"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    Timer.setInterval(600);
    connect(&Timer, &QTimer::timeout, this, [this] { TimerPowtarzaniaTimer(); });
    Cells.fill(-1);
    if (Katalog)
        Katalog->OnZmiana = [this] {
            // A change made by the grid repaints the rows it touched; one from elsewhere (a dialog,
            // a file) repaints everything.
            if (ZmianaItem >= 0)
                OdswiezItem(ZmianaItem);
            else
                viewport()->update();
        };
    FontN = font();
    FontB = FontN;
    FontB.setBold(true);
    FmN = QFontMetrics(FontN);
    FmB = QFontMetrics(FontB);
    UstawKolory(PaletaSchematu(0));
    UstawPoziom(1);
    hide();
}

TNastawy::~TNastawy() {
    Timer.stop();
    if (Katalog) Katalog->OnZmiana = nullptr;
}

int TNastawy::Komorka(int col, int row) const {
    if (col < 0 || col > 1 || row < 0 || row >= RowCount) return -1;
    return Cells[size_t(row * 2 + col)];
}

void TNastawy::KopiujStrone() {
    auto kopiuj = [this](const int32_t *table, int cells, int rows) {
        std::copy(table, table + cells, Cells.begin());
        RowCount = rows;
    };
    switch (Page) {
    case 0:
        if (Level == 0)
            kopiuj(UkladPodstawowy, 64, UkladPodstawowyWiersze);
        else if (Level == 2)
            kopiuj(UkladZaawansowany, 64, UkladZaawansowanyWiersze);
        else
            kopiuj(UkladPelny, 64, UkladPelnyWiersze);
        break;
    case 1: kopiuj(UkladKalibracji, 6, 3); break;
    case 20: kopiuj(UkladMapy, 6, 3); break;
    case 50: kopiuj(UkladObd1, 32, UkladObdWiersze); break;
    case 51: kopiuj(UkladObd2, 32, UkladObdWiersze); break;
    default: break;
    }
    SelRow = std::clamp(SelRow, 0, RowCount - 1);
    // The calibration page at the basic level shows its settings but allows no change.
    if (Katalog) Katalog->BlokadaZmian = Page == 1 && Level == 0;
}

void TNastawy::UstawStrone(int page) {
    if (page != 0 && page != 1 && page != 20 && page != 50 && page != 51) return;
    // A held button must not keep stepping an item of the page that is gone.
    MouseUp();
    Page = page;
    KopiujStrone();
    UstawPasek();
    viewport()->update();
}

void TNastawy::UstawPoziom(int level) {
    Level = std::clamp(level, 0, 2);
    UstawStrone(Page);
}

void TNastawy::Ukryj() {
    MouseUp();
    ZamknijListe();
    hide();
    // A hidden grid locks nothing: the lock of the calibration page must not outlive the page and
    // refuse the changes of the dialogs opened from elsewhere (showing the grid sets the page again).
    if (Katalog) Katalog->BlokadaZmian = false;
}

void TNastawy::Odswiez() {
    viewport()->update();
}

void TNastawy::UstawKolory(const TPaleta &p) {
    K.Tlo = Kolor(p.Background);
    K.Ramka = Kolor(p.GridLines);
    K.Wartosc = Kolor(p.EditableText);
    K.Tekst = Kolor(p.Text);
    K.Naglowek = Kolor(p.BannerText);
    K.Panel = Kolor(p.Background);
    K.Pole = Kolor(p.Box);
    K.Wybrane = Kolor(p.SelectedCell);
    K.WybraneTekst = Kolor(p.SelectedCellText);
    K.Zablokowane = Kolor(p.LockedCell);
    K.ZablokowaneTekst = Kolor(p.LockedCellText);
    K.Ostrzezenie = Kolor(p.WarningBox);
    K.RamkaJasna = Kolor(p.FrameLight);
    K.RamkaCiemna = Kolor(p.FrameDark);
    K.NapisZielony = Kolor(p.CaptionGreen);
    K.NapisCzerwony = Kolor(p.CaptionRed);
    Kafle.clear();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, K.Tlo);
    pal.setColor(QPalette::Base, K.Tlo);
    setPalette(pal);
    viewport()->update();
}

int TNastawy::PierwszyWiersz() const {
    return verticalScrollBar()->value();
}

void TNastawy::UstawPasek() {
    const int visible = RowHeight > 0 ? std::max(1, height() / RowHeight) : RowCount;
    QScrollBar *bar = verticalScrollBar();
    const int range = std::max(0, RowCount - visible);
    // Shown or hidden at once, so that the viewport has its final width before anything is drawn.
    setVerticalScrollBarPolicy(range > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    bar->setRange(0, range);
    bar->setPageStep(visible);
    bar->setSingleStep(1);
}

QRect TNastawy::ProstokatKomorki(int col, int row) const {
    const int y = (row - PierwszyWiersz()) * RowHeight;
    return QRect(col * ColWidth, y, ColWidth, RowHeight);
}

void TNastawy::OdswiezWiersz(int row) {
    if (row < 0 || row >= RowCount) return;
    viewport()->update(QRect(0, (row - PierwszyWiersz()) * RowHeight, viewport()->width(), RowHeight));
}

// Repaints the rows showing an item and the items that follow from it.
void TNastawy::OdswiezItem(int item) {
    auto wiersze = [this](int it) {
        for (int i = 0; i < RowCount * 2; ++i)
            if (Cells[size_t(i)] == it) OdswiezWiersz(i / 2);
    };
    wiersze(item);
    if (item == 1)
        for (int it : {2, 3, 4})
            wiersze(it);
    if (item == 8) wiersze(56);
}

void TNastawy::Rozmiesc() {
    if (!isVisible() || !parentWidget() || !parentWidget()->isVisible()) return;
    ZamknijListe();
    const int gw = width();
    const int gh = height();
    if (Page == 1 || Page == 20) {
        RowHeight = 24;
        ColWidth = gw / 2;
    } else {
        RowHeight = RowCount > 0 ? gh / RowCount : 20;
        if (RowHeight >= 20) {
            ColWidth = gw / 2;
        } else {
            RowHeight = 20;
            ColWidth = gw / 2 - 10; // room for the scroll bar
        }
    }
    ButtonSize = std::min({RowHeight, 50, ColWidth / 10});
    const int d = ButtonSize;
    const int w = ColWidth;
    for (int c = 0; c < 2; ++c) {
        const int L = c * w;
        auto &s = Stops[size_t(c)];
        s[0] = L + 7;
        s[1] = L + 7;
        s[2] = L + w / 2 + 18;
        s[3] = L + w - 2 * d - 11;
        s[4] = L + w - d - 9;
        s[5] = L + w - 7;
        s[6] = s[2] - d - 1;
        s[7] = s[2] - 1;
    }

    // The largest font at which the widest label fits before the value box and a line fits the row.
    QFont f = window()->font();
    f.setBold(true);
    QString widest;
    int widestPx = -1;
    {
        f.setPointSize(24);
        const QFontMetrics fm(f);
        for (int i = 0; i < RowCount * 2; ++i) {
            const int item = Cells[size_t(i)];
            if (item < 0) continue;
            const QString label = Katalog ? Katalog->NazwaNastawy(item) : QString();
            const int px = fm.horizontalAdvance(label);
            if (px > widestPx) {
                widestPx = px;
                widest = label;
            }
        }
    }
    const int room = Stops[0][2] - Stops[0][0] - 2;
    FontSize = 7;
    for (int size = 24; size >= 7; --size) {
        f.setPointSize(size);
        const QFontMetrics fm(f);
        if (fm.horizontalAdvance(widest) < room &&
            fm.boundingRect(QStringLiteral("Tg")).height() < RowHeight - 2) {
            FontSize = size;
            break;
        }
    }
    f.setPointSize(FontSize);
    const QFontMetrics fm(f);
    WidestLabel = fm.horizontalAdvance(widest);
    TextHalf = fm.boundingRect(QStringLiteral("A")).height() / 2;
    QFont plain = font();
    plain.setFamily(f.family());
    plain.setPointSize(FontSize);
    plain.setBold(false);
    setFont(plain);
    FontN = plain;
    FontB = plain;
    FontB.setBold(true);
    FmN = QFontMetrics(FontN);
    FmB = QFontMetrics(FontB);
    Kafle.clear();
    NapisyN.clear();
    NapisyB.clear();
    UstawPasek();
    viewport()->update();
}

void TNastawy::resizeEvent(QResizeEvent *e) {
    QAbstractScrollArea::resizeEvent(e);
    UstawPasek();
}

void TNastawy::scrollContentsBy(int, int) {
    ZamknijListe();
    viewport()->update();
}
