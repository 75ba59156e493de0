#include "sim/nmea_output.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace halvix::sim {
namespace {

std::string Sentence(const std::string& body) {
  std::uint8_t sum = 0;
  for (char c : body) sum ^= static_cast<std::uint8_t>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
  return "$" + body + tail;
}

// A fixed-point field with a decimal point whatever the C library's locale: the
// simulator runs inside Halvix, whose QApplication takes the operator's locale,
// and a decimal comma would split an NMEA field in two. Zero-padded to width.
std::string Fixed(double value, int decimals, std::size_t width = 0) {
  char buf[48];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string text = r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
  const bool negative = !text.empty() && text.front() == '-';
  if (text.size() < width) text.insert(negative ? 1 : 0, width - text.size(), '0');
  return text;
}

std::string Angle(double radians, bool latitude) {
  const double deg = std::fabs(radians) * 180.0 / std::numbers::pi;
  const int whole = static_cast<int>(deg);
  const double minutes = (deg - whole) * 60.0;
  char buf[8];
  std::snprintf(buf, sizeof buf, latitude ? "%02d" : "%03d", whole);
  return buf + Fixed(minutes, 4, 7) + ',' + (latitude ? (radians < 0 ? 'S' : 'N') : (radians < 0 ? 'W' : 'E'));
}

std::string Clock(const CalendarTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d.00", t.hour, t.minute, t.second);
  return buf;
}

}  // namespace

std::string NmeaSentences(const NmeaFix& f, std::uint32_t mask) {
  std::string out;
  const std::string time = Clock(f.utc);
  const std::string lat = f.valid ? Angle(f.position.latitude, true) : ",";
  const std::string lon = f.valid ? Angle(f.position.longitude, false) : ",";
  char buf[160];
  if ((mask & 0x01) != 0) {
    std::snprintf(buf, sizeof buf, "GPGGA,%s,%s,%s,%d,%02zu,", time.c_str(), lat.c_str(), lon.c_str(),
                  f.valid ? 1 : 0, f.used.size());
    out += Sentence(buf + Fixed(f.hdop, 1) + ',' + Fixed(f.position.altitude - 47.9, 1) + ",M,47.9,M,,");
  }
  if ((mask & 0x02) != 0) {
    std::snprintf(buf, sizeof buf, "GPGLL,%s,%s,%s,%c,%c", lat.c_str(), lon.c_str(), time.c_str(),
                  f.valid ? 'A' : 'V', f.valid ? 'A' : 'N');
    out += Sentence(buf);
  }
  if ((mask & 0x04) != 0) out += Sentence("GPVTG,0.0,T,,M,0.0,N,0.0,K,A");
  if ((mask & 0x08) != 0) {
    const std::size_t total = f.inView.size();
    const std::size_t pages = total == 0 ? 1 : (total + 3) / 4;
    for (std::size_t page = 0; page < pages; ++page) {
      std::string s = "GPGSV," + std::to_string(pages) + "," + std::to_string(page + 1) + "," + std::to_string(total);
      for (std::size_t i = page * 4; i < total && i < page * 4 + 4; ++i) {
        const NmeaSatellite& v = f.inView[i];
        std::snprintf(buf, sizeof buf, ",%02d,%02d,%03d,%02d", v.sv, v.elevation, v.azimuth, v.snr);
        s += buf;
      }
      out += Sentence(s);
    }
  }
  if ((mask & 0x10) != 0) {
    std::string s = std::string("GPGSA,A,") + (f.valid ? "3" : "1");
    for (std::size_t i = 0; i < 12; ++i) {
      s += ',';
      if (i < f.used.size()) s += std::to_string(f.used[i]);
    }
    out += Sentence(s + ',' + Fixed(f.pdop, 1) + ',' + Fixed(f.hdop, 1) + ',' + Fixed(f.vdop, 1));
  }
  if ((mask & 0x20) != 0) {
    std::snprintf(buf, sizeof buf, "GPZDA,%s,%02d,%02d,%04d,00,00", time.c_str(), f.utc.day, f.utc.month, f.utc.year);
    out += Sentence(buf);
  }
  if ((mask & 0x100) != 0) {
    std::snprintf(buf, sizeof buf, "GPRMC,%s,%c,%s,%s,0.0,0.0,%02d%02d%02d,,,%c", time.c_str(), f.valid ? 'A' : 'V',
                  lat.c_str(), lon.c_str(), f.utc.day, f.utc.month, f.utc.year % 100, f.valid ? 'A' : 'N');
    out += Sentence(buf);
  }
  return out;
}

}  // namespace halvix::sim
