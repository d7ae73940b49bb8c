// The icon is a short list of filled and stroked shapes on a 256-unit square. The SVG file is
// that list written out; the PNG paints the same list with 4 x 4 samples a pixel, so the two
// agree. The face is Pomrin's from the fighter sprites, looking at the player.
#include "icon.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/png_write.h"
#include "files.h"
#include "shapes.h"

namespace {

constexpr int kSize = 256;

enum ShapeKind { ICON_ELLIPSE, ICON_LINE, ICON_ARC };

struct Paint {
    RGB c;
    float a = 0;             // 0: none
    bool bGradient = false;  // the body's radial gradient instead of c
};

// An ellipse (x0, y0 centre; rx, ry radii), a round-capped line (x0, y0)-(x1, y1), or the
// part of the circle (x0, y0, rx) below the line y = y1.
struct Shape {
    ShapeKind kind;
    float x0, y0, rx, ry, x1, y1;
    Paint fill, stroke;
    float fStrokeW = 0;
};

// The body's gradient: lit from the top left like the sprites' shading.
constexpr float kGradCx = 84, kGradCy = 76, kGradR = 190;
struct Stop {
    float t;
    RGB c;
};
std::vector<Stop> GradientStops() {
    return {
        {0.0f, RampColor(RAMP_PINK, 14)}, {0.45f, RampColor(RAMP_PINK, 11)}, {1.0f, RampColor(RAMP_PINK, 6)}};
}

RGB GradientAt(float x, float y) {
    static const std::vector<Stop> stops = GradientStops();
    float t = std::clamp(std::hypot(x - kGradCx, y - kGradCy) / kGradR, 0.0f, 1.0f);
    for (size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].t)
            return Mix(stops[i - 1].c, stops[i].c, (t - stops[i - 1].t) / (stops[i].t - stops[i - 1].t));
    return stops.back().c;
}

std::vector<Shape> IconShapes() {
    const RGB ink = Hex(0x18121E), white = Hex(0xFFFFFF);
    const float k = 132, cx = 128, cy = 136;  // sprite units (-1..1) to icon units
    auto X = [&](float u) { return cx + u * k; };
    auto Y = [&](float v) { return cy + v * k; };
    const Paint none, inkFill{ink, 1};
    const Paint leaf{RampColor(RAMP_LIME, 11), 1};
    std::vector<Shape> s;
    s.push_back({ICON_LINE, X(0), Y(-0.78f), 0, 0, X(0), Y(-0.92f), none, {ink, 1}, 12});
    for (int side = -1; side <= 1; side += 2)
        s.push_back({ICON_ELLIPSE, X(side * 0.21f), Y(-0.87f), 0.21f * k, 0.1f * k, 0, 0, leaf, {ink, 1}, 5});
    s.push_back({ICON_ELLIPSE, X(0), Y(0), 0.84f * k, 0.84f * k, 0, 0, {{}, 1, true}, {ink, 1}, 6});
    s.push_back({ICON_ELLIPSE, X(-0.34f), Y(-0.4f), 0.15f * k, 0.12f * k, 0, 0, {white, 0.75f}, none});
    const float fy = 0.08f;  // face centre, a little down: looking at the player
    for (int side = -1; side <= 1; side += 2) {
        float ex = side * 0.27f, ey = fy - 0.05f;
        s.push_back({ICON_ELLIPSE, X(ex), Y(ey), 0.095f * k, 0.14f * k, 0, 0, inkFill, none});
        s.push_back(
            {ICON_ELLIPSE, X(ex - 0.03f), Y(ey - 0.05f), 0.04f * k, 0.04f * k, 0, 0, {white, 1}, none});
        s.push_back({ICON_ELLIPSE,
                     X(side * 0.42f),
                     Y(fy + 0.12f),
                     0.1f * k,
                     0.06f * k,
                     0,
                     0,
                     {Hex(0xFF8CB4), 1},
                     none});
    }
    s.push_back({ICON_ARC, X(0), Y(fy + 0.06f), 0.14f * k, 0, 0, Y(fy + 0.12f), none, {ink, 1}, 0.06f * k});
    return s;
}

// Signed distance of the shape's outline (negative inside) at (x, y).
float Distance(const Shape& sh, float x, float y) {
    switch (sh.kind) {
        case ICON_ELLIPSE:
            return SdEllipse(x, y, sh.x0, sh.y0, sh.rx, sh.ry);
        case ICON_LINE:
            return SdSegment(x, y, sh.x0, sh.y0, sh.x1, sh.y1, 0);
        case ICON_ARC:
            return y < sh.y1 ? 1e9f : std::fabs(SdCircle(x, y, sh.x0, sh.y0, sh.rx));
    }
    return 1e9f;
}

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;  // premultiplied
};

void Over(Rgba& dst, RGB c, float a) {
    dst = {c.r * a + dst.r * (1 - a), c.g * a + dst.g * (1 - a), c.b * a + dst.b * (1 - a),
           a + dst.a * (1 - a)};
}

