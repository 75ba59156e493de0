#include "tools/almanac_transfer.h"

#include <QFile>
#include <algorithm>

#include "commands/catalogue.h"

namespace halvix::tools {

namespace {

constexpr int kSystemDataReport = 0x58;
constexpr std::uint8_t kDataFollows = 2;
constexpr std::uint8_t kBlockAccepted = 1;

QString RequestLine(int type, int sv) {
  switch (type) {
    case 2: return QString::asprintf("SV %d almanac requested...\r\n", sv);
    case 3: return QStringLiteral("Almanac health page, t_oa, wn_oa requested...\r\n");
    case 4: return QStringLiteral("Ionospheric data requested...\r\n");
    case 5: return QStringLiteral("UTC time data requested...\r\n");
    default: return {};
  }
}

QString UploadLine(int type, int sv) {
  switch (type) {
    case 1: return QString::asprintf("Almanac raw for SV %02d...\r\n", sv);
    case 2: return QString::asprintf("Almanac data for SV %02d...\r\n", sv);
    case 3: return QStringLiteral("Almanac health page, t_oa, wn_oa... \r\n");
    case 4: return QStringLiteral("Ionosphere data... \r\n");
    case 5: return QStringLiteral("UTC time correction data... \r\n");
    default: return {};
  }
}

// Runs the end hook however the transfer leaves.
struct EndGuard {
  const std::function<void()>& end;
  ~EndGuard() {
    if (end) end();
  }
};

}  // namespace

SystemDataTransfer::SystemDataTransfer(link::SerialLink& link, Hooks hooks)
    : link_(link), hooks_(std::move(hooks)) {}

void SystemDataTransfer::log(const QString& line) const {
  if (hooks_.log) hooks_.log(line);
}

bool SystemDataTransfer::WaitForSystemData(int type, int sv) {
  const link::SerialLink::PacketCallback catchReply = [this](link::SerialLink& l) {
    if (hooks_.packetSeen) hooks_.packetSeen();
    if (l.id != kSystemDataReport) return;
    const int length = std::min(l.completedLength, link::SerialLink::kPayloadSize);
    // A reply too short for its header, or shorter than its length byte says,
    // is not one: its data would be read past what arrived.
    if (length < 4 || l.payload[3] > length - 4) return;
    caught_.operation = l.payload[0];
    caught_.type = l.payload[1];
    caught_.sv = l.payload[2];
    caught_.length = l.payload[3];
    std::copy_n(l.payload.begin() + 4, caught_.length, caught_.data.begin());
    l.replyFound = true;
  };

  link::Clock& clock = link_.clock();
  const std::int64_t deadline = clock.nowMs() + kWaitBoundMs;
  link_.replyFound = false;
  for (;;) {
    link_.PollPort(catchReply, true);
    if (link_.replyFound) {
      link_.replyFound = false;
      if (caught_.type == type && caught_.sv == sv) {
        reply_ = caught_;
        lastOperation_ = reply_.operation;
        return true;
      }
      continue;
    }
    if (clock.nowMs() >= deadline) return false;
    clock.sleepMs(kPollPauseMs);
  }
}

bool SystemDataTransfer::downloadStep(QIODevice& file, std::uint8_t type, std::uint8_t sv) {
  log(RequestLine(type, sv));
  commands::SatelliteDataRequest38(link_, type, sv);
  if (!WaitForSystemData(type, sv) || reply_.operation != kDataFollows) {
    log(QStringLiteral("Data not available!\r\n"));
    return false;
  }
  log(QString::asprintf("   received, length = %d\r\n", reply_.length));
  std::array<std::uint8_t, kRecordMaxSize> record{};
  const int n = EncodeAlmanacRecord(reply_.type, reply_.sv, reply_.data.data(), reply_.length, record);
  if (file.write(reinterpret_cast<const char*>(record.data()), n) != n) {
    // A record that did not reach the file is not a block written.
    log(QStringLiteral("Couldn't write almanac data file!\r\n"));
    return false;
  }
  return true;
}

bool SystemDataTransfer::withAlmanacFile(const QString& fileName, QIODevice::OpenMode mode,
                                         const std::function<bool(QFile&)>& body) {
  QFile file(fileName);
  const bool opened = file.open(mode);
  // The hooks bracket the transfer even when the file does not open.
  if (hooks_.begin) hooks_.begin();
  EndGuard guard{hooks_.end};
  if (!opened) {
    log(QStringLiteral("Couldn't open almanac data file!\r\n"));
    return false;
  }
  return body(file);
}

bool SystemDataTransfer::DownloadSystemData(const QString& fileName) {
  return withAlmanacFile(fileName, QIODevice::WriteOnly | QIODevice::Truncate, [this](QFile& file) {
    link::Clock& clock = link_.clock();
    const char lead[2] = {0, 0};
    bool ok = file.write(lead, 2) == 2;
    ok = ok && downloadStep(file, commands::kSatelliteDataHealthPage, 0);
    for (int s = 1; ok && s <= kMaxSv; ++s) {
      clock.sleepMs(kStepPauseMs);
      ok = downloadStep(file, commands::kSatelliteDataAlmanac, static_cast<std::uint8_t>(s));
    }
    ok = ok && downloadStep(file, commands::kSatelliteDataIonosphere, 0);
    ok = ok && downloadStep(file, commands::kSatelliteDataUtc, 0);
    log(QStringLiteral("Almanac download complete.\r\n"));
    // Buffered bytes that cannot be written make the file incomplete.
    if (!file.flush()) ok = false;
    file.close();
    return ok;
  });
}

bool SystemDataTransfer::loadOneBlock(QIODevice& file) {
  AlmanacBlock block;
  const AlmanacRead read = ReadAlmanacRecord(file, block);
  if (block.headerValid) log(UploadLine(block.type, block.sv));
  switch (read) {
    case AlmanacRead::End: return false;
    case AlmanacRead::UnknownType:
      log(QStringLiteral("Unknown data block type! \r\n"));
      return false;
    case AlmanacRead::BadEndMarker:
      log(QStringLiteral("End of block format error! \r\n"));
      return false;
    case AlmanacRead::Block: break;
  }
  commands::SatelliteDataLoad38(link_, block.type, block.sv, block.data.data(),
                                static_cast<std::uint8_t>(block.length));
  lastOperation_ = 0;
  WaitForSystemData(block.type, block.sv);
  log(lastOperation_ == kBlockAccepted ? QStringLiteral("   Data block acknowledged\r\n")
                                       : QStringLiteral("   Data block rejected\r\n"));
  return true;
}

bool SystemDataTransfer::UploadSystemData(const QString& fileName) {
  return withAlmanacFile(fileName, QIODevice::ReadOnly, [this](QFile& file) {
    link::Clock& clock = link_.clock();
    do {
      clock.sleepMs(kStepPauseMs);
    } while (loadOneBlock(file));
    log(QStringLiteral("System data load complete.\r\n"));
    file.close();
    return true;
  });
}

}  // namespace halvix::tools
