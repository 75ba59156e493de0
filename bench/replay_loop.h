// The timed loop both benchmarks share: the captured stream replayed through
// PollPort in reads of state.range(0) bytes, handed to the given callback.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/receiver_stream.h"
#include "link/clock.h"
#include "link/serial_link.h"

namespace halvix::bench {

// Returns false (and marks the benchmark failed) when there is no stream.
inline bool ReplayThroughPollPort(benchmark::State& state,
                                  const link::SerialLink::PacketCallback& callback) {
  const auto& stream = CapturedStream();
  if (stream.empty()) {
    state.SkipWithError("the simulated receiver sent nothing");
    return false;
  }
  ReplayDevice device(stream, state.range(0));
  link::VirtualClock clock;
  link::SerialLink link(device, clock);
  link.OpenLink(QStringLiteral("replay"));
  std::int64_t bytes = 0;
  for (auto _ : state) {
    const std::uint32_t before = link.bytesReceived;
    link.PollPort(callback, false);
    bytes += link.bytesReceived - before;
  }
  state.SetBytesProcessed(bytes);
  return true;
}

// The main of both: says what stream they run on, then runs them.
inline int RunReplayBenchmarks(int argc, char** argv) {
  std::printf("captured stream: %zu bytes from %d s of simulated receiver traffic\n", CapturedStream().size(),
              kCapturedSeconds);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace halvix::bench
