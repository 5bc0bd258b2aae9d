#include "platform/RandomGenerator.h"

namespace {
constexpr std::uint64_t golden = 0x9e3779b97f4a7c15ULL;

std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}
} // namespace

void RandomGenerator::reseedFromTime() {
    stir(static_cast<std::uint64_t>(m_time.millisecondsSinceMidnight()) | (1ULL << 40));
}

void RandomGenerator::reseed(qint16 number) {
    stir(static_cast<std::uint64_t>(static_cast<std::uint16_t>(number)) | (2ULL << 40));
}

float RandomGenerator::next() {
    return toUnit(step());
}

float RandomGenerator::toUnit(std::uint64_t bits) {
    return static_cast<float>(bits >> 40) * (1.0f / 16777216.0f);
}

void RandomGenerator::stir(std::uint64_t value) {
    m_state = mix(m_state ^ mix(value * golden));
}

std::uint64_t RandomGenerator::step() {
    m_state += golden;
    return mix(m_state);
}
