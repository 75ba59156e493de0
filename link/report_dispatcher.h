// The report dispatcher: the callback PollPort hands every completed packet
// to. It lights the Rx lamp, routes the packet to the decoder of its report
// kind through the route table it is given, then runs the post-dispatch hooks
// (recorder, diagnostics heartbeat) for every packet, decoded or not. Until
// it has a route table it decodes nothing. Kinds for developer mode only are
// passed over outside it. Runs on the GUI thread only.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "link/report_routes.h"
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
  static constexpr int kSegmentReport = 0x5F;

  explicit ReportDispatcher(QObject* parent = nullptr);

  // The route table, at start-up; it must outlive the dispatcher. Installing
  // one drops every decoder set before.
  void setRoutes(const RouteTable& routes);
  const RouteTable* routes() const { return routes_; }
  // The decoder of one report kind, by its key ("8F-AB") or its row in the
  // route table (by name, so a report id is never taken for a row). False
  // (and nothing changes) when the table has no such kind.
  bool setDecoder(std::string_view key, Decoder fn);
  bool setRowDecoder(int row, Decoder fn);
  void setDeveloperMode(bool on) { developerMode_ = on; }
  bool developerMode() const { return developerMode_; }

  // Post-dispatch hooks. The recorder runs for every packet while it is set:
  // the recording feature installs it when recording starts and clears it
  // (an empty function) when it stops. The heartbeat runs for every packet.
  void setRecorder(Recorder fn) { recorder_ = std::move(fn); }
  void setHeartbeat(Heartbeat fn) { heartbeat_ = std::move(fn); }

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
  const RouteTable* routes_ = nullptr;
  std::vector<Decoder> decoders_;
  Recorder recorder_;
  Heartbeat heartbeat_;
  bool developerMode_ = false;
  SerialLink::PacketCallback callback_;
};

}  // namespace halvix::link
