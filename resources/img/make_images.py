#!/usr/bin/env python3
"""Draws the program's pictures as SVG and renders them to PNG with ImageMagick's `convert`.

    python3 resources/img/make_images.py      (run from anywhere; writes next to this script)

RC_CEN_BMP   91 x 91   the in-car fuel switch; its six lamps are painted over by the program
RC_LOGO_BMP  700 x 482 the splash picture
RC_OBD_*     135 x 48  OBD adapter protocol pictures (PWM, VPW, ISO, CAN, OFF, ON)
RC_ARROW_*   12 x 12   left and right arrows of the dialogs' horizontal step buttons
RC_OSC_*     22 x 22   scope states (PLAY, PAUSA, STOP, READ) and the recording mark (REC)
The backgrounds are transparent.
"""
import os
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "DejaVu Sans"


def render(name, svg):
    with tempfile.NamedTemporaryFile("w", suffix=".svg", delete=False) as f:
        f.write(svg)
        path = f.name
    try:
        out = os.path.join(HERE, name + ".png")
        subprocess.run(["convert", "-background", "none", path, "-strip", "-depth", "8", out], check=True)
    finally:
        os.unlink(path)


def fuel_switch():
    lamps = "".join(
        f'<rect x="11" y="{y - 1}" width="10" height="7" rx="1" fill="#101010"/>' for y in (14, 29, 44, 59, 74))
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="91" height="91">
  <rect x="1.5" y="1.5" width="88" height="88" rx="14" fill="#3a3d42" stroke="#16181a" stroke-width="2"/>
  <rect x="5" y="5" width="81" height="81" rx="11" fill="none" stroke="#5b6068" stroke-width="1"/>
  {lamps}
  <rect x="70" y="13" width="10" height="7" rx="1" fill="#101010"/>
  <text stroke="none" x="24" y="20" font-family="{FONT}" font-size="7" fill="#c8c8c8">100%</text>
  <text stroke="none" x="24" y="50" font-family="{FONT}" font-size="7" fill="#c8c8c8">50%</text>
  <text stroke="none" x="24" y="80" font-family="{FONT}" font-size="7" fill="#c8c8c8">0%</text>
  <circle cx="60" cy="55" r="19" fill="#24272b" stroke="#8a9098" stroke-width="2"/>
  <circle cx="60" cy="55" r="13" fill="#50555c"/>
  <text stroke="none" x="60" y="59" font-family="{FONT}" font-size="10" font-weight="bold" fill="#e8e8e8"
        text-anchor="middle">LPG</text>
  <text stroke="none" x="75" y="28" font-family="{FONT}" font-size="6" fill="#c8c8c8" text-anchor="middle">!</text>
</svg>'''


def logo():
    # Plain fills only: ImageMagick's own SVG renderer knows no gradients.
    bands = "".join(
        f'<rect x="0" y="{i * 482 // 12}" width="700" height="{482 // 12 + 1}" stroke="none" fill="#{13 - i:02x}{42 - 3 * i:02x}{74 - 5 * i:02x}"/>'
        for i in range(12))
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="700" height="482">
  {bands}
  <path d="M350 70 C 395 130 420 170 400 225 C 392 248 372 262 350 262 C 328 262 308 248 300 225
           C 280 170 305 130 350 70 Z" fill="#1e5cff" stroke="none"/>
  <path d="M350 110 C 382 155 398 185 384 228 C 377 246 364 255 350 255 C 336 255 323 246 316 228
           C 302 185 318 155 350 110 Z" fill="#36b5ff" stroke="none"/>
  <path d="M350 150 C 372 182 380 205 368 230 C 363 241 357 246 350 246 C 343 246 337 241 332 230
           C 320 205 328 182 350 150 Z" fill="#dff5ff" stroke="none"/>
  <text stroke="none" x="350" y="345" font-family="{FONT}" font-size="84" font-weight="bold" fill="#f2f6fa"
        text-anchor="middle">TARVEN</text>
  <text stroke="none" x="350" y="390" font-family="{FONT}" font-size="22" fill="#9fc3e6" text-anchor="middle">sequential LPG / CNG injection</text>
  <rect x="150" y="410" width="400" height="2" fill="#36b5ff" stroke="none"/>
  <text stroke="none" x="350" y="446" font-family="{FONT}" font-size="16" fill="#7f9fbf" text-anchor="middle">DuzERO service software</text>
</svg>'''


