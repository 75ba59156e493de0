// halvix-decode: a QLIP recording (or standard input) decoded headless, one
// line per packet, by the layouts the windows use. Exit status 0 clean,
// 1 when problems were found, 2 when the input or output cannot be used.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "tools/decode_output.h"

namespace {

using halvix::tools::DecodeFormat;
using halvix::tools::DecodeOptions;
using halvix::tools::DecodeSession;
using halvix::tools::LineOutput;

constexpr int kClean = 0;
constexpr int kProblems = 1;
constexpr int kUnusable = 2;

const char kUsage[] =
    "Usage: halvix-decode [--format=text|csv|jsonl] [--only=41,8F-AC,...] [--csv-dir=DIR] [FILE.qlp | -]\n"
    "Decodes a QLIP recording (or standard input) into one line per packet.\n"
    "\n"
    "  --format=FORMAT  text (aligned, the default), csv or jsonl (one JSON object a line)\n"
    "  --only=KINDS     show only these report kinds; an id alone (8F) takes all its sub-codes\n"
    "  --csv-dir=DIR    CSV into one file per report kind (and problems.csv) in DIR\n"
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
  DecodeSession session(options, out);
  static std::uint8_t chunk[256 * 1024];
  bool readFailed = false;
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, in);
    if (got > 0) session.feed(chunk, got);
    if (got < sizeof chunk) {
      readFailed = std::ferror(in) != 0;
      break;
    }
  }
  session.finish();
  if (in != stdin) std::fclose(in);
  const bool writeFailed = session.outputFailed() || std::fflush(stdout) != 0;

  std::fputs(session.summary().c_str(), stderr);
  if (readFailed) {
    std::fprintf(stderr, "halvix-decode: reading %s failed part way\n",
                 input == "-" ? "standard input" : input.c_str());
    return kUnusable;
  }
  if (writeFailed) {
    std::fputs("halvix-decode: the output could not be written\n", stderr);
    return kUnusable;
  }
  return session.problems() > 0 ? kProblems : kClean;
}
