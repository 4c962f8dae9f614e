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
};

// Palette of scheme 0…5 (family = index / 2, dark chart variant = odd index). Out-of-range indices
// give scheme 3. "Lighter by n" entries are resolved at this moment.
TPaleta PaletaSchematu(int scheme);

// Drawing colour of a framework colour value.
QColor Kolor(uint32_t value);
// Framework colour value of a drawing colour.
uint32_t KolorWartosc(const QColor &c);
// The colour resolved and every channel moved by n, clamped to 0…255.
uint32_t Jasniejszy(uint32_t value, int n);
