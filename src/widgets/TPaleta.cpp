#include "widgets/TPaleta.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <initializer_list>

QColor Kolor(uint32_t v) {
    if ((v & 0xFF000000u) == 0xFF000000u) {
        const QPalette p = QApplication::palette();
        switch (v & 0xFFu) {
        case 0x0F: return p.color(QPalette::Button);
        case 0x12: return p.color(QPalette::ButtonText);
        case 0x05: return p.color(QPalette::Base);
        case 0x06: return p.color(QPalette::Dark);
        case 0x08: return p.color(QPalette::Text);
        case 0x1D: return p.color(QPalette::Highlight);
        case 0x0E: return p.color(QPalette::HighlightedText);
        default: return p.color(QPalette::Window);
        }
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

uint32_t KolorWartosc(const QColor &c) {
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

uint32_t Jasniejszy(uint32_t value, int n) {
    const QColor c = Kolor(value);
    auto ch = [n](int x) { return uint32_t(std::clamp(x + n, 0, 255)); };
    return ch(c.red()) | (ch(c.green()) << 8) | (ch(c.blue()) << 16);
}

namespace {
double Luminancja(const QColor &c) {
    auto liniowy = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * liniowy(c.red()) + 0.7152 * liniowy(c.green()) + 0.0722 * liniowy(c.blue());
}

double NajmniejszyKontrast(const QColor &text, const QColor *backgrounds, size_t n) {
    double m = 21.0;
    for (size_t i = 0; i < n; ++i)
        m = std::min(m, Kontrast(text, backgrounds[i]));
    return m;
}

// The text mixed toward white or black until it reaches the floor on every background; the background
// it reads worst on decides the way.
QColor Podniesiony(const QColor &text, const QColor *backgrounds, size_t n, double floor) {
    if (n == 0 || NajmniejszyKontrast(text, backgrounds, n) >= floor) return text;
    const QColor worst =
        *std::min_element(backgrounds, backgrounds + n, [&](const QColor &a, const QColor &b) {
            return Kontrast(text, a) < Kontrast(text, b);
        });
    const int target = Kontrast(Qt::white, worst) >= Kontrast(Qt::black, worst) ? 255 : 0;
    QColor c = text;
    for (int k = 1; k <= 255; ++k) {
        auto mix = [&](int v) { return int(std::lround(v + (target - v) * k / 255.0)); };
        c = QColor(mix(text.red()), mix(text.green()), mix(text.blue()));
        if (NajmniejszyKontrast(c, backgrounds, n) >= floor) break;
    }
    return c;
}

// A text entry that does not read on one of its backgrounds becomes the plain colour that does; one
// that reads keeps its value (a system colour stays one and follows the desktop).
void Podnies(uint32_t &text, std::initializer_list<uint32_t> backgrounds, double floor = KontrastTekstu) {
    QColor tla[4];
    size_t n = 0;
    for (uint32_t b : backgrounds)
        if (n < 4) tla[n++] = Kolor(b);
    const QColor c = Kolor(text);
    const QColor r = Podniesiony(c, tla, n, floor);
    if (r != c) text = KolorWartosc(r);
}
} // namespace

double Kontrast(const QColor &a, const QColor &b) {
    const double la = Luminancja(a) + 0.05, lb = Luminancja(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

QColor Czytelny(const QColor &text, const QColor &background, double floor) {
    return Podniesiony(text, &background, 1, floor);
}

TPaleta PaletaSchematu(int scheme) {
    if (scheme < 0 || scheme > 5) scheme = 3;
    const int family = scheme / 2;
    const bool dark = scheme % 2 == 1;
    TPaleta p;
    switch (family) {
    case 0:
        p.Background = SysButtonFace;
        p.Splitter = Jasniejszy(p.Background, -20);
        p.NameCell = Jasniejszy(p.Background, 10);
        p.Text = SysButtonText;
        p.BannerText = 0xB40000;
        p.SelectedTab = 0xA00000;
        p.Box = SysWindow;
        p.SelectedCell = SysMenuHighlight;
        p.SelectedCellText = SysHighlightText;
        p.LockedCell = 0xEBEBEB;
        p.LockedCellText = 0xAAAAAA;
        p.DialogText = SysButtonText;
        p.GridLines = SysWindowFrame;
        p.EditableText = SysWindowText;
        p.WarningBox = 0x8080FF;
        p.FrameLight = Jasniejszy(p.Background, 45);
        p.FrameDark = Jasniejszy(p.Background, -80);
        break;
    case 1:
        p.Background = 0xD2D2D2;
        p.Splitter = 0xBEBEBE;
        p.NameCell = 0xE6E6E6;
        p.Text = 0x000000;
        p.BannerText = 0xB40000;
        p.SelectedTab = 0xA00000;
        p.Box = 0xFFFFFF;
        p.SelectedCell = 0xBE6432;
        p.SelectedCellText = 0xFFFFFF;
        p.LockedCell = 0xEBEBEB;
        p.LockedCellText = 0xAAAAAA;
        p.DialogText = 0x000000;
        p.GridLines = 0x000000;
        p.EditableText = 0x000000;
        p.WarningBox = 0x8080FF;
        p.FrameLight = 0xFFFFFF;
        p.FrameDark = 0x808080;
        break;
    default:
        p.Background = 0x000000;
        p.Splitter = 0x808080;
        p.NameCell = 0x000000;
        p.Text = 0xC0C0C0;
        p.BannerText = 0xFB9A24;
        p.SelectedTab = 0x800000;
        p.Box = 0x323232;
        p.SelectedCell = 0x000080;
        p.SelectedCellText = 0x00D200;
        p.LockedCell = 0x282828;
        p.LockedCellText = 0x3C3C3C;
        p.DialogText = 0x969696;
        p.GridLines = 0x505050;
        p.EditableText = 0x00BE00;
        // Dark amber: dark enough for the green values (4.5:1) and unlike the dark-red selection.
        p.WarningBox = 0x003155;
        p.FrameLight = 0x808080;
        p.FrameDark = 0x404040;
        break;
    }
    p.MapFrame = 0x808080;
    p.ScopeGrid = 0x808080;
    p.MapLabelOutline = p.GridLines;
    if (!dark) {
        p.MapBackground = 0xF0F0F0;
        p.MapGrid = 0xC0C0C0;
        p.MapCursor = 0x00FFFF;
        p.MapCurve = 0x800080;
        p.MapLabelFill = Jasniejszy(p.Background, 30);
        p.ScopeBackground = 0xF0F0F0;
        p.ScopeCursor = 0x00FFFF;
        p.FixedCells = Jasniejszy(p.Background, 30);
        p.ValueCell = p.Box;
    } else {
        p.MapBackground = 0x323232;
        p.MapGrid = 0x808080;
        p.MapCursor = 0xFFFFFF;
        p.MapCurve = 0xFE01D1;
        p.MapLabelFill = p.Background;
        p.ScopeBackground = 0x323232;
        p.ScopeCursor = 0xFFFFFF;
        p.FixedCells = p.Background;
        p.ValueCell = p.NameCell;
    }
    // The strips' arrows, the curve's legend and the markers' labels start from the colours they go with.
    p.SplitterText = p.Text;
    p.MapCurveText = p.MapCurve;
    p.MapMarkerText = p.MapGrid;

    // Every text on the backgrounds it is drawn on. A pressed tab's face is drawn a little darker than
    // the background (at most 20 steps in the window's style); the diagnostics tab's caption takes the
    // red and dark green while it may be pressed.
    const uint32_t pressed = Jasniejszy(p.Background, -20);
    Podnies(p.Text, {p.Background, p.NameCell, p.Box});
    Podnies(p.SplitterText, {p.Splitter});
    Podnies(p.BannerText, {p.Background, p.ValueCell});
    Podnies(p.SelectedTab, {p.Background, pressed});
    Podnies(p.CaptionRed, {p.Background, p.ValueCell, pressed});
    Podnies(p.CaptionGreen, {p.Background, p.ValueCell});
    Podnies(p.CaptionPurple, {p.Background});
    Podnies(p.CaptionDarkGreen, {p.Background, pressed});
    Podnies(p.EditableText, {p.Box, p.WarningBox});
    Podnies(p.SelectedCellText, {p.SelectedCell});
    Podnies(p.LockedCellText, {p.LockedCell, p.Background}, KontrastWyszarzony);
    Podnies(p.DialogText, {p.Background});
    for (uint32_t *t :
         {&p.MapCurveText, &p.MapPetrolText, &p.MapGasText, &p.MapDeviationText, &p.MapMarkerText})
        Podnies(*t, {p.MapBackground});
    return p;
}
