// halvix-decode: a QLIP recording (or standard input) decoded headless, one
// line per packet, by the layouts the windows use. Exit status 0 clean,
// 1 when problems were found, 2 when the input or output cannot be used.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "recording/decode_events.h"
#include "recording/decode_output.h"
#include "recording/decode_stability.h"

namespace {

using namespace halvix::recording;

constexpr int kClean = 0;
constexpr int kProblems = 1;
constexpr int kUnusable = 2;

const char kUsage[] =
    "Usage: halvix-decode [--format=text|csv|jsonl] [--only=41,8F-AC,...] [--csv-dir=DIR] [FILE.qlp | -]\n"
    "       halvix-decode --adev [--format=text|csv|jsonl] [FILE.qlp | -]\n"
    "       halvix-decode --events [--step-spreads=X] [--step-floor=NS] [--format=...] [FILE.qlp | -]\n"
    "Decodes a QLIP recording (or standard input) into one line per packet.\n"
    "\n"
    "  --format=FORMAT  text (aligned, the default), csv or jsonl (one JSON object a line)\n"
    "  --only=KINDS     show only these report kinds; an id alone (8F) takes all its sub-codes\n"
    "  --csv-dir=DIR    CSV into one file per report kind (and problems.csv) in DIR\n"
    "  --adev           the PPS stability instead: ADEV, MDEV, TDEV and HDEV from the PPS\n"
    "                   offset of 0x8F-AC (tau0 = 1 s), raw and less the quantization error,\n"
    "                   with 68.3 % bounds (<name>_lo, <name>_hi), the noise type and the\n"
    "                   terms left out at missing seconds\n"
    "  --events         the timing events instead: PPS steps, minor alarms raised and\n"
    "                   cleared, mode and status changes, self-survey finished or\n"
    "                   restarted, outages (no 0x8F-AC for over 5 s)\n"
    "  --step-spreads=X a PPS step is a change beyond X times the recent spread (6)\n"
    "  --step-floor=NS  ... and beyond NS nanoseconds (50)\n"
    "  --help           show this text and exit\n"
    "\n"
    "A summary goes to standard error. Exit status: 0 clean, 1 problems found,\n"
    "2 the input cannot be read.\n";

std::vector<std::string> SplitKinds(std::string_view list) {
  std::vector<std::string> kinds;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    std::string k(list.substr(0, comma));
    for (char& c : k) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (!k.empty()) kinds.push_back(k);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return kinds;
}

}  // namespace

