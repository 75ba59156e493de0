#include "link/rfc2217_device.h"

namespace halvix::link {

using namespace telnet;

namespace {

constexpr unsigned kAwaitBaud = 1;
constexpr unsigned kAwaitDataSize = 2;
constexpr unsigned kAwaitParity = 4;
constexpr unsigned kAwaitStopSize = 8;
constexpr unsigned kAwaitLine = kAwaitBaud | kAwaitDataSize | kAwaitParity | kAwaitStopSize;

bool weDo(std::uint8_t option) {
  return option == kOptionBinary || option == kOptionSuppressGoAhead || option == kOptionComPort;
}

const char* awaitName(unsigned bit) {
  switch (bit) {
    case kAwaitBaud: return "SET-BAUDRATE";
    case kAwaitDataSize: return "SET-DATASIZE";
    case kAwaitParity: return "SET-PARITY";
    default: return "SET-STOPSIZE";
  }
}

}  // namespace

QString TakenLineText(const TakenLine& line) {
  const QString unknown = QStringLiteral("?");
  const QString baud = line.baud ? QString::number(*line.baud) : unknown;
  const QString bits = line.dataBits ? QString::number(*line.dataBits) : unknown;
  QString parity = unknown;
  if (line.parity) {
    parity = *line.parity == Parity::Odd    ? QStringLiteral("Odd")
             : *line.parity == Parity::Even ? QStringLiteral("Even")
                                            : QStringLiteral("None");
  }
  const QString stop = line.stopBits ? (*line.stopBits == StopBits::Two ? QStringLiteral("2") : QStringLiteral("1"))
                                     : unknown;
  return QStringLiteral("%1, %2-%3-%4").arg(baud, bits, parity, stop);
}

Rfc2217Device::Rfc2217Device(Clock* clock, QObject* parent) : TcpDevice(clock, parent) {}

void Rfc2217Device::sessionStarted() {
  decoder_.reset();
  // Data is binary unless the server refuses: a CR in a frame must stay a CR.
  decoder_.setBinary(true);
  us_.fill(OptionState::No);
  him_.fill(OptionState::No);
  agreed_ = false;
  refused_ = false;
  rawFallback_ = false;
  telnetHeard_ = false;
  awaiting_ = 0;
  lineDeadline_ = -1;
  controlDeadline_ = -1;
  taken_ = {};
  negotiationDeadline_ = nowMs() + kNegotiationWaitMs;
  QByteArray hello;
  for (std::uint8_t option : {kOptionBinary, kOptionSuppressGoAhead}) {
    hello += Negotiation(kWill, option) + Negotiation(kDo, option);
    us_[option] = OptionState::WantYes;
    him_[option] = OptionState::WantYes;
  }
  hello += Negotiation(kWill, kOptionComPort);
  us_[kOptionComPort] = OptionState::WantYes;
  sendWire(hello);
}

QByteArray Rfc2217Device::wireBytes(const std::uint8_t* data, std::int64_t size) {
  if (rawFallback_) return TcpDevice::wireBytes(data, size);
  return EscapeData(data, size, us_[kOptionBinary] != OptionState::No);
}

void Rfc2217Device::takeIncoming(const QByteArray& bytes) {
  if (rawFallback_) {
    input_.append(bytes);
    return;
  }
  decoder_.feed(bytes, input_, [this](const Event& e) { onEvent(e); });
}

void Rfc2217Device::onEvent(const Event& e) {
  switch (e.kind) {
    case Event::Kind::Negotiation:
      telnetHeard_ = true;
      onNegotiation(e.command, e.option);
      break;
    case Event::Kind::Subnegotiation:
      telnetHeard_ = true;
      if (e.option != kOptionComPort) break;
      if (const auto reply = ParseComPortReply(e.payload)) onComPortReply(*reply);
      break;
    case Event::Kind::Command:
      break;  // NOP, GA and the like carry nothing for a serial line
    case Event::Kind::Broken:
      // Logged once; a server that keeps sending garbage is counted, not echoed.
      if (broken_++ == 0) {
        log(QStringLiteral("malformed telnet input dropped (%1)").arg(QString::fromLatin1(e.payload)));
      }
      break;
  }
}

void Rfc2217Device::onNegotiation(std::uint8_t command, std::uint8_t option) {
  switch (command) {
    case kWill:
      if (switchedOn(him_[option], option, kDo, kDont) && option == kOptionComPort) agree();
      break;
    case kWont:
      switchedOff(him_[option], option, kDont);
      if (option == kOptionBinary) decoder_.setBinary(false);
      break;
    case kDo:
      if (switchedOn(us_[option], option, kWill, kWont) && option == kOptionComPort) agree();
      break;
    case kDont:
      switchedOff(us_[option], option, kWont);
      if (option == kOptionComPort) withoutComPort(QStringLiteral("the server refuses the COM port option"));
      break;
    default:
      break;
  }
}

bool Rfc2217Device::switchedOn(OptionState& state, std::uint8_t option, std::uint8_t agreeing,
                               std::uint8_t refusing) {
  if (!weDo(option)) {
    sendWire(Negotiation(refusing, option));  // refused politely
    return false;
  }
  if (state == OptionState::No) sendWire(Negotiation(agreeing, option));
  state = OptionState::Yes;
  return true;
}

void Rfc2217Device::switchedOff(OptionState& state, std::uint8_t option, std::uint8_t confirming) {
  if (state == OptionState::Yes) sendWire(Negotiation(confirming, option));
  state = OptionState::No;
}

void Rfc2217Device::agree() {
  if (agreed_ || refused_) return;
  agreed_ = true;
  negotiationDeadline_ = -1;
  if (pendingPurge_) sendWire(PurgeMessage(kPurgeBoth));
  if (pendingLine_) sendLine(*pendingLine_);
  if (pendingBreak_) sendControl(*pendingBreak_ ? kControlBreakOn : kControlBreakOff);
  if (pendingRts_) sendControl(*pendingRts_ ? kControlRtsOn : kControlRtsOff);
  pendingPurge_ = false;
  pendingLine_.reset();
  pendingBreak_.reset();
  pendingRts_.reset();
}

void Rfc2217Device::withoutComPort(const QString& why) {
  if (refused_ || rawFallback_) return;
  refused_ = !rawFallback_;
  agreed_ = false;
  pendingPurge_ = false;
  pendingLine_.reset();
  pendingBreak_.reset();
  pendingRts_.reset();
  log(QStringLiteral("%1; line settings, BREAK and RTS are not carried").arg(why));
  setLineStatus(QStringLiteral("no RFC 2217"));
}

void Rfc2217Device::checkDeadlines() {
  const std::int64_t now = nowMs();
  if (!agreed_ && negotiationDeadline_ >= 0 && now >= negotiationDeadline_) {
    negotiationDeadline_ = -1;
    if (!telnetHeard_) {
      // No telnet at all: a raw port named as rfc2217. Doubling 0xFF would
      // corrupt every frame, so the bytes go as they are from here on.
      rawFallback_ = true;
      log(QStringLiteral("no telnet answer within %1 s (a raw TCP port? then name it tcp://%2); "
                         "going on with the bytes as they are; line settings, BREAK and RTS are not carried")
              .arg(kNegotiationWaitMs / 1000)
              .arg(address().hostPort()));
      refused_ = true;
      pendingPurge_ = false;
      pendingLine_.reset();
      pendingBreak_.reset();
      pendingRts_.reset();
      setLineStatus(QStringLiteral("no RFC 2217"));
    } else {
      withoutComPort(QStringLiteral("the server does not take up the COM port option within %1 s")
                         .arg(kNegotiationWaitMs / 1000));
    }
  }
  if (awaiting_ != 0 && now >= lineDeadline_) {
    for (unsigned bit = 1; bit <= kAwaitStopSize; bit <<= 1) {
      if ((awaiting_ & bit) == 0 || (lineSilenceLogged_ & bit) != 0) continue;
      lineSilenceLogged_ |= bit;
      log(QStringLiteral("no acknowledgement of %1 within %2 ms; going on")
              .arg(QLatin1String(awaitName(bit)))
              .arg(kAckWaitMs));
    }
    awaiting_ = 0;
    publishLine();
  }
  if (controlDeadline_ >= 0 && now >= controlDeadline_) {
    controlDeadline_ = -1;
    if (!controlSilenceLogged_) {
      controlSilenceLogged_ = true;
      log(QStringLiteral("no acknowledgement of SET-CONTROL (BREAK, RTS, DTR) within %1 ms; going on without it")
              .arg(kAckWaitMs));
    }
  }
}

void Rfc2217Device::onComPortReply(const ComPortReply& reply) {
  const auto byte = [&reply]() -> std::optional<std::uint8_t> {
    if (reply.value.size() != 1) return std::nullopt;
    return static_cast<std::uint8_t>(reply.value[0]);
  };
  unsigned bit = 0;
  switch (reply.command) {
    case ComPortCommand::SetBaudRate:
      bit = kAwaitBaud;
      if (const auto b = BaudFromValue(reply.value); b && *b <= 10'000'000) taken_.baud = static_cast<int>(*b);
      break;
    case ComPortCommand::SetDataSize:
      bit = kAwaitDataSize;
      if (const auto v = byte(); v && *v >= 5 && *v <= 8) taken_.dataBits = *v;
      break;
    case ComPortCommand::SetParity:
      bit = kAwaitParity;
      if (const auto v = byte()) taken_.parity = ParityFromValue(*v);
      break;
    case ComPortCommand::SetStopSize:
      bit = kAwaitStopSize;
      if (const auto v = byte()) taken_.stopBits = StopBitsFromValue(*v);
      break;
    case ComPortCommand::SetControl:
      controlDeadline_ = -1;
      return;
    default:
      return;  // signatures, line and modem state: nothing Halvix shows
  }
  if ((awaiting_ & bit) == 0) return;  // unasked, or after the wait ended
  awaiting_ &= ~bit;
  if (awaiting_ == 0) publishLine();
}

void Rfc2217Device::publishLine() { setLineStatus(TakenLineText(taken_)); }

void Rfc2217Device::sendLine(const LineSettings& line) {
  taken_ = {};
  awaiting_ = kAwaitLine;
  lineDeadline_ = nowMs() + kAckWaitMs;
  // DTR and RTS held asserted and no flow control, as on a local port.
  sendWire(LineSettingsMessages(line) + ControlMessage(kControlNoFlowControl) + ControlMessage(kControlDtrOn) +
           ControlMessage(kControlRtsOn));
  controlDeadline_ = nowMs() + kAckWaitMs;
}

void Rfc2217Device::sendControl(std::uint8_t value) {
  sendWire(ControlMessage(value));
  controlDeadline_ = nowMs() + kAckWaitMs;
}

bool Rfc2217Device::setLine(const LineSettings& line) {
  if (!connected()) return false;
  if (!lineControl()) {
    setLineStatus(QStringLiteral("no RFC 2217"));
    return false;
  }
  if (!agreed_) {
    pendingLine_ = line;
    return true;
  }
  sendLine(line);
  return true;
}

void Rfc2217Device::purge() {
  TcpDevice::purge();
  if (!connected() || !lineControl()) return;
  if (!agreed_) {
    pendingPurge_ = true;
    return;
  }
  sendWire(PurgeMessage(kPurgeBoth));
}

bool Rfc2217Device::setBreak(bool on) {
  return setSignal(pendingBreak_, on ? kControlBreakOn : kControlBreakOff, on);
}

bool Rfc2217Device::setRts(bool on) { return setSignal(pendingRts_, on ? kControlRtsOn : kControlRtsOff, on); }

bool Rfc2217Device::setSignal(std::optional<bool>& pending, std::uint8_t control, bool on) {
  if (!connected() || !lineControl()) return false;
  if (!agreed_) {
    pending = on;
    return true;
  }
  sendControl(control);
  return true;
}

}  // namespace halvix::link
