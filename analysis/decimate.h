// Reduction of a long time series to what a plot of a given pixel width can
// show: per pixel column the smallest and the largest value, in the order they
// occurred, so a one-second spike survives in a 24-hour view.
#pragma once

#include <QList>
#include <QPointF>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace halvix::analysis {

// First index whose time is not before t, in a series sorted by time.
template <typename Series, typename TimeOf>
std::size_t LowerBoundByTime(const Series& s, TimeOf timeOf, double t) {
  std::size_t lo = 0, hi = s.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (timeOf(s[mid]) < t) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

// The samples of [from, to] as plot points (x = time * xScale), at most two
// per column. A series short enough is returned whole.
template <typename Series, typename TimeOf, typename ValueOf>
QList<QPointF> DecimateMinMax(const Series& s, TimeOf timeOf, ValueOf valueOf, double from,
                              double to, int columns, double xScale = 1.0) {
  QList<QPointF> out;
  if (columns <= 0 || !(to > from)) return out;
  const std::size_t first = LowerBoundByTime(s, timeOf, from);
  std::size_t last = first;
  while (last < s.size() && timeOf(s[last]) <= to) ++last;
  const std::size_t count = last - first;
  const auto point = [&](std::size_t i) {
    return QPointF(timeOf(s[i]) * xScale, static_cast<double>(valueOf(s[i])));
  };
  if (count <= static_cast<std::size_t>(columns) * 2) {
    out.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = first; i < last; ++i) out.append(point(i));
    return out;
  }
  out.reserve(columns * 2);
  const double perColumn = columns / (to - from);
  std::size_t i = first;
  while (i < last) {
    const int column = std::min(columns - 1, static_cast<int>((timeOf(s[i]) - from) * perColumn));
    std::size_t lo = i, hi = i;
    for (++i; i < last; ++i) {
      const int c = std::min(columns - 1, static_cast<int>((timeOf(s[i]) - from) * perColumn));
      if (c != column) break;
      if (valueOf(s[i]) < valueOf(s[lo])) lo = i;
      if (valueOf(s[i]) > valueOf(s[hi])) hi = i;
    }
    out.append(point(std::min(lo, hi)));
    if (lo != hi) out.append(point(std::max(lo, hi)));
  }
  return out;
}

// The bits set anywhere in each column: an alarm of one second still marks
// its column. Where the samples are sparser than the columns, a sample's bits
// hold until the next sample, if that comes within holdSeconds.
template <typename Series, typename TimeOf, typename BitsOf>
std::vector<std::uint16_t> ColumnBits(const Series& s, TimeOf timeOf, BitsOf bitsOf, double from,
                                      double to, int columns, double holdSeconds = 0) {
  std::vector<std::uint16_t> out(static_cast<std::size_t>(std::max(columns, 0)), 0);
  if (columns <= 0 || !(to > from)) return out;
  const double perColumn = columns / (to - from);
  const auto columnOf = [&](double t) {
    return std::clamp(static_cast<int>(std::floor((t - from) * perColumn)), 0, columns - 1);
  };
  // The sample before the view may hold into it.
  std::size_t i = LowerBoundByTime(s, timeOf, from);
  if (i > 0) --i;
  for (; i < s.size(); ++i) {
    const double t = timeOf(s[i]);
    if (t > to) break;
    const std::uint16_t bits = bitsOf(s[i]);
    if (bits == 0) continue;
    double end = t;  // until when the bits hold
    if (i + 1 < s.size() && timeOf(s[i + 1]) - t <= holdSeconds) end = timeOf(s[i + 1]);
    if (end < from) continue;
    const int first = columnOf(std::max(t, from));
    const int last = end > to ? columns - 1 : end > t ? std::max(first, columnOf(end) - 1) : first;
    for (int c = first; c <= last; ++c) out[static_cast<std::size_t>(c)] |= bits;
  }
  return out;
}

}  // namespace halvix::analysis
