// Bytes on the line for tests: spelled out as numbers, and QLIP frames as the
// line carried them (a wire capture or a recording) split at DLE ETX, DLEs
// undoubled.
#pragma once

#include <QByteArray>
#include <initializer_list>
#include <vector>

namespace halvix::testing {

// Bytes written as numbers, as tests spell out frames and telnet sequences.
QByteArray WireBytes(std::initializer_list<int> bytes);

// Each complete frame's id and payload, in order; bytes outside a frame are skipped.
std::vector<QByteArray> SplitFrames(const QByteArray& wire);

}  // namespace halvix::testing
