#include "sim/receiver_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sim/gps_time.h"
#include "sim/nmea_output.h"
#include "sim/persona.h"

namespace halvix::sim {
namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
// Reports that follow the PPS leave this long after it.
constexpr std::int64_t kPpsOutputDelayMs = 20;
// Delay between a BREAK ending and the port-settings line.
constexpr std::int64_t kBreakAnswerMs = 5;

const Persona& PersonaFor(const QString& name) {
  const Persona* p = FindPersona(name);
  return p != nullptr ? *p : DefaultPersona();
}

bool KeepsNavigationData(ResetKind kind) {
  return kind == ResetKind::Warm || kind == ResetKind::FactoryConfiguration;
}

}  // namespace

ReceiverModel::ReceiverModel(const SimOptions& options, std::int64_t nowMs)
    : options_(options),
      persona_(PersonaFor(options.persona)),
      random_(options.seed),
      sky_(options.startGpsMs.value_or(DefaultStartGpsMs()) / 1000, random_),
      clockStartMs_(nowMs),
      gpsStartMs_(options.startGpsMs.value_or(DefaultStartGpsMs())),
      nowMs_(nowMs),
      nextSecondMs_(kNever) {
  if (!(options_.speed > 0.0) || !std::isfinite(options_.speed)) options_.speed = 1.0;
  eeprom_ = FactoryConfiguration(persona_);
  if (IsSegment(options_.faults.corruptSegment)) {
    // The corrupt segment is found at power-on and set to its default.
    segmentStatus_ = static_cast<std::uint16_t>(1u << options_.faults.corruptSegment);
  }
  ram_ = eeprom_;
  restart(ResetKind::PowerOn);
}

double ReceiverModel::worldAt(std::int64_t clockMs) const {
  return static_cast<double>(gpsStartMs_) / 1000.0 +
         static_cast<double>(clockMs - clockStartMs_) / 1000.0 * options_.speed;
}

void ReceiverModel::schedule(std::int64_t atMs, std::function<void()> action) {
  actions_.emplace(std::make_pair(std::max(atMs, nowMs_), sequence_++), std::move(action));
}

void ReceiverModel::advanceTo(std::int64_t target) {
  while (true) {
    const std::int64_t nextAction = actions_.empty() ? kNever : actions_.begin()->first.first;
    const std::int64_t next = std::min(nextAction, nextSecondMs_);
    if (next > target || next == kNever) break;
    nowMs_ = std::max(nowMs_, next);
    if (nextSecondMs_ <= nextAction) {
      secondTick();
    } else {
      auto it = actions_.begin();
      std::function<void()> action = std::move(it->second);
      actions_.erase(it);
      action();
    }
  }
  nowMs_ = std::max(nowMs_, target);
}

std::vector<OutChunk> ReceiverModel::takeOutput() {
  std::vector<OutChunk> out;
  out.swap(output_);
  return out;
}

link::LineSettings ReceiverModel::line() const {
  return serviceMode_ ? ServiceLine() : LineOf(ram_.serial.portA);
}

bool ReceiverModel::outputsQlip() const {
  return serviceMode_ || ram_.serial.portA.outProtocol == kProtocolQlip;
}

bool ReceiverModel::acceptsQlip() const {
  return serviceMode_ || ram_.serial.portA.inProtocol == kProtocolQlip;
}

void ReceiverModel::emit(std::uint8_t id, Bytes payload) {
  if (down_ || !outputsQlip()) return;
  ++reportCount_;
  const auto every = static_cast<std::uint64_t>(std::max(0, options_.faults.badLengthEvery));
  if (every > 0 && reportCount_ % every == 0) {
    // Alternately one byte too many and one too few.
    if ((reportCount_ / every) % 2 == 1 || payload.empty()) {
      payload.push_back(0);
    } else {
      payload.pop_back();
    }
  }
  output_.push_back({nowMs_, EncodeFrame(id, payload), line()});
}

