// Serial server names: what is accepted, what is refused and why, and which
// device a port name gets.
#include <gtest/gtest.h>

#include "link/network_port.h"
#include "link/qt_serial_device.h"
#include "link/rfc2217_device.h"
#include "link/tcp_device.h"

using namespace halvix::link;

TEST(NetworkPortName, WellFormedAddressesAreRead) {
  struct Case {
    const char* name;
    NetworkProtocol protocol;
    const char* host;
    int port;
    const char* url;
  };
  const Case cases[] = {
      {"rfc2217://127.0.0.1:2000", NetworkProtocol::Rfc2217, "127.0.0.1", 2000, "rfc2217://127.0.0.1:2000"},
      {"tcp://localhost:4001", NetworkProtocol::RawTcp, "localhost", 4001, "tcp://localhost:4001"},
      {"RFC2217://[::1]:65535/", NetworkProtocol::Rfc2217, "::1", 65535, "rfc2217://[::1]:65535"},
      {"tcp://[fe80::1%eth0]:1", NetworkProtocol::RawTcp, "fe80::1%eth0", 1, "tcp://[fe80::1%eth0]:1"},
      {"rfc2217://gps-rack.lab.example.:02001", NetworkProtocol::Rfc2217, "gps-rack.lab.example.", 2001,
       "rfc2217://gps-rack.lab.example.:2001"},
  };
  for (const Case& c : cases) {
    QString error;
    const auto a = parseNetworkPort(QString::fromLatin1(c.name), &error);
    ASSERT_TRUE(a) << c.name << ": " << error.toStdString();
    EXPECT_EQ(a->protocol, c.protocol) << c.name;
    EXPECT_EQ(a->host, QString::fromLatin1(c.host)) << c.name;
    EXPECT_EQ(a->port, c.port) << c.name;
    EXPECT_EQ(a->url(), QString::fromLatin1(c.url)) << c.name;
  }
}

TEST(NetworkPortName, MalformedAddressesAreRefusedWithTheReason) {
  struct Case {
    const char* name;
    const char* reason;  // a word the message must hold
  };
  const Case cases[] = {
      {"rfc2217://", "port"},
      {"rfc2217://host", "port"},
      {"rfc2217://host:", "port"},
      {"rfc2217://:2000", "host"},
      {"rfc2217://host:0", "1 to 65535"},
      {"rfc2217://host:65536", "1 to 65535"},
      {"rfc2217://host:4294969296", "1 to 65535"},  // wraps to 2000 in 32 bits
      {"rfc2217://host:-1", "1 to 65535"},
      {"rfc2217://host:20x0", "1 to 65535"},
      {"tcp://::1:2000", "brackets"},
      {"tcp://[::1:2000", "]"},
      {"tcp://[::1]2000", "port"},
      {"tcp://[127.0.0.1]:2000", "IPv6"},
      {"tcp://user@host:2000", "user"},
      {"tcp://host:2000/path", "HOST:PORT"},
      {"tcp://ho st:2000", "host name"},
      {"tcp://-host:2000", "host name"},
      {"tcp://a..b:2000", "host name"},
      {"telnet://host:2000", "rfc2217://"},
  };
  for (const Case& c : cases) {
    QString error;
    EXPECT_FALSE(parseNetworkPort(QString::fromLatin1(c.name), &error)) << c.name;
    EXPECT_TRUE(error.contains(QString::fromLatin1(c.name))) << "names what was given: " << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromLatin1(c.reason))) << c.name << ": " << error.toStdString();
  }
  QString longName = QStringLiteral("tcp://") + QString(300, QLatin1Char('a')) + QStringLiteral(":1");
  EXPECT_FALSE(parseNetworkPort(longName));
}

TEST(NetworkPortName, EachNameGetsItsDevice) {
  EXPECT_NE(dynamic_cast<QtSerialDevice*>(makeDeviceForPort(QStringLiteral("/dev/ttyUSB0")).get()), nullptr);
  EXPECT_NE(dynamic_cast<QtSerialDevice*>(makeDeviceForPort(QStringLiteral("tcp.log")).get()), nullptr);
  EXPECT_NE(dynamic_cast<Rfc2217Device*>(makeDeviceForPort(QStringLiteral("rfc2217://h:1")).get()), nullptr);
  auto raw = makeDeviceForPort(QStringLiteral("TCP://h:1"));
  EXPECT_NE(dynamic_cast<TcpDevice*>(raw.get()), nullptr);
  EXPECT_EQ(dynamic_cast<Rfc2217Device*>(raw.get()), nullptr);
  // A malformed name still opens a network device, whose open gives the reason.
  auto bad = makeDeviceForPort(QStringLiteral("rfc2217://nohost"));
  ASSERT_NE(dynamic_cast<Rfc2217Device*>(bad.get()), nullptr);
  EXPECT_FALSE(bad->open(QStringLiteral("rfc2217://nohost")));
  EXPECT_TRUE(dynamic_cast<Rfc2217Device*>(bad.get())->lastError().contains(QStringLiteral("rfc2217://nohost")));
}
