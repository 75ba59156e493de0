// Throughput of the receive path: PollPort reading what a tick finds waiting
// and ParseByte unframing it, over a stream captured from the simulated receiver.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/replay_loop.h"

namespace {

void BM_PollPortParse(benchmark::State& state) {
  std::int64_t packets = 0;
  const halvix::link::SerialLink::PacketCallback count = [&packets](halvix::link::SerialLink&) {
    ++packets;
  };
  if (!halvix::bench::ReplayThroughPollPort(state, count)) return;
  state.counters["packets"] = benchmark::Counter(static_cast<double>(packets), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PollPortParse)->Arg(64)->Arg(960)->Arg(4096)->Arg(8192);

}  // namespace

int main(int argc, char** argv) {
  std::printf("captured stream: %zu bytes from %d s of simulated receiver traffic\n",
              halvix::bench::CapturedStream().size(), halvix::bench::kCapturedSeconds);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
