// Throughput of the whole receive side without widgets: the captured stream
// read by PollPort, routed by the report dispatcher and decoded by the report
// layouts into typed values.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/replay_loop.h"
#include "link/report_dispatcher.h"
#include "link/serial_link.h"
#include "reports/position_layouts.h"
#include "reports/satellite_layouts.h"
#include "reports/timing_layouts.h"

namespace {

using halvix::link::ReportDispatcher;

// Registers every widget-free decode of the live displays; each result is
// kept from the optimiser and counted.
template <typename Decode>
ReportDispatcher::Decoder Sink(Decode decode, std::int64_t& decoded) {
  return [decode, &decoded](const std::uint8_t* p, int n) {
    auto value = decode(p, n);
    benchmark::DoNotOptimize(value);
    if (value) ++decoded;
  };
}

void Register(ReportDispatcher& d, std::int64_t& decoded) {
  namespace r = halvix::reports;
  d.setDecoder(0x40, Sink(r::DecodeAlmanacData, decoded));
  d.setDecoder(0x41, Sink(r::DecodeGpsTime, decoded));
  d.setDecoder(0x42, Sink(r::DecodeXyzPosition, decoded));
  d.setDecoder(0x43, Sink(r::DecodeXyzVelocity, decoded));
  d.setDecoder(0x49, Sink(r::DecodeAlmanacHealth, decoded));
  d.setDecoder(0x4A, Sink(r::DecodeLlaPosition, decoded));
  d.setAltitudeDecoder(Sink(r::DecodeReferenceAltitude, decoded));
  d.setDecoder(0x56, Sink(r::DecodeEnuVelocity, decoded));
  d.setDecoder(0x5A, Sink(r::DecodeRawMeasurement, decoded));
  d.setDecoder(0x5B, Sink(r::DecodeEphemerisStatus, decoded));
  d.setDecoder(0x5C, Sink(r::DecodeTrackingStatus, decoded));
  d.setDecoder(0x6D, Sink(r::DecodeSatelliteSelection, decoded));
  d.setDecoder(0x83, Sink(r::DecodePreciseXyzPosition, decoded));
  d.setDecoder(0x84, Sink(r::DecodePreciseLlaPosition, decoded));
  d.setSuperDecoder(0x8F, 0x0B, Sink(r::DecodeComprehensiveTime, decoded));
  d.setSuperDecoder(0x8F, 0xAB, Sink(r::DecodePrimaryTiming, decoded));
  d.setSuperDecoder(0x8F, 0xAC, Sink(r::DecodeSupplementalTiming, decoded));
  d.setSuperDecoder(0x8F, 0xAD, Sink(r::DecodePrimaryUtcTime, decoded));
}

void BM_DispatchAndDecode(benchmark::State& state) {
  ReportDispatcher dispatcher;
  std::int64_t decoded = 0;
  Register(dispatcher, decoded);
  if (!halvix::bench::ReplayThroughPollPort(state, dispatcher.callback())) return;
  state.counters["reports"] = benchmark::Counter(static_cast<double>(decoded), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DispatchAndDecode)->Arg(960)->Arg(8192);

}  // namespace

int main(int argc, char** argv) {
  std::printf("captured stream: %zu bytes from %d s of simulated receiver traffic\n",
              halvix::bench::CapturedStream().size(), halvix::bench::kCapturedSeconds);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
