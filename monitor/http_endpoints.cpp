#include "monitor/http_endpoints.h"

#include <QHttpServerRequest>
#include <QHttpServerResponse>

#include "monitor/exposition.h"

namespace halvix::monitor {

namespace {

using Status = QHttpServerResponse::StatusCode;

QHttpServerResponse MethodNotAllowed() {
  QHttpServerResponse response(QByteArrayLiteral("text/plain"), QByteArrayLiteral("Method Not Allowed: only GET\n"),
                               Status::MethodNotAllowed);
  response.setHeader(QByteArrayLiteral("Allow"), QByteArrayLiteral("GET"));
  return response;
}

}  // namespace

HttpEndpoints::HttpEndpoints(const Monitor& monitor) : monitor_(monitor) {
  const auto get = [this](auto body) {
    return [this, body](const QHttpServerRequest& request) {
      if (request.method() != QHttpServerRequest::Method::Get) return MethodNotAllowed();
      return body();
    };
  };
  server_.route(QStringLiteral("/metrics"), get([this] {
    return QHttpServerResponse(QByteArray(kExpositionContentType), Exposition(monitor_.states()));
  }));
  server_.route(QStringLiteral("/receivers"), get([this] {
    return QHttpServerResponse(QByteArrayLiteral("application/json"), ReceiversJson(monitor_.states()));
  }));
  server_.route(QStringLiteral("/healthz"), get([] {
    return QHttpServerResponse(QByteArrayLiteral("text/plain"), QByteArrayLiteral("ok\n"));
  }));
}

quint16 HttpEndpoints::listen(const QHostAddress& address, quint16 port) {
  return server_.listen(address, port);
}

}  // namespace halvix::monitor
