// Command handling of the simulated receiver: each packet received on port A
// either answers with the report its query names or changes the state that
// later reports show. Malformed commands are ignored, as a receiver would.
#include <cmath>

#include "sim/gps_time.h"
#include "sim/persona.h"
#include "sim/receiver_model.h"

namespace halvix::sim {
namespace {

constexpr std::uint8_t kNoChange = 0xFF;

bool Finite(double v) { return std::isfinite(v); }

}  // namespace

void ReceiverModel::handle(const Packet& packet) {
  // Queries answered by one report that takes nothing from the packet.
  static constexpr struct {
    std::uint8_t command, report;
    Bytes (ReceiverModel::*build)() const;
  } kPlainQueries[] = {{0x21, 0x41, &ReceiverModel::gpsTimeReport},
                       {0x24, 0x6D, &ReceiverModel::selectionReport},
                       {0x29, 0x49, &ReceiverModel::healthPageReport},
                       {0x2F, 0x4F, &ReceiverModel::utcReport}};
  for (const auto& q : kPlainQueries) {
    if (packet.id == q.command) return emit(q.report, (this->*q.build)());
  }
  // Resets by the letter that follows 0x1E.
  static constexpr std::pair<std::uint8_t, ResetKind> kResets[] = {
      {'K', ResetKind::Cold},
      {'F', ResetKind::FactoryAll},
      {'N', ResetKind::FactoryNavigation},
      {'R', ResetKind::FactoryConfiguration}};
  const Bytes& p = packet.payload;
  const ByteReader r(p);
  switch (packet.id) {
    case 0x1E:
      for (const auto& [letter, kind] : kResets) {
        if (r.u8(0) == letter) startReset(kind);
      }
      break;
    case 0x1F:
      // The bare query gets the short form; 1F 00 00 the full one where the firmware has it.
      emit(0x45, versionReport(!p.empty() && persona_.longVersionReport));
      break;
    case 0x20:
      if (Constellation::ValidSv(r.u8(0))) emit(0x40, almanacReport(r.u8(0)));
      break;
    case 0x25:
      startReset(ResetKind::Warm);
      break;
    case 0x26:
      emit(0x46, healthReport());
      emit(0x4B, machineReport());
      break;
    case 0x2A:
      if (p.empty()) {
        emit(0x4A, altitudeReport());
      } else if (p.size() == 1 && p[0] == 0xFF) {
        ram_.receiver.referenceAltitudeSet = false;
      } else if (p.size() >= 4 && Finite(r.f32(0))) {
        ram_.receiver.referenceAltitude = r.f32(0);
        ram_.receiver.referenceAltitudeSet = true;
      }
      break;
    case 0x2E:
      handleSetInitialTime(p);
      break;
    case 0x31:
      if (p.size() >= 12) {
        const Ecef e{r.f32(0), r.f32(4), r.f32(8)};
        const double radius = std::sqrt(e.x * e.x + e.y * e.y + e.z * e.z);
        // Only a point near the earth's surface is a position.
        if (Finite(radius) && radius > 6.2e6 && radius < 6.5e6) holdPosition(ToLla(e));
      }
      break;
    case 0x32:
      if (p.size() >= 12) {
        const Lla l{r.f32(0), r.f32(4), r.f32(8)};
        if (Finite(l.latitude) && Finite(l.longitude) && Finite(l.altitude) && std::fabs(l.latitude) <= 1.5708 &&
            std::fabs(l.longitude) <= 6.2832 && std::fabs(l.altitude) < 1.0e5)
          holdPosition(l);
      }
      break;
    case 0x34:
      if (!p.empty() && p[0] <= Constellation::kSatellites) ram_.receiver.oneSatellite = p[0];
      break;
    case 0x35:
      if (p.empty()) {
        emit(0x55, ioOptionsReport());
      } else if (p.size() >= 4) {
        for (std::size_t i = 0; i < 4; ++i) ram_.packetIo.ioOptions[i] = p[i];
      }
      break;
    case 0x38:
      handleSatelliteData(p);
      break;
    case 0x3A:
      if (!p.empty()) emit(0x5A, rawMeasurementReport(p[0]));
      break;
    case 0x3B:
      if (!p.empty()) emit(0x5B, ephemerisReport(p[0]));
      break;
    case 0x3C:
      emitTrackingReports(r.u8(0));
      break;
    case 0x3F:
      if (r.u8(0) == 0x11) emit(0x5F, segmentStatusReport());
      break;
    case 0x7A:
      if (p.size() == 1 && p[0] == 0) {
        emit(0x7B, nmeaReport());
      } else if (p.size() >= 6 && p[0] == 0 && p[1] != 0) {
        ram_.nmea.interval = p[1];
        ram_.nmea.mask = r.u32(2);
      }
      break;
    case 0xBB:
      if (p.size() == 1) {
        emit(0xBB, receiverConfigurationReport());
      } else {
        handleSetReceiverConfiguration(p);
      }
      break;
    case 0xBC:
      if (p.size() == 1) {
        emit(0xBC, serialPortReport(p[0] == 1 ? 1 : 0));
      } else {
        handleSetSerialPort(p);
      }
      break;
    case 0x8E:
      handleSuper(p);
      break;
    default:
      break;
  }
}

void ReceiverModel::handleSuper(const Bytes& p) {
  if (p.empty()) return;
  const ByteReader r(p);
  const std::size_t n = p.size();
  TimingOutputs& timing = ram_.timing;
  PacketIo& io = ram_.packetIo;
  // A four-byte setting: the bare query reports it, a longer packet sets it.
  const auto longSetting = [&](std::uint32_t& value) {
    if (n == 1) {
      Bytes out{p[0]};
      ByteWriter(out).u32(value);
      emit(0x8F, out);
    } else if (n >= 5) {
      value = r.u32(1);
    }
  };
  switch (p[0]) {
    case 0x0B:
      if (n == 1) {
        emit(0x8F, comprehensiveTimeReport(0, gpsMsAt(nowMs_) / 1000 * 1000));
      } else if (p[1] <= 3) {
        io.broadcastMask1 = static_cast<std::uint8_t>((io.broadcastMask1 & ~0x03) | p[1]);
      }
      break;
    case 0xAD:
      if (n == 1) {
        emit(0x8F, utcTimeReport(0, gpsMsAt(nowMs_) / 1000 * 1000));
      } else if (p[1] <= 3) {
        io.broadcastMask1 = static_cast<std::uint8_t>((io.broadcastMask1 & ~0x30) | (p[1] << 4));
      }
      break;
    case 0x15:
      if (n == 1) {
        emit(0x8F, datumReport());
      } else if (n >= 3 && r.u16(1) < 180) {
        io.datum = r.u16(1);
      }
      break;
    case 0x26:
      saveSegments();
      break;
    case 0x41:
      emit(0x8F, manufacturingReport());
      break;
    case 0x42:
      emit(0x8F, productionReport());
      break;
    case 0x45:
      if (n >= 2) revertSegment(p[1]);
      break;
    case 0x4A:
      if (n == 1) {
        emit(0x8F, ppsCharacteristicsReport());
      } else {
        handleSetPpsCharacteristics(p);
      }
      break;
    case 0x4B:
      longSetting(ram_.survey.limit);
      break;
    case 0x4D:
      longSetting(io.autoOutputMask);
      break;
    case 0x4E:
      if (n == 1) {
        emit(0x8F, Bytes{0x4E, timing.ppsOutputMode});
      } else if (p[1] >= 2 && p[1] <= 4) {
        timing.ppsOutputMode = p[1];
      }
      break;
    case 0x4F:
      if (n == 1) {
        Bytes out{0x4F};
        ByteWriter(out).f64(timing.ppsWidth);
        emit(0x8F, out);
      } else if (n >= 9 && Finite(r.f64(1)) && r.f64(1) > 0.0 && r.f64(1) < 0.5) {
        timing.ppsWidth = r.f64(1);
      }
      break;
    case 0xA5:
      if (n == 1) {
        emit(0x8F, Bytes{0xA5, io.broadcastMask1, io.broadcastMask2, 0x00, 0x00});
      } else if (n >= 3) {
        io.broadcastMask1 = p[1];
        io.broadcastMask2 = p[2];
      }
      break;
    case 0xA6:
      // Restarting the survey gives up the held position.
      ram_.position.reset();
      survey_.start(surveyLength());
      break;
    case 0xA9:
      if (n == 1) {
        Bytes out{0xA9, ram_.survey.enabled, ram_.survey.savePosition};
        ByteWriter w(out);
        w.i32(ram_.survey.length);
        w.u32(0);
        emit(0x8F, out);
      } else {
        handleSetSelfSurvey(p);
      }
      break;
    case 0xAB:
      // 0: now; 1: at the next PPS; 2: with the supplemental report at the next PPS.
      if (n == 1 || p[1] == 0) {
        emit(0x8F, primaryTimingReport(gpsMsAt(nowMs_) / 1000));
      } else if (p[1] <= 2) {
        pendingTimingRequest_ = std::max<int>(pendingTimingRequest_, p[1]);
      }
      break;
    case 0xAF:
      if (n >= 2) siCode_ = p[1];
      break;
    default:
      break;
  }
}

void ReceiverModel::handleSetInitialTime(const Bytes& p) {
  const ByteReader r(p);
  if (p.size() < 6) return;
  const double tow = r.f32(0);
  const int week = r.i16(4);
  const bool sane = Finite(tow) && tow >= 0.0 && tow < static_cast<double>(kSecondsPerWeek) && week >= 0;
  const bool refuse = options_.faults.refuseTime && timeSource_ == TimeSource::Satellites;
  if (!sane || refuse) {
    emit(0x4E, Bytes{'N'});
    return;
  }
  if (timeSource_ == TimeSource::None) timeSource_ = TimeSource::User;
  emit(0x4E, Bytes{'Y'});
}

void ReceiverModel::handleSetReceiverConfiguration(const Bytes& p) {
  const ByteReader r(p);
  if (p.size() < 22 || p[0] != 0x00) return;
  ReceiverSettings& s = ram_.receiver;
  // A byte of 0xFF leaves the setting as it is; so does a value outside its list.
  if (p[1] != kNoChange && p[1] <= 7) s.mode = p[1];
  if (p[2] != kNoChange && (p[2] <= 1 || p[2] == 3)) s.dgpsMode = p[2];
  if (p[3] != kNoChange && p[3] >= 1 && p[3] <= 4) s.dynamics = p[3];
  const float elevation = r.f32(5), signal = r.f32(9), pdop = r.f32(13), pswitch = r.f32(17);
  if (Finite(elevation) && elevation >= 0.0f && elevation <= 1.5708f) s.elevationMask = elevation;
  if (Finite(signal) && signal >= 0.0f && signal <= 50.0f) s.signalMask = signal;
  if (Finite(pdop) && pdop >= 0.0f && pdop <= 50.0f) s.pdopMask = pdop;
  if (Finite(pswitch) && pswitch >= 0.0f && pswitch <= 50.0f) s.pdopSwitch = pswitch;
  if (p[21] >= 1) s.dgpsAgeLimit = p[21];
}

void ReceiverModel::handleSetSerialPort(const Bytes& p) {
  if (p.size() < 9) return;
  const std::uint8_t port = p[0];
  if (port != 0 && port != 1 && port != 0xFF) return;
  if (!PortCodesValid(p[1], p[3], p[4], p[5]) || !PortCodesValid(p[2], p[3], p[4], p[5])) return;
  ReceiverPort s{p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]};
  if (port == 1) {
    ram_.serial.portB = s;
    return;
  }
  // Port A (or the port the command came in on): the line changes now.
  ram_.serial.portA = s;
  serviceMode_ = false;
  decoder_.reset();
}

