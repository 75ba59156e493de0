// The history of the timing outputs for the charts: one sample per
// supplemental timing report (PPS offset, oscillator offset, quantization
// error, minor alarms) and one per satellite selection (satellites tracked and
// used), each in a day-long ring, and the stability of the PPS phase kept up
// to date with and without the quantization correction. Missing seconds are
// gaps in the phase series (see PhaseGaps).
#pragma once

#include <cstddef>
#include <cstdint>

#include "analysis/phase_gaps.h"
#include "analysis/ring_buffer.h"
#include "analysis/stability.h"

namespace halvix::analysis {

struct TimingSample {
  double t = 0;             // seconds
  float ppsOffset = 0;      // ns
  float oscillatorOffset = 0;  // ppb
  float quantizationError = 0;  // ns
  std::uint16_t alarms = 0;
  std::uint8_t tracked = 0;  // satellites, as last known
  std::uint8_t used = 0;
};

struct SatelliteSample {
  double t = 0;  // seconds
  std::uint8_t tracked = 0;
  std::uint8_t used = 0;
};

class TimingHistory {
 public:
  static constexpr std::size_t kDaySamples = 86'400;
  // Seconds of missing reports the charts draw across (an alarm mark holds
  // over them); a longer silence is an outage.
  static constexpr int kMaxBridgedSeconds = 10;

  explicit TimingHistory(std::size_t capacity = kDaySamples);

  void addTiming(double t, float ppsOffset, float oscillatorOffset, float quantizationError,
                 std::uint16_t alarms);
  void addSatellites(double t, int tracked, int used);
  // The second a timing report read at t is charted at: the stream's seconds
  // come a poll's worth at a time, so the reports of one read are the seconds
  // after the last, one each, up to t. A longer silence than the charts
  // bridge is an outage, kept as one.
  double streamSecond(double t) const;
  void clear();

  const RingBuffer<TimingSample>& timing() const { return timing_; }
  const RingBuffer<SatelliteSample>& satellites() const { return satellites_; }
  // The PPS offset as phase (seconds), raw or less the quantization error.
  const IncrementalStability& stability(bool corrected) const {
    return corrected ? corrected_ : raw_;
  }
  // Times the stability analysis started again (time going back, or an
  // outage longer than a day).
  int stabilityRestarts() const { return restarts_; }
  // Missing seconds in the phase series held.
  std::size_t stabilityGaps() const { return raw_.gaps(); }

 private:
  RingBuffer<TimingSample> timing_;
  RingBuffer<SatelliteSample> satellites_;
  IncrementalStability raw_;
  IncrementalStability corrected_;
  PhaseSeries phase_;
  std::uint8_t tracked_ = 0;
  std::uint8_t used_ = 0;
  int restarts_ = 0;
};

}  // namespace halvix::analysis
