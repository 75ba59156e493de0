#include "sim/discipline.h"

#include <algorithm>
#include <cmath>

#include "sim/random_source.h"

namespace halvix::sim {
namespace {

constexpr double kMetresPerNs = 0.299792458;

}  // namespace

void Discipline::restart(RandomSource& random) {
  state_ = TimingState{};
  phaseNs_ = random.uniform(-400.0, 400.0);
  frequencyPpb_ = random.uniform(-8.0, 8.0);
  lockedFor_ = 0.0;
  temperaturePhase_ = random.uniform(0.0, 6.28);
}

void Discipline::step(double dt, bool haveSatellites, bool precise, RandomSource& random) {
  temperaturePhase_ += dt * 2.0e-4;
  state_.temperature = static_cast<float>(38.5 + 1.5 * std::sin(temperaturePhase_) + 0.03 * random.gaussian());
  if (!haveSatellites) {
    // Holdover: the oscillator free-runs and the phase walks off.
    state_.holdoverSeconds += static_cast<std::uint32_t>(std::clamp(dt, 1.0, 1.0e6));
    phaseNs_ += frequencyPpb_ * std::min(dt, 60.0);
    frequencyPpb_ += 0.002 * random.gaussian();
    state_.mode = lockedFor_ > 0.0 ? DiscipliningMode::AutoHoldover : DiscipliningMode::PowerUp;
    state_.activity = lockedFor_ > 0.0 ? 0 : 1;
  } else {
    state_.holdoverSeconds = 0;
    lockedFor_ += dt;
    // Steering pulls phase and frequency in with a time constant of a minute or two.
    const double pull = 1.0 - std::exp(-dt / (precise ? 60.0 : 120.0));
    phaseNs_ -= phaseNs_ * pull;
    frequencyPpb_ -= frequencyPpb_ * pull;
    state_.mode = lockedFor_ < 30.0 ? DiscipliningMode::Recovery : DiscipliningMode::Normal;
    state_.activity = lockedFor_ < 30.0 ? 2 : 0;
  }
  const double noiseNs = !haveSatellites ? 0.0 : precise ? 2.5 : 9.0;
  const double noisePpb = !haveSatellites ? 0.01 : precise ? 0.008 : 0.03;
  state_.ppsOffsetNs = static_cast<float>(phaseNs_ + noiseNs * random.gaussian());
  state_.oscillatorOffsetPpb = static_cast<float>(frequencyPpb_ + noisePpb * random.gaussian());
  state_.quantizationErrorNs = static_cast<float>(random.uniform(-2.5, 2.5));
  state_.dacValue = static_cast<std::uint32_t>(std::clamp(32768.0 + frequencyPpb_ * 210.0, 0.0, 65535.0));
  state_.dacVoltage = static_cast<float>(state_.dacValue * 3.3 / 65535.0);
}

double Discipline::biasMetres() const { return state_.ppsOffsetNs * kMetresPerNs; }

double Discipline::driftMetresPerSecond() const { return state_.oscillatorOffsetPpb * kMetresPerNs; }

}  // namespace halvix::sim