void ReceiverModel::handleSetPpsCharacteristics(const Bytes& p) {
  const ByteReader r(p);
  if (p.size() < 16) return;
  TimingOutputs& t = ram_.timing;
  if (p[1] <= 1) t.ppsEnabled = p[1];
  if (p[2] <= 1) t.timeBase = p[2];
  if (p[3] <= 1) t.polarity = p[3];
  if (Finite(r.f64(4)) && std::fabs(r.f64(4)) < 1.0) t.ppsOffset = r.f64(4);
  if (Finite(r.f32(12)) && r.f32(12) >= 0.0f) t.biasThreshold = r.f32(12);
}

void ReceiverModel::handleSetSelfSurvey(const Bytes& p) {
  const ByteReader r(p);
  if (p.size() < 7) return;
  SurveySettings& s = ram_.survey;
  s.enabled = p[1] != 0 ? 1 : 0;
  s.savePosition = p[2] != 0 ? 1 : 0;
  if (r.i32(3) >= 0) s.length = r.i32(3);
  // Disabling stops a running survey; enabling starts one if no position is held.
  if (s.enabled == 0) {
    survey_.stop();
  } else if (!ram_.position && !survey_.active()) {
    survey_.start(surveyLength());
  }
}

std::optional<Bytes> ReceiverModel::dataBlock(int type, int sv) const {
  if (type == kUtcData) return ram_.utc;
  return systemData_.block(type, sv);
}

