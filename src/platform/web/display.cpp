// Presenting in a browser page: the 8-bit picture turned into RGBA through the palette and put
// straight onto the page's canvas, whose 2D context scales nothing (the page scales the canvas).
// SDL's own renderer would convert every frame's pixels twice more on the way.
#include <emscripten.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/plat_display.h"

namespace {

struct WEBDISPLAY {
    int nWidth = 0, nHeight = 0;
    std::array<uint32_t, 256> lut{};  // RGBA bytes in memory order, alpha 255
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> shown;  // the indices on the canvas now
    bool bChanged = true;        // the palette changed since, or nothing is shown yet
};
WEBDISPLAY g_Display;

// The canvas already shows this picture: a frame presents more than once, and a still scene
// presents the same picture frame after frame.
bool AlreadyShown(const uint8_t* lpPixels, int nPitch) {
    WEBDISPLAY& d = g_Display;
    bool bSame = !d.bChanged;
    const size_t nRow = size_t(d.nWidth);
    for (int y = 0; y < d.nHeight; ++y) {
        const uint8_t* s = lpPixels + size_t(y) * size_t(nPitch);
        uint8_t* o = d.shown.data() + size_t(y) * nRow;
        if (bSame && std::memcmp(o, s, nRow) == 0) continue;
        bSame = false;
        std::memcpy(o, s, nRow);
    }
    d.bChanged = false;
    return bSame;
}
}  // namespace

bool Plat_DisplayInit(int nWidth, int nHeight) {
    if (nWidth <= 0 || nHeight <= 0) return false;
    const int bOk = EM_ASM_INT({
        var canvas = Module.canvas;
        var ctx = canvas && canvas.getContext("2d", {alpha: false});
        if (!ctx) return 0;
        canvas.width = $0;
        canvas.height = $1;
        Module.pomrinContext = ctx;
        Module.pomrinImage = null;
        return 1;
    }, nWidth, nHeight);
    if (!bOk) return false;
    g_Display.nWidth = nWidth;
    g_Display.nHeight = nHeight;
    g_Display.pixels.assign(size_t(nWidth) * size_t(nHeight), 0xFF000000u);
    g_Display.shown.assign(size_t(nWidth) * size_t(nHeight), 0);
    g_Display.bChanged = true;
    return true;
}

void Plat_DisplayQuit() {
    EM_ASM({
        Module.pomrinContext = null;
        Module.pomrinImage = null;
    });
    g_Display.pixels = std::vector<uint32_t>();
    g_Display.shown = std::vector<uint8_t>();
    g_Display.nWidth = g_Display.nHeight = 0;
}

void Plat_SetPalette(const PlatColor lpPalette[256]) {
    for (int i = 0; i < 256; ++i) {
        const PlatColor& c = lpPalette[i];
        const uint32_t dw = uint32_t(c.r) | uint32_t(c.g) << 8 | uint32_t(c.b) << 16 | 0xFF000000u;
        if (g_Display.lut[size_t(i)] != dw) g_Display.bChanged = true;
        g_Display.lut[size_t(i)] = dw;
    }
}

void Plat_Present(const uint8_t* lpPixels, int nPitch) {
    WEBDISPLAY& d = g_Display;
    if (d.pixels.empty() || !lpPixels || AlreadyShown(lpPixels, nPitch)) return;
    const uint32_t* lut = d.lut.data();
    uint32_t* out = d.pixels.data();
    for (int y = 0; y < d.nHeight; ++y) {
        const uint8_t* s = lpPixels + size_t(y) * size_t(nPitch);
        uint32_t* o = out + size_t(y) * size_t(d.nWidth);
        for (int x = 0; x < d.nWidth; ++x) o[x] = lut[s[x]];
    }
    // The ImageData views the program's memory; it is made again when the memory has grown.
    EM_ASM({
        var ctx = Module.pomrinContext;
        if (!ctx) return;
        var img = Module.pomrinImage;
        if (!img || img.data.buffer !== HEAPU8.buffer || img.data.byteOffset !== $0) {
            img = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, $0, $1 * $2 * 4), $1, $2);
            Module.pomrinImage = img;
        }
        ctx.putImageData(img, 0, 0);
    }, out, d.nWidth, d.nHeight);
}

int Plat_RefreshRate() {
    // A page cannot tell the display's refresh rate; the page's loop paces the frames itself.
    return 0;
}