void ReceiverModel::emitText(const std::string& text) {
  if (down_) return;
  output_.push_back({nowMs_, Bytes(text.begin(), text.end()), line()});
}

void ReceiverModel::receive(std::int64_t nowMs, const std::uint8_t* data, std::size_t size) {
  advanceTo(nowMs);
  if (down_ || breakOn_ || data == nullptr) return;
  if (!acceptsQlip()) {
    decoder_.reset();
    return;
  }
  for (std::size_t i = 0; i < size; ++i) {
    if (!decoder_.feed(data[i])) continue;
    // Commands are taken one after the other, a few tens of milliseconds each.
    const std::int64_t at = std::max(nowMs_ + random_.between(15, 40), lastAnswerMs_ + 2);
    lastAnswerMs_ = at;
    schedule(at, [this, packet = decoder_.packet()] { handle(packet); });
  }
}

void ReceiverModel::setBreak(std::int64_t nowMs, bool on) {
  advanceTo(nowMs);
  if (on) {
    breakOn_ = true;
    decoder_.reset();
    return;
  }
  if (!breakOn_) return;
  breakOn_ = false;
  if (down_) return;
  // A BREAK puts the port on 9600 8-None-1 with QLIP both ways until new
  // settings arrive, and the receiver says what it was set to.
  serviceMode_ = true;
  schedule(nowMs_ + kBreakAnswerMs,
           [this] { emitText(PortSettingsLine(persona_.productName, 0, ram_.serial.portA)); });
}

void ReceiverModel::eventInput(std::int64_t nowMs) {
  advanceTo(nowMs);
  if (down_) return;
  eventCount_ = eventCount_ == 0xFFFF ? 1 : static_cast<std::uint16_t>(eventCount_ + 1);
  const std::int64_t gpsMs = gpsMsAt(nowMs_);
  const std::uint16_t count = eventCount_;
  schedule(nowMs_ + kPpsOutputDelayMs, [this, count, gpsMs] { emitEvent(count, gpsMs); });
}

void ReceiverModel::emitEvent(std::uint16_t count, std::int64_t gpsMs) {
  const std::uint8_t mask = ram_.packetIo.broadcastMask1;
  if ((mask & 0x02) != 0) emit(0x8F, comprehensiveTimeReport(count, gpsMs));
  if ((mask & 0x20) != 0) emit(0x8F, utcTimeReport(count, gpsMs));
}

void ReceiverModel::startReset(ResetKind kind) {
  ++resetCount_;
  const Configuration factory = FactoryConfiguration(persona_);
  switch (kind) {
    case ResetKind::FactoryAll:
      eeprom_ = factory;
      segmentStatus_ = 0;
      break;
    case ResetKind::FactoryConfiguration:
      for (int s : {2, 3, 4, 5, 7, 8}) CopySegment(eeprom_, factory, s);
      break;
    case ResetKind::FactoryNavigation:
      for (int s : {6, 11}) CopySegment(eeprom_, factory, s);
      break;
    default:
      break;
  }
  // Everything in flight is lost and the receiver falls silent.
  actions_.clear();
  down_ = true;
  nextSecondMs_ = kNever;
  decoder_.reset();
  pendingTimingRequest_ = 0;
  if (options_.faults.silentAfterReset > 0 && resetCount_ >= options_.faults.silentAfterReset) return;
  schedule(nowMs_ + std::max<std::int64_t>(0, options_.restartSilenceMs), [this, kind] { restart(kind); });
}

