// The JSON lines form: one object per report with its offset, kind, report
// name, fields (null for a number that is not finite) and, when any field
// has one, units; a problem is {"offset":..,"problem":".."}.
#pragma once

#include "recording/report_writer.h"

namespace halvix::recording {

class JsonLinesReportWriter final : public ReportWriter {
 public:
  void report(LineWriter& out, std::int64_t offset, const ReportDecoder& d, std::int32_t kindIndex) override;
  void problem(LineWriter& out, std::int64_t offset, std::string_view reason) override;
};

}  // namespace halvix::recording
