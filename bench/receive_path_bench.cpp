// Throughput of the receive path: PollPort reading what a tick finds waiting
// and ParseByte unframing it, over a stream captured from the simulated receiver.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/receiver_stream.h"
#include "link/clock.h"
#include "link/serial_link.h"

namespace {

void BM_PollPortParse(benchmark::State& state) {
  const auto& stream = halvix::bench::CapturedStream();
  if (stream.empty()) {
    state.SkipWithError("the simulated receiver sent nothing");
    return;
  }
  halvix::bench::ReplayDevice device(stream, state.range(0));
  halvix::link::VirtualClock clock;
  halvix::link::SerialLink link(device, clock);
  link.OpenLink(QStringLiteral("replay"));
  std::int64_t packets = 0;
  const halvix::link::SerialLink::PacketCallback count = [&packets](halvix::link::SerialLink&) {
    ++packets;
  };
  std::int64_t bytes = 0;
  for (auto _ : state) {
    const std::uint32_t before = link.bytesReceived;
    link.PollPort(count, false);
    bytes += link.bytesReceived - before;
  }
  state.SetBytesProcessed(bytes);
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