std::vector<uint8_t> PaintIcon(const std::vector<Shape>& shapes) {
    constexpr int nSub = 4;
    std::vector<uint8_t> rgba(size_t(kSize) * kSize * 4);
    for (int py = 0; py < kSize; ++py)
        for (int px = 0; px < kSize; ++px) {
            Rgba sum;
            for (int sy = 0; sy < nSub; ++sy)
                for (int sx = 0; sx < nSub; ++sx) {
                    float x = px + (sx + 0.5f) / nSub, y = py + (sy + 0.5f) / nSub;
                    Rgba pt;
                    for (const Shape& sh : shapes) {
                        float d = Distance(sh, x, y);
                        if (sh.fill.a > 0 && d < 0)
                            Over(pt, sh.fill.bGradient ? GradientAt(x, y) : sh.fill.c, sh.fill.a);
                        if (sh.stroke.a > 0 && std::fabs(d) <= sh.fStrokeW / 2)
                            Over(pt, sh.stroke.c, sh.stroke.a);
                    }
                    sum = {sum.r + pt.r, sum.g + pt.g, sum.b + pt.b, sum.a + pt.a};
                }
            uint8_t* out = &rgba[(size_t(py) * kSize + px) * 4];
            float a = sum.a / (nSub * nSub);
            auto channel = [&](float v) { return uint8_t(std::lround(std::clamp(v / sum.a, 0.0f, 255.0f))); };
            if (a > 0) out[0] = channel(sum.r), out[1] = channel(sum.g), out[2] = channel(sum.b);
            out[3] = uint8_t(std::lround(a * 255));
        }
    return rgba;
}

std::string Color(RGB c) {
    auto v = [](float f) { return int(std::lround(std::clamp(f, 0.0f, 255.0f))); };
    char sz[8];
    std::snprintf(sz, sizeof sz, "#%02x%02x%02x", v(c.r), v(c.g), v(c.b));
    return sz;
}

std::string PaintAttrs(const Shape& sh) {
    char sz[160];
    std::string s = " fill=\"";
    s += sh.fill.a <= 0 ? "none" : sh.fill.bGradient ? "url(#body)" : Color(sh.fill.c);
    s += "\"";
    if (sh.fill.a > 0 && sh.fill.a < 1) {
        std::snprintf(sz, sizeof sz, " fill-opacity=\"%.2f\"", sh.fill.a);
        s += sz;
    }
    if (sh.stroke.a > 0) {
        std::snprintf(sz, sizeof sz, " stroke=\"%s\" stroke-width=\"%.1f\"%s", Color(sh.stroke.c).c_str(),
                      sh.fStrokeW, sh.kind == ICON_LINE ? " stroke-linecap=\"round\"" : "");
        s += sz;
    }
    return s;
}

std::string IconSvg(const std::vector<Shape>& shapes) {
    char sz[256];
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
        "<title>ころころポムリン</title>\n<defs>\n";
    std::snprintf(
        sz, sizeof sz,
        "<radialGradient id=\"body\" gradientUnits=\"userSpaceOnUse\" cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\">\n",
        kGradCx, kGradCy, kGradR);
    s += sz;
    for (const Stop& st : GradientStops()) {
        std::snprintf(sz, sizeof sz, "<stop offset=\"%.2f\" stop-color=\"%s\"/>\n", st.t,
                      Color(st.c).c_str());
        s += sz;
    }
    s += "</radialGradient>\n</defs>\n";
    for (const Shape& sh : shapes) {
        switch (sh.kind) {
            case ICON_ELLIPSE:
                std::snprintf(sz, sizeof sz, "<ellipse cx=\"%.1f\" cy=\"%.1f\" rx=\"%.1f\" ry=\"%.1f\"",
                              sh.x0, sh.y0, sh.rx, sh.ry);
                break;
            case ICON_LINE:
                std::snprintf(sz, sizeof sz, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\"", sh.x0,
                              sh.y0, sh.x1, sh.y1);
                break;
            case ICON_ARC: {
                // From the left end to the right end through the bottom (counter-clockwise on screen).
                float dy = sh.y1 - sh.y0, dx = std::sqrt(std::max(0.0f, sh.rx * sh.rx - dy * dy));
                std::snprintf(sz, sizeof sz, "<path d=\"M %.1f %.1f A %.1f %.1f 0 0 0 %.1f %.1f\"",
                              sh.x0 - dx, sh.y1, sh.rx, sh.rx, sh.x0 + dx, sh.y1);
                break;
            }
        }
        s += sz + PaintAttrs(sh) + "/>\n";
    }
    return s + "</svg>\n";
}

}  // namespace

bool WriteIcons(const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    auto shapes = IconShapes();
    std::string svg = IconSvg(shapes);
    if (!WriteFileBytes(dir / "pomrin.svg", std::vector<uint8_t>(svg.begin(), svg.end()))) return false;
    auto rgba = PaintIcon(shapes);
    return SavePngRgba((dir / "pomrin.png").string().c_str(), rgba.data(), kSize, kSize);
}
