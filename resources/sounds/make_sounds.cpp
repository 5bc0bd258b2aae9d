// Synthesizes the game's three sound effects as 16-bit PCM WAV files:
//   make_sounds <folder>  writes sparo.wav (shot), esplosi.wav (explosion), laser.wav (laser).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int sampleRate = 22050;

class Noise {
public:
    double next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 40) / 8388608.0 - 1.0;
    }

private:
    std::uint64_t m_state = 0x2545F4914F6CDD1DULL;
};

std::vector<double> shot() {
    // A sharp crack of noise over a falling thump, gone in a quarter of a second.
    std::vector<double> samples(static_cast<std::size_t>(sampleRate * 0.25));
    Noise noise;
    double phase = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        phase += 2 * std::numbers::pi * (180 - 400 * t) / sampleRate;
        samples[i] =
            0.8 * noise.next() * std::exp(-t * 40) + 0.6 * std::sin(phase) * std::exp(-t * 18);
    }
    return samples;
}

std::vector<double> explosion() {
    // Low rumbling noise: a one-pole low-pass over white noise, decaying over 0.9 s.
    std::vector<double> samples(static_cast<std::size_t>(sampleRate * 0.9));
    Noise noise;
    double low = 0;
    double lower = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        low += 0.08 * (noise.next() - low);
        lower += 0.05 * (low - lower);
        const double attack = std::min(1.0, t * 200);
        samples[i] = 5.0 * lower * attack * std::exp(-t * 4.5);
    }
    return samples;
}

std::vector<double> laser() {
    // A square-ish tone sweeping down from 2000 Hz to 300 Hz with a fast vibrato.
    std::vector<double> samples(static_cast<std::size_t>(sampleRate * 0.35));
    double phase = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double frequency =
            300 + 1700 * std::exp(-t * 9) + 60 * std::sin(2 * std::numbers::pi * 30 * t);
        phase += 2 * std::numbers::pi * frequency / sampleRate;
        samples[i] = 0.5 * std::tanh(3 * std::sin(phase)) * std::exp(-t * 5);
    }
    return samples;
}

void put16(std::ofstream& out, std::uint16_t value) {
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t value) {
    put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

bool writeWav(const std::string& path, const std::vector<double>& samples) {
    std::ofstream out(path, std::ios::binary);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, sampleRate);
    put32(out, sampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (double sample : samples) {
        const double clipped = std::clamp(sample, -1.0, 1.0);
        put16(out,
              static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clipped * 32000))));
    }
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: make_sounds <folder>\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = writeWav(folder + "/sparo.wav", shot()) &&
                         writeWav(folder + "/esplosi.wav", explosion()) &&
                         writeWav(folder + "/laser.wav", laser());
    return written ? 0 : 1;
}
