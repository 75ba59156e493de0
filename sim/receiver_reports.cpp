// Report encoders of the simulated receiver: each builds one report's payload
// from the receiver's own state, at the layout and length the report has.
#include <algorithm>
#include <array>
#include <cmath>

#include "sim/gps_time.h"
#include "sim/persona.h"
#include "sim/receiver_model.h"

namespace halvix::sim {
namespace {

constexpr double kL1Wavelength = 0.190293672798;  // metres
constexpr double kSpeedOfLight = 299792458.0;
// Geoid height at the site, for mean-sea-level output.
constexpr double kGeoidSeparation = 47.9;

struct DatumParameters {
  double dx, dy, dz, a, e2;
};

// Shifts and ellipsoids of the first datums in the receiver's list; the rest
// are reported on the International 1924 ellipsoid without shifts.
constexpr std::array<DatumParameters, 15> kDatums = {{
    {0.0, 0.0, 0.0, 6378137.0, 0.00669437999014},
    {-148.0, 507.0, 685.0, 6377397.155, 0.006674372231},
    {-8.0, 160.0, 176.0, 6378206.4, 0.006768657997},
    {-5.0, 135.0, 172.0, 6378206.4, 0.006768657997},
    {-87.0, -98.0, -121.0, 6378388.0, 0.006722670022},
    {-133.0, -48.0, 148.0, 6378160.0, 0.006694541855},
    {0.0, 0.0, 4.5, 6378135.0, 0.006694317778},
    {0.0, 0.0, 0.0, 6378137.0, 0.00669438002290},
    {0.0, 0.0, 0.0, 6378137.0, 0.00669438002290},
    {-12.0, 130.0, 190.0, 6378206.4, 0.006768657997},
    {61.0, -285.0, -181.0, 6378388.0, 0.006722670022},
    {0.0, 0.0, 0.0, 6378137.0, 0.00669437999014},
    {0.0, 0.0, 0.0, 6378137.0, 0.00669437999014},
    {-87.0, -98.0, -121.0, 6378388.0, 0.006722670022},
    {-134.0, -48.0, 149.0, 6378160.0, 0.006694541855},
}};

// 0x8F-0B numbers receiver modes in its own order.
std::int8_t ComprehensiveMode(std::uint8_t mode) {
  constexpr std::array<std::int8_t, 8> kMap = {3, 2, 3, 0, 1, 4, 5, 6};
  return mode < kMap.size() ? kMap[mode] : 3;
}

std::int64_t PositiveMod(std::int64_t a, std::int64_t m) { return ((a % m) + m) % m; }

}  // namespace

struct ReceiverModel::TimeView {
  bool set = false;
  bool utcKnown = false;
  int leap = 0;
  bool utcScale = false;         // times and dates below are UTC
  std::int64_t second = 0;       // GPS seconds since the epoch
  std::int64_t scaleSecond = 0;  // the same second in the reported scale
  CalendarTime calendar;
};

ReceiverModel::TimeView ReceiverModel::timeAt(std::int64_t gpsSecond) const {
  TimeView t;
  t.set = timeSource_ != TimeSource::None;
  t.utcKnown = ram_.utc.has_value();
  t.leap = t.utcKnown ? LeapSecondsOf(*ram_.utc) : 0;
  t.utcScale = t.utcKnown && ram_.timing.timeBase == 1;
  t.second = t.set ? gpsSecond : 0;
  t.scaleSecond = t.utcScale ? t.second - t.leap : t.second;
  if (t.set) t.calendar = CalendarFromGpsSeconds(t.scaleSecond);
  return t;
}

int ReceiverModel::utcOffset() const { return ram_.utc ? LeapSecondsOf(*ram_.utc) : 0; }

int ReceiverModel::statusCode() const {
  if (timeSource_ == TimeSource::None) return 1;
  const int used = tracker_.usedCount();
  if (ram_.receiver.mode == 1 && ram_.receiver.oneSatellite != 0 &&
      !tracker_.satelliteUsable(ram_.receiver.oneSatellite))
    return 12;
  if (used == 0) return 8;
  // With a held position one satellite is enough for time.
  if (ram_.position || ram_.receiver.mode == 1) return 0;
  if (used < 4) return 8 + used;
  if (tracker_.dops().pdop > ram_.receiver.pdopMask) return 3;
  return 0;
}

Lla ReceiverModel::reportedPosition() const {
  if (ram_.position) return *ram_.position;
  if (survey_.hasFixes()) return survey_.average();
  return haveFix_ ? fix_ : Lla{};
}

std::uint16_t ReceiverModel::minorAlarms() const {
  std::uint16_t a = 0;
  if (tracker_.usedCount() == 0) a |= 1u << 3;
  if (survey_.active()) a |= 1u << 5;
  if (!ram_.position) a |= 1u << 6;
  if (ram_.utc) {
    const ByteReader u(*ram_.utc);
    const std::int64_t leapAt = u.u16(20) * kSecondsPerWeek + u.u16(22) * kSecondsPerDay;
    if (u.i16(24) != u.i16(12) && leapAt > gpsMsAt(nowMs_) / 1000) a |= 1u << 7;
  }
  if (segmentStatus_ != 0) a |= 1u << 10;
  if (!systemData_.almanacComplete() || !systemData_.block(kHealthPage, 0)) a |= 1u << 11;
  return a;
}

Bytes ReceiverModel::versionReport(bool longForm) const {
  Bytes p;
  ByteWriter w(p);
  const VersionStamp& a = persona_.application;
  const VersionStamp& s = persona_.signalProcessor;
  for (std::uint8_t b : {a.major, a.minor, a.month, a.day, a.yearSince1900}) w.u8(b);
  for (std::uint8_t b : {s.major, s.minor, s.month, s.day, s.yearSince1900}) w.u8(b);
  if (!longForm) return p;
  w.fill(0, 7);                      // 10..16
  w.u8(persona_.applicationBuild);   // 17
  w.fill(0, 2);                      // 18..19
  w.u8s(persona_.buildHour, persona_.buildMinute, persona_.buildSecond, 0);  // 20..23
  w.text(persona_.productName, 96 - p.size());
  return p;
}

Bytes ReceiverModel::gpsTimeReport() const {
  Bytes p;
  ByteWriter w(p);
  const std::int64_t ms = gpsMsAt(nowMs_);
  if (timeSource_ == TimeSource::None) {
    w.f32(-1.0f);
    w.u16(0);
    w.f32(0.0f);
  } else {
    w.f32(static_cast<float>(static_cast<double>(PositiveMod(ms, kSecondsPerWeek * 1000)) / 1000.0));
    w.u16(static_cast<std::uint16_t>(WeekOf(ms / 1000)));
    w.f32(static_cast<float>(utcOffset()));
  }
  return p;
}

Bytes ReceiverModel::healthReport() const {
  return {static_cast<std::uint8_t>(statusCode()), 0x00};
}

Bytes ReceiverModel::machineReport() const {
  std::uint8_t status1 = 0;
  if (timeSource_ == TimeSource::None) status1 |= 0x02;
  if (!systemData_.almanacComplete()) status1 |= 0x08;
  return {static_cast<std::uint8_t>(persona_.machineId & 0xFF), status1, 0x01};
}

Bytes ReceiverModel::almanacReport(int sv) const {
  Bytes p{static_cast<std::uint8_t>(sv)};
  const std::optional<Bytes>& block = systemData_.block(kAlmanac, sv);
  if (block && block->size() == BlockLength(kAlmanac)) {
    p.insert(p.end(), block->begin(), block->end());
  } else {
    p.resize(1 + BlockLength(kAlmanac), 0);
  }
  return p;
}

Bytes ReceiverModel::healthPageReport() const {
  const std::optional<Bytes>& block = systemData_.block(kHealthPage, 0);
  Bytes p(32, 0);
  if (block && block->size() >= 32) std::copy_n(block->begin(), 32, p.begin());
  return p;
}

Bytes ReceiverModel::altitudeReport() const {
  Bytes p;
  ByteWriter w(p);
  w.f32(ram_.receiver.referenceAltitude);
  w.f32(0.0f);
  w.u8(ram_.receiver.referenceAltitudeSet ? 1 : 0);
  return p;
}

Bytes ReceiverModel::utcReport() const {
  if (ram_.utc && ram_.utc->size() == BlockLength(kUtcData)) return *ram_.utc;
  return Bytes(BlockLength(kUtcData), 0);
}

Bytes ReceiverModel::ioOptionsReport() const {
  const auto& o = ram_.packetIo.ioOptions;
  return Bytes(o.begin(), o.end());
}

Bytes ReceiverModel::rawMeasurementReport(int sv) const {
  Bytes p;
  ByteWriter w(p);
  w.u8(static_cast<std::uint8_t>(sv));
  const int c = tracker_.channelOf(sv);
  const Channel* ch = c >= 0 ? &tracker_.channels()[static_cast<std::size_t>(c)] : nullptr;
  if (ch == nullptr || !ch->acquired) {
    w.fill(0, 24);
    return p;
  }
  const SatelliteView& v = tracker_.view(sv);
  const double chips = std::fmod(v.range / kSpeedOfLight * 1.023e6, 1023.0);
  w.f32s(1000.0f, ch->signal, chips * 16.0, -v.rangeRate / kL1Wavelength);
  w.f64(ch->lastMeasurement);
  return p;
}

Bytes ReceiverModel::ephemerisReport(int sv) const {
  Bytes p;
  ByteWriter w(p);
  w.u8(static_cast<std::uint8_t>(sv));
  const Ephemeris& e = tracker_.ephemeris(sv);
  if (!Constellation::ValidSv(sv) || !e.valid) {
    w.fill(0, 15);
    return p;
  }
  w.f32(e.collectedTow);
  w.u8(sky_.orbit(sv).health);
  w.u8(e.iode);
  w.f32(e.toe);
  w.u8(0);
  w.f32(e.accuracy);
  return p;
}

Bytes ReceiverModel::trackingReport(int sv) const {
  Bytes p;
  ByteWriter w(p);
  const int c = tracker_.channelOf(sv);
  const Channel* ch = c >= 0 ? &tracker_.channels()[static_cast<std::size_t>(c)] : nullptr;
  const SatelliteView& v = tracker_.view(sv);
  // Angles are known from tracking or from the almanac; otherwise zero.
  const bool angles = ch != nullptr ? ch->acquired : systemData_.block(kAlmanac, sv).has_value();
  // A satellite in no channel reports channel 31, which no receiver has.
  w.u8s(sv, (c >= 0 ? c : 31) << 3, ch != nullptr && ch->acquired ? 1 : 0,
        tracker_.ephemeris(sv).valid ? 1 : 0);
  w.f32s(ch != nullptr ? ch->signal : 0.0f,
         ch != nullptr && ch->acquired ? ch->lastMeasurement : 0.0f,
         angles ? static_cast<float>(v.elevation) : 0.0f,
         angles ? static_cast<float>(v.azimuth) : 0.0f);
  w.u8s(0, 0, ch != nullptr && ch->used ? 1 : 0, 0);
  return p;
}

Bytes ReceiverModel::segmentStatusReport() const {
  Bytes p;
  ByteWriter w(p);
  w.u8(0x11);
  w.u16(segmentStatus_);
  return p;
}

Bytes ReceiverModel::selectionReport() const {
  Bytes p;
  ByteWriter w(p);
  std::vector<std::int8_t> list;
  for (const Channel& ch : tracker_.channels()) {
    if (ch.sv == 0 || !ch.acquired) continue;
    list.push_back(static_cast<std::int8_t>(ch.used ? ch.sv : -ch.sv));
  }
  const int dimension = tracker_.usedCount() == 0 ? 0 : ram_.position ? 7 : 4;
  w.u8(static_cast<std::uint8_t>((std::min<std::size_t>(list.size(), 15) << 4) | 0x08 | dimension));
  const Dops d = tracker_.dops();
  w.f32s(d.pdop, d.hdop, d.vdop, d.tdop);
  for (std::int8_t sv : list) w.i8(sv);
  return p;
}

Bytes ReceiverModel::nmeaReport() const {
  Bytes p;
  ByteWriter w(p);
  w.u8(0);
  w.u8(ram_.nmea.interval);
  w.u32(ram_.nmea.mask);
  return p;
}

Bytes ReceiverModel::receiverConfigurationReport() const {
  const ReceiverSettings& r = ram_.receiver;
  Bytes p;
  ByteWriter w(p);
  w.u8s(0x00, r.mode, r.dgpsMode, r.dynamics, 0x01);
  w.f32s(r.elevationMask, r.signalMask, r.pdopMask, r.pdopSwitch);
  w.u8(r.dgpsAgeLimit);
  w.fill(0x00, 5);
  w.fill(0xFF, 16);
  return p;
}

Bytes ReceiverModel::serialPortReport(int port) const {
  const ReceiverPort& s = port == 1 ? ram_.serial.portB : ram_.serial.portA;
  return {static_cast<std::uint8_t>(port == 1 ? 1 : 0), s.inBaud, s.outBaud, s.dataBits, s.parity, s.stopBits,
          s.flowControl, s.inProtocol, s.outProtocol, 0x00};
}

Bytes ReceiverModel::datumReport() const {
  Bytes p;
  ByteWriter w(p);
  const std::uint16_t index = ram_.packetIo.datum;
  const DatumParameters d =
      index < kDatums.size() ? kDatums[index] : DatumParameters{0.0, 0.0, 0.0, 6378388.0, 0.006722670022};
  w.u8(0x15);
  w.u16(index);
  for (double v : {d.dx, d.dy, d.dz, d.a, d.e2}) w.f64(v);
  return p;
}

Bytes ReceiverModel::manufacturingReport() const {
  Bytes p;
  ByteWriter w(p);
  w.u8(0x41);
  w.u16(persona_.boardSerialPrefix);
  w.u32(persona_.boardSerial);
  w.u8s(persona_.buildYear2, persona_.buildMonth, persona_.buildDay, persona_.buildHourOfDay);
  w.f32(persona_.oscillatorOffset);
  w.u16(persona_.testCode);
  return p;
}

Bytes ReceiverModel::productionReport() const {
  Bytes p;
  ByteWriter w(p);
  w.u8s(0x42, persona_.productionOptionsPrefix, persona_.productionNumberExtension);
  w.u16(persona_.caseSerialPrefix);
  w.u32(persona_.caseSerial);
  w.u32(persona_.productionNumber);
  w.u16(persona_.premiumOptions);
  w.u16(persona_.machineId);
  w.u16(0);
  return p;
}

Bytes ReceiverModel::ppsCharacteristicsReport() const {
  const TimingOutputs& t = ram_.timing;
  Bytes p;
  ByteWriter w(p);
  w.u8s(0x4A, t.ppsEnabled, t.timeBase, t.polarity);
  w.f64(t.ppsOffset);
  w.f32(t.biasThreshold);
  return p;
}

Bytes ReceiverModel::primaryTimingReport(std::int64_t gpsSecond) const {
  const TimeView t = timeAt(gpsSecond);
  std::uint8_t flags = 0;
  if (t.utcScale) flags |= 0x03;  // UTC time and UTC PPS
  if (!t.set) flags |= 0x04;
  if (!t.utcKnown) flags |= 0x08;
  if (timeSource_ == TimeSource::User) flags |= 0x10;
  Bytes p;
  ByteWriter w(p);
  w.u8(0xAB);
  w.u32(static_cast<std::uint32_t>(PositiveMod(t.scaleSecond, kSecondsPerWeek)));
  w.u16(static_cast<std::uint16_t>(WeekOf(t.scaleSecond)));
  w.i16(static_cast<std::int16_t>(t.leap));
  w.u8s(flags, t.calendar.second, t.calendar.minute, t.calendar.hour, t.calendar.day,
        t.calendar.month);
  w.u16(static_cast<std::uint16_t>(t.calendar.year));
  return p;
}

Bytes ReceiverModel::supplementalTimingReport() const {
  const TimingState& q = discipline_.state();
  const int used = tracker_.usedCount();
  const bool tracking = tracker_.acquiredCount() > 0;
  bool pps = ram_.timing.ppsEnabled != 0;
  if (ram_.timing.ppsOutputMode == 3) pps = pps && tracking && used >= 1;
  if (ram_.timing.ppsOutputMode == 4) pps = pps && used >= 3;
  const Lla pos = reportedPosition();
  const int status = statusCode();
  Bytes p;
  ByteWriter w(p);
  w.u8s(0xAC, ram_.receiver.mode, q.mode, surveyProgress());  // 0..3
  w.u32(q.holdoverSeconds);                                // 4
  w.u16(0);                                                // 8 critical alarms
  w.u16(minorAlarms());                                    // 10
  w.u8s(status, q.activity, 0, 0);                         // 12..15
  w.f32s(q.ppsOffsetNs, q.oscillatorOffsetPpb);            // 16, 20
  w.u32(q.dacValue);                                       // 24
  w.f32s(q.dacVoltage, q.temperature);                     // 28, 32
  w.f64s(pos.latitude, pos.longitude, pos.altitude);       // 36..59
  w.f32(q.quantizationErrorNs);                            // 60
  w.u8(pps ? 1 : 0);                                       // 64
  w.fill(0, 3);                                            // 65..67
  return p;
}

Bytes ReceiverModel::utcTimeReport(std::uint16_t eventCount, std::int64_t gpsMs) const {
  const bool set = timeSource_ != TimeSource::None;
  const bool utc = ram_.utc.has_value();
  const std::int64_t ms = set ? gpsMs - (utc ? utcOffset() * 1000LL : 0) : 0;
  const std::int64_t second = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
  const CalendarTime c = CalendarFromGpsSeconds(second);
  int status = 0;
  if (!set) {
    status = 3;
  } else if (timeSource_ == TimeSource::User) {
    status = 2;
  } else {
    const int used = tracker_.usedCount();
    if (used == 0) status = 7;
    else if (ram_.receiver.mode == 1) status = 1;
    else if (ram_.position) status = 13;
    else if (used < 4) status = 7 + used;
  }
  std::uint8_t flags = utc ? 0x01 : 0x00;
  if ((minorAlarms() & (1u << 7)) != 0) flags |= 0x10;
  Bytes p;
  ByteWriter w(p);
  w.u8(0xAD);
  w.u16(eventCount);
  w.f64(static_cast<double>(PositiveMod(ms, 1000)) / 1000.0);
  w.u8s(c.hour, c.minute, c.second, c.day, c.month);
  w.u16(static_cast<std::uint16_t>(c.year));
  w.u8s(status, flags);
  w.u16(0);
  return p;
}

Bytes ReceiverModel::comprehensiveTimeReport(std::uint16_t eventCount, std::int64_t gpsMs) const {
  const bool set = timeSource_ != TimeSource::None;
  const bool utc = ram_.utc.has_value();
  const bool utcScale = utc && ram_.timing.timeBase == 1;
  const int leap = utcOffset();
  const std::int64_t ms = set ? gpsMs - (utcScale ? leap * 1000LL : 0) : 0;
  const std::int64_t second = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
  const CalendarTime c = CalendarFromGpsSeconds(second);
  // The offset's sign says which scale the time of week is in.
  const std::int16_t offset = static_cast<std::int16_t>(!utc ? 0 : utcScale ? leap : -leap);
  const Lla pos = reportedPosition();
  const TimingState& q = discipline_.state();
  Bytes p;
  ByteWriter w(p);
  w.u8(0x0B);
  w.u16(eventCount);
  w.f64(static_cast<double>(PositiveMod(ms, kSecondsPerWeek * 1000)) / 1000.0);
  w.u8s(c.day, c.month);
  w.u16(static_cast<std::uint16_t>(c.year));
  w.i8(ComprehensiveMode(ram_.receiver.mode));
  w.i16(offset);
  w.f64s(discipline_.biasMetres(), discipline_.driftMetresPerSecond());
  w.f32s(std::fabs(q.ppsOffsetNs) * 0.3f + 1.5f, std::fabs(q.oscillatorOffsetPpb) * 0.3f + 0.01f);
  w.f64s(pos.latitude, pos.longitude, pos.altitude);
  int written = 0;
  for (const Channel& ch : tracker_.channels()) {
    if (written == 8) break;
    w.i8(static_cast<std::int8_t>(ch.sv == 0 || !ch.acquired ? 0 : ch.used ? ch.sv : -ch.sv));
    ++written;
  }
  return p;
}

void ReceiverModel::emitTrackingReports(int sv) {
  if (sv != 0) {
    emit(0x5C, trackingReport(sv));
    return;
  }
  for (const Channel& ch : tracker_.channels())
    if (ch.sv != 0) emit(0x5C, trackingReport(ch.sv));
}

void ReceiverModel::emitPositionOutputs() {
  const auto& io = ram_.packetIo.ioOptions;
  const bool precise = (io[0] & 0x10) != 0;
  const Lla lla = fix_;
  const Ecef xyz = ToEcef(lla);
  const double bias = discipline_.biasMetres();
  const double biasRate = discipline_.driftMetresPerSecond();
  const auto fixTime = static_cast<float>(static_cast<double>(PositiveMod(gpsMsAt(nowMs_) / 1000, kSecondsPerWeek)));
  const double altitude = (io[0] & 0x04) != 0 ? lla.altitude - kGeoidSeparation : lla.altitude;
  if ((io[0] & 0x01) != 0) {
    Bytes p;
    ByteWriter w(p);
    if (precise) {
      for (double v : {xyz.x, xyz.y, xyz.z, bias}) w.f64(v);
    } else {
      for (double v : {xyz.x, xyz.y, xyz.z}) w.f32(static_cast<float>(v));
    }
    w.f32(fixTime);
    emit(precise ? 0x83 : 0x42, p);
  }
  if ((io[0] & 0x02) != 0) {
    Bytes p;
    ByteWriter w(p);
    if (precise) {
      for (double v : {lla.latitude, lla.longitude, altitude, bias}) w.f64(v);
    } else {
      for (double v : {lla.latitude, lla.longitude, altitude, bias}) w.f32(static_cast<float>(v));
    }
    w.f32(fixTime);
    emit(precise ? 0x84 : 0x4A, p);
  }
  if ((io[1] & 0x01) != 0) {
    // East, north and up turned into earth-centred axes.
    const double sl = std::sin(lla.latitude), cl = std::cos(lla.latitude);
    const double so = std::sin(lla.longitude), co = std::cos(lla.longitude);
    const Enu& v = velocity_;
    const double vx = -so * v.east - sl * co * v.north + cl * co * v.up;
    const double vy = co * v.east - sl * so * v.north + cl * so * v.up;
    const double vz = cl * v.north + sl * v.up;
    Bytes p;
    ByteWriter w(p);
    for (double x : {vx, vy, vz, biasRate}) w.f32(static_cast<float>(x));
    w.f32(fixTime);
    emit(0x43, p);
  }
  if ((io[1] & 0x02) != 0) {
    Bytes p;
    ByteWriter w(p);
    for (double x : {velocity_.east, velocity_.north, velocity_.up, biasRate}) w.f32(static_cast<float>(x));
    w.f32(fixTime);
    emit(0x56, p);
  }
  if ((io[3] & 0x01) != 0) {
    for (const Channel& ch : tracker_.channels())
      if (ch.sv != 0 && ch.acquired) emit(0x5A, rawMeasurementReport(ch.sv));
  }
}

}  // namespace halvix::sim
