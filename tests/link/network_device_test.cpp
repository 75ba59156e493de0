// The serial server devices against a scripted peer on loopback: telnet
// negotiation, the COM-PORT messages and their acknowledgements, 0xFF both
// ways, and what a broken, silent or vanished server does to the session.
// The bounded waits run on virtual time; only socket delivery is real.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <memory>

#include "session/receiver_session.h"
#include "session/scheduler.h"
#include "link/rfc2217_device.h"
#include "link/serial_link.h"
#include "link/tcp_device.h"
#include "link/telnet_codec.h"
#include "tests/support/wait_for.h"
#include "tests/support/wire_frames.h"

using namespace halvix::link;
using namespace halvix::link::telnet;

namespace {

constexpr auto& B = halvix::testing::WireBytes;

using halvix::testing::WaitFor;

// The server end: what the device sent, split into telnet events and data.
class ScriptedPeer {
 public:
  ScriptedPeer() { listening = server.listen(QHostAddress::LocalHost, 0); }
  QString url(const char* scheme) const {
    return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(server.serverPort());
  }
  bool accept() {
    if (!WaitFor([this] { return server.hasPendingConnections() || server.waitForNewConnection(5); })) return false;
    peer.reset(server.nextPendingConnection());
    return peer != nullptr;
  }
  // Reads what arrived into the decoded stream.
  void take() {
    if (!peer) return;
    peer->waitForReadyRead(5);
    const QByteArray bytes = peer->readAll();
    wire += bytes;
    decoder.feed(bytes, data, [this](const Event& e) { events.push_back(e); });
  }
  bool waitForEvent(const std::function<bool(const Event&)>& match) {
    return WaitFor([&] {
      take();
      for (const Event& e : events) {
        if (match(e)) return true;
      }
      return false;
    });
  }
  bool waitForData(const QByteArray& want) {
    return WaitFor([&] {
      take();
      return data.contains(want);
    });
  }
  std::vector<QByteArray> comPortMessages() const {
    std::vector<QByteArray> out;
    for (const Event& e : events) {
      if (e.kind == Event::Kind::Subnegotiation && e.option == kOptionComPort) out.push_back(e.payload);
    }
    return out;
  }
  void send(const QByteArray& bytes) {
    peer->write(bytes);
    peer->flush();
  }

  QTcpServer server;
  bool listening = false;
  std::unique_ptr<QTcpSocket> peer;
  Decoder decoder;
  QByteArray wire;
  QByteArray data;
  std::vector<Event> events;
};

bool isNegotiation(const Event& e, std::uint8_t command, std::uint8_t option) {
  return e.kind == Event::Kind::Negotiation && e.command == command && e.option == option;
}

// Reads what the device holds into out until it holds want.
bool readUntil(SerialDevice& device, QByteArray& out, const QByteArray& want) {
  return WaitFor([&] {
    std::uint8_t buffer[512];
    if (device.bytesWaiting() > 0) {
      const auto n = device.read(buffer, sizeof buffer);
      if (n > 0) out.append(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(n));
    }
    return out.contains(want);
  });
}

class Rfc2217DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer.listening);
    ASSERT_TRUE(device.open(peer.url("rfc2217")));
    ASSERT_TRUE(peer.accept());
  }
  // The server agrees to the COM port option and BINARY, and offers ECHO too.
  void agree() {
    peer.send(Negotiation(kDo, kOptionComPort) + Negotiation(kWill, kOptionBinary) +
              Negotiation(kDo, kOptionBinary) + Negotiation(kWill, 1));
    ASSERT_TRUE(WaitFor([this] {
      device.bytesWaiting();
      return device.comPortAgreed();
    }));
  }
  void ackLine(int baud, int bits, int parity, int stop) {
    peer.send(Subnegotiation(kOptionComPort, B({101, (baud >> 24) & 0xFF, (baud >> 16) & 0xFF, (baud >> 8) & 0xFF,
                                                 baud & 0xFF})) +
              Subnegotiation(kOptionComPort, B({102, bits})) + Subnegotiation(kOptionComPort, B({103, parity})) +
              Subnegotiation(kOptionComPort, B({104, stop})));
  }

  VirtualClock clock{0};
  ScriptedPeer peer;
  Rfc2217Device device{&clock};
};

}  // namespace