def obd(label, colour, text_colour="#ffffff"):
    pins = "".join(f'<rect x="{12 + 5 * i}" y="17" width="3" height="5" fill="#2b2b2b"/>' for i in range(8))
    pins += "".join(f'<rect x="{14 + 5 * i}" y="27" width="3" height="5" fill="#2b2b2b"/>' for i in range(7))
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="135" height="48">
  <path d="M4 10 H 58 L 54 40 H 8 Z" fill="#d6d6d6" stroke="#404040" stroke-width="1.5"/>
  {pins}
  <rect x="62" y="8" width="70" height="32" rx="6" fill="{colour}" stroke="#303030" stroke-width="1"/>
  <text stroke="none" x="97" y="30" font-family="{FONT}" font-size="16" font-weight="bold" fill="{text_colour}"
        text-anchor="middle">{label}</text>
</svg>'''


def arrow(name, right):
    """A solid dark-grey triangle on a transparent 12 x 12 square, pointing left or right. Written as a
    PNG directly (4 x 4 supersampled coverage as alpha), so it needs no SVG renderer."""
    size, sub = 12, 4
    tip, base = (10.5, 6.0), ((2.0, 1.0), (2.0, 11.0))

    def inside(x, y):
        # Right-pointing triangle; the left one is its mirror image.
        if not right:
            x = size - x
        if x < base[0][0] or x > tip[0]:
            return False
        half = (tip[0] - x) / (tip[0] - base[0][0]) * (base[1][1] - base[0][1]) / 2
        return abs(y - tip[1]) <= half

    rows = b""
    for py in range(size):
        row = b"\x00"
        for px in range(size):
            hits = sum(inside(px + (i + 0.5) / sub, py + (j + 0.5) / sub) for i in range(sub) for j in range(sub))
            row += bytes((0x30, 0x30, 0x30, 255 * hits // (sub * sub)))
        rows += row

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    with open(os.path.join(HERE, name + ".png"), "wb") as f:
        f.write(png)


def render_drawn(name, colour, glyph):
    """22 x 22 scope pictures from ImageMagick's own drawing primitives (no SVG delegate needed)."""
    out = os.path.join(HERE, name + ".png")
    subprocess.run(["convert", "-size", "22x22", "xc:none", "-fill", colour, "-stroke", "#202020",
                    "-draw", "roundrectangle 1,1 20,20 4,4", "-fill", "white", "-stroke", "none"] + glyph +
                   ["-strip", "-depth", "8", out], check=True)


OSC_PLAY = ["-draw", "polygon 8,6 16,11 8,16"]
OSC_PAUSA = ["-draw", "rectangle 7,6 9,15", "-draw", "rectangle 12,6 14,15"]
OSC_STOP = ["-draw", "rectangle 7,7 14,14"]
OSC_READ = ["-draw", "polygon 5,8 9,8 10,9 17,9 17,16 5,16", "-fill", "#2a6fb0", "-draw", "polygon 10,11 14,13 10,15"]
OSC_REC = ["-draw", "circle 11,11 11,6"]


if __name__ == "__main__":
    render("RC_CEN_BMP", fuel_switch())
    render("RC_LOGO_BMP", logo())
    render("RC_OBD_PWM", obd("PWM", "#7a3fb0"))
    render("RC_OBD_VPW", obd("VPW", "#b05a1e"))
    render("RC_OBD_ISO", obd("ISO", "#1e6fb0"))
    render("RC_OBD_CAN", obd("CAN", "#1f9a4b"))
    render("RC_OBD_OFF", obd("OFF", "#9a9a9a", "#f0f0f0"))
    render("RC_OBD_ON", obd("OBD", "#2e8b57"))
    arrow("RC_ARROW_LEFT", False)
    arrow("RC_ARROW_RIGHT", True)
    render_drawn("RC_OSC_PLAY", "#2e8b57", OSC_PLAY)
    render_drawn("RC_OSC_PAUSA", "#c08a10", OSC_PAUSA)
    render_drawn("RC_OSC_STOP", "#6a6a6a", OSC_STOP)
    render_drawn("RC_OSC_READ", "#2a6fb0", OSC_READ)
    render_drawn("RC_OSC_REC", "#c82020", OSC_REC)
