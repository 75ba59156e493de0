#include "link/serial_link.h"

#include <QDebug>
#include <QThread>
#include <algorithm>
#include <cstring>

namespace halvix::link {

SerialLink::SerialLink(SerialDevice& device, Clock& clock, QObject* parent)
    : QObject(parent), device_(device), clock_(clock) {
  // Queued: the device may report from inside one of its own calls, with the
  // port lock held.
  device_.setLostCallback([this] {
    QMetaObject::invokeMethod(this, [this] { DeviceFailed(); }, Qt::QueuedConnection);
  });
}

SerialLink::~SerialLink() { device_.setLostCallback({}); }

void SerialLink::resetParser() {
  readIndex = 0;
  remaining = 0;
  completedLength = 0;
  id = 0;
  deframer_.reset();
}

int SerialLink::OpenLink(const QString& deviceName) {
  resetParser();
  bytesReceived = 0;
  deviceName_ = deviceName;
  lost_ = false;
  if (!device_.open(deviceName)) return -1;
  device_.purge();
  // A line setting the device refuses (a pseudo-terminal has no parity) is not fatal.
  SetLine(LineSettings{9600, 8, Parity::None, StopBits::One});
  return 0;
}

int SerialLink::ReopenLink() {
  {
    std::lock_guard lock(portLock_);
    resetParser();
    if (!device_.reopen(deviceName_)) return -1;
    lost_ = false;
    device_.purge();
  }
  SetLine(LineSettings{9600, 8, Parity::None, StopBits::One});
  return 0;
}

void SerialLink::CloseLink() {
  std::lock_guard lock(portLock_);
  if (!device_.isOpen()) return;
  device_.purge();
  device_.close();
}

int SerialLink::SetLine(const LineSettings& line) { return device_.setLine(line) ? 0 : -1; }

int SerialLink::ApplyPortSettings(const PortSettings& settings, const QString& portLabel,
                                  const std::function<void(const QString&)>& showCaption) {
  const auto line = LineSettingsFor(settings);
  const auto caption = PortSettingsCaption(portLabel, settings);
  if (!line || !caption) {
    qWarning().noquote() << QString::asprintf(
        "Serial port: settings codes %d,%d,%d,%d are outside the tables; line left unchanged",
        settings.baudCode, settings.dataBitsCode, settings.parityCode, settings.stopBitsCode);
    return -1;
  }
  clock_.sleepMs(kLinePauseMs);
  if (showCaption) showCaption(*caption);
  sendEnabled = false;
  device_.drain();
  clock_.sleepMs(kLinePauseMs);
  const int result = SetLine(*line);
  clock_.sleepMs(kLinePauseMs);
  sendEnabled = true;
  return result;
}

int SerialLink::PulseRts() {
  std::lock_guard lock(portLock_);
  if (!device_.setRts(true)) return -1;
  return device_.setRts(false) ? 0 : -1;
}

bool SerialLink::SetBreak(bool on) { return device_.setBreak(on); }

// A frame handed from another thread to the link's own.
struct SerialLink::Handover {
  std::vector<std::uint8_t> frame;
  bool finished = false;
  bool abandoned = false;
  SendResult result = SendResult::Dropped;
};

void SerialLink::SendPacket(int length_, const std::uint8_t* bytes) {
  if (!sendEnabled || length_ <= 0 || bytes == nullptr) return;
  // No pacing wait for a device that is gone: the frame could never leave.
  if (lost_) {
    ++sendsDropped;
    return;
  }

  const int size = FramedSize(bytes[0], bytes + 1, length_ - 1);
  if (size > kFrameSize) {
    qWarning().noquote() << QString::asprintf(
        "Serial link: packet 0x%02X refused, its frame of %d bytes exceeds %d", bytes[0], size,
        kFrameSize);
    return;
  }
  std::array<std::uint8_t, kFrameSize> frame;
  const int n = EncodeFrame(bytes[0], bytes + 1, length_ - 1, frame.data());

  if (QThread::currentThread() != thread()) {
    handOver(frame.data(), n);
    return;
  }
  writeFrame(frame.data(), n, true);
}

SerialLink::SendResult SerialLink::writeFrame(const std::uint8_t* frame, int size, bool mayWait) {
  std::lock_guard lock(sendLock_);
  if (anySent_) {
    const std::int64_t wait = lastSendMs_ + kSendSpacingMs - clock_.nowMs();
    if (wait > 0) {
      if (!mayWait) return SendResult::TooSoon;
      clock_.sleepMs(wait);
    }
  }
  // The line may have been handed to a reconfiguration while we waited.
  if (!sendEnabled) return SendResult::Dropped;
  if (lost_) {
    ++sendsDropped;
    return SendResult::Dropped;
  }
  Q_EMIT packetSent();
  if (device_.write(frame, size) < 0) reportLost();
  lastSendMs_ = clock_.nowMs();
  anySent_ = true;
  return SendResult::Written;
}

void SerialLink::handOver(const std::uint8_t* frame, int size) {
  for (;;) {
    // The pacing is waited out here, so the link's thread never sleeps for
    // another thread's frame; a send of its own in the meantime makes the
    // frame TooSoon and it waits again.
    std::int64_t wait = 0;
    {
      std::lock_guard lock(sendLock_);
      if (anySent_) wait = lastSendMs_ + kSendSpacingMs - clock_.nowMs();
    }
    if (wait > 0) clock_.sleepMs(wait);
    if (!sendEnabled) return;
    if (lost_) {
      ++sendsDropped;
      return;
    }
    auto h = std::make_shared<Handover>();
    h->frame.assign(frame, frame + size);
    {
      std::lock_guard lock(handoverLock_);
      if (handoversCancelled_) return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, h] {
          {
            std::lock_guard lock(handoverLock_);
            if (h->abandoned) return;
          }
          const SendResult result =
              writeFrame(h->frame.data(), static_cast<int>(h->frame.size()), false);
          {
            std::lock_guard lock(handoverLock_);
            h->result = result;
            h->finished = true;
          }
          handoverDone_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(handoverLock_);
    handoverDone_.wait(lock, [&] { return h->finished || handoversCancelled_; });
    if (!h->finished) {
      h->abandoned = true;
      return;
    }
    if (h->result != SendResult::TooSoon) return;
  }
}

void SerialLink::CancelHandovers(bool cancel) {
  {
    std::lock_guard lock(handoverLock_);
    handoversCancelled_ = cancel;
  }
  handoverDone_.notify_all();
}

int SerialLink::readChunk(std::int64_t max) {
  const std::int64_t got = device_.read(raw.data(), std::min<std::int64_t>(max, kRawSize));
  if (got < 0) reportLost();
  return got > 0 ? static_cast<int>(got) : 0;
}

int SerialLink::ReadRaw() {
  // raw still holds the unparsed rest of the read in progress.
  if (reading_) return 0;
  std::lock_guard lock(portLock_);
  if (lost_) return 0;
  const std::int64_t waiting = device_.bytesWaiting();
  if (waiting < 0) {
    reportLost();
    return 0;
  }
  if (waiting == 0) return 0;
  return readChunk(kRawSize);
}

int SerialLink::PollPort(const PacketCallback& callback, bool stopOnFlag) {
  // A decoder's modal box runs timers: a read started there would overwrite
  // the outer read's raw buffer and position.
  if (reading_) return 0;
  reading_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{reading_};
  std::int64_t waiting = 0;
  {
    std::lock_guard lock(portLock_);
    if (lost_) return 0;
    waiting = device_.bytesWaiting();
    if (waiting < 0) {
      reportLost();
      return 0;
    }
    // The oldest bytes beyond the bound go: the newest reports matter most.
    std::uint64_t dropped = 0;
    while (waiting > kPollInputBound) {
      const int got = readChunk(waiting - kPollInputBound);
      if (got == 0) break;
      waiting -= got;
      dropped += static_cast<std::uint64_t>(got);
    }
    if (dropped > 0) {
      // The frame cut in half by the drop must not join the next one.
      resetParser();
      Q_EMIT inputOverflow(inputDropped += dropped);
    }
  }
  // What was waiting at the start is taken a buffer at a time; bytes that
  // arrive meanwhile wait for the next poll.
  while (waiting > 0 && !(stopOnFlag && replyFound)) {
    int got = 0;
    {
      std::lock_guard lock(portLock_);
      if (lost_) break;
      got = readChunk(waiting);
    }
    if (got == 0) break;
    waiting -= got;
    remaining = static_cast<std::uint32_t>(got);
    readIndex = 0;
    bytesReceived += remaining;
    while (remaining > 0 && !(stopOnFlag && replyFound)) {
      const std::size_t n = deframer_.take(raw.data() + readIndex, remaining);
      readIndex += static_cast<int>(n);
      remaining -= static_cast<std::uint32_t>(n);
      if (!deframer_.ready()) continue;
      // Copied out: a waiting caller reads the packet after the poll returns.
      id = deframer_.id();
      completedLength = deframer_.length();
      std::memcpy(payload.data(), deframer_.payload(), static_cast<std::size_t>(completedLength));
      if (callback) callback(*this);
    }
  }
  // Bytes left by the stop flag are dropped: the next read overwrites raw.
  readIndex = 0;
  remaining = 0;
  return 0;
}

void SerialLink::DeviceFailed() {
  std::lock_guard lock(portLock_);
  reportLost();
}

// Called on the link's thread, with the port lock held or from a send.
void SerialLink::reportLost() {
  if (lost_) return;
  lost_ = true;
  // Closed at once: nothing queued is retried and no poll touches it again.
  device_.purge();
  device_.close();
  const QString message = QStringLiteral("The serial device %1 stopped responding.").arg(deviceName_);
  qWarning().noquote() << "Serial Port Error:" << message;
  Q_EMIT deviceLost(message);
}

}  // namespace halvix::link
