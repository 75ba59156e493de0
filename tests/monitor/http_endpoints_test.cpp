#include <gtest/gtest.h>

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTimer>

#include "monitor/http_endpoints.h"
#include "session/scheduler.h"

using namespace halvix;
using namespace halvix::monitor;

namespace {

struct Reply {
  int status = 0;
  QByteArray contentType;
  QByteArray body;
};

class Endpoints : public ::testing::Test {
 protected:
  session::VirtualScheduler scheduler;
  Monitor monitor{scheduler};
  HttpEndpoints http{monitor};
  QNetworkAccessManager network;
  quint16 port = 0;

  void SetUp() override {
    ReceiverConfig r;
    r.name = QStringLiteral("gpsdo-1");
    r.port = QStringLiteral("sim:corvel");
    ASSERT_TRUE(monitor.addReceiver(r));
    monitor.start();
    scheduler.advance(20'000);
    port = http.listen(QHostAddress::LocalHost, 0);
    // Loopback only, whatever proxy the environment names.
    network.setProxy(QNetworkProxy::NoProxy);
    ASSERT_NE(port, 0);
  }

  Reply request(const QByteArray& method, const QString& path) {
    QNetworkRequest req(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)));
    QNetworkReply* reply = network.sendCustomRequest(req, method);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10'000, &loop, &QEventLoop::quit);
    loop.exec();
    Reply r;
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    r.body = reply->readAll();
    reply->deleteLater();
    return r;
  }
};

}  // namespace

TEST_F(Endpoints, ServeMetricsReceiversAndHealth) {
  const Reply metrics = request("GET", QStringLiteral("/metrics"));
  EXPECT_EQ(metrics.status, 200);
  EXPECT_TRUE(metrics.contentType.startsWith("text/plain; version=0.0.4")) << metrics.contentType.constData();
  EXPECT_TRUE(metrics.body.contains("halvix_receiver_up{receiver=\"gpsdo-1\"} 1\n"));

  const Reply receivers = request("GET", QStringLiteral("/receivers"));
  EXPECT_EQ(receivers.status, 200);
  const QJsonArray list = QJsonDocument::fromJson(receivers.body).array();
  ASSERT_EQ(list.size(), 1);
  const QJsonObject o = list.at(0).toObject();
  EXPECT_EQ(o.value(QStringLiteral("name")).toString(), QStringLiteral("gpsdo-1"));
  EXPECT_EQ(o.value(QStringLiteral("port")).toString(), QStringLiteral("sim:corvel"));
  EXPECT_TRUE(o.value(QStringLiteral("up")).toBool());
  EXPECT_TRUE(o.value(QStringLiteral("values")).toObject().contains(QStringLiteral("pps_offset_seconds")));
  EXPECT_FALSE(o.value(QStringLiteral("firmware")).toObject().value(QStringLiteral("application")).toString().isEmpty());

  const Reply health = request("GET", QStringLiteral("/healthz"));
  EXPECT_EQ(health.status, 200);
  EXPECT_EQ(health.body, QByteArray("ok\n"));
}

// Read-only: nothing but GET, and nothing but the three paths.
TEST_F(Endpoints, RefuseOtherMethodsAndPaths) {
  const struct {
    const char* method;
    const char* path;
    int status;
  } cases[] = {
      {"POST", "/metrics", 405}, {"PUT", "/receivers", 405}, {"DELETE", "/healthz", 405},
      {"GET", "/", 404},         {"GET", "/metrics/x", 404}, {"POST", "/reset", 404},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(request(c.method, QString::fromLatin1(c.path)).status, c.status) << c.method << ' ' << c.path;
  }
}

// A client that sends half a request and never reads holds up neither the
// receivers nor the next client.
TEST_F(Endpoints, AStuckClientDelaysNobody) {
  QTcpSocket stuck;
  stuck.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(stuck.waitForConnected(5000));
  stuck.write("GET /metrics HTTP/1.1\r\nHost: x\r\n");
  stuck.flush();
  const auto packets = monitor.session(0).packetsReceived();
  scheduler.advance(5000);
  EXPECT_GT(monitor.session(0).packetsReceived(), packets);
  EXPECT_EQ(request("GET", QStringLiteral("/healthz")).status, 200);
}
