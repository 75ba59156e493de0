#include "link/telnet_codec.h"

namespace halvix::link::telnet {

namespace {

constexpr std::uint8_t kCr = 13;
constexpr std::uint8_t kNul = 0;

bool isNegotiation(std::uint8_t b) { return b == kWill || b == kWont || b == kDo || b == kDont; }

Event broken(const char* what) {
  Event e;
  e.kind = Event::Kind::Broken;
  e.payload = QByteArray(what);
  return e;
}

}  // namespace

void Decoder::reset() {
  state_ = State::Data;
  command_ = 0;
  option_ = 0;
  sb_.clear();
}

void Decoder::feed(const std::uint8_t* input, std::int64_t size, QByteArray& data, const EventSink& sink) {
  auto report = [&sink](const Event& e) {
    if (sink) sink(e);
  };
  for (std::int64_t i = 0; i < size; ++i) {
    const std::uint8_t b = input[i];
    switch (state_) {
      case State::AfterCr:
        state_ = State::Data;
        if (b == kNul) break;  // CR NUL is a bare CR
        [[fallthrough]];
      case State::Data:
        if (b == kIac) {
          state_ = State::Iac;
        } else {
          data.append(static_cast<char>(b));
          if (b == kCr && !binary_) state_ = State::AfterCr;
        }
        break;
      case State::Iac:
        if (b == kIac) {
          data.append(static_cast<char>(kIac));
          state_ = State::Data;
        } else if (isNegotiation(b)) {
          command_ = b;
          state_ = State::Negotiate;
        } else if (b == kSb) {
          state_ = State::SbOption;
        } else if (b == kSe) {
          report(broken("end of subnegotiation without a start"));
          state_ = State::Data;
        } else {
          Event e;
          e.kind = Event::Kind::Command;
          e.command = b;
          report(e);
          state_ = State::Data;
        }
        break;
      case State::Negotiate: {
        Event e;
        e.kind = Event::Kind::Negotiation;
        e.command = command_;
        e.option = b;
        report(e);
        state_ = State::Data;
        break;
      }
      case State::SbOption:
        option_ = b;
        sb_.clear();
        state_ = State::Sb;
        break;
      case State::Sb:
        if (b == kIac) {
          state_ = State::SbIac;
        } else if (sb_.size() >= kMaxSubnegotiation) {
          // A subnegotiation that never ends must not eat the stream or memory.
          report(broken("subnegotiation too long"));
          sb_.clear();
          state_ = State::Data;
        } else {
          sb_.append(static_cast<char>(b));
        }
        break;
      case State::SbIac:
        if (b == kIac) {
          if (sb_.size() >= kMaxSubnegotiation) {
            report(broken("subnegotiation too long"));
            sb_.clear();
            state_ = State::Data;
          } else {
            sb_.append(static_cast<char>(kIac));
            state_ = State::Sb;
          }
        } else if (b == kSe) {
          Event e;
          e.kind = Event::Kind::Subnegotiation;
          e.option = option_;
          e.payload = sb_;
          sb_.clear();
          report(e);
          state_ = State::Data;
        } else {
          // IAC and another command inside a subnegotiation: the subnegotiation
          // is cut short, and the command is read as a command.
          report(broken("subnegotiation interrupted by a command"));
          sb_.clear();
          state_ = State::Iac;
          --i;
        }
        break;
    }
  }
}

QByteArray EscapeData(const std::uint8_t* data, std::int64_t size, bool binary) {
  QByteArray out;
  out.reserve(static_cast<qsizetype>(size + size / 8 + 2));
  for (std::int64_t i = 0; i < size; ++i) {
    out.append(static_cast<char>(data[i]));
    if (data[i] == kIac) out.append(static_cast<char>(kIac));
    if (data[i] == kCr && !binary) out.append(static_cast<char>(kNul));
  }
  return out;
}

QByteArray Negotiation(std::uint8_t command, std::uint8_t option) {
  QByteArray out;
  out.append(static_cast<char>(kIac));
  out.append(static_cast<char>(command));
  out.append(static_cast<char>(option));
  return out;
}

QByteArray Subnegotiation(std::uint8_t option, const QByteArray& payload) {
  QByteArray out;
  out.append(static_cast<char>(kIac));
  out.append(static_cast<char>(kSb));
  out.append(static_cast<char>(option));
  for (char c : payload) {
    out.append(c);
    if (static_cast<std::uint8_t>(c) == kIac) out.append(c);
  }
  out.append(static_cast<char>(kIac));
  out.append(static_cast<char>(kSe));
  return out;
}

QByteArray ComPort(ComPortCommand command, const QByteArray& value) {
  QByteArray payload;
  payload.append(static_cast<char>(command));
  payload.append(value);
  return Subnegotiation(kOptionComPort, payload);
}

std::uint8_t ParityValue(Parity parity) {
  switch (parity) {
    case Parity::Odd: return 2;
    case Parity::Even: return 3;
    case Parity::None: break;
  }
  return 1;
}

std::uint8_t StopSizeValue(StopBits stopBits) { return stopBits == StopBits::Two ? 2 : 1; }

std::optional<Parity> ParityFromValue(std::uint8_t value) {
  switch (value) {
    case 1: return Parity::None;
    case 2: return Parity::Odd;
    case 3: return Parity::Even;
    default: return std::nullopt;
  }
}

std::optional<StopBits> StopBitsFromValue(std::uint8_t value) {
  switch (value) {
    case 1: return StopBits::One;
    case 2: return StopBits::Two;
    default: return std::nullopt;
  }
}

std::optional<std::uint32_t> BaudFromValue(const QByteArray& value) {
  if (value.size() != 4) return std::nullopt;
  std::uint32_t baud = 0;
  for (char c : value) baud = (baud << 8) | static_cast<std::uint8_t>(c);
  if (baud == 0) return std::nullopt;
  return baud;
}

QByteArray LineSettingsMessages(const LineSettings& line) {
  const auto baud = static_cast<std::uint32_t>(line.baud);
  QByteArray rate;
  for (int shift = 24; shift >= 0; shift -= 8) rate.append(static_cast<char>((baud >> shift) & 0xFF));
  return ComPort(ComPortCommand::SetBaudRate, rate) +
         ComPort(ComPortCommand::SetDataSize, QByteArray(1, static_cast<char>(line.dataBits))) +
         ComPort(ComPortCommand::SetParity, QByteArray(1, static_cast<char>(ParityValue(line.parity)))) +
         ComPort(ComPortCommand::SetStopSize,
                 QByteArray(1, static_cast<char>(StopSizeValue(line.stopBits))));
}

QByteArray ControlMessage(std::uint8_t value) {
  return ComPort(ComPortCommand::SetControl, QByteArray(1, static_cast<char>(value)));
}

QByteArray PurgeMessage(std::uint8_t value) {
  return ComPort(ComPortCommand::PurgeData, QByteArray(1, static_cast<char>(value)));
}

std::optional<ComPortReply> ParseComPortReply(const QByteArray& payload) {
  if (payload.isEmpty()) return std::nullopt;
  const auto code = static_cast<std::uint8_t>(payload[0]);
  if (code < kServerReplyOffset ||
      code > kServerReplyOffset + static_cast<std::uint8_t>(ComPortCommand::PurgeData)) {
    return std::nullopt;
  }
  ComPortReply r;
  r.command = static_cast<ComPortCommand>(code - kServerReplyOffset);
  r.value = payload.mid(1);
  return r;
}

}  // namespace halvix::link::telnet
