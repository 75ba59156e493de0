// The text form: an offset column, the kind, the report name, then
// "name=value unit" pairs; a problem is a "!" line.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "recording/report_writer.h"

namespace halvix::recording {

class TextReportWriter final : public ReportWriter {
 public:
  TextReportWriter();
  ~TextReportWriter() override;

  void report(LineWriter& out, std::int64_t offset, const ReportDecoder& d, std::int32_t kindIndex) override;
  void problem(LineWriter& out, std::int64_t offset, std::string_view reason) override;

 private:
  struct Pieces;
  const Pieces& pieces(const ReportDecoder& d, std::int32_t kindIndex);

  std::vector<std::unique_ptr<Pieces>> pieces_;  // by kind index
};

}  // namespace halvix::recording
