// The position file shared by the position download and the position upload:
// a text file whose first record is a type and three numbers, separated by
// white space. Type 0 holds latitude and longitude in degrees and altitude in
// metres; type 1 holds ECEF X, Y and Z in metres. Anything after the first
// record is ignored. The position download writes type 0 as "0 %.5f %.5f %.1f".
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace halvix::commands {

inline constexpr int kPositionTypeLla = 0;
inline constexpr int kPositionTypeEcef = 1;

// The file-open dialog's filter and the extension a name without one gets.
inline const QString kPositionFileFilter = QStringLiteral("Data Files (*.dat);;All Files (*.*)");
inline const QString kPositionFileExtension = QStringLiteral("dat");

struct PositionRecord {
  int type = 0;
  double values[3] = {0.0, 0.0, 0.0};
  // Decimals each value was written with, so a record shown again keeps
  // every digit the file held.
  int decimals[3] = {0, 0, 0};
};

// The first record of the file text. Nothing when it is not an integer type
// followed by three finite decimal numbers; the type itself is not checked.
std::optional<PositionRecord> ParsePositionRecord(const QByteArray& text);

// How much of a file the reader looks at: the first record is short, and a
// wrong file chosen by mistake must not be read whole.
inline constexpr int kPositionFileReadLimit = 4096;

}  // namespace halvix::commands
