// The simulated receiver, free of any serial device detail: it takes the
// bytes its port A receives, answers queries with reports encoded from its
// own state, sends its periodic and event output, and moves its state on
// with the clock it is driven by. The in-process device and the
// pseudo-terminal server both drive one of these.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "link/serial_device.h"
#include "sim/configuration.h"
#include "sim/constellation.h"
#include "sim/discipline.h"
#include "sim/framing.h"
#include "sim/random_source.h"
#include "sim/sim_options.h"
#include "sim/survey.h"
#include "sim/system_data.h"
#include "sim/tracker.h"

namespace halvix::sim {

struct Persona;

// Bytes the receiver put on the line, when, and at which line settings.
struct OutChunk {
  std::int64_t atMs = 0;
  Bytes bytes;
  link::LineSettings line;
};

enum class ResetKind { PowerOn, Warm, Cold, FactoryAll, FactoryNavigation, FactoryConfiguration };
enum class TimeSource { None, User, Satellites };

class ReceiverModel {
 public:
  // Powers the receiver on at clock time nowMs.
  ReceiverModel(const SimOptions& options, std::int64_t nowMs);

  // Runs everything due up to nowMs. Earlier times are ignored.
  void advanceTo(std::int64_t nowMs);
  // Bytes arriving on port A at nowMs, as its UART delivers them.
  void receive(std::int64_t nowMs, const std::uint8_t* data, std::size_t size);
  // A BREAK condition on the input line starts or ends.
  void setBreak(std::int64_t nowMs, bool on);
  // A pulse on the event input.
  void eventInput(std::int64_t nowMs);
  // What the receiver has sent since the last call.
  std::vector<OutChunk> takeOutput();

  // Line settings port A runs at now.
  link::LineSettings line() const;
  const Persona& persona() const { return persona_; }
  const Configuration& configuration() const { return ram_; }
  const Configuration& eeprom() const { return eeprom_; }
  std::uint16_t segmentStatus() const { return segmentStatus_; }
  bool silent() const { return down_; }
  std::int64_t gpsMsAt(std::int64_t clockMs) const { return gpsStartMs_ + (clockMs - clockStartMs_); }
  TimeSource timeSource() const { return timeSource_; }
  int surveyProgress() const;
  bool positionHeld() const { return ram_.position.has_value(); }
  const Tracker& tracker() const { return tracker_; }
  const SystemData& systemData() const { return systemData_; }
  std::uint16_t minorAlarms() const;
  int resetCount() const { return resetCount_; }
  std::uint16_t eventCount() const { return eventCount_; }

 private:
  // Timeline (receiver_model.cpp).
  void schedule(std::int64_t atMs, std::function<void()> action);
  double worldAt(std::int64_t clockMs) const;
  void startReset(ResetKind kind);
  void restart(ResetKind kind);
  void secondTick();
  void secondOutputs(std::int64_t second);
  void collectSystemData(double world);
  void updatePosition(double dt);
  void holdPosition(const Lla& p);
  void emitEvent(std::uint16_t count, std::int64_t gpsMs);
  // Fixes a survey takes: the Brisel auto-survey limit or the survey length.
  std::int32_t surveyLength() const;

  // Output (receiver_model.cpp).
  bool outputsQlip() const;
  bool acceptsQlip() const;
  void emit(std::uint8_t id, Bytes payload);
  void emitText(const std::string& text);

  // Commands (receiver_commands.cpp).
  void handle(const Packet& packet);
  void handleSuper(const Bytes& payload);
  void handleSatelliteData(const Bytes& payload);
  void handleSetSerialPort(const Bytes& payload);
  void handleSetReceiverConfiguration(const Bytes& payload);
  void handleSetPpsCharacteristics(const Bytes& payload);
  void handleSetSelfSurvey(const Bytes& payload);
  void handleSetInitialTime(const Bytes& payload);
  void revertSegment(int segment);
  void saveSegments();
  void applySegmentEffects(int segment);
  std::optional<Bytes> dataBlock(int type, int sv) const;

  // Reports (receiver_reports.cpp).
  struct TimeView;
  TimeView timeAt(std::int64_t gpsSecond) const;
  int statusCode() const;
  int utcOffset() const;
  Lla reportedPosition() const;
  Bytes versionReport(bool longForm) const;
  Bytes gpsTimeReport() const;
  Bytes healthReport() const;
  Bytes machineReport() const;
  Bytes almanacReport(int sv) const;
  Bytes healthPageReport() const;
  Bytes altitudeReport() const;
  Bytes utcReport() const;
  Bytes ioOptionsReport() const;
  Bytes rawMeasurementReport(int sv) const;
  Bytes ephemerisReport(int sv) const;
  Bytes trackingReport(int sv) const;
  Bytes segmentStatusReport() const;
  Bytes selectionReport() const;
  Bytes nmeaReport() const;
  Bytes receiverConfigurationReport() const;
  Bytes serialPortReport(int port) const;
  Bytes datumReport() const;
  Bytes manufacturingReport() const;
  Bytes productionReport() const;
  Bytes ppsCharacteristicsReport() const;
  Bytes primaryTimingReport(std::int64_t gpsSecond) const;
  Bytes supplementalTimingReport() const;
  Bytes utcTimeReport(std::uint16_t eventCount, std::int64_t gpsMs) const;
  Bytes comprehensiveTimeReport(std::uint16_t eventCount, std::int64_t gpsMs) const;
  void emitTrackingReports(int sv);
  void emitPositionOutputs();
  void emitNmea(std::int64_t second);

  SimOptions options_;
  const Persona& persona_;
  RandomSource random_;
  Constellation sky_;
  Tracker tracker_;
  Survey survey_;
  Discipline discipline_;
  SystemData systemData_;
  FrameDecoder decoder_;

  Configuration ram_;
  Configuration eeprom_;
  std::uint16_t segmentStatus_ = 0;

  std::int64_t clockStartMs_;
  std::int64_t gpsStartMs_;
  std::int64_t nowMs_;
  std::int64_t nextSecondMs_;
  double lastWorld_ = 0.0;
  std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> actions_;
  std::uint64_t sequence_ = 0;
  std::int64_t lastAnswerMs_ = 0;
  std::vector<OutChunk> output_;

  bool down_ = false;
  bool breakOn_ = false;
  bool serviceMode_ = false;
  TimeSource timeSource_ = TimeSource::None;
  double collectFrom_ = -1.0;   // world seconds when system data collection began
  bool haveFix_ = false;
  Lla fix_;
  Enu velocity_;
  int pendingTimingRequest_ = 0;  // 1: AB at the next PPS, 2: AB and AC
  std::uint16_t eventCount_ = 0;
  int resetCount_ = 0;
  std::uint64_t reportCount_ = 0;
  std::uint8_t siCode_ = 0;
};

}  // namespace halvix::sim