int main(int argc, char** argv) {
  DecodeOptions options;
  std::string input = "-";
  bool formatGiven = false;
  bool adev = false;
  bool events = false;
  halvix::analysis::TimingEventSettings eventSettings;
  // A number the same way whatever the locale; false for anything else.
  const auto number = [](std::string_view text, double& out) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), out);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(out) && out >= 0;
  };
  int files = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--help") {
      std::fputs(kUsage, stdout);
      return kClean;
    } else if (a.starts_with("--format=")) {
      const std::string_view f = a.substr(9);
      formatGiven = true;
      if (f == "text") {
        options.format = DecodeFormat::Text;
      } else if (f == "csv") {
        options.format = DecodeFormat::Csv;
      } else if (f == "jsonl" || f == "json") {
        options.format = DecodeFormat::JsonLines;
      } else {
        std::fprintf(stderr, "halvix-decode: unknown format '%s'; choose text, csv or jsonl\n",
                     std::string(f).c_str());
        return kUnusable;
      }
    } else if (a == "--adev") {
      adev = true;
    } else if (a == "--events") {
      events = true;
    } else if (a.starts_with("--step-spreads=") || a.starts_with("--step-floor=")) {
      const bool spreads = a.starts_with("--step-spreads=");
      const std::string_view v = a.substr(a.find('=') + 1);
      double value = 0;
      if (!number(v, value) || (spreads && value <= 0)) {
        std::fprintf(stderr, "halvix-decode: %s needs a positive number, not '%s'\n",
                     spreads ? "--step-spreads" : "--step-floor", std::string(v).c_str());
        return kUnusable;
      }
      (spreads ? eventSettings.stepSpreads : eventSettings.stepFloorNs) = value;
    } else if (a.starts_with("--only=")) {
      options.only = SplitKinds(a.substr(7));
    } else if (a.starts_with("--csv-dir=")) {
      options.csvDir = std::string(a.substr(10));
      if (options.csvDir.empty()) {
        std::fputs("halvix-decode: --csv-dir= needs a folder\n", stderr);
        return kUnusable;
      }
    } else if (a.size() > 1 && a[0] == '-' ) {
      std::fprintf(stderr, "halvix-decode: unknown option '%s'\n%s", argv[i], kUsage);
      return kUnusable;
    } else {
      input = std::string(a);
      ++files;
    }
  }
  if (files > 1) {
    std::fputs("halvix-decode: give one recording at most\n", stderr);
    return kUnusable;
  }
  if (adev && events) {
    std::fputs("halvix-decode: give --adev or --events, not both\n", stderr);
    return kUnusable;
  }
  if ((adev || events) && (!options.csvDir.empty() || !options.only.empty())) {
    std::fprintf(stderr, "halvix-decode: %s writes one table; leave out --csv-dir and --only\n",
                 adev ? "--adev" : "--events");
    return kUnusable;
  }
  if (!options.csvDir.empty()) {
    if (formatGiven && options.format != DecodeFormat::Csv) {
      std::fputs("halvix-decode: --csv-dir writes CSV; leave out --format or give --format=csv\n",
                 stderr);
      return kUnusable;
    }
    options.format = DecodeFormat::Csv;
  }

  std::FILE* in = stdin;
  if (input != "-") {
    in = std::fopen(input.c_str(), "rb");
    if (in == nullptr) {
      std::fprintf(stderr, "halvix-decode: cannot read %s: %s\n", input.c_str(), std::strerror(errno));
      return kUnusable;
    }
  }

  LineOutput out(stdout);
  std::unique_ptr<DecodeSession> session;
  std::unique_ptr<StabilityCollector> stability;
  std::unique_ptr<EventCollector> eventCollector;
  if (adev) {
    stability = std::make_unique<StabilityCollector>();
  } else if (events) {
    eventCollector = std::make_unique<EventCollector>(options.format, out, eventSettings);
  } else {
    session = std::make_unique<DecodeSession>(options, out);
  }
  static std::uint8_t chunk[256 * 1024];
  bool readFailed = false;
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, in);
    if (got > 0) {
      if (stability) {
        stability->feed(chunk, got);
      } else if (eventCollector) {
        eventCollector->feed(chunk, got);
      } else {
        session->feed(chunk, got);
      }
    }
    if (got < sizeof chunk) {
      readFailed = std::ferror(in) != 0;
      break;
    }
  }
  if (stability) {
    stability->finish();
    stability->write(options.format, out);
    out.flush();
  } else if (eventCollector) {
    eventCollector->finish();
    out.flush();
  } else {
    session->finish();
  }
  if (in != stdin) std::fclose(in);
  const bool writeFailed =
      out.failed() || (session && session->outputFailed()) || std::fflush(stdout) != 0;

  std::fputs(stability        ? stability->summary().c_str()
             : eventCollector ? eventCollector->summary().c_str()
                              : session->summary().c_str(),
             stderr);
  const std::int64_t problems = stability        ? stability->problems()
                                : eventCollector ? eventCollector->problems()
                                                 : session->problems();
  if (readFailed) {
    std::fprintf(stderr, "halvix-decode: reading %s failed part way\n",
                 input == "-" ? "standard input" : input.c_str());
    return kUnusable;
  }
  if (writeFailed) {
    std::fputs("halvix-decode: the output could not be written\n", stderr);
    return kUnusable;
  }
  return problems > 0 ? kProblems : kClean;
}
