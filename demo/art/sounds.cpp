// The sound effects, synthesised: 22050 Hz, 16-bit mono WAV files.
#include <cmath>

#include "art.h"
#include "assets/wave_list.h"

namespace demo {
namespace {

constexpr int kRate = 22050;
constexpr float kTau = 6.28318531f;

using Samples = std::vector<float>;

Samples silence(float seconds) {
    return Samples(static_cast<size_t>(seconds * kRate), 0.0f);
}

// A deterministic noise source in [-1, 1].
class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed) {}
    float next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f;
    }

  private:
    uint32_t state_;
};

// Adds a tone from `start` seconds: frequency glides from f0 to f1, with a few
// harmonics, an attack and an exponential decay.
void tone(Samples& s, float start, float length, float f0, float f1, float gain,
          std::initializer_list<float> harmonics, float attack = 0.01f, float decay = 4.0f) {
    const size_t from = static_cast<size_t>(start * kRate);
    const size_t n = static_cast<size_t>(length * kRate);
    float phase = 0;
    for (size_t i = 0; i < n && from + i < s.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float f = f0 + (f1 - f0) * (t / length);
        phase += kTau * f / kRate;
        float v = 0;
        int h = 1;
        for (float amp : harmonics) v += amp * std::sin(phase * h++);
        const float env = std::min(1.0f, t / attack) * std::exp(-decay * t) *
                          std::min(1.0f, (length - t) / 0.01f);
        s[from + i] += gain * env * v;
    }
}

// Noise through a one-pole low-pass whose cut-off moves from c0 to c1 (0..1).
void noiseBurst(Samples& s, float start, float length, float c0, float c1, float gain, float attack,
                float decay, uint32_t seed) {
    Noise rnd(seed);
    const size_t from = static_cast<size_t>(start * kRate);
    const size_t n = static_cast<size_t>(length * kRate);
    float lp = 0;
    for (size_t i = 0; i < n && from + i < s.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float c = c0 + (c1 - c0) * (t / length);
        lp += c * (rnd.next() - lp);
        const float env = std::min(1.0f, t / attack) * std::exp(-decay * t) *
                          std::min(1.0f, (length - t) / 0.02f);
        s[from + i] += gain * env * lp;
    }
}

