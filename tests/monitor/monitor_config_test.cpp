#include <gtest/gtest.h>

#include "monitor/monitor_config.h"

using namespace halvix::monitor;

namespace {

ConfigResult Parse(const char* text) { return ParseMonitorConfig(text, QStringLiteral("m.toml")); }

}  // namespace

TEST(MonitorConfig, ReadsReceiversAndTheAddressWithDefaults) {
  const auto r = Parse(R"([http]
listen = "0.0.0.0:9500"

[[receiver]]
name = "gpsdo-1"
port = "/dev/ttyUSB0"
type = "corvel"
record = "/var/lib/halvix/gpsdo-1"

[[receiver]]
name = "lab \"b\""
port = "sim:brisel"
retention = 7
)");
  ASSERT_TRUE(r.config) << r.error.toStdString();
  EXPECT_EQ(r.config->listen.text(), QStringLiteral("0.0.0.0:9500"));
  ASSERT_EQ(r.config->receivers.size(), 2u);
  const ReceiverConfig& a = r.config->receivers[0];
  EXPECT_EQ(a.record, QStringLiteral("/var/lib/halvix/gpsdo-1"));
  EXPECT_EQ(a.retentionDays, 30);
  EXPECT_EQ(a.line, 4);
  const ReceiverConfig& b = r.config->receivers[1];
  EXPECT_EQ(b.name, QStringLiteral("lab \"b\""));
  EXPECT_TRUE(b.type.isEmpty());
  EXPECT_EQ(b.retentionDays, 7);
}

TEST(MonitorConfig, AFileWithOnlyCommentsWatchesNothingOnLoopback) {
  const auto r = Parse("# nothing to watch yet\n");
  ASSERT_TRUE(r.config);
  EXPECT_TRUE(r.config->receivers.empty());
  EXPECT_EQ(r.config->listen.text(), QStringLiteral("127.0.0.1:9468"));
}

// Each refusal names the file, the line and what is wrong.
TEST(MonitorConfig, RefusesBadFilesNamingTheLine) {
  const struct {
    const char* text;
    const char* where;
    const char* what;
  } cases[] = {
      {"[[receiver]]\nname = \"a\"\nport = \"/dev/x\"\nspeed = 9600\n", "m.toml:4:", "unknown key \"speed\""},
      {"[[receiver]]\nname = \"a\"\n", "m.toml:1:", "receiver \"a\" has no port"},
      {"[[receiver]]\nport = \"/dev/x\"\n", "m.toml:1:", "without a name"},
      {"[[receiver]]\nname = \"a\"\nport = \"sim:corvel\"\n\n[[receiver]]\nname = \"a\"\nport = \"sim:corvel\"\n",
       "m.toml:5:", "duplicate receiver name \"a\" (first at line 1)"},
      {"[[receiver]]\nname = \"a\"\nport = \"/dev/x\"\n[[receiver]]\nname = \"b\"\nport = \"/dev/x\"\n",
       "m.toml:4:", "already used"},
      {"[http]\nlisten = \"127.0.0.1:99999\"\n", "m.toml:2:", "1 to 65535"},
      {"[http]\nlisten = \"gpsbox:9468\"\n", "m.toml:2:", "not an IP address"},
      {"[http]\nlisten = \"127.0.0.1\"\n", "m.toml:2:", "ADDRESS:PORT"},
      {"[http]\nport = 1\n", "m.toml:2:", "unknown key \"port\" in [http]"},
      {"[receiver]\nname = \"a\"\n", "m.toml:1:", "[[receiver]]"},
      {"[[receiver]]\nname = \"a\"\nport = \"sim:garmin\"\n", "m.toml:1:", "unknown simulated receiver type"},
      {"[[receiver]]\nname = \"a\"\nport = \"COM300\"\n", "m.toml:1:", "outside 1 to 255"},
      {"[[receiver]]\nname = \"a\"\nport = \"tcp://host\"\n", "m.toml:1:", "port number is missing"},
      {"[[receiver]]\nname = \"a\"\nport = \"/dev/x\"\ntype = \"gps\"\n", "m.toml:1:", "unknown type \"gps\""},
      {"[[receiver]]\nname = \"a\"\nport = \"/dev/x\"\nretention = 0\n", "m.toml:4:", "retention"},
      {"[[receiver]]\nname = \"a\"\nport = 3\n", "m.toml:3:", "port must be a string"},
      {"[[receiver]]\nname = \"a\nport = \"/dev/x\"\n", "m.toml:2:", ""},
      {"listen = \"127.0.0.1:9468\"\n", "m.toml:1:", "unknown key \"listen\""},
  };
  for (const auto& c : cases) {
    const auto r = Parse(c.text);
    EXPECT_FALSE(r.config) << c.text;
    EXPECT_TRUE(r.error.startsWith(QString::fromLatin1(c.where))) << r.error.toStdString() << "\n" << c.text;
    EXPECT_TRUE(r.error.contains(QString::fromLatin1(c.what))) << r.error.toStdString();
  }
}

TEST(MonitorConfig, AMissingFileIsRefusedWithItsName) {
  const auto r = LoadMonitorConfig(QStringLiteral("/nonexistent/monitor.toml"));
  EXPECT_FALSE(r.config);
  EXPECT_TRUE(r.error.startsWith(QStringLiteral("/nonexistent/monitor.toml: cannot read"))) << r.error.toStdString();
}

TEST(MonitorConfig, ListenAddresses) {
  const struct {
    const char* text;
    const char* result;  // nullptr: refused
  } cases[] = {
      {"127.0.0.1:9468", "127.0.0.1:9468"}, {"localhost:80", "127.0.0.1:80"},
      {"[::1]:9468", "[::1]:9468"},         {"0.0.0.0:1", "0.0.0.0:1"},
      {"::1:9468", nullptr},                {"127.0.0.1:0", nullptr},
      {"127.0.0.1:x", nullptr},             {"[::1]9468", nullptr},
      {"", nullptr},                        {"300.1.1.1:80", nullptr},
  };
  for (const auto& c : cases) {
    const auto a = ParseListenAddress(QString::fromLatin1(c.text));
    if (c.result == nullptr) {
      EXPECT_FALSE(a) << c.text;
    } else {
      ASSERT_TRUE(a) << c.text;
      EXPECT_EQ(a->text(), QString::fromLatin1(c.result));
    }
  }
}
