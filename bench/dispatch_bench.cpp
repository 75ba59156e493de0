// Throughput of the whole receive side without widgets: the captured stream
// read by PollPort, routed by the report dispatcher and decoded by the report
// layouts of every kind in the registry into typed values.
#include <benchmark/benchmark.h>


#include "bench/replay_loop.h"
#include "link/report_dispatcher.h"
#include "link/serial_link.h"
#include "reports/report_registry.h"

namespace {

using halvix::link::ReportDispatcher;

// Every kind of the registry decodes through its layout; each result is
// counted, so nothing is optimised away.
void Register(ReportDispatcher& d, std::int64_t& decoded) {
  d.setRoutes(halvix::reports::ReportRoutes());
  const auto kinds = halvix::reports::ReportKinds();
  for (std::size_t row = 0; row < kinds.size(); ++row) {
    d.setRowDecoder(static_cast<int>(row), [decode = kinds[row].decode, &decoded](const std::uint8_t* p, int n) {
      if (decode(p, n, nullptr)) ++decoded;
    });
  }
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

int main(int argc, char** argv) { return halvix::bench::RunReplayBenchmarks(argc, argv); }
