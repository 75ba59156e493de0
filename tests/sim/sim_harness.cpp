#include "sim_harness.h"

#include <gtest/gtest.h>

#include <cstring>

namespace halvix::simtest {

std::uint16_t U16(const Bytes& p, std::size_t at) {
  return static_cast<std::uint16_t>(p.at(at) << 8 | p.at(at + 1));
}

std::int16_t I16(const Bytes& p, std::size_t at) { return static_cast<std::int16_t>(U16(p, at)); }

std::uint32_t U32(const Bytes& p, std::size_t at) {
  return static_cast<std::uint32_t>(p.at(at)) << 24 | static_cast<std::uint32_t>(p.at(at + 1)) << 16 |
         static_cast<std::uint32_t>(p.at(at + 2)) << 8 | p.at(at + 3);
}

float F32(const Bytes& p, std::size_t at) {
  const std::uint32_t bits = U32(p, at);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

double F64(const Bytes& p, std::size_t at) {
  const std::uint64_t bits = static_cast<std::uint64_t>(U32(p, at)) << 32 | U32(p, at + 4);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

void PutU16(Bytes& p, std::uint16_t v) {
  p.push_back(static_cast<std::uint8_t>(v >> 8));
  p.push_back(static_cast<std::uint8_t>(v));
}

void PutU32(Bytes& p, std::uint32_t v) {
  PutU16(p, static_cast<std::uint16_t>(v >> 16));
  PutU16(p, static_cast<std::uint16_t>(v));
}

void PutF32(Bytes& p, float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  PutU32(p, bits);
}

void PutF64(Bytes& p, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  PutU32(p, static_cast<std::uint32_t>(bits >> 32));
  PutU32(p, static_cast<std::uint32_t>(bits));
}

Bytes Frame(std::uint8_t id, const Bytes& payload) {
  Bytes f{0x10};
  auto put = [&f](std::uint8_t b) {
    f.push_back(b);
    if (b == 0x10) f.push_back(b);
  };
  put(id);
  for (std::uint8_t b : payload) put(b);
  f.push_back(0x10);
  f.push_back(0x03);
  return f;
}

std::vector<Report> Unframe(const Bytes& s, std::int64_t atMs) {
  std::vector<Report> out;
  std::size_t i = 0;
  while (i + 1 < s.size()) {
    if (s[i] != 0x10 || s[i + 1] == 0x10 || s[i + 1] == 0x03) {
      ++i;
      continue;
    }
    Report r{atMs, s[i + 1], {}};
    std::size_t j = i + 2;
    bool done = false;
    while (j + 1 < s.size()) {
      if (s[j] == 0x10 && s[j + 1] == 0x10) {
        r.payload.push_back(0x10);
        j += 2;
      } else if (s[j] == 0x10 && s[j + 1] == 0x03) {
        done = true;
        j += 2;
        break;
      } else if (s[j] == 0x10) {
        break;  // a new frame starts here
      } else {
        r.payload.push_back(s[j++]);
      }
    }
    if (done) out.push_back(r);
    i = done ? j : (j + 1 < s.size() ? j : s.size());
  }
  return out;
}

link::LineSettings Line(int baud, int dataBits, link::Parity parity, link::StopBits stop) {
  return link::LineSettings{baud, dataBits, parity, stop};
}

sim::SimOptions Harness::Options(const QString& persona) {
  sim::SimOptions o;
  o.persona = persona;
  return o;
}

Harness::Harness(sim::SimOptions options) : clock_(1000), device_(options, clock_) {
  device_.open(QStringLiteral("sim"));
  device_.setLine(FactoryLine());
}

void Harness::collect() {
  const std::int64_t n = device_.bytesWaiting();
  if (n <= 0) return;
  Bytes buf(static_cast<std::size_t>(n));
  const std::int64_t got = device_.read(buf.data(), n);
  buf.resize(static_cast<std::size_t>(got));
  raw_.insert(raw_.end(), buf.begin(), buf.end());
  stream_.insert(stream_.end(), buf.begin(), buf.end());
  // Only complete frames are cut off; a frame split across reads waits.
  std::size_t lastEnd = 0;
  for (std::size_t i = 0; i + 1 < stream_.size(); ++i) {
    if (stream_[i] == 0x10 && stream_[i + 1] == 0x10) {
      ++i;
    } else if (stream_[i] == 0x10 && stream_[i + 1] == 0x03) {
      lastEnd = i + 2;
      ++i;
    }
  }
  if (lastEnd == 0) return;
  const Bytes complete(stream_.begin(), stream_.begin() + static_cast<std::ptrdiff_t>(lastEnd));
  for (Report& r : Unframe(complete, clock_.nowMs())) reports_.push_back(std::move(r));
  stream_.erase(stream_.begin(), stream_.begin() + static_cast<std::ptrdiff_t>(lastEnd));
}

void Harness::run(std::int64_t ms) {
  for (std::int64_t t = 0; t < ms; t += 10) {
    clock_.advance(std::min<std::int64_t>(10, ms - t));
    collect();
  }
}

void Harness::send(std::uint8_t id, const Bytes& payload) {
  const Bytes f = Frame(id, payload);
  device_.write(f.data(), static_cast<std::int64_t>(f.size()));
}

std::vector<Report> Harness::take() {
  collect();
  std::vector<Report> out;
  out.swap(reports_);
  return out;
}

Bytes Harness::rawTaken() {
  collect();
  Bytes out;
  out.swap(raw_);
  return out;
}

std::vector<Report> Harness::query(std::uint8_t id, const Bytes& payload, std::int64_t waitMs) {
  take();
  send(id, payload);
  run(waitMs);
  return take();
}

std::vector<Report> Harness::watchAfter(std::uint8_t id, const Bytes& payload, std::int64_t ms) {
  query(id, payload, 300);
  run(ms);
  return take();
}

std::vector<Report> Harness::reportsWith(std::uint8_t id, std::optional<std::uint8_t> sub) {
  std::vector<Report> out;
  for (const Report& r : take())
    if (r.id == id && (!sub || r.sub() == *sub)) out.push_back(r);
  return out;
}

Report Harness::ask(std::uint8_t id, const Bytes& payload, std::uint8_t answerId, std::optional<std::uint8_t> sub) {
  std::vector<Report> matching;
  for (const Report& r : query(id, payload))
    if (r.id == answerId && (!sub || r.sub() == *sub)) matching.push_back(r);
  EXPECT_EQ(matching.size(), 1u) << "answers with id " << int(answerId);
  return matching.empty() ? Report{} : matching.front();
}

}  // namespace halvix::simtest
