#pragma once
// Polylines of one-pixel lines written straight into the pixels of a 32-bit image, each pixel set
// exactly as the framework's raster painter sets it for an aliased, solid, square-capped cosmetic pen
// of width 1. The framework hands every pixel of such a line to its span blender one by one, which
// at high zoom (a trace of a vertical run per pixel column) costs far more than writing the pixels.
//
// The pixels follow from the painter's line rasteriser: 26.6 fixed-point ends, one pixel per row of a
// steep segment (per column of a flat one), the end pixel left to the next segment unless the line
// ends there (the square cap), and at every joint the rules that keep the two segments from sharing
// or skipping a pixel. Its state runs from segment to segment within one polyline and starts afresh
// with the next, so a polyline drawn here or by the painter never changes the other's pixels.
#include <QColor>
#include <QPoint>

class QPainter;

// Draws the polyline pts[0] … pts[n − 1] `width` times side by side (shifted 0 … width − 1 pixels
// right), as that many drawPolyline calls with a one-pixel cosmetic pen of colour c would, and
// returns true; or returns false and draws nothing where the result is not known to be the same:
// not a 32-bit RGB or premultiplied image, any transform, antialiasing, opacity, another composition
// mode, a colour that is not opaque, a clip other than one rectangle, a point more than one pixel
// outside the image (where the painter clips the line itself).
bool LamanaWprost(QPainter &g, const QPoint *pts, int n, const QColor &c, int width);
