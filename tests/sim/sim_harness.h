// Drives a simulated receiver on virtual time for the sim tests. It frames
// commands and reads reports with its own small helpers, so a layout mistake
// in the receiver cannot hide behind a matching one in the test.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/clock.h"
#include "sim/simulated_device.h"

namespace halvix::simtest {

using Bytes = std::vector<std::uint8_t>;

struct Report {
  std::int64_t atMs = 0;
  std::uint8_t id = 0;
  Bytes payload;
  std::uint8_t sub() const { return payload.empty() ? 0 : payload[0]; }
};

// Big-endian field readers over a report payload; the test checks lengths first.
std::uint16_t U16(const Bytes& p, std::size_t at);
std::int16_t I16(const Bytes& p, std::size_t at);
std::uint32_t U32(const Bytes& p, std::size_t at);
float F32(const Bytes& p, std::size_t at);
double F64(const Bytes& p, std::size_t at);
void PutU16(Bytes& p, std::uint16_t v);
void PutU32(Bytes& p, std::uint32_t v);
void PutF32(Bytes& p, float v);
void PutF64(Bytes& p, double v);

// The stuffed wire frame of a packet.
Bytes Frame(std::uint8_t id, const Bytes& payload);
// Splits a byte stream into packets; text and junk between frames is skipped.
std::vector<Report> Unframe(const Bytes& stream, std::int64_t atMs);

link::LineSettings Line(int baud, int dataBits, link::Parity parity, link::StopBits stop = link::StopBits::One);
inline link::LineSettings FactoryLine() { return Line(9600, 8, link::Parity::Odd); }

class Harness {
 public:
  explicit Harness(sim::SimOptions options = {});
  static sim::SimOptions Options(const QString& persona);

  // Runs virtual time forward, collecting what arrives every 10 ms.
  void run(std::int64_t ms);
  void send(std::uint8_t id, const Bytes& payload = {});
  // Sends and returns the reports that arrived within waitMs.
  std::vector<Report> query(std::uint8_t id, const Bytes& payload = {}, std::int64_t waitMs = 300);
  // The one report with this id (and sub-code, for super-packets) among the
  // answers to a query; fails the test when there is not exactly one.
  Report ask(std::uint8_t id, const Bytes& payload, std::uint8_t answerId, std::optional<std::uint8_t> sub = {});

  // Sends a command, lets its answer pass (300 ms), and returns what arrives
  // in the ms after: what the receiver sends by itself from then on.
  std::vector<Report> watchAfter(std::uint8_t id, const Bytes& payload, std::int64_t ms);

  std::vector<Report> take();
  std::vector<Report> reportsWith(std::uint8_t id, std::optional<std::uint8_t> sub = {});
  Bytes rawTaken();
  const sim::ReceiverModel& model() const { return device_.model(); }
  sim::SimulatedDevice& device() { return device_; }
  link::VirtualClock& clock() { return clock_; }

 private:
  void collect();

  link::VirtualClock clock_;
  sim::SimulatedDevice device_;
  Bytes stream_;
  Bytes raw_;
  std::vector<Report> reports_;
};

}  // namespace halvix::simtest
