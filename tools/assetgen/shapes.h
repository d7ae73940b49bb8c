// Signed distances of simple shapes (negative inside) and supersampled painting with them.
#pragma once
#include <algorithm>
#include <cmath>
#include <functional>

#include "canvas.h"

inline float SdCircle(float x, float y, float cx, float cy, float r) {
    return std::hypot(x - cx, y - cy) - r;
}

inline float SdEllipse(float x, float y, float cx, float cy, float rx, float ry) {
    float k = std::hypot((x - cx) / rx, (y - cy) / ry);
    return (k - 1) * std::min(rx, ry);
}

inline float SdBox(float x, float y, float cx, float cy, float hw, float hh) {
    float dx = std::fabs(x - cx) - hw, dy = std::fabs(y - cy) - hh;
    return std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f)) + std::min(std::max(dx, dy), 0.0f);
}

// A capsule: the segment (ax, ay)-(bx, by) thickened by r.
inline float SdSegment(float x, float y, float ax, float ay, float bx, float by, float r) {
    float px = x - ax, py = y - ay, vx = bx - ax, vy = by - ay;
    float t = std::clamp((px * vx + py * vy) / std::max(vx * vx + vy * vy, 1e-9f), 0.0f, 1.0f);
    return std::hypot(px - vx * t, py - vy * t) - r;
}

// Triangle a, b, c (any winding).
inline float SdTriangle(float x, float y, float ax, float ay, float bx, float by, float cx, float cy) {
    auto edge = [&](float x0, float y0, float x1, float y1) {
        float ex = x1 - x0, ey = y1 - y0, wx = x - x0, wy = y - y0;
        float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
        return std::hypot(wx - ex * t, wy - ey * t);
    };
    float d = std::min({edge(ax, ay, bx, by), edge(bx, by, cx, cy), edge(cx, cy, ax, ay)});
    auto side = [&](float x0, float y0, float x1, float y1) {
        return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0);
    };
    float s0 = side(ax, ay, bx, by), s1 = side(bx, by, cx, cy), s2 = side(cx, cy, ax, ay);
    bool bInside = (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
    return bInside ? -d : d;
}

// A star with n points: outer radius ro, inner ri, first point at angle a0 (radians).
inline float SdStar(float x, float y, float cx, float cy, float ro, float ri, int n, float a0) {
    float best = 1e9f;
    bool bInside = false;
    for (int k = 0; k < n; ++k) {
        float a1 = a0 + 6.2831853f * k / n, a2 = a1 + 3.14159265f / n, a3 = a1 + 6.2831853f / n;
        float ox1 = cx + ro * std::cos(a1), oy1 = cy + ro * std::sin(a1);
        float ix = cx + ri * std::cos(a2), iy = cy + ri * std::sin(a2);
        float ox2 = cx + ro * std::cos(a3), oy2 = cy + ro * std::sin(a3);
        if (SdTriangle(x, y, cx, cy, ox1, oy1, ix, iy) < 0 || SdTriangle(x, y, cx, cy, ix, iy, ox2, oy2) < 0)
            bInside = true;
        best = std::min({best, SdSegment(x, y, ox1, oy1, ix, iy, 0), SdSegment(x, y, ix, iy, ox2, oy2, 0)});
    }
    return bInside ? -best : best;
}

// One sample of a picture: whether something is there, and its colour.
struct Sample {
    bool bHit = false;
    RGB c;
};

// Paints into cv's rectangle (x, y, w, h) with nSub x nSub samples per pixel. shade gets
// coordinates in units where the rectangle spans -1..1 (y down). A pixel is set when at
// least half its samples hit; its colour is the mean of the hits.
inline void PaintSampled(Canvas& cv, int x, int y, int w, int h, int nSub,
                         const std::function<Sample(float, float)>& shade) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            RGB sum;
            int nHits = 0;
            for (int sj = 0; sj < nSub; ++sj)
                for (int si = 0; si < nSub; ++si) {
                    float u = (i + (si + 0.5f) / nSub) / w * 2 - 1;
                    float v = (j + (sj + 0.5f) / nSub) / h * 2 - 1;
                    Sample s = shade(u, v);
                    if (!s.bHit) continue;
                    ++nHits;
                    sum = {sum.r + s.c.r, sum.g + s.c.g, sum.b + s.c.b};
                }
            if (nHits * 2 >= nSub * nSub) cv.Set(x + i, y + j, Scale(sum, 1.0f / nHits));
        }
}

// Coverage-blended painting over an existing picture (backgrounds): shade returns the
// signed distance in pixels through *lpDist and the colour.
inline void BlendShape(Canvas& cv, int x0, int y0, int x1, int y1,
                       const std::function<float(float, float, RGB&)>& shape) {
    for (int y = std::max(0, y0); y < std::min(cv.nHeight, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(cv.nWidth, x1); ++x) {
            RGB c;
            float d = shape(x + 0.5f, y + 0.5f, c);
            float a = std::clamp(0.5f - d, 0.0f, 1.0f);
            if (a > 0) cv.Blend(x, y, c, a);
        }
}
