#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

class Track {
 public:
  explicit Track(double seconds) : samples_(static_cast<size_t>(seconds * kSampleRate), 0.0) {}

  // A bell-like note: a few partials, each dying away on its own, after a short attack.
  void Bell(double start, double frequency, double amplitude, double decay, bool bright = true) {
    struct Partial {
      double ratio, level, decayScale;
    };
    static const Partial brightPartials[] = {{1, 1, 1}, {2, 0.32, 0.6}, {3, 0.12, 0.4}, {4.2, 0.07, 0.25}};
    static const Partial softPartials[] = {{1, 1, 1}, {2, 0.14, 0.5}};
    const Partial* partials = bright ? brightPartials : softPartials;
    const size_t count = bright ? 4 : 2;
    ForEach(start, [&](double t) {
      const double attack = std::min(1.0, t / 0.006);
      double v = 0;
      for (size_t k = 0; k < count; ++k) {
        const double f = frequency * partials[k].ratio;
        if (f >= kSampleRate / 2.0) continue;
        v += partials[k].level * std::exp(-t / (decay * partials[k].decayScale)) * std::sin(2 * kPi * f * t);
      }
      return amplitude * attack * v;
    });
  }

  // A tone gliding from one pitch to another, for the "zap" of a deletion.
  void Glide(double start, double length, double from, double to, double amplitude) {
    double phase = 0;
    ForEach(start, [&](double t) {
      if (t > length) return 0.0;
      const double f = from * std::pow(to / from, t / length);
      phase += 2 * kPi * f / kSampleRate;
      const double envelope = std::min(1.0, t / 0.004) * std::pow(1 - t / length, 1.5);
      return amplitude * envelope * (std::sin(phase) + 0.25 * std::sin(2 * phase));
    });
  }

  // Noise through a band-pass filter whose centre rises: a short sweep of air.
  void Swoosh(double start, double length, double from, double to, double amplitude) {
    uint32_t seed = 12345;
    double low = 0, band = 0;
    ForEach(start, [&](double t) {
      if (t > length) return 0.0;
      seed = seed * 1664525u + 1013904223u;
      const double noise = (seed >> 8) / 8388608.0 - 1.0;
      const double f = from * std::pow(to / from, t / length);
      const double g = 2 * std::sin(kPi * f / kSampleRate);  // state-variable filter
      low += g * band;
      const double high = noise - low - 0.35 * band;
      band += g * high;
      return amplitude * std::sin(kPi * t / length) * band;
    });
  }

  std::vector<float> Finish(double peak = 0.7) const {
    double loudest = 0;
    for (double v : samples_) loudest = std::max(loudest, std::fabs(v));
    std::vector<float> out(samples_.size());
    const size_t fade = kSampleRate / 40;  // no click at the end
    for (size_t i = 0; i < out.size(); ++i) {
      double v = loudest > 0 ? samples_[i] * peak / loudest : 0;
      if (i + fade > out.size()) v *= static_cast<double>(out.size() - i) / fade;
      out[i] = static_cast<float>(v);
    }
    return out;
  }

 private:
  template <typename F>
  void ForEach(double start, F&& sample) {
    for (size_t i = static_cast<size_t>(start * kSampleRate); i < samples_.size(); ++i)
      samples_[i] += sample(static_cast<double>(i) / kSampleRate - start);
  }

  std::vector<double> samples_;
};

// Equal temperament from A4 = 440 Hz; n is semitones from A4.
double Note(int n) { return 440.0 * std::pow(2.0, n / 12.0); }
constexpr int C4 = -9, E4 = -5, G4 = -2, A4 = 0, C5 = 3, E5 = 7, G5 = 10, B5 = 14, C6 = 15, E6 = 19, A6 = 24;

std::vector<float> Start() {  // a rising major arpeggio
  Track track(0.7);
  track.Bell(0.00, Note(C5), 0.8, 0.35);
  track.Bell(0.08, Note(E5), 0.75, 0.35);
  track.Bell(0.16, Note(G5), 0.7, 0.35);
  track.Bell(0.24, Note(C6), 0.8, 0.45);
  return track.Finish();
}

std::vector<float> Exit() {  // the same, falling, and softer
  Track track(0.7);
  track.Bell(0.00, Note(G5), 0.6, 0.3, false);
  track.Bell(0.10, Note(E5), 0.6, 0.3, false);
  track.Bell(0.20, Note(C5), 0.7, 0.45, false);
  track.Bell(0.20, Note(C4), 0.35, 0.45, false);
  return track.Finish(0.6);
}

std::vector<float> TmpCleaned() {  // a sweep of air and a small chime
  Track track(0.55);
  track.Swoosh(0.00, 0.30, 500, 4000, 1.0);
  track.Bell(0.24, Note(A6), 0.35, 0.12);
  track.Bell(0.24, Note(E6), 0.25, 0.12);
  return track.Finish();
}

std::vector<float> NothingFound() {  // two calm, low notes: all clean
  Track track(0.5);
  track.Bell(0.00, Note(A4), 0.7, 0.18, false);
  track.Bell(0.14, Note(E4), 0.8, 0.25, false);
  return track.Finish(0.6);
}

std::vector<float> Found() {  // a bright double ping: look here
  Track track(0.45);
  track.Bell(0.00, Note(B5), 0.7, 0.1);
  track.Bell(0.11, Note(E6), 0.8, 0.22);
  return track.Finish();
}

std::vector<float> Killed() {  // a zap, then a full chord
  Track track(0.8);
  track.Glide(0.00, 0.16, 1800, 180, 0.7);
  for (int n : {C5, E5, G5, C6}) track.Bell(0.13, Note(n), 0.45, 0.4);
  track.Bell(0.13, Note(C4), 0.3, 0.4, false);
  track.Bell(0.13, Note(G4), 0.2, 0.4, false);
  return track.Finish();
}

void Put16(std::ofstream& out, uint16_t v) {
  const char bytes[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
  out.write(bytes, 2);
}
void Put32(std::ofstream& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace

std::vector<SoundDesign> EventSounds() {
  return {{"start.wav", Start()},          {"exit.wav", Exit()},   {"tmp.wav", TmpCleaned()},
          {"nothing.wav", NothingFound()}, {"found.wav", Found()}, {"killed.wav", Killed()}};
}

void WriteWav(const std::string& path, const std::vector<float>& samples) {
  std::ofstream out(path, std::ios::binary);
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  Put32(out, 36 + dataBytes);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, kSampleRate);
  Put32(out, kSampleRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, dataBytes);
  for (float s : samples) {
    const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767);
    Put16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace artgen
