#include "sim/nmea_output.h"

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

std::string Angle(double radians, bool latitude) {
  const double deg = std::fabs(radians) * 180.0 / std::numbers::pi;
  const int whole = static_cast<int>(deg);
  const double minutes = (deg - whole) * 60.0;
  char buf[32];
  std::snprintf(buf, sizeof buf, latitude ? "%02d%07.4f,%c" : "%03d%07.4f,%c", whole, minutes,
                latitude ? (radians < 0 ? 'S' : 'N') : (radians < 0 ? 'W' : 'E'));
  return buf;
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
    std::snprintf(buf, sizeof buf, "GPGGA,%s,%s,%s,%d,%02zu,%.1f,%.1f,M,47.9,M,,", time.c_str(), lat.c_str(),
                  lon.c_str(), f.valid ? 1 : 0, f.used.size(), f.hdop, f.position.altitude - 47.9);
    out += Sentence(buf);
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
    std::snprintf(buf, sizeof buf, ",%.1f,%.1f,%.1f", f.pdop, f.hdop, f.vdop);
    out += Sentence(s + buf);
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
