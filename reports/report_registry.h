// The registry of report kinds: one row per kind the program routes, with its
// routing rule and key, its name, and its layout's decode and field
// description. The dispatcher's routes, the GUI's decoder binding, the
// headless decoder, the fuzz targets and the benchmarks all read it. Adding a
// report kind is its layout, one row here, its GUI decoder and the
// simulator's side.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "link/report_routes.h"
#include "reports/field_sink.h"

namespace halvix::reports {

struct ReportKindRow {
  link::RouteRule route;  // route.key is the kind's key ("8F-AB")
  std::string_view name;  // "Primary Timing"
  // Decodes a payload with the kind's layout and, given a sink, describes its
  // fields there. False when the layout refuses the payload (a wrong length).
  bool (*decode)(const std::uint8_t* payload, int length, FieldSink* sink);

  std::string_view key() const { return route.key; }
};

// Every row, in the order of the route table's rows.
std::span<const ReportKindRow> ReportKinds();
// The routes of the rows, for the dispatcher. Built once, never changed.
const link::RouteTable& ReportRoutes();

// The row a packet routes to (developer mode aside), or nullptr.
const ReportKindRow* FindReportKind(int id, const std::uint8_t* payload, int length);
const ReportKindRow* FindReportKind(std::string_view key);

// The kind a packet is taken for, routed or not: its row's key, else the id
// in hex, with "-" and the sub-code for an id routed on its first byte
// ("8F-99"). Writes at most 7 characters into out.
std::string_view PacketKey(int id, const std::uint8_t* payload, int length, char (&out)[8]);

}  // namespace halvix::reports
