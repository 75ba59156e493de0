// halvix-decode --adev: the stability of the PPS in a recording. Each
// once-a-second 0x8F-AC gives a phase point (the PPS offset), raw and less
// its quantization error, at the stream second it belongs to. Missing seconds
// stay gaps, by the rule the Charts window uses (PhaseGaps); time going back
// or an outage of more than a day ends a run, and the longest run is analysed.
// A run also ends where its gaps would outnumber its points by more than a
// day, which a day-long window never reaches, so memory follows the input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/phase_gaps.h"
#include "analysis/stability.h"
#include "recording/decode_frames.h"
#include "recording/decode_output.h"
#include "recording/stream_time.h"

namespace halvix::recording {

class StabilityCollector final : public FrameReader {
 public:
  StabilityCollector();

  void finish();

  void packet(std::int64_t offset, int id, const std::uint8_t* payload, int length) override;
  void problem(std::int64_t offset, FrameFlaw flaw, std::string_view reason) override;

  std::int64_t reports() const { return reports_; }
  int runs() const { return runs_; }
  // The longest run's phase points (seconds), raw and corrected; NaN where a second is missing.
  const std::vector<double>& phase(bool corrected) const { return corrected ? bestCorrected_ : bestRaw_; }

  // The stability table (analysis/stability_table.h), one row per tau.
  void write(DecodeFormat format, LineOutput& out) const;
  // "8F-AC reports: N, ..." for standard error.
  std::string summary() const;

 private:
  void endRun();

  StreamTime time_;
  std::int64_t reports_ = 0;
  int runs_ = 0;
  analysis::PhaseSeries phase_;
  std::vector<double> raw_, corrected_;
  std::size_t runMissing_ = 0, runPoints_ = 0;  // of the run being read
  std::vector<double> bestRaw_, bestCorrected_;
};

}  // namespace halvix::recording
