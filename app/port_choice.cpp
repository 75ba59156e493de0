#include "app/port_choice.h"

#include <QFileInfo>

#include "link/network_port.h"
#include "link/qt_serial_device.h"

namespace halvix::app {

PortChoice PortChoiceForCom(int comPort) {
  PortChoice p;
  p.comPort = comPort;
  p.numbered = true;
  p.deviceName = link::ComPortDeviceName(comPort);
  p.panelLabel = QStringLiteral("COM%1").arg(comPort);
  p.titlePrefix = QString::number(comPort);
  return p;
}

PortChoice PortChoiceForPath(const QString& path) {
  PortChoice p;
  p.deviceName = path;
  if (link::IsNetworkPortName(path)) {
    // "HOST:PORT" stands where a COM number would; a malformed name is shown
    // whole, and its open fails with the reason.
    p.network = true;
    const std::optional<link::NetworkPortAddress> a = link::parseNetworkPort(path);
    p.panelLabel = a ? a->hostPort() : path;
    p.titlePrefix = p.panelLabel;
    return p;
  }
  // Short enough for the status bar, yet telling: "ttyUSB0", "pts/3".
  const QString dev = QStringLiteral("/dev/");
  p.panelLabel = path.startsWith(dev) ? path.mid(dev.size()) : QFileInfo(path).fileName();
  if (p.panelLabel.isEmpty()) p.panelLabel = path;
  p.titlePrefix = p.panelLabel;
  return p;
}

PortChoice PortChoiceFromCommandLine(const CommandLine& cl) {
  if (!cl.replayFile.isEmpty()) {
    PortChoice p;
    p.replay = true;
    p.replaySpeed = cl.replaySpeed;
    p.deviceName = cl.replayFile;
    p.panelLabel = QStringLiteral("Replay");
    p.titlePrefix = QStringLiteral("Replay");
    return p;
  }
  if (cl.simulate) {
    PortChoice p;
    p.simulated = true;
    p.persona = cl.simPersona.isEmpty() ? QStringLiteral("corvel") : cl.simPersona.toLower();
    p.deviceName = QStringLiteral("simulated:") + p.persona;
    p.panelLabel = QStringLiteral("SIM");
    p.titlePrefix = QStringLiteral("Simulated");
    return p;
  }
  if (!cl.portPath.isEmpty()) return PortChoiceForPath(cl.portPath);
  return PortChoiceForCom(cl.comPort.value_or(0));
}

}  // namespace halvix::app