TEST_F(Rfc2217DeviceTest, NegotiatesTheOptionsAndSendsTheLineOnlyOnceTheServerAgrees) {
  ASSERT_TRUE(device.setLine({9600, 8, Parity::None, StopBits::One}));
  ASSERT_TRUE(device.setBreak(true));
  // The client asks for BINARY both ways, SUPPRESS-GO-AHEAD and the COM port option.
  ASSERT_TRUE(peer.waitForEvent([](const Event& e) { return isNegotiation(e, kWill, kOptionComPort); }));
  for (auto [command, option] : {std::pair{kWill, kOptionBinary}, std::pair{kDo, kOptionBinary},
                                 std::pair{kWill, kOptionSuppressGoAhead}, std::pair{kDo, kOptionSuppressGoAhead}}) {
    EXPECT_TRUE(std::any_of(peer.events.begin(), peer.events.end(),
                            [&](const Event& e) { return isNegotiation(e, command, option); }))
        << int(command) << " " << int(option);
  }
  EXPECT_TRUE(peer.comPortMessages().empty()) << "nothing of the option before the server agrees";

  agree();
  // ECHO is refused; the settings follow in the order servers expect, then the control lines.
  ASSERT_TRUE(peer.waitForEvent([](const Event& e) { return isNegotiation(e, kDont, 1); }));
  ASSERT_TRUE(WaitFor([&] {
    peer.take();
    return peer.comPortMessages().size() >= 8;
  }));
  const std::vector<QByteArray> sent = peer.comPortMessages();
  EXPECT_EQ(sent[0], B({1, 0x00, 0x00, 0x25, 0x80}));
  EXPECT_EQ(sent[1], B({2, 8}));
  EXPECT_EQ(sent[2], B({3, 1}));
  EXPECT_EQ(sent[3], B({4, 1}));
  EXPECT_EQ(sent.back(), B({5, kControlBreakOn})) << "the BREAK asked before agreement comes last";

  // The server says what it took; that is what the status shows.
  QStringList shown;
  QObject::connect(&device, &TcpDevice::lineStatusChanged, [&shown](const QString& s) { shown << s; });
  ackLine(4800, 8, 1, 1);
  ASSERT_TRUE(WaitFor([&] {
    device.bytesWaiting();
    return !shown.isEmpty();
  }));
  EXPECT_EQ(shown.back(), QStringLiteral("4800, 8-None-1"));
}

TEST_F(Rfc2217DeviceTest, AnAcknowledgementThatNeverComesEndsABoundedWaitAndTheSessionGoesOn) {
  agree();
  ASSERT_TRUE(device.setLine({19200, 8, Parity::Odd, StopBits::One}));
  ASSERT_TRUE(device.setBreak(true));
  ASSERT_TRUE(device.setBreak(false));
  // Only the baud rate and the data size are answered; SET-CONTROL never is.
  peer.send(Subnegotiation(kOptionComPort, B({101, 0, 0, 0x4B, 0})) + Subnegotiation(kOptionComPort, B({102, 8})));
  ASSERT_TRUE(WaitFor([&] {
    device.bytesWaiting();
    return device.takenLine().dataBits.has_value();
  }));
  EXPECT_TRUE(device.lineStatus().isEmpty()) << "still waiting for the rest";
  clock.advance(Rfc2217Device::kAckWaitMs);
  EXPECT_EQ(device.bytesWaiting(), 0);
  EXPECT_EQ(device.lineStatus(), QStringLiteral("19200, 8-?-?"));

  // Data still flows both ways.
  const std::uint8_t frame[] = {0x10, 0x1F, 0x10, 0x03};
  EXPECT_EQ(device.write(frame, sizeof frame), 4);
  EXPECT_TRUE(peer.waitForData(B({0x10, 0x1F, 0x10, 0x03})));
  peer.send(B({0x10, 0x45, 0x10, 0x03}));
  QByteArray got;
  EXPECT_TRUE(readUntil(device, got, B({0x10, 0x45, 0x10, 0x03})));
}

