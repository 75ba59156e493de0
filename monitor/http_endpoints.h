// The monitor's read-only HTTP endpoints: GET /metrics (the Prometheus text
// exposition), GET /receivers (JSON) and GET /healthz. Any other method on
// them is 405, any other path 404. Responses are built whole and written by
// the event loop, so a slow or stuck client never holds up a receiver.
#pragma once

#include <QHostAddress>
#include <QtHttpServer/QHttpServer>
#include <memory>

#include "monitor/monitor.h"

namespace halvix::monitor {

class HttpEndpoints {
 public:
  explicit HttpEndpoints(const Monitor& monitor);
  // The port listened on (port 0 picks a free one), or 0 when the address cannot be used.
  quint16 listen(const QHostAddress& address, quint16 port);

 private:
  const Monitor& monitor_;
  QHttpServer server_;
};

}  // namespace halvix::monitor
