// The SDL backend under SDL's dummy video driver: window, presenting, events.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/plat_display.h"
#include "platform/plat_system.h"
#include "platform/sdl/sdl_window.h"
#include "support/files.h"

namespace {

struct SdlTest : ::testing::Test {
    void SetUp() override {
        SetEnv("SDL_VIDEODRIVER", "dummy");
        ASSERT_TRUE(Plat_Init());
        ASSERT_TRUE(Plat_CreateWindow("ころころポムリン", 640, 480));
        ASSERT_TRUE(Plat_DisplayInit(640, 480));
        while (Plat_PollEvent() != PLAT_EV_NONE) {
        }
    }
    void TearDown() override {
        Plat_DisplayQuit();
        Plat_DestroyWindow();
        Plat_Quit();
    }
    // The colour the window shows at (x, y) after a present.
    SDL_Color Shown(int x, int y) {
        SDL_Renderer* lpRenderer = SDL_GetRenderer(SdlWindow());
        Uint32 dwPixel = 0;
        SDL_Rect rc = {x, y, 1, 1};
        EXPECT_EQ(SDL_RenderReadPixels(lpRenderer, &rc, SDL_PIXELFORMAT_ARGB8888, &dwPixel, 4), 0);
        return {Uint8(dwPixel >> 16), Uint8(dwPixel >> 8), Uint8(dwPixel), 255};
    }
};

void Push(Uint32 type, Uint8 windowEvent = 0, SDL_Keycode sym = 0, Uint16 mod = 0) {
    SDL_Event ev{};
    ev.type = type;
    ev.window.windowID = SDL_GetWindowID(SdlWindow());
    if (type == SDL_WINDOWEVENT) ev.window.event = windowEvent;
    if (type == SDL_KEYDOWN) {
        ev.key.keysym.sym = sym;
        ev.key.keysym.mod = mod;
        ev.key.state = SDL_PRESSED;
    }
    SDL_PushEvent(&ev);
}

TEST_F(SdlTest, WindowTitleAndWholeNumberSize) {
    EXPECT_STREQ(SDL_GetWindowTitle(SdlWindow()), "ころころポムリン");
    int w, h;
    SDL_GetWindowSize(SdlWindow(), &w, &h);
    EXPECT_EQ(w % 640, 0);
    EXPECT_EQ(w / 640, h / 480);
    EXPECT_TRUE(SDL_GetWindowFlags(SdlWindow()) & SDL_WINDOW_RESIZABLE);
}

TEST_F(SdlTest, PresentShowsPaletteColoursScaledWithBars) {
    std::vector<PlatColor> pal(256, PlatColor{0, 0, 0});
    pal[1] = {255, 0, 0};
    pal[2] = {10, 200, 30};
    Plat_SetPalette(pal.data());
    // Left half index 1, right half index 2, rows 700 bytes apart.
    std::vector<uint8_t> frame(700 * 480, 0);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) frame[y * 700 + x] = x < 320 ? 1 : 2;
    SDL_SetWindowSize(SdlWindow(), 1400, 1000);
    Plat_Present(frame.data(), 700);
    int nOutW, nOutH;
    SDL_GetRendererOutputSize(SDL_GetRenderer(SdlWindow()), &nOutW, &nOutH);
    ASSERT_EQ(nOutW, 1400);
    // Scale 2: 1280 x 960 at (60, 20), black around it (left, top), the halves meeting at x 700.
    EXPECT_EQ(std::tuple(Shown(30, 500).r, Shown(700, 10).r, Shown(61, 21).r, Shown(60 + 2 * 320, 500).g,
                         Shown(60 + 2 * 320 - 1, 500).r),
              std::tuple(0, 0, 255, 200, 255));
    // Palette change alone shows on the next present.
    pal[1] = {0, 0, 255};
    Plat_SetPalette(pal.data());
    Plat_Present(frame.data(), 700);
    EXPECT_EQ(Shown(100, 100).b, 255);
    // Smaller than the picture: scaled down, aspect kept (320 x 240 in 400 x 240).
    SDL_SetWindowSize(SdlWindow(), 400, 240);
    Plat_Present(frame.data(), 700);
    EXPECT_EQ(std::tuple(Shown(30, 120).b, Shown(45, 120).b), std::tuple(0, 255));
}

TEST_F(SdlTest, EventsAndFullScreenToggle) {
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
    Push(SDL_JOYAXISMOTION);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED);
    Push(SDL_KEYDOWN, 0, SDLK_ESCAPE);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE);
    std::vector<int> events(6);
    for (int& e : events) e = Plat_PollEvent();
    EXPECT_EQ(events, (std::vector<int>{PLAT_EV_ACTIVATE, PLAT_EV_DEACTIVATE, PLAT_EV_REPAINT, PLAT_EV_ESCAPE,
                                        PLAT_EV_CLOSE, PLAT_EV_NONE}));

    Push(SDL_KEYDOWN, 0, SDLK_F11);
    while (Plat_PollEvent() != PLAT_EV_NONE) {
    }
    EXPECT_TRUE(SDL_GetWindowFlags(SdlWindow()) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    Push(SDL_KEYDOWN, 0, SDLK_RETURN, KMOD_LALT);
    while (Plat_PollEvent() != PLAT_EV_NONE) {
    }
    EXPECT_FALSE(SDL_GetWindowFlags(SdlWindow()) & SDL_WINDOW_FULLSCREEN);
}

}  // namespace