TEST_F(Rfc2217DeviceTest, ByteFFCrossesAsIacIacBothWaysEvenCutAcrossReads) {
  agree();
  const QByteArray payload = B({0x10, 0x8F, 0xAB, 0xFF, 0xFF, 0x00, 0xFF, 0x10, 0x03});
  ASSERT_EQ(device.write(reinterpret_cast<const std::uint8_t*>(payload.constData()), payload.size()),
            payload.size());
  ASSERT_TRUE(peer.waitForData(payload));
  EXPECT_TRUE(peer.wire.contains(B({0xAB, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0x10})));

  // The server doubles them too, and a read may end between the two halves.
  const QByteArray wire = B({0x10, 0x5F, 0xFF, 0xFF, 0x01, 0xFF});
  peer.send(wire);
  QByteArray got;
  ASSERT_TRUE(readUntil(device, got, B({0x10, 0x5F, 0xFF, 0x01})));
  peer.send(B({0xFF, 0x10, 0x03}));
  ASSERT_TRUE(readUntil(device, got, B({0x10, 0x5F, 0xFF, 0x01, 0xFF, 0x10, 0x03})));
  EXPECT_EQ(got, B({0x10, 0x5F, 0xFF, 0x01, 0xFF, 0x10, 0x03}));
}

TEST_F(Rfc2217DeviceTest, TheBreakSequenceRunsThroughTheServer) {
  // A receiver session of its own on the server, on the fixture's clock.
  halvix::session::VirtualScheduler scheduler{clock};
  auto own = std::make_unique<Rfc2217Device>(&clock);
  Rfc2217Device& server = *own;
  halvix::session::SessionOptions options;
  options.port = peer.url("rfc2217");
  halvix::session::ReceiverSession session(std::move(own), scheduler, options);
  ASSERT_TRUE(session.start());
  ASSERT_TRUE(peer.accept());
  peer.send(Negotiation(kDo, kOptionComPort) + Negotiation(kWill, kOptionBinary) + Negotiation(kDo, kOptionBinary));
  ASSERT_TRUE(WaitFor([&] {
    server.bytesWaiting();
    return server.comPortAgreed();
  }));
  // The receiver answers the BREAK with its settings line at 19200 baud.
  bool answered = false;
  for (int step = 0; step < 60 && session.state() != halvix::session::SessionState::Polling; ++step) {
    if (!answered && session.negotiating() && session.breakCountdown() == 7) {
      peer.send(QByteArrayLiteral("PR;x,1,y,19200,8,1,N,z"));
      ASSERT_TRUE(WaitFor([&] { return server.bytesWaiting() > 0; }));
      answered = true;
    }
    scheduler.advance(200);
  }
  ASSERT_EQ(session.state(), halvix::session::SessionState::Polling);
  EXPECT_EQ(session.negotiatedSettings().baudCode, 8);
  ASSERT_TRUE(WaitFor([&] {
    peer.take();
    const auto sent = peer.comPortMessages();
    return std::count(sent.begin(), sent.end(), B({1, 0, 0, 0x4B, 0})) == 1;
  }));
  const auto sent = peer.comPortMessages();
  const auto at = [&](const QByteArray& m) { return std::find(sent.begin(), sent.end(), m) - sent.begin(); };
  EXPECT_LT(at(B({5, kControlBreakOn})), at(B({5, kControlBreakOff})));
  EXPECT_LT(at(B({5, kControlBreakOff})), at(B({1, 0, 0, 0x4B, 0}))) << "BREAK, then the new line settings";
}

TEST_F(Rfc2217DeviceTest, GarbageAndAnEndlessSubnegotiationCostNeitherTheSessionNorMemory) {
  agree();
  QByteArray junk = B({0xFF, 0xF0, 0xFF, 0xFA});  // a stray end, then a start that never ends
  junk += QByteArray(64 * 1024, '\x2A');
  peer.send(junk);
  peer.send(B({0x10, 0x41, 0x10, 0x03}));
  QByteArray got;
  ASSERT_TRUE(readUntil(device, got, B({0x10, 0x41, 0x10, 0x03})));
  EXPECT_GE(device.brokenSequences(), 2);
  EXPECT_LT(got.size(), junk.size()) << "the endless subnegotiation is bounded, then dropped";
  EXPECT_TRUE(device.isOpen());
}

