// SerialDevice over a TCP connection to a serial server that passes the bytes
// as they are (tcp://HOST:PORT). The line settings, BREAK and RTS stay at the
// server: the device says so once and lets the break sequence go on without
// them. The base of the RFC 2217 device, which adds telnet on top.
//
// Driven by the socket's signals on the owning thread: nothing busy-waits,
// and the only blocking waits are bounded (the first connect, drain).
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

#include "link/clock.h"
#include "link/network_port.h"
#include "link/serial_device.h"

class QTcpSocket;

namespace halvix::link {

class TcpDevice : public QObject, public SerialDevice {
  Q_OBJECT

 public:
  // The first connect waits at most this long; a server that does not answer
  // by then fails the open with the reason.
  static constexpr int kOpenWaitMs = 3000;
  // A new try (every 2 s while disconnected) waits at most this long, so a
  // server that drops the attempt never stalls the window.
  static constexpr int kReopenWaitMs = 100;
  // drain() gives up when the server takes nothing for this long.
  static constexpr int kDrainWaitMs = 1000;
  // Received data waiting to be read, and output the server has not taken:
  // past these the socket is left alone and TCP holds the server back.
  static constexpr qint64 kInputCap = 256 * 1024;
  static constexpr qint64 kOutputCap = 256 * 1024;

  // clock paces the bounded waits for server answers; null means the wall clock.
  explicit TcpDevice(Clock* clock = nullptr, QObject* parent = nullptr);
  ~TcpDevice() override;

  bool open(const QString& name) override;
  bool isOpen() const override;
  bool setLine(const LineSettings& line) override;
  std::int64_t bytesWaiting() override;
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override;
  std::int64_t write(const std::uint8_t* data, std::int64_t size) override;
  bool drain() override;
  void purge() override;
  bool setBreak(bool on) override;
  bool setRts(bool on) override;
  void close() override;
  // A new try that waits at most kReopenWaitMs; a host name still being looked
  // up, or a server slow to answer, is found connected on a later try.
  bool reopen(const QString& name) override;

  // The address last opened, and why the last open or connection failed.
  const NetworkPortAddress& address() const { return address_; }
  const QString& lastError() const { return lastError_; }
  // What the line runs at as far as the server says: "9600, 8-Odd-1", or why
  // there is no such word ("raw TCP"); empty until known.
  const QString& lineStatus() const { return lineStatus_; }

 Q_SIGNALS:
  // lineStatus() changed; the status bar shows it after the port's name.
  void lineStatusChanged(const QString& text);

 protected:
  // The connection is up (first time or again): a protocol greets the server.
  virtual void sessionStarted() {}
  // Bytes as received; the raw device keeps them all as data.
  virtual void takeIncoming(const QByteArray& bytes) { input_.append(bytes); }
  // Data as it goes on the wire.
  virtual QByteArray wireBytes(const std::uint8_t* data, std::int64_t size);
  // Called on each pump: bounded waits for the server end here.
  virtual void checkDeadlines() {}
  // The scheme this device serves; a name of the other scheme is refused.
  virtual NetworkProtocol protocol() const { return NetworkProtocol::RawTcp; }

  // Writes protocol bytes now; false when the connection is not up.
  bool sendWire(const QByteArray& bytes);
  bool connected() const;
  void setLineStatus(const QString& text);
  // Writes "Serial server URL: text" to the log.
  void log(const QString& text) const;
  std::int64_t nowMs() const { return clock_->nowMs(); }

  QByteArray input_;  // data waiting to be read

 private:
  bool startConnect(const QString& name);
  // Moves what the socket holds through takeIncoming, up to kInputCap.
  void pump();
  void onSocketError();
  void onConnected();

  std::unique_ptr<Clock> ownClock_;
  Clock* clock_;
  std::unique_ptr<QTcpSocket> socket_;
  NetworkPortAddress address_;
  QString lastError_, lineStatus_;
  QString loggedError_;  // a failure that repeats every try is logged once
  bool lost_ = false, pumping_ = false, sessionUp_ = false;
  bool rawNoticeGiven_ = false, outputFullLogged_ = false;
};

}  // namespace halvix::link
