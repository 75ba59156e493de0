// Fuzz target: whatever arrives around a BREAK is read as the receiver's
// port-settings line.
#include <QByteArray>
#include <cstdint>

#include "link/break_sequence.h"
#include "link/port_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray line(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  halvix::link::PortSettings settings{};
  if (halvix::link::ParsePortSettingsLine(line, settings)) {
    // What was parsed is only ever used through the tables.
    (void)halvix::link::LineSettingsFor(settings);
    (void)halvix::link::PortSettingsCaption(QStringLiteral("COM1"), settings);
  }
  return 0;
}
