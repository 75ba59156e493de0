// Decoders of the timing super-reports 0x8F-AB, 0x8F-AC and 0x8F-AD: each
// takes the typed value of its layout and shows it in the main window's time,
// position, timing-output, mode/status and alarm groups, or in the
// Additional Timing Packets window. A report of another length changes nothing.
#pragma once

#include <QString>

#include "reports/decoder_context.h"

namespace halvix::reports {

// Primary timing: the time group, while "Poll Timing Packets" is checked.
// Serves a pending time-to-PC request.
GuiDecoder Report8FABDecoder;
// Supplemental timing: timing outputs, survey, PPS and alarms always; with
// the poll item checked also position, mode and status, and a pending
// position download.
GuiDecoder Report8FACDecoder;
// Primary UTC time: the Additional Timing Packets window.
GuiDecoder Report8FADDecoder;

// Asks for a file and writes the position line "0 lat lon alt" into it,
// telling the operator the outcome.
void DownloadPosition(const DecoderContext& ctx, double latitudeDeg, double longitudeDeg,
                      double altitude);

// The file dialog's filter (data files, then all files) and default extension.
inline const QString kPositionFileFilter = QStringLiteral("Data Files (*.dat);;All Files (*.*)");
inline const QString kPositionFileExtension = QStringLiteral("dat");

}  // namespace halvix::reports