void ReceiverModel::restart(ResetKind kind) {
  const std::optional<Bytes> keptUtc = ram_.utc;
  ram_ = eeprom_;
  const bool warm = KeepsNavigationData(kind);
  if (warm) {
    if (keptUtc) ram_.utc = keptUtc;
  } else {
    systemData_.clear();
    timeSource_ = TimeSource::None;
    collectFrom_ = -1.0;
  }
  tracker_.restart(warm);
  discipline_.restart(random_);
  haveFix_ = false;
  fix_ = Lla{};
  velocity_ = Enu{};
  survey_ = Survey{};
  if (!ram_.position && ram_.survey.enabled != 0) {
    survey_.start(surveyLength());
  }
  serviceMode_ = false;
  down_ = false;
  decoder_.reset();
  lastWorld_ = worldAt(nowMs_);
  const std::int64_t gps = gpsMsAt(nowMs_);
  nextSecondMs_ = nowMs_ + (1000 - ((gps % 1000) + 1000) % 1000) % 1000;
  if (nextSecondMs_ == nowMs_) nextSecondMs_ += 1000;
  if (kind == ResetKind::PowerOn) return;

  // A restarted receiver announces itself.
  emit(0x45, versionReport(persona_.longVersionReport));
  emit(0x46, healthReport());
  const int n = resetCount_;
  if (options_.faults.fatalEvery > 0 && n % options_.faults.fatalEvery == 0) {
    Bytes p{0xFF};
    const std::string text = "Task watchdog expired in tracking loop, reset #" + std::to_string(n);
    p.insert(p.end(), text.begin(), text.end());
    emit(0x5F, p);
  }
  if (options_.faults.exceptionEvery > 0 && n % options_.faults.exceptionEvery == 0) {
    Bytes p{0xFE};
    const std::string text = "Data abort at 0x0001F3A8 in navigation task, reset #" + std::to_string(n);
    p.insert(p.end(), text.begin(), text.end());
    emit(0x5F, p);
  }
}

std::int32_t ReceiverModel::surveyLength() const {
  if (persona_.machineId == kBriselMachineId)
    return static_cast<std::int32_t>(std::min<std::uint32_t>(ram_.survey.limit, 0x7FFFFFFF));
  return ram_.survey.length;
}

int ReceiverModel::surveyProgress() const {
  if (ram_.position) return 100;
  return survey_.progress();
}

void ReceiverModel::secondTick() {
  const std::int64_t second = gpsMsAt(nowMs_) / 1000;
  nextSecondMs_ = nowMs_ + 1000;
  const double world = worldAt(nowMs_);
  const double dt = std::max(0.0, world - lastWorld_);
  lastWorld_ = world;

  std::array<bool, 33> haveAlmanac{};
  for (int sv = 1; sv <= Constellation::kSatellites; ++sv)
    haveAlmanac[static_cast<std::size_t>(sv)] = systemData_.block(kAlmanac, sv).has_value();
  const auto tow = static_cast<float>(TimeOfWeekOf(second));
  tracker_.step(world, timeSource_ == TimeSource::None ? 0.0f : tow, sky_, options_.site, ram_.receiver,
                haveAlmanac, random_);

  if (timeSource_ != TimeSource::Satellites && tracker_.lockedFor(world) >= 6.0) {
    timeSource_ = TimeSource::Satellites;
  }
  if (timeSource_ == TimeSource::Satellites) {
    if (collectFrom_ < 0) collectFrom_ = world;
    collectSystemData(world);
  }
  updatePosition(dt);
  discipline_.step(dt, tracker_.usedCount() > 0 && timeSource_ != TimeSource::None, ram_.position.has_value(),
                   random_);
  schedule(nowMs_ + kPpsOutputDelayMs, [this, second] { secondOutputs(second); });
}

void ReceiverModel::collectSystemData(double world) {
  const double since = world - collectFrom_;
  const int week = static_cast<int>(WeekOf(gpsMsAt(nowMs_) / 1000));
  if (!ram_.utc && since >= 18.0) ram_.utc = UtcBlock(week);
  if (!systemData_.block(kIonosphere, 0) && since >= 18.0) systemData_.store(kIonosphere, 0, IonosphereBlock());
  if (!systemData_.block(kHealthPage, 0) && since >= 150.0) systemData_.store(kHealthPage, 0, HealthPageBlock(sky_));
  const auto tow = static_cast<float>(TimeOfWeekOf(gpsMsAt(nowMs_) / 1000));
  for (int sv = 1; sv <= Constellation::kSatellites; ++sv) {
    // One almanac page every six seconds, as the broadcast carries them.
    if (since < 12.0 + 6.0 * sv || options_.faults.noAlmanac.count(sv) != 0) continue;
    if (!systemData_.block(kAlmanac, sv)) systemData_.store(kAlmanac, sv, AlmanacBlock(sky_.orbit(sv), tow));
  }
}

