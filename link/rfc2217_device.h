// SerialDevice over a telnet serial server with the COM port option
// (rfc2217://HOST:PORT): the line settings, BREAK, RTS and purges travel as
// COM-PORT messages, data as telnet data with 0xFF doubled both ways.
//
// Nothing waits for the server: messages are queued until it agrees to the
// option, and its acknowledgements are read as they come. An answer that never
// comes ends a bounded wait checked on the next read, is logged once, and the
// session goes on (servers in front of a pseudo-terminal never acknowledge
// SET-CONTROL).
#pragma once

#include <array>
#include <optional>

#include "link/tcp_device.h"
#include "link/telnet_codec.h"

namespace halvix::link {

// What a server acknowledged of a line setting; a field it did not answer is empty.
struct TakenLine {
  std::optional<int> baud;
  std::optional<int> dataBits;
  std::optional<Parity> parity;
  std::optional<StopBits> stopBits;
};
// "9600, 8-Odd-1", with "?" for what the server did not acknowledge.
QString TakenLineText(const TakenLine& line);

class Rfc2217Device final : public TcpDevice {
  Q_OBJECT

 public:
  // The server must agree to the COM port option within this time, or the
  // device goes on without line control (and without telnet, if it heard none).
  static constexpr std::int64_t kNegotiationWaitMs = 3000;
  // Acknowledgements of SET messages are awaited this long.
  static constexpr std::int64_t kAckWaitMs = 1000;

  explicit Rfc2217Device(Clock* clock = nullptr, QObject* parent = nullptr);

  bool setLine(const LineSettings& line) override;
  void purge() override;
  bool setBreak(bool on) override;
  bool setRts(bool on) override;

  // The server agreed to the COM port option.
  bool comPortAgreed() const { return agreed_; }
  // The server turned out to speak no telnet: bytes pass as they are.
  bool rawFallback() const { return rawFallback_; }
  const TakenLine& takenLine() const { return taken_; }
  // Malformed telnet input dropped so far.
  int brokenSequences() const { return broken_; }

 protected:
  void sessionStarted() override;
  void takeIncoming(const QByteArray& bytes) override;
  QByteArray wireBytes(const std::uint8_t* data, std::int64_t size) override;
  void checkDeadlines() override;
  NetworkProtocol protocol() const override { return NetworkProtocol::Rfc2217; }

 private:
  enum class OptionState : std::uint8_t { No, Yes, WantYes };

  void onEvent(const telnet::Event& e);
  void onNegotiation(std::uint8_t command, std::uint8_t option);
  // The server asks for an option on (WILL, DO) or says it is off (WONT,
  // DONT); state is that side's. Answered only where it changes the state
  // (no loops); an option Halvix does not do is refused. True when it is on.
  bool switchedOn(OptionState& state, std::uint8_t option, std::uint8_t agreeing, std::uint8_t refusing);
  void switchedOff(OptionState& state, std::uint8_t option, std::uint8_t confirming);
  void onComPortReply(const telnet::ComPortReply& reply);
  void agree();
  // The option is refused or never answered: no line control from here on.
  void withoutComPort(const QString& why);
  bool lineControl() const { return !refused_ && !rawFallback_; }
  void sendLine(const LineSettings& line);
  void sendControl(std::uint8_t value);
  // BREAK or RTS: sent now, or held until the COM-PORT option is agreed.
  bool setSignal(std::optional<bool>& pending, std::uint8_t control, bool on);
  void publishLine();

  telnet::Decoder decoder_;
  std::array<OptionState, 256> us_{};   // options we perform
  std::array<OptionState, 256> him_{};  // options the server performs
  bool agreed_ = false;
  bool refused_ = false;
  bool rawFallback_ = false;
  bool telnetHeard_ = false;
  std::int64_t negotiationDeadline_ = -1;

  // Waiting for agreement: the latest of each, sent in this order.
  bool pendingPurge_ = false;
  std::optional<LineSettings> pendingLine_;
  std::optional<bool> pendingBreak_;
  std::optional<bool> pendingRts_;

  TakenLine taken_;
  unsigned awaiting_ = 0;  // bits of the SET messages not yet acknowledged
  std::int64_t lineDeadline_ = -1;
  std::int64_t controlDeadline_ = -1;
  bool controlSilenceLogged_ = false;
  unsigned lineSilenceLogged_ = 0;
  int broken_ = 0;
};

}  // namespace halvix::link
