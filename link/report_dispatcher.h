// The report dispatcher: the callback PollPort hands every completed packet
// to. It lights the Rx lamp, routes the packet to its decoder by id (0x8F and
// 0x5F by their first payload byte, 0x4A by its length), then runs the
// post-dispatch hooks (recorder, diagnostics heartbeat) for every packet,
// decoded or not. The routing table is fixed; the application fills in the
// decoders at start-up. Runs on the GUI thread only.
#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>

#include "link/serial_link.h"

namespace halvix::link {

class ReportDispatcher : public QObject {
  Q_OBJECT

 public:
  // A decoder gets the payload (offset 0 is the byte after the id, so a
  // super-report's sub-code) and its length. The payload is valid only during
  // the call.
  using Decoder = std::function<void(const std::uint8_t* payload, int length)>;
  using Recorder = std::function<void(int id, const std::uint8_t* payload, int length)>;
  using Heartbeat = std::function<void()>;

  static constexpr int kSuperReport = 0x8F;
  static constexpr int kLlaReport = 0x4A;
  static constexpr int kAltitudeLength = 9;
  static constexpr int kSegmentReport = 0x5F;
  static constexpr std::uint8_t kSegmentStatus = 0x11;

  explicit ReportDispatcher(QObject* parent = nullptr);

  // Registration, at start-up. Each returns false (and changes nothing) for a
  // route the table does not have.
  // A plain id of the table; for 0x4A this is the LLA decoder (any length but 9).
  bool setDecoder(int id, Decoder fn);
  // A sub-code of super-report 0x8F.
  bool setSuperDecoder(int id, int subCode, Decoder fn);
  // Report 0x4A with a 9-byte payload.
  void setAltitudeDecoder(Decoder fn) { altitude_ = std::move(fn); }
  // Report 0x5F whose first byte is 0x11.
  void setSegmentStatusDecoder(Decoder fn) { segmentStatus_ = std::move(fn); }
  // Report 0x5F with any other first byte; called only in developer mode.
  void setDiagnosticDecoder(Decoder fn) { diagnostic_ = std::move(fn); }
  void setDeveloperMode(bool on) { developerMode_ = on; }
  bool developerMode() const { return developerMode_; }

  // Post-dispatch hooks. The recorder runs for every packet while it is set:
  // the recording feature installs it when recording starts and clears it
  // (an empty function) when it stops. The heartbeat runs for every packet.
  void setRecorder(Recorder fn) { recorder_ = std::move(fn); }
  void setHeartbeat(Heartbeat fn) { heartbeat_ = std::move(fn); }

  // True when the table has a route for this id (any condition).
  static bool IsRoutedId(int id);
  // True when the table routes this 0x8F sub-code.
  static bool IsRoutedSubCode(int subCode);

  // Handles one completed packet. A negative length is taken as empty.
  void dispatch(int id, const std::uint8_t* payload, int length);
  // The PollPort form: reads id, payload and completedLength from the link.
  void operator()(SerialLink& link);
  // A callback for SerialLink::PollPort, built once.
  const SerialLink::PacketCallback& callback() const { return callback_; }

 Q_SIGNALS:
  // A packet arrived (the Rx lamp). Emitted for every packet.
  void packetReceived();

 private:
  const Decoder* route(int id, const std::uint8_t* payload, int length) const;

  std::array<Decoder, 256> byId_{};
  std::array<Decoder, 256> bySubCode_{};
  Decoder altitude_;
  Decoder segmentStatus_;
  Decoder diagnostic_;
  Recorder recorder_;
  Heartbeat heartbeat_;
  bool developerMode_ = false;
  SerialLink::PacketCallback callback_;
};

}  // namespace halvix::link
