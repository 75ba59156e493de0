// The one link record: the serial device, the receive deframer and its
// buffers, and the two operations that carry QLIP packets across the port
// (SendPacket, PollPort), plus the PC-side line control.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "link/clock.h"
#include "link/framing.h"
#include "link/port_settings.h"
#include "link/serial_device.h"

namespace halvix::link {

class SerialLink : public QObject {
  Q_OBJECT

 public:
  static constexpr int kRawSize = 8192, kPayloadSize = 512, kFrameSize = 512;
  static constexpr std::int64_t kSendSpacingMs = 100;
  // Short settle pause around a line change.
  static constexpr std::int64_t kLinePauseMs = 5;
  // At most this much input is parsed in one poll; what waits beyond it is
  // the oldest and is dropped, so a flooding port keeps each tick short.
  static constexpr std::int64_t kPollInputBound = 64 * 1024;

  using PacketCallback = std::function<void(SerialLink&)>;

  SerialLink(SerialDevice& device, Clock& clock, QObject* parent = nullptr);
  ~SerialLink() override;

  // Resets the parser, opens the device and sets 9600 8-None-1. 0 or -1.
  int OpenLink(const QString& deviceName);
  // Drops both queues and closes the device.
  void CloseLink();
  // After the device vanished: opens the same device again (a real port may
  // find its adapter under a new path) and sets 9600 8-None-1. 0 or -1.
  int ReopenLink();
  // The device has vanished and is not open again yet.
  bool lost() const { return lost_; }
  const QString& deviceName() const { return deviceName_; }
  // Sets the PC line parameters. 0 or -1.
  int SetLine(const LineSettings& line);
  // Reconfigures the PC side to a settings record; sends are dropped while it
  // runs. Codes outside the tables are refused (-1) and change nothing.
  // showCaption receives the new "COM%d ..." text.
  int ApplyPortSettings(const PortSettings& settings, const QString& portLabel,
                        const std::function<void(const QString&)>& showCaption);
  // A short high pulse on RTS, the receiver's event input. 0 or -1.
  int PulseRts();
  bool SetBreak(bool on);

  // Frames and writes one packet: bytes[0] is the id, the rest the payload.
  // Dropped while sendEnabled is clear; refused (and logged) if the frame
  // would not fit in kFrameSize. Consecutive frames leave at least
  // kSendSpacingMs apart. Safe to call from any thread: only the link's own
  // thread touches the device, so a send from another thread waits out the
  // pacing where it is, hands the frame over through the event queue and
  // returns once it is written (or dropped, or the handovers are cancelled).
  void SendPacket(int length, const std::uint8_t* bytes);
  // Sends from other threads stop waiting for the link's thread and their
  // frames are not written; used before joining such a thread. Clearing it
  // lets handovers resume.
  void CancelHandovers(bool cancel);
  // Reads what the device holds (at most kPollInputBound, the newest) and
  // hands each completed packet to the callback. A read that would start
  // inside another (a decoder's modal box lets timers fire) returns at once,
  // leaving the outer read's unparsed bytes alone.
  int PollPort(const PacketCallback& callback, bool stopOnFlag);
  // A PollPort is in progress on this link.
  bool reading() const { return reading_; }
  // One immediate read into raw without parsing (the break sequence looks for
  // the port-settings text there). Returns the byte count read; 0 while a
  // PollPort is parsing raw.
  int ReadRaw();
  // The device reported its own loss (a hang-up, a resource error): closes it
  // at once and says so, whatever the program is waiting in.
  void DeviceFailed();

  SerialDevice& device() { return device_; }
  Clock& clock() { return clock_; }

  // Read position and buffers. A completed packet is id, payload and
  // completedLength, valid until parsing resumes.
  int readIndex = 0;
  std::uint32_t remaining = 0;
  int completedLength = 0;
  int id = 0;
  std::array<std::uint8_t, kRawSize> raw{};
  std::array<std::uint8_t, kPayloadSize> payload{};

  std::atomic<bool> sendEnabled{true};
  std::atomic<std::uint32_t> bytesReceived{0};
  std::atomic<bool> replyFound{false};
  // Frames dropped because the device had vanished, and input bytes dropped
  // because more waited than one poll takes.
  std::atomic<std::uint64_t> sendsDropped{0};
  std::atomic<std::uint64_t> inputDropped{0};

 Q_SIGNALS:
  // A frame went out (the Tx lamp). Emitted on the link's thread, which
  // writes every frame.
  void packetSent();
  // The device stopped answering (unplugged adapter, closed peer); it has been
  // closed. Emitted once per loss.
  void deviceLost(const QString& message);
  // More input waited than one poll takes; total is every byte dropped so far.
  void inputOverflow(std::uint64_t total);

 private:
  enum class SendResult { Written, TooSoon, Dropped };
  struct Handover;
  // Writes a frame on the link's thread, pacing it; without mayWait a frame
  // that is due later is not written (TooSoon).
  SendResult writeFrame(const std::uint8_t* frame, int size, bool mayWait);
  void handOver(const std::uint8_t* frame, int size);
  void reportLost();
  void resetParser();
  // One read of at most max bytes into raw; 0 when nothing came.
  int readChunk(std::int64_t max);

  SerialDevice& device_;
  Clock& clock_;
  std::mutex portLock_;
  std::mutex sendLock_;
  std::int64_t lastSendMs_ = 0;
  bool anySent_ = false;
  std::atomic<bool> lost_{false};
  bool reading_ = false;
  QString deviceName_;
  Deframer deframer_;
  std::mutex handoverLock_;
  std::condition_variable handoverDone_;
  bool handoversCancelled_ = false;
};

}  // namespace halvix::link