void ReceiverModel::handleSatelliteData(const Bytes& p) {
  if (p.size() < 3) return;
  const std::uint8_t op = p[0], type = p[1], sv = p[2];
  Bytes answer{0x00, type, sv, 0x00};
  if (op == 1) {
    const bool svOk = !PerSatellite(type) || Constellation::ValidSv(sv);
    const std::optional<Bytes> block = svOk ? dataBlock(type, sv) : std::nullopt;
    if (block && block->size() <= 255) {
      answer[0] = 2;
      answer[3] = static_cast<std::uint8_t>(block->size());
      answer.insert(answer.end(), block->begin(), block->end());
    }
    emit(0x58, answer);
    return;
  }
  if (op == 2) {
    const std::size_t n = p.size() >= 4 ? p[3] : 0;
    const bool wellFormed = p.size() == 4 + n && BlockLength(type) == n &&
                            (!PerSatellite(type) || Constellation::ValidSv(sv));
    if (wellFormed && !options_.faults.refuseLoads) {
      Bytes data(p.begin() + 4, p.end());
      if (type == kUtcData) {
        ram_.utc = std::move(data);
      } else {
        systemData_.store(type, sv, std::move(data));
      }
      answer[0] = 1;
    }
    emit(0x58, answer);
    return;
  }
  emit(0x58, answer);
}

void ReceiverModel::saveSegments() {
  eeprom_ = ram_;
  segmentStatus_ = 0;
}

void ReceiverModel::revertSegment(int segment) {
  const Configuration factory = FactoryConfiguration(persona_);
  if (segment == kAllSegments) {
    for (int s : kSegments) CopySegment(ram_, factory, s);
  } else if (IsSegment(segment)) {
    CopySegment(ram_, factory, segment);
  } else {
    return;
  }
  // Reverting a segment writes every segment to EEPROM.
  saveSegments();
  if (segment == kAllSegments) {
    for (int s : kSegments) applySegmentEffects(s);
  } else {
    applySegmentEffects(segment);
  }
}

void ReceiverModel::applySegmentEffects(int segment) {
  switch (segment) {
    case 4:
      serviceMode_ = false;
      decoder_.reset();
      break;
    case 6:
      if (ram_.survey.enabled != 0 && !survey_.active()) survey_.start(surveyLength());
      break;
    case 11:
      // The UTC parameters come again with the next pass of the broadcast.
      if (collectFrom_ >= 0) collectFrom_ = lastWorld_;
      break;
    default:
      break;
  }
}

}  // namespace halvix::sim
