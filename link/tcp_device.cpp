#include "link/tcp_device.h"

#include <QDebug>
#include <QSignalBlocker>
#include <QTcpSocket>
#include <algorithm>
#include <cstring>

namespace halvix::link {

TcpDevice::TcpDevice(Clock* clock, QObject* parent) : QObject(parent), clock_(clock) {
  if (clock_ == nullptr) {
    ownClock_ = std::make_unique<SystemClock>();
    clock_ = ownClock_.get();
  }
}

TcpDevice::~TcpDevice() { close(); }

void TcpDevice::log(const QString& text) const {
  qWarning().noquote() << QStringLiteral("Serial server %1: %2").arg(address_.url(), text);
}

bool TcpDevice::connected() const {
  return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

bool TcpDevice::startConnect(const QString& name) {
  QString error;
  const std::optional<NetworkPortAddress> a = parseNetworkPort(name, &error);
  if (!a) {
    lastError_ = error;
    return false;
  }
  if (a->protocol != protocol()) {
    lastError_ = QStringLiteral("'%1' names another kind of serial server").arg(name);
    return false;
  }
  address_ = *a;
  if (!socket_) {
    socket_ = std::make_unique<QTcpSocket>();
    socket_->setReadBufferSize(kInputCap);
    connect(socket_.get(), &QTcpSocket::connected, this, &TcpDevice::onConnected);
    connect(socket_.get(), &QTcpSocket::errorOccurred, this, &TcpDevice::onSocketError);
    connect(socket_.get(), &QTcpSocket::disconnected, this, &TcpDevice::onSocketError);
    // Telnet answers and acknowledgements are read as they come, not only
    // when the link polls.
    connect(socket_.get(), &QTcpSocket::readyRead, this, &TcpDevice::pump);
  }
  {
    const QSignalBlocker quiet(socket_.get());
    socket_->abort();
  }
  input_.clear();
  sessionUp_ = false;
  lost_ = false;
  lastError_.clear();
  socket_->connectToHost(address_.host, address_.port);
  return true;
}

bool TcpDevice::open(const QString& name) {
  close();
  if (!startConnect(name)) {
    qWarning().noquote() << lastError_;
    return false;
  }
  if (!connected() && !socket_->waitForConnected(kOpenWaitMs) && lastError_.isEmpty()) {
    lastError_ = QStringLiteral("no answer within %1 s").arg(kOpenWaitMs / 1000);
  }
  if (!connected()) {
    if (lastError_.isEmpty()) lastError_ = socket_->errorString();
    if (loggedError_ != lastError_) log(lastError_);
    loggedError_ = lastError_;
    close();
    return false;
  }
  return true;
}

bool TcpDevice::reopen(const QString& name) {
  if (connected() && !lost_) {
    if (!sessionUp_) onConnected();
    return true;
  }
  // An attempt still under way is left to finish; the next try finds it.
  if (socket_ && (socket_->state() == QAbstractSocket::HostLookupState ||
                  socket_->state() == QAbstractSocket::ConnectingState)) {
    return false;
  }
  if (!startConnect(name)) {
    if (loggedError_ != lastError_) qWarning().noquote() << lastError_;
    loggedError_ = lastError_;
    return false;
  }
  // A server on this machine answers at once; anything else by the next try.
  if (socket_->state() == QAbstractSocket::ConnectingState) socket_->waitForConnected(kReopenWaitMs);
  return connected() && !lost_;
}

void TcpDevice::onConnected() {
  if (sessionUp_ || !connected()) return;
  sessionUp_ = true;
  socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  socket_->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
  lost_ = false;
  lastError_.clear();
  loggedError_.clear();
  sessionStarted();
}

void TcpDevice::onSocketError() {
  if (!socket_) return;
  const bool wasUp = sessionUp_;
  const QString reason = socket_->error() == QAbstractSocket::RemoteHostClosedError
                             ? QStringLiteral("the server closed the connection")
                             : socket_->errorString();
  if (socket_->state() == QAbstractSocket::ConnectedState) return;  // a passing error
  lastError_ = reason;
  if (wasUp) {
    lost_ = true;
    sessionUp_ = false;
    // Told at once, so a loss while a modal box is open is not left for the poll tick.
    notifyLost();
  }
  // A refusal repeated every try is logged once.
  if (loggedError_ != reason) {
    loggedError_ = reason;
    log(reason);
  }
}

bool TcpDevice::isOpen() const { return socket_ && socket_->state() != QAbstractSocket::UnconnectedState; }

void TcpDevice::pump() {
  if (pumping_ || !socket_) return;
  pumping_ = true;
  // Outside the event loop the socket fills its buffer only when asked.
  if (socket_->bytesAvailable() == 0 && connected()) socket_->waitForReadyRead(0);
  while (input_.size() < kInputCap && socket_->bytesAvailable() > 0) {
    const qint64 room = kInputCap - input_.size();
    takeIncoming(socket_->read(std::min(socket_->bytesAvailable(), room)));
  }
  checkDeadlines();
  pumping_ = false;
}

std::int64_t TcpDevice::bytesWaiting() {
  if (!socket_) return -1;
  pump();
  if (!input_.isEmpty()) return input_.size();
  if (lost_ || !connected()) return -1;
  return 0;
}

std::int64_t TcpDevice::read(std::uint8_t* buffer, std::int64_t max) {
  if (input_.isEmpty()) pump();
  const qint64 n = std::min<qint64>(std::max<std::int64_t>(max, 0), input_.size());
  if (n == 0) return (lost_ || !connected()) ? -1 : 0;
  std::memcpy(buffer, input_.constData(), static_cast<std::size_t>(n));
  input_.remove(0, n);
  return n;
}

QByteArray TcpDevice::wireBytes(const std::uint8_t* data, std::int64_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

bool TcpDevice::sendWire(const QByteArray& bytes) {
  if (!connected() || lost_) return false;
  socket_->write(bytes);
  // Out now: the event loop may not run before the next send.
  socket_->flush();
  return true;
}

std::int64_t TcpDevice::write(const std::uint8_t* data, std::int64_t size) {
  if (!connected() || lost_) return -1;
  if (socket_->bytesToWrite() > kOutputCap) {
    // A server that takes nothing must not grow Halvix's memory.
    if (!outputFullLogged_) log(QStringLiteral("the server takes no data; frames are dropped"));
    outputFullLogged_ = true;
    return 0;
  }
  outputFullLogged_ = false;
  return sendWire(wireBytes(data, size)) ? size : -1;
}

bool TcpDevice::drain() {
  if (!connected() || lost_) return false;
  socket_->flush();
  while (socket_->bytesToWrite() > 0) {
    if (!socket_->waitForBytesWritten(kDrainWaitMs)) return false;
  }
  return true;
}

void TcpDevice::purge() {
  input_.clear();
  if (!socket_ || lost_) return;
  // What waits is read through the protocol (it may hold answers) and dropped.
  do {
    pump();
    input_.clear();
  } while (socket_->bytesAvailable() > 0);
}

void TcpDevice::setLineStatus(const QString& text) {
  lineStatus_ = text;
  Q_EMIT lineStatusChanged(text);
}

bool TcpDevice::setLine(const LineSettings&) {
  if (!rawNoticeGiven_) {
    log(QStringLiteral("raw TCP carries no line settings, BREAK or RTS; the server's own line settings apply"));
    rawNoticeGiven_ = true;
  }
  setLineStatus(QStringLiteral("raw TCP"));
  return false;
}

bool TcpDevice::setBreak(bool) { return false; }

bool TcpDevice::setRts(bool) { return false; }

void TcpDevice::close() {
  input_.clear();
  sessionUp_ = false;
  if (!socket_) return;
  // Our own hang-up is no loss to report.
  const QSignalBlocker quiet(socket_.get());
  socket_->abort();
}

}  // namespace halvix::link
