// The eighteen sound effects, synthesized. Each is scaled to a peak chosen so that, after
// the volume the sound table gives it, the set sits at matching loudness; each starts and
// ends on silence through short fades, so no play clicks.
#include <algorithm>
#include <cmath>

#include "assets.h"
#include "layout.h"

namespace {

constexpr float kTau = 6.2831853f;
constexpr float kRate = float(kSampleRate);

struct Wave {
    std::vector<float> s;
    explicit Wave(float fSeconds) : s(size_t(fSeconds * kRate), 0.0f) {}
    float T(size_t i) const { return float(i) / kRate; }
};

uint32_t g_dwNoise = 1;
float NoiseSample() {
    g_dwNoise = g_dwNoise * 1664525u + 1013904223u;
    return float(g_dwNoise >> 8) / 8388608.0f - 1.0f;
}

// Adds a tone from t0 lasting fDur: frequency glides f0 -> f1, nShape 0 sine, 1 soft square,
// 2 saw; decay is the exponential decay rate per second.
void Tone(Wave& w, float t0, float fDur, float f0, float f1, float amp, int nShape, float decay,
          float fVibrato = 0) {
    float phase = 0;
    size_t i0 = size_t(t0 * kRate), n = size_t(fDur * kRate);
    for (size_t k = 0; k < n && i0 + k < w.s.size(); ++k) {
        float t = float(k) / kRate, u = float(k) / float(n);
        float f = f0 * std::pow(f1 / f0, u) * (1 + fVibrato * std::sin(kTau * 6 * t));
        phase += f / kRate;
        phase -= std::floor(phase);
        float v = nShape == 0   ? std::sin(kTau * phase)
                  : nShape == 1 ? std::tanh(3 * std::sin(kTau * phase)) * 0.8f
                                : (2 * phase - 1) * 0.7f;
        // 2.5 ms attack and 3 ms release: a note cut off mid-swing would click.
        float env =
            std::exp(-decay * t) * std::min(1.0f, t * 400) * std::min(1.0f, float(n - k) / (0.003f * kRate));
        w.s[i0 + k] += amp * v * env;
    }
}

// Adds noise through a one-pole low-pass whose cut-off glides c0 -> c1 (0..1).
void Noise(Wave& w, float t0, float fDur, float c0, float c1, float amp, float decay) {
    float y = 0;
    size_t i0 = size_t(t0 * kRate), n = size_t(fDur * kRate);
    for (size_t k = 0; k < n && i0 + k < w.s.size(); ++k) {
        float t = float(k) / kRate, u = float(k) / float(n);
        float c = c0 + (c1 - c0) * u;
        y += c * (NoiseSample() - y);
        w.s[i0 + k] += amp * y * std::exp(-decay * t) * std::min(1.0f, t * 400) *
                       std::min(1.0f, float(n - k) / (0.003f * kRate));
    }
}

std::vector<uint8_t> Finish(Wave& w, float fPeak) {
    // A DC blocker (one-pole high-pass near 20 Hz): filtered noise and glides drift off centre.
    float fPrevIn = 0, fPrevOut = 0;
    for (float& v : w.s) {
        float fOut = v - fPrevIn + 0.994f * fPrevOut;
        fPrevIn = v;
        v = fPrevOut = fOut;
    }
    float peak = 1e-6f;
    for (float v : w.s) peak = std::max(peak, std::fabs(v));
    const size_t nIn = size_t(0.004f * kRate), nOut = size_t(0.015f * kRate), n = w.s.size();
    std::vector<uint8_t> out(n);
    for (size_t i = 0; i < n; ++i) {
        float g = fPeak / peak;
        if (i < nIn) g *= float(i) / float(nIn);
        if (i + nOut > n) g *= float(n - 1 - i) / float(nOut);
        out[i] = uint8_t(std::lround(128 + 127 * std::clamp(w.s[i] * g, -0.95f, 0.95f)));
    }
    return out;
}

}  // namespace

