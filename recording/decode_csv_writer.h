// The CSV form: one row per report, "offset" and the fields in layout order,
// with a header row of names and units per kind. In one stream each row
// starts with its kind and each kind's header with "#kind"; in a folder each
// kind has its own file and the problems theirs.
#pragma once

#include "recording/report_writer.h"

namespace halvix::recording {

class CsvReportWriter final : public ReportWriter {
 public:
  explicit CsvReportWriter(bool oneStream) : oneStream_(oneStream) {}

  void report(LineWriter& out, std::int64_t offset, const ReportDecoder& d, std::int32_t kindIndex) override;
  void problem(LineWriter& out, std::int64_t offset, std::string_view reason) override;
  // The header row of the decoded report's kind.
  void header(LineWriter& out, const ReportDecoder& d) const;
  static void problemHeader(LineWriter& out) { out.put("offset,problem\n"); }

 private:
  bool oneStream_;
};

}  // namespace halvix::recording