std::vector<uint8_t> wav(const Samples& s) {
    float peak = 0.0f;
    for (float v : s) peak = std::max(peak, std::fabs(v));
    const float scale = peak > 0.9f ? 0.9f / peak : 1.0f;
    zk::Wave w;
    w.format = zk::pcmFormat(1, kRate, 16);
    w.samples.resize(s.size() * 2);
    for (size_t i = 0; i < s.size(); ++i) {
        const int v = static_cast<int>(std::lround(std::clamp(s[i] * scale, -1.0f, 1.0f) * 32767));
        w.samples[2 * i] = static_cast<uint8_t>(v & 0xFF);
        w.samples[2 * i + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    }
    return zk::writeWave(w);
}

Samples take() {
    Samples s = silence(0.25f);
    tone(s, 0.0f, 0.12f, 660, 660, 0.5f, {1, 0.3f}, 0.005f, 12);
    tone(s, 0.07f, 0.18f, 990, 990, 0.5f, {1, 0.3f}, 0.005f, 10);
    return s;
}

Samples drop() {
    Samples s = silence(0.2f);
    tone(s, 0.0f, 0.18f, 330, 180, 0.7f, {1, 0.4f, 0.1f}, 0.004f, 18);
    noiseBurst(s, 0, 0.06f, 0.3f, 0.1f, 0.3f, 0.002f, 40, 5);
    return s;
}

Samples combine() {
    Samples s = silence(0.6f);
    const float notes[] = {523, 659, 784, 1047};
    for (int i = 0; i < 4; ++i)
        tone(s, i * 0.07f, 0.35f, notes[i], notes[i], 0.35f, {1, 0.2f, 0.1f}, 0.005f, 6);
    return s;
}

Samples whistle() {
    Samples s = silence(0.9f);
    // two notes, up then down, with a little breath
    tone(s, 0.0f, 0.35f, 1400, 2100, 0.5f, {1}, 0.04f, 1.5f);
    tone(s, 0.4f, 0.45f, 2100, 1500, 0.5f, {1}, 0.03f, 2.0f);
    noiseBurst(s, 0, 0.85f, 0.6f, 0.6f, 0.05f, 0.05f, 1.5f, 11);
    return s;
}

Samples bark() {
    Samples s = silence(0.6f);
    for (int b = 0; b < 2; ++b) {
        const float t = b * 0.26f;
        tone(s, t, 0.16f, 520, 300, 0.6f, {1, 0.7f, 0.5f, 0.3f, 0.2f}, 0.005f, 14);
        noiseBurst(s, t, 0.12f, 0.5f, 0.2f, 0.5f, 0.003f, 20, 17 + b);
    }
    return s;
}

Samples cuckoo() {
    Samples s = silence(1.2f);
    for (int k = 0; k < 2; ++k) {
        const float t = k * 0.55f;
        tone(s, t, 0.2f, 740, 740, 0.5f, {1, 0.15f}, 0.02f, 3);
        tone(s, t + 0.22f, 0.3f, 587, 587, 0.5f, {1, 0.15f}, 0.02f, 3);
    }
    return s;
}

Samples unlock() {
    Samples s = silence(1.3f);
    noiseBurst(s, 0.0f, 0.05f, 0.9f, 0.9f, 0.6f, 0.001f, 60, 23);
    tone(s, 0.0f, 0.2f, 2600, 2600, 0.25f, {1}, 0.001f, 30);
    tone(s, 0.0f, 0.2f, 3700, 3700, 0.15f, {1}, 0.001f, 35);
    noiseBurst(s, 0.12f, 0.05f, 0.9f, 0.9f, 0.5f, 0.001f, 60, 29);
    // the creak of the gate: a rough, wavering low tone
    const size_t from = static_cast<size_t>(0.35f * kRate);
    float phase = 0;
    for (size_t i = 0; from + i < s.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float f = 170 + 60 * std::sin(t * 7) + 30 * std::sin(t * 23);
        phase += f / kRate;
        const float saw = 2 * (phase - std::floor(phase)) - 1;
        const float env = std::min(1.0f, t / 0.1f) * std::max(0.0f, 1 - t / 0.9f);
        s[from + i] += 0.25f * env * saw;
    }
    return s;
}

Samples ignite() {
    Samples s = silence(1.6f);
    noiseBurst(s, 0.0f, 1.2f, 0.05f, 0.5f, 0.9f, 0.3f, 1.5f, 31);
    Noise crackle(37);
    for (int i = 0; i < 40; ++i) {
        const float t = 0.4f + 1.1f * (crackle.next() * 0.5f + 0.5f);
        noiseBurst(s, t, 0.02f, 0.9f, 0.9f, 0.3f, 0.001f, 80, 41 + i);
    }
    tone(s, 0.2f, 1.3f, 60, 90, 0.3f, {1, 0.5f}, 0.3f, 1.0f);
    return s;
}

Samples thunder() {
    Samples s = silence(3.2f);
    noiseBurst(s, 0.0f, 0.4f, 0.3f, 0.08f, 0.8f, 0.005f, 4, 43);
    Noise rnd(47);
    float lp1 = 0, lp2 = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        lp1 += 0.02f * (rnd.next() - lp1);
        lp2 += 0.02f * (lp1 - lp2);
        const float swell = 0.6f + 0.4f * std::sin(t * 5.3f) * std::sin(t * 2.1f);
        const float env = std::min(1.0f, t / 0.15f) * std::exp(-1.1f * t);
        s[i] += 9.0f * env * swell * lp2;
    }
    return s;
}

Samples click() {
    Samples s = silence(0.08f);
    tone(s, 0.0f, 0.06f, 1800, 1200, 0.5f, {1, 0.3f}, 0.001f, 60);
    noiseBurst(s, 0, 0.02f, 0.8f, 0.8f, 0.3f, 0.001f, 100, 53);
    return s;
}

}  // namespace

void makeSounds(const Output& out) {
    out.bytes(wav(take()), "interface/take.wav");
    out.bytes(wav(drop()), "interface/drop.wav");
    out.bytes(wav(combine()), "interface/combine.wav");
    out.bytes(wav(whistle()), "objects/hero/whistle.wav");
    out.bytes(wav(bark()), "objects/dog/bark.wav");
    out.bytes(wav(cuckoo()), "objects/clock/cuckoo.wav");
    out.bytes(wav(unlock()), "objects/gate/unlock.wav");
    out.bytes(wav(ignite()), "objects/lamp/ignite.wav");
    out.bytes(wav(thunder()), "objects/streetlamp/thunder.wav");
    out.bytes(wav(click()), "objects/resume/click.wav");
}

}  // namespace demo
