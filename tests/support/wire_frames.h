// QLIP frames as the line carried them, for tests that read a wire capture
// or a recording: split at DLE ETX, DLEs undoubled.
#pragma once

#include <QByteArray>
#include <vector>

namespace halvix::testing {

// Each complete frame's id and payload, in order; bytes outside a frame are skipped.
std::vector<QByteArray> SplitFrames(const QByteArray& wire);

}  // namespace halvix::testing
