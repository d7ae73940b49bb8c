// SDL backend: presenting the 8-bit picture through a palette lookup table.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "platform/plat_display.h"
#include "platform/sdl/frame_convert.h"
#include "platform/sdl/sdl_window.h"

namespace {

struct DISPLAY {
    SDL_Renderer* lpRenderer = nullptr;
    SDL_Texture* lpTexture = nullptr;
    SDL_PixelFormat* lpFormat = nullptr;
    int nWidth = 0, nHeight = 0;
    std::array<PlatColor, 256> palette{};
    std::array<uint32_t, 256> lut{};
    bool bLutDirty = true;
};
DISPLAY g_Display;

// The renderer's first packed 32-bit format, which it takes without converting.
Uint32 PreferredFormat(SDL_Renderer* lpRenderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(lpRenderer, &info) == 0)
        for (Uint32 i = 0; i < info.num_texture_formats; ++i) {
            const Uint32 f = info.texture_formats[i];
            if (!SDL_ISPIXELFORMAT_FOURCC(f) && SDL_BITSPERPIXEL(f) == 32 && SDL_ISPIXELFORMAT_PACKED(f))
                return f;
        }
    return SDL_PIXELFORMAT_ARGB8888;
}

// Without a GPU render node (Xvfb, headless servers, no driver) a GL renderer rasterizes in
// software, which costs more per frame than SDL's own software renderer and maps a large
// driver library. A renderer named in SDL_RENDER_DRIVER is always respected.
bool PreferSoftware() {
    if (SDL_GetHint(SDL_HINT_RENDER_DRIVER)) return false;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec))
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return false;
    return true;
}

// The picture's place in the window: whole-number scale when it fits, aspect kept otherwise.
SDL_Rect PictureRect(int nOutW, int nOutH) {
    const int W = g_Display.nWidth, H = g_Display.nHeight;
    const int nScale = std::min(nOutW / W, nOutH / H);
    int w, h;
    if (nScale >= 1) {
        w = W * nScale, h = H * nScale;
    } else if (nOutW * H < nOutH * W) {
        w = nOutW, h = nOutW * H / W;
    } else {
        w = nOutH * W / H, h = nOutH;
    }
    return {(nOutW - w) / 2, (nOutH - h) / 2, w, h};
}

}  // namespace

bool Plat_DisplayInit(int nWidth, int nHeight) {
    Plat_DisplayQuit();
    SDL_Window* lpWindow = SdlWindow();
    if (!lpWindow || nWidth <= 0 || nHeight <= 0) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The frame limiter paces the game; waiting for the display's refresh would slow it.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_VSYNC, "0", SDL_HINT_OVERRIDE);
    DISPLAY& d = g_Display;
    if (PreferSoftware()) {
        // The window surface goes straight to the screen, not through a GL texture.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        d.lpRenderer = SDL_CreateRenderer(lpWindow, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!d.lpRenderer) d.lpRenderer = SDL_CreateRenderer(lpWindow, -1, 0);
    if (!d.lpRenderer) return false;
    const Uint32 dwFormat = PreferredFormat(d.lpRenderer);
    d.lpFormat = SDL_AllocFormat(dwFormat);
    d.lpTexture = SDL_CreateTexture(d.lpRenderer, dwFormat, SDL_TEXTUREACCESS_STREAMING, nWidth, nHeight);
    if (!d.lpFormat || !d.lpTexture) {
        Plat_DisplayQuit();
        return false;
    }
    d.nWidth = nWidth;
    d.nHeight = nHeight;
    d.bLutDirty = true;
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}

void Plat_DisplayQuit() {
    DISPLAY& d = g_Display;
    if (d.lpTexture) SDL_DestroyTexture(d.lpTexture);
    if (d.lpFormat) SDL_FreeFormat(d.lpFormat);
    if (d.lpRenderer) SDL_DestroyRenderer(d.lpRenderer);
    d.lpTexture = nullptr;
    d.lpFormat = nullptr;
    d.lpRenderer = nullptr;
    d.nWidth = d.nHeight = 0;
}

void Plat_SetPalette(const PlatColor lpPalette[256]) {
    for (int i = 0; i < 256; ++i) {
        const PlatColor& c = lpPalette[i];
        PlatColor& o = g_Display.palette[i];
        if (c.r != o.r || c.g != o.g || c.b != o.b) g_Display.bLutDirty = true;
        o = c;
    }
}

void Plat_Present(const uint8_t* lpPixels, int nPitch) {
    DISPLAY& d = g_Display;
    if (!d.lpTexture || !lpPixels) return;
    if (d.bLutDirty) {
        for (int i = 0; i < 256; ++i)
            d.lut[i] = SDL_MapRGB(d.lpFormat, d.palette[i].r, d.palette[i].g, d.palette[i].b);
        d.bLutDirty = false;
    }
    void* lpTex;
    int nTexPitch;
    if (SDL_LockTexture(d.lpTexture, nullptr, &lpTex, &nTexPitch) != 0) return;
    ConvertFrame(lpPixels, nPitch, d.nWidth, d.nHeight, d.lut.data(), static_cast<uint8_t*>(lpTex),
                 nTexPitch);
    SDL_UnlockTexture(d.lpTexture);
    int nOutW, nOutH;
    if (SDL_GetRendererOutputSize(d.lpRenderer, &nOutW, &nOutH) != 0) return;
    const SDL_Rect rc = PictureRect(nOutW, nOutH);
    // Only the bars around a picture that does not fill the window need clearing.
    if (rc.w != nOutW || rc.h != nOutH) {
        SDL_SetRenderDrawColor(d.lpRenderer, 0, 0, 0, 255);
        SDL_RenderClear(d.lpRenderer);
    }
    SDL_RenderCopy(d.lpRenderer, d.lpTexture, nullptr, &rc);
    SDL_RenderPresent(d.lpRenderer);
}

int Plat_RefreshRate() {
    SDL_Window* lpWindow = SdlWindow();
    const int nDisplay = lpWindow ? SDL_GetWindowDisplayIndex(lpWindow) : 0;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(nDisplay < 0 ? 0 : nDisplay, &mode) != 0) return 0;
    return mode.refresh_rate;
}
