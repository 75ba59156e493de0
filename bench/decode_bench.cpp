// Throughput of halvix-decode's text output against a plain deframing loop
// over the same bytes: a synthetic recording (the simulated receiver's stream,
// repeated to the size asked) decoded to /dev/null. A plain program: it
// prints MB/s of both and their ratio.
//
//   bench_decode [--megabytes=100]
//   bench_decode --write-recording=FILE [--seconds=3600]
//     writes a recording of the simulated receiver through the recorder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bench/receiver_stream.h"
#include "recording/decode_frames.h"
#include "recording/decode_output.h"
#include "recording/qlip_recorder.h"

namespace {

using Clock = std::chrono::steady_clock;

// Hands every frame of the stream to the recorder, as the dispatcher does.
class RecordingSink final : public halvix::recording::FrameSink {
 public:
  explicit RecordingSink(halvix::recording::QlipRecorder& r) : recorder_(r) {}
  void packet(std::int64_t, int id, const std::uint8_t* payload, int length) override {
    if (!recorder_.RecordPacket(id, payload, length)) failed = true;
  }
  void problem(std::int64_t, halvix::recording::FrameFlaw, std::string_view) override {}
  bool failed = false;

 private:
  halvix::recording::QlipRecorder& recorder_;
};

int WriteRecording(const char* path, int seconds) {
  const std::vector<std::uint8_t> stream = halvix::bench::CaptureReceiverStream(seconds);
  halvix::recording::QlipRecorder recorder;
  if (!recorder.open(QString::fromLocal8Bit(path))) {
    std::fprintf(stderr, "cannot write %s: %s\n", path, qPrintable(recorder.error()));
    return 2;
  }
  RecordingSink sink(recorder);
  halvix::recording::QlipDeframer deframer(sink);
  deframer.feed(stream.data(), stream.size());
  deframer.finish();
  if (!recorder.close() || sink.failed) {
    std::fprintf(stderr, "writing %s failed: %s\n", path, qPrintable(recorder.error()));
    return 2;
  }
  std::printf("%s: %d receiver-seconds, %zu bytes\n", path, seconds, stream.size());
  return 0;
}

// The least a reader of the stream must do: find the frames and unstuff them.
std::size_t PlainDeframe(const std::vector<std::uint8_t>& bytes) {
  std::size_t packets = 0;
  std::uint8_t payload[512];
  int length = 0;
  bool dle = false;
  for (const std::uint8_t b : bytes) {
    if (dle) {
      dle = false;
      if (b == 0x03) {
        ++packets;
        length = 0;
      } else if (b == 0x10) {
        payload[length++ & 511] = b;
      } else {
        length = 0;
      }
    } else if (b == 0x10) {
      dle = true;
    } else {
      payload[length++ & 511] = b;
    }
  }
  return packets + payload[0] * 0;
}

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

}  // namespace

int main(int argc, char** argv) {
  long megabytes = 100;
  const char* recording = nullptr;
  int seconds = 3600;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a.starts_with("--megabytes=")) megabytes = std::atol(argv[i] + 12);
    else if (a.starts_with("--write-recording=")) recording = argv[i] + 18;
    else if (a.starts_with("--seconds=")) seconds = std::atoi(argv[i] + 10);
    else {
      std::fprintf(stderr, "usage: bench_decode [--megabytes=N] | --write-recording=FILE [--seconds=N]\n");
      return 2;
    }
  }
  if (recording != nullptr) return WriteRecording(recording, seconds);

  const std::vector<std::uint8_t>& base = halvix::bench::CapturedStream();
  if (base.empty() || megabytes <= 0) {
    std::fprintf(stderr, "no stream to decode\n");
    return 2;
  }
  const std::size_t target = static_cast<std::size_t>(megabytes) * 1000 * 1000;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(target + base.size());
  while (bytes.size() < target) bytes.insert(bytes.end(), base.begin(), base.end());
  const double mb = static_cast<double>(bytes.size()) / 1e6;

  // Best of three for both, so that a busy machine disturbs the ratio less.
  std::size_t plainPackets = 0;
  double plainSeconds = 1e9;
  double decodeSeconds = 1e9;
  std::int64_t packets = 0;
  std::int64_t problems = 0;
  for (int round = 0; round < 3; ++round) {
    auto start = Clock::now();
    plainPackets = PlainDeframe(bytes);
    plainSeconds = std::min(plainSeconds, Seconds(start));

    std::FILE* sink = std::fopen("/dev/null", "wb");
    if (sink == nullptr) return 2;
    halvix::recording::LineOutput out(sink);
    halvix::recording::DecodeOptions options;
    halvix::recording::DecodeSession session(options, out);
    start = Clock::now();
    constexpr std::size_t kChunk = 256 * 1024;
    for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
      session.feed(bytes.data() + at, std::min(kChunk, bytes.size() - at));
    }
    session.finish();
    decodeSeconds = std::min(decodeSeconds, Seconds(start));
    packets = session.packets();
    problems = session.problems();
    std::fclose(sink);
  }

  std::printf("recording: %.1f MB, %lld packets (%zu by the plain loop), %lld problems\n", mb,
              static_cast<long long>(packets), plainPackets, static_cast<long long>(problems));
  std::printf("plain deframing: %8.1f MB/s\n", mb / plainSeconds);
  std::printf("decode to text:  %8.1f MB/s\n", mb / decodeSeconds);
  std::printf("ratio (decode / deframe): %.3f\n", plainSeconds / decodeSeconds);
  return 0;
}