TEST_F(Rfc2217DeviceTest, AServerThatSpeaksNoTelnetIsTakenAsRawAfterTheWait) {
  peer.send(B({0x10, 0x41, 0x10, 0x03}));  // data at once, no negotiation at all
  QByteArray got;
  ASSERT_TRUE(readUntil(device, got, B({0x10, 0x41, 0x10, 0x03})));
  clock.advance(Rfc2217Device::kNegotiationWaitMs);
  device.bytesWaiting();
  EXPECT_TRUE(device.rawFallback());
  EXPECT_EQ(device.lineStatus(), QStringLiteral("no RFC 2217"));
  EXPECT_FALSE(device.setLine({9600, 8, Parity::Odd, StopBits::One}));
  // 0xFF now goes as it is: doubling it would corrupt every frame.
  const std::uint8_t frame[] = {0x10, 0xFF, 0x10, 0x03};
  device.write(frame, sizeof frame);
  ASSERT_TRUE(WaitFor([&] {
    peer.take();
    return peer.wire.endsWith(B({0x10, 0xFF, 0x10, 0x03}));
  }));
  EXPECT_FALSE(peer.wire.contains(B({0xFF, 0xFF})));
}

TEST_F(Rfc2217DeviceTest, ADroppedConnectionIsALossAndANewTryConnectsAgain) {
  agree();
  // The owner hears of the loss from the device itself, before it asks anything.
  int told = 0;
  device.setLostCallback([&] { ++told; });
  peer.peer->close();
  ASSERT_TRUE(WaitFor([&] { return told > 0; }));
  EXPECT_EQ(told, 1);
  ASSERT_TRUE(WaitFor([&] { return device.bytesWaiting() < 0; }));
  EXPECT_EQ(device.read(nullptr, 0), -1);
  const std::uint8_t b = 0x10;
  EXPECT_EQ(device.write(&b, 1), -1);
  device.close();

  // Back: a new try finds it (at once or on a later try) and greets it again.
  const QString url = peer.url("rfc2217");
  ASSERT_TRUE(WaitFor([&] { return device.reopen(url); }));
  ASSERT_TRUE(peer.accept());
  peer.events.clear();
  EXPECT_TRUE(peer.waitForEvent([](const Event& e) { return isNegotiation(e, kWill, kOptionComPort); }));
}

TEST(NetworkDevice, ARefusedConnectionOrABadNameFailsTheOpenWithTheReason) {
  quint16 closedPort = 0;
  {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    closedPort = probe.serverPort();
  }
  Rfc2217Device device;
  EXPECT_FALSE(device.open(QStringLiteral("rfc2217://127.0.0.1:%1").arg(closedPort)));
  EXPECT_TRUE(device.lastError().contains(QStringLiteral("refused"), Qt::CaseInsensitive))
      << device.lastError().toStdString();
  EXPECT_EQ(device.bytesWaiting(), -1);
  EXPECT_FALSE(device.reopen(QStringLiteral("rfc2217://127.0.0.1:%1").arg(closedPort)));

  TcpDevice raw;
  EXPECT_FALSE(raw.open(QStringLiteral("tcp://127.0.0.1")));
  EXPECT_TRUE(raw.lastError().contains(QStringLiteral("port")));
  EXPECT_FALSE(raw.open(QStringLiteral("rfc2217://127.0.0.1:2000"))) << "a raw device serves tcp:// only";
}

TEST(NetworkDevice, RawTcpPassesBytesAsTheyAreAndSaysTheLineStaysAtTheServer) {
  ScriptedPeer peer;
  ASSERT_TRUE(peer.listening);
  TcpDevice device;
  ASSERT_TRUE(device.open(peer.url("tcp")));
  ASSERT_TRUE(peer.accept());
  EXPECT_FALSE(device.setLine({9600, 8, Parity::Odd, StopBits::One}));
  EXPECT_FALSE(device.setBreak(true));
  EXPECT_FALSE(device.setRts(true));
  EXPECT_EQ(device.lineStatus(), QStringLiteral("raw TCP"));

  const QByteArray frame = B({0x10, 0xFF, 0xFF, 0x0D, 0x00, 0x10, 0x03});
  device.write(reinterpret_cast<const std::uint8_t*>(frame.constData()), frame.size());
  ASSERT_TRUE(device.drain());
  ASSERT_TRUE(WaitFor([&] {
    peer.peer->waitForReadyRead(5);
    peer.wire += peer.peer->readAll();
    return peer.wire.size() >= frame.size();
  }));
  EXPECT_EQ(peer.wire, frame);
  peer.send(frame);
  QByteArray got;
  ASSERT_TRUE(readUntil(device, got, frame));
  EXPECT_EQ(got, frame);

  // Purge drops what waits.
  peer.send(B({1, 2, 3}));
  ASSERT_TRUE(WaitFor([&] { return device.bytesWaiting() == 3; }));
  device.purge();
  EXPECT_EQ(device.bytesWaiting(), 0);
}
