// Throughput of the receive path: PollPort reading what a tick finds waiting
// and the deframer unframing it, over a stream captured from the simulated receiver.
#include <benchmark/benchmark.h>


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

int main(int argc, char** argv) { return halvix::bench::RunReplayBenchmarks(argc, argv); }