void ReceiverModel::updatePosition(double dt) {
  const int status = statusCode();
  const bool fixing = status == 0 && timeSource_ != TimeSource::None;
  if (!fixing) {
    velocity_ = Enu{};
    return;
  }
  if (ram_.position) {
    fix_ = *ram_.position;
    haveFix_ = true;
  } else {
    const Dops d = tracker_.dops();
    const double h = 1.6 * std::min(d.hdop, 5.0f), v = 2.4 * std::min(d.vdop, 5.0f);
    fix_ = Offset(options_.site, {h * random_.gaussian(), h * random_.gaussian(), v * random_.gaussian()});
    haveFix_ = true;
    if (survey_.addFixes(dt, fix_)) holdPosition(survey_.average());
  }
  velocity_ = {0.02 * random_.gaussian(), 0.02 * random_.gaussian(), 0.03 * random_.gaussian()};
}

void ReceiverModel::holdPosition(const Lla& p) {
  ram_.position = p;
  survey_.stop();
  if (ram_.survey.savePosition != 0) eeprom_.position = p;
}

void ReceiverModel::secondOutputs(std::int64_t second) {
  const PacketIo& io = ram_.packetIo;
  const bool ab = (io.broadcastMask2 & 0x40) != 0 || pendingTimingRequest_ >= 1;
  const bool ac = (io.broadcastMask2 & 0x80) != 0 || pendingTimingRequest_ == 2;
  pendingTimingRequest_ = 0;
  if (ab) emit(0x8F, primaryTimingReport(second));
  if (ac) emit(0x8F, supplementalTimingReport());
  if ((io.broadcastMask1 & 0x01) != 0) emit(0x8F, comprehensiveTimeReport(0, second * 1000));
  if ((io.broadcastMask1 & 0x10) != 0) emit(0x8F, utcTimeReport(0, second * 1000));
  // Automatic position and velocity output, unless fixes are given on request only.
  if ((io.broadcastMask2 & 0x20) != 0 && (io.ioOptions[2] & 0x04) == 0 && haveFix_) emitPositionOutputs();
  if (!serviceMode_ && ram_.serial.portA.outProtocol == kProtocolNmea) emitNmea(second);
}

void ReceiverModel::emitNmea(std::int64_t second) {
  if (ram_.nmea.interval == 0 || second % ram_.nmea.interval != 0) return;
  NmeaFix f;
  const bool utc = ram_.utc.has_value();
  f.utc = CalendarFromGpsSeconds(timeSource_ == TimeSource::None ? 0 : second - (utc ? utcOffset() : 0));
  f.valid = haveFix_ && statusCode() == 0;
  f.position = reportedPosition();
  const Dops d = tracker_.dops();
  f.pdop = d.pdop;
  f.hdop = d.hdop;
  f.vdop = d.vdop;
  for (const Channel& ch : tracker_.channels()) {
    if (ch.sv == 0) continue;
    if (ch.used) f.used.push_back(ch.sv);
    const SatelliteView& v = tracker_.view(ch.sv);
    f.inView.push_back({ch.sv, static_cast<int>(std::lround(v.elevation * 57.29578)),
                        static_cast<int>(std::lround(v.azimuth * 57.29578)) % 360,
                        ch.acquired ? static_cast<int>(std::lround(ch.signal * 2.5)) : 0});
  }
  emitText(NmeaSentences(f, ram_.nmea.mask));
}

}  // namespace halvix::sim
