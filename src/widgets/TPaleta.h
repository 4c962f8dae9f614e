#pragma once
// Colour schemes of the main window. Colours are kept as framework colour values: 0x00BBGGRR for plain
// colours and 0xFF0000nn for system colour nn, which is resolved through the application palette only
// when something is drawn (so scheme 0 follows the desktop's colours).
#include <QColor>
#include <cstdint>

// System colour codes.
enum : uint32_t {
    SysButtonFace = 0xFF00000F,
    SysButtonText = 0xFF000012,
    SysWindow = 0xFF000005,
    SysWindowFrame = 0xFF000006,
    SysWindowText = 0xFF000008,
    SysMenuHighlight = 0xFF00001D,
    SysHighlightText = 0xFF00000E,
};

struct TPaleta {
    // Main window.
    uint32_t Background = SysButtonFace;
    uint32_t Splitter = 0;
    uint32_t NameCell = 0;
    uint32_t Text = SysButtonText;
    uint32_t BannerText = 0xB40000;
    uint32_t SelectedTab = 0xA00000;
    uint32_t Box = SysWindow;
    uint32_t SelectedCell = SysMenuHighlight;
    uint32_t SelectedCellText = SysHighlightText;
    uint32_t LockedCell = 0xEBEBEB;
    uint32_t LockedCellText = 0xAAAAAA;
    uint32_t DialogText = SysButtonText;
    uint32_t ValueCell = 0;
    // Settings grid.
    uint32_t GridLines = SysWindowFrame;
    uint32_t EditableText = SysWindowText;
    uint32_t FixedCells = 0;
    uint32_t WarningBox = 0x8080FF; // value box of a setting outside its safe range
    uint32_t FrameLight = 0xFFFFFF; // outer line of the double frame
    uint32_t FrameDark = 0x808080;  // inner line of the double frame
    // Map view.
    uint32_t MapBackground = 0xF0F0F0;
    uint32_t MapFrame = 0x808080;
    uint32_t MapGrid = 0xC0C0C0;
    uint32_t MapCursor = 0x00FFFF;
    uint32_t MapCurve = 0x800080;
    uint32_t MapLabelFill = 0;
    uint32_t MapLabelOutline = 0;
    // Scope view.
    uint32_t ScopeBackground = 0xF0F0F0;
    uint32_t ScopeGrid = 0x808080;
    uint32_t ScopeCursor = 0x00FFFF;
    // Fixed text colours, each raised for the backgrounds it is drawn on (see PaletaSchematu).
    uint32_t SplitterText = SysButtonText; // the arrows of the side strips
    uint32_t CaptionRed = 0x0000FF;        // action buttons, "switching to petrol", petrol injection times
    uint32_t CaptionGreen = 0x00A000;      // action buttons, "switching to gas", gas injection times
    uint32_t CaptionPurple = 0x800080;     // action buttons
    uint32_t CaptionDarkGreen = 0x008000;  // diagnostics tab while the controller warns
    uint32_t MapCurveText = 0x800080;      // map view, on the plot: legend of the edited curve
    uint32_t MapPetrolText = 0x0000FF;     // legend of the petrol map
    uint32_t MapGasText = 0x00A000;        // legend of the gas map
    uint32_t MapDeviationText = 0xFD7402;  // legend and scale of the deviation
    uint32_t MapMarkerText = 0xC0C0C0;     // labels of the setting markers
};

// Contrast floors: every text, and greyed text that should look dim but stay legible.
constexpr double KontrastTekstu = 4.5;
constexpr double KontrastWyszarzony = 3.0;

// Palette of scheme 0…5 (family = index / 2, dark chart variant = odd index). Out-of-range indices
// give scheme 3. "Lighter by n" entries are resolved at this moment, and so is every text entry that
// does not reach the contrast floor on its backgrounds: only those are moved (toward white on a dark
// background, toward black on a light one), every other entry keeps its value, system colours too.
TPaleta PaletaSchematu(int scheme);

// Drawing colour of a framework colour value.
QColor Kolor(uint32_t value);
// Framework colour value of a drawing colour.
uint32_t KolorWartosc(const QColor &c);
// The colour resolved and every channel moved by n, clamped to 0…255.
uint32_t Jasniejszy(uint32_t value, int n);

// Contrast ratio of two colours by their relative luminance (1 … 21, as WCAG 2 defines it).
double Kontrast(const QColor &a, const QColor &b);
// The text colour mixed toward white (on a dark background) or black (on a light one) in steps of
// 1/255 of the way, just far enough to reach the floor; returned as it is when it already does. The
// mix keeps the hue.
QColor Czytelny(const QColor &text, const QColor &background, double floor = KontrastTekstu);