std::vector<uint8_t> SynthSound(int n) {
    g_dwNoise = 0x9E3779B9u + uint32_t(n);
    switch (n) {
        case 0: {  // cursor: a short high blip
            Wave w(0.06f);
            Tone(w, 0, 0.06f, 1320, 1400, 1, 1, 40);
            return Finish(w, 0.8f);
        }
        case 1: {  // decide: rising two notes
            Wave w(0.22f);
            Tone(w, 0, 0.08f, 988, 988, 1, 1, 10);
            Tone(w, 0.07f, 0.15f, 1480, 1480, 1, 1, 14);
            return Finish(w, 0.5f);
        }
        case 2: {  // cancel: falling two notes
            Wave w(0.18f);
            Tone(w, 0, 0.07f, 784, 784, 1, 1, 12);
            Tone(w, 0.06f, 0.12f, 523, 500, 1, 1, 16);
            return Finish(w, 0.8f);
        }
        case 3: {  // error: low double buzz, full-bodied so it carries at the table's -10 dB
            Wave w(0.26f);
            Tone(w, 0, 0.1f, 150, 140, 1, 1, 6);
            Tone(w, 0, 0.1f, 300, 280, 0.3f, 2, 6);
            Tone(w, 0.13f, 0.13f, 150, 125, 1, 1, 6);
            Tone(w, 0.13f, 0.13f, 300, 250, 0.3f, 2, 6);
            return Finish(w, 0.95f);
        }
        case 4: {  // GO: a brass fanfare, G C E then a held G with vibrato
            Wave w(0.75f);
            const float notes[] = {392, 523, 659};
            for (int k = 0; k < 3; ++k) Tone(w, 0.07f * k, 0.09f, notes[k], notes[k], 0.8f, 2, 8);
            Tone(w, 0.21f, 0.54f, 784, 784, 1, 2, 3, 0.006f);
            Tone(w, 0.21f, 0.54f, 392, 392, 0.5f, 1, 3);
            return Finish(w, 0.7f);
        }
        case 5: {  // gauge stock: a bright two-note chime, square-ish so it carries at -10 dB
            Wave w(0.4f);
            Tone(w, 0, 0.075f, 1568, 1568, 1, 1, 4);
            Tone(w, 0.08f, 0.32f, 2093, 2093, 1, 1, 5);
            return Finish(w, 0.95f);
        }
        case 6:
        case 7: {  // small collisions: a light thump with a tick of noise
            Wave w(0.12f);
            float f = n == 6 ? 220.0f : 260.0f;
            Tone(w, 0, 0.12f, f, f * 0.6f, 1, 0, 30);
            Noise(w, 0, 0.05f, n == 6 ? 0.5f : 0.7f, 0.1f, 0.6f, 60);
            return Finish(w, 0.9f);
        }
        case 8: {  // medium collision
            Wave w(0.2f);
            Tone(w, 0, 0.2f, 160, 80, 1, 0, 18);
            Noise(w, 0, 0.12f, 0.6f, 0.05f, 0.8f, 30);
            return Finish(w, 0.6f);
        }
        case 9: {  // large collision: a boom with a crunch
            Wave w(0.45f);
            Tone(w, 0, 0.45f, 110, 45, 1, 0, 8);
            Noise(w, 0, 0.3f, 0.8f, 0.03f, 1, 12);
            return Finish(w, 0.8f);
        }
        case 10: {  // attack: a rising whoosh
            Wave w(0.3f);
            Noise(w, 0, 0.3f, 0.05f, 0.6f, 1, 4);
            Tone(w, 0, 0.3f, 200, 600, 0.3f, 2, 6);
            return Finish(w, 0.6f);
        }
        case 11: {  // shield: a shimmering chord
            Wave w(0.45f);
            Tone(w, 0, 0.45f, 880, 880, 1, 0, 5, 0.02f);
            Tone(w, 0, 0.45f, 1320, 1320, 0.7f, 0, 5, 0.02f);
            Tone(w, 0, 0.45f, 887, 887, 0.7f, 0, 5);
            return Finish(w, 0.6f);
        }
        case 12: {  // metal: a clang of inharmonic partials
            Wave w(0.45f);
            const float ratios[] = {1, 2.41f, 3.77f, 5.13f};
            for (int k = 0; k < 4; ++k)
                Tone(w, 0, 0.45f, 420 * ratios[k], 420 * ratios[k], 1.0f / (k + 1), 0, 7 + 3 * k);
            Noise(w, 0, 0.02f, 0.9f, 0.9f, 0.5f, 100);
            return Finish(w, 0.6f);
        }
        case 13: {  // boost: a jet that climbs
            Wave w(0.4f);
            Noise(w, 0, 0.4f, 0.2f, 0.5f, 1, 3);
            Tone(w, 0, 0.4f, 150, 500, 0.5f, 2, 3);
            return Finish(w, 0.6f);
        }
        case 14: {  // reflect: a springy boing
            Wave w(0.28f);
            Tone(w, 0, 0.28f, 330, 660, 1, 0, 7, 0.06f);
            return Finish(w, 0.48f);
        }
        case 15: {  // shot: a falling laser zap
            Wave w(0.2f);
            Tone(w, 0, 0.2f, 1800, 300, 1, 1, 10);
            return Finish(w, 0.42f);
        }
        case 16: {  // trap: a click and two rising beeps
            Wave w(0.3f);
            Noise(w, 0, 0.015f, 0.9f, 0.9f, 1, 50);
            Tone(w, 0.04f, 0.1f, 880, 880, 0.8f, 1, 12);
            Tone(w, 0.16f, 0.14f, 1175, 1175, 0.8f, 1, 12);
            return Finish(w, 0.55f);
        }
        default: {  // knock-out: a long falling whistle and a far thud
            Wave w(1.1f);
            Tone(w, 0, 0.9f, 1200, 160, 0.8f, 0, 1.5f, 0.01f);
            Tone(w, 0.85f, 0.25f, 90, 50, 1, 0, 14);
            Noise(w, 0.85f, 0.2f, 0.3f, 0.02f, 0.6f, 18);
            return Finish(w, 0.6f);
        }
    }
}
