// Telnet framing and the COM-PORT-OPTION (RFC 2217) messages, as pure byte
// work with no sockets: a decoder that splits a server's stream into data and
// telnet commands, and the encoders for what a client sends. A serial server
// reached by rfc2217:// speaks this; the data in between is the receiver's.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <optional>

#include "link/serial_device.h"

namespace halvix::link::telnet {

inline constexpr std::uint8_t kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251,
                              kSb = 250, kSe = 240;

inline constexpr std::uint8_t kOptionBinary = 0, kOptionSuppressGoAhead = 3, kOptionComPort = 44;

// A subnegotiation longer than this is broken (the longest COM-PORT message is
// a few bytes, a signature text a few dozen); it is dropped, not buffered.
inline constexpr int kMaxSubnegotiation = 256;

// Client-to-server COM-PORT commands; the server answers with code + 100.
enum class ComPortCommand : std::uint8_t {
  Signature = 0,
  SetBaudRate = 1,
  SetDataSize = 2,
  SetParity = 3,
  SetStopSize = 4,
  SetControl = 5,
  NotifyLineState = 6,
  NotifyModemState = 7,
  FlowControlSuspend = 8,
  FlowControlResume = 9,
  SetLineStateMask = 10,
  SetModemStateMask = 11,
  PurgeData = 12,
};
inline constexpr std::uint8_t kServerReplyOffset = 100;

// SET-CONTROL values Halvix uses.
inline constexpr std::uint8_t kControlNoFlowControl = 1, kControlBreakOn = 5, kControlBreakOff = 6,
                              kControlDtrOn = 8, kControlRtsOn = 11, kControlRtsOff = 12;
// PURGE-DATA: both directions.
inline constexpr std::uint8_t kPurgeBoth = 3;

// What the decoder found besides data.
struct Event {
  enum class Kind {
    Negotiation,     // command is WILL, WONT, DO or DONT; option set
    Subnegotiation,  // option set; payload unescaped, without IAC SB / IAC SE
    Command,         // a two-byte command (NOP, GA, ...): command set
    Broken,          // malformed input was dropped; payload says what
  };
  Kind kind = Kind::Command;
  std::uint8_t command = 0;
  std::uint8_t option = 0;
  QByteArray payload;
};

// Splits a telnet stream into data and events, byte by byte, so a sequence
// cut across two reads is joined. Memory is bounded by kMaxSubnegotiation.
class Decoder {
 public:
  using EventSink = std::function<void(const Event&)>;

  // Appends the data bytes of input to data; events go to the sink in stream order.
  void feed(const std::uint8_t* input, std::int64_t size, QByteArray& data, const EventSink& sink);
  void feed(const QByteArray& input, QByteArray& data, const EventSink& sink) {
    feed(reinterpret_cast<const std::uint8_t*>(input.constData()), input.size(), data, sink);
  }
  // Outside BINARY, a CR is followed by NUL or LF on the wire; the NUL is padding.
  void setBinary(bool binary) { binary_ = binary; }
  void reset();

 private:
  enum class State { Data, Iac, Negotiate, SbOption, Sb, SbIac, AfterCr };
  State state_ = State::Data;
  std::uint8_t command_ = 0;
  std::uint8_t option_ = 0;
  QByteArray sb_;
  bool binary_ = false;
};

// Data for the wire: every 0xFF doubled; outside BINARY, CR becomes CR NUL.
QByteArray EscapeData(const std::uint8_t* data, std::int64_t size, bool binary);
// IAC command option.
QByteArray Negotiation(std::uint8_t command, std::uint8_t option);
// IAC SB option payload IAC SE, with 0xFF in the payload doubled.
QByteArray Subnegotiation(std::uint8_t option, const QByteArray& payload);
// One COM-PORT command with its value bytes.
QByteArray ComPort(ComPortCommand command, const QByteArray& value);

// The four SET messages of a line setting, in the order servers expect:
// baud rate, data size, parity, stop size.
QByteArray LineSettingsMessages(const LineSettings& line);
QByteArray ControlMessage(std::uint8_t value);
QByteArray PurgeMessage(std::uint8_t value);

// A server's COM-PORT reply: the client command it answers and its value.
struct ComPortReply {
  ComPortCommand command = ComPortCommand::Signature;
  QByteArray value;
};
// Nothing for a payload that is not a server reply (a client code, empty).
std::optional<ComPortReply> ParseComPortReply(const QByteArray& payload);

// Wire values of the line parameters, and back; nothing for values Halvix
// does not use (mark and space parity, 1.5 stop bits, a zero baud rate).
std::uint8_t ParityValue(Parity parity);
std::uint8_t StopSizeValue(StopBits stopBits);
std::optional<Parity> ParityFromValue(std::uint8_t value);
std::optional<StopBits> StopBitsFromValue(std::uint8_t value);
// A four-byte big-endian rate; nothing for another length.
std::optional<std::uint32_t> BaudFromValue(const QByteArray& value);

}  // namespace halvix::link::telnet
