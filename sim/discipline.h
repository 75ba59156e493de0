// The timing side of the receiver: how well its oscillator and PPS are
// steered, with the noise a real unit shows while it settles and once locked.
#pragma once

#include <cstdint>

namespace halvix::sim {

class RandomSource;

enum class DiscipliningMode : std::uint8_t {
  Normal = 0,
  PowerUp = 1,
  AutoHoldover = 2,
  Recovery = 4,
};

struct TimingState {
  float ppsOffsetNs = 0.0f;
  float oscillatorOffsetPpb = 0.0f;
  float quantizationErrorNs = 0.0f;
  std::uint32_t dacValue = 32768;
  float dacVoltage = 1.65f;
  float temperature = 35.0f;
  std::uint32_t holdoverSeconds = 0;
  DiscipliningMode mode = DiscipliningMode::PowerUp;
  std::uint8_t activity = 0;  // 0 phase locking, 1 oscillator warm-up, 2 frequency locking, 3 placing PPS
};

class Discipline {
 public:
  void restart(RandomSource& random);
  // One second (dt world seconds) of steering; precise means a held position.
  void step(double dt, bool haveSatellites, bool precise, RandomSource& random);
  const TimingState& state() const { return state_; }
  // Clock bias and drift as the navigation solution sees them.
  double biasMetres() const;
  double driftMetresPerSecond() const;

 private:
  TimingState state_;
  double phaseNs_ = 0.0;
  double frequencyPpb_ = 0.0;
  double lockedFor_ = 0.0;
  double temperaturePhase_ = 0.0;
};

}  // namespace halvix::sim
