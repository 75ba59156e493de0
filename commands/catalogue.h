// The command catalogue: one routine per command or query packet the program
// sends. Each takes host values, lays out the packet's bytes (id first,
// big-endian fields) in a local buffer and hands it to SerialLink::SendPacket,
// which frames and stuffs it. Nothing else in the program lays out a command.
// The routines keep no state, wait for no answer and report nothing: the
// answer arrives later as the report named beside each routine.
#pragma once

#include <cstdint>

#include "link/port_settings.h"

namespace halvix::link {
class SerialLink;
}

namespace halvix::commands {

// ---------------------------------------------------------------------------
// Parameter records

// Filled by the Receiver Configuration dialog. Masks are singles: the caller
// narrows its doubles before the call.
struct ReceiverConfiguration {
  std::uint8_t receiverMode = 0;  // item index of the mode list, see kReceiverMode*
  std::uint8_t dgpsMode = 0;      // 0 off, 1 on, 3 auto
  std::uint8_t dynamicsCode = 0;  // 1 land, 2 sea, 3 air, 4 stationary
  float elevationMask = 0.0f;     // radians
  float signalLevelMask = 0.0f;   // AMU
  float pdopMask = 0.0f;
  float pdopSwitch = 0.0f;
  std::uint8_t dgpsAgeLimit = 0;  // seconds
};

inline constexpr std::uint8_t kReceiverModeAutomatic = 0;
inline constexpr std::uint8_t kReceiverModeTimeOnly = 1;
inline constexpr std::uint8_t kReceiverModeHorizontal = 3;
inline constexpr std::uint8_t kReceiverModeFullPosition = 4;
inline constexpr std::uint8_t kReceiverModeDgpsReference = 5;
inline constexpr std::uint8_t kReceiverModeClockHold = 6;
inline constexpr std::uint8_t kReceiverModeOverdetermined = 7;

inline constexpr std::uint8_t kDgpsOff = 0;
inline constexpr std::uint8_t kDgpsOn = 1;
inline constexpr std::uint8_t kDgpsAuto = 3;

// Filled by the Timing Outputs dialog.
struct PpsCharacteristics {
  std::uint8_t driverSwitch = 0;         // 0 disabled, 1 enabled
  std::uint8_t timeBase = 0;             // 0 GPS, 1 UTC
  std::uint8_t polarity = 0;             // 0 positive, 1 negative
  double ppsOffset = 0.0;                // seconds
  float biasUncertaintyThreshold = 0.0f; // metres
};

// The serial settings record is shared with the PC side of the link.
using link::PortSettings;

// ---------------------------------------------------------------------------
// Named values the callers put in the packets

// Reset modes of the reset command (0x1E).
inline constexpr std::uint8_t kResetCold = 0x4B;                 // 'K'
inline constexpr std::uint8_t kResetFactoryAll = 0x46;           // 'F'
inline constexpr std::uint8_t kResetFactoryNavigation = 0x4E;    // 'N'
inline constexpr std::uint8_t kResetFactoryConfiguration = 0x52; // 'R'

// Data types of the satellite data request and load (0x38).
inline constexpr std::uint8_t kSatelliteDataAlmanacRaw = 1;
inline constexpr std::uint8_t kSatelliteDataAlmanac = 2;
inline constexpr std::uint8_t kSatelliteDataHealthPage = 3;
inline constexpr std::uint8_t kSatelliteDataIonosphere = 4;
inline constexpr std::uint8_t kSatelliteDataUtc = 5;

// Request type of the timing packet request (0x8E-AB) that the poll cycle uses.
inline constexpr std::uint8_t kTimingRequestBoth = 2;

// Output modes of set PPS output (0x8E-4E).
inline constexpr std::uint8_t kPpsAlways = 2;
inline constexpr std::uint8_t kPpsTrackingOne = 3;
inline constexpr std::uint8_t kPpsTrackingThree = 4;

// Segment number of the revert segment command (0x8E-45) meaning every segment.
inline constexpr std::uint8_t kAllSegments = 0xFF;

// One-SV select (0x34): let the receiver pick the highest satellite.
inline constexpr std::uint8_t kHighestSv = 0;

// Clear altitude (0x2A) marker byte.
inline constexpr std::uint8_t kClearAltitudeMarker = 0xFF;

// Longest satellite data block one load can carry (the length is one byte).
inline constexpr int kSatelliteDataMax = 255;

// ---------------------------------------------------------------------------
// A. Queries with a fixed payload

// Pause between the queries a window sends on one activation.
inline constexpr int kQueryGapMs = 200;

void SoftwareVersionRequest1F(link::SerialLink& link);            // report 0x45
void TimeRequest21(link::SerialLink& link);                       // report 0x41
void SvSelectionRequest24(link::SerialLink& link);                // report 0x6D
void HealthRequest26(link::SerialLink& link);                     // reports 0x46, 0x4B
void AlmanacHealthRequest29(link::SerialLink& link);              // report 0x49
void AltitudeRequest2A(link::SerialLink& link);                   // report 0x4A, length 9
void UtcParametersRequest2F(link::SerialLink& link);              // report 0x4F
void IoOptionsRequest35(link::SerialLink& link);                  // report 0x55
void TrackingStatusRequest3C(link::SerialLink& link);             // report 0x5C (all SVs)
void SegmentStatusRequest3F11(link::SerialLink& link);            // report 0x5F-11
void NmeaOutputRequest7A(link::SerialLink& link);                 // report 0x7B
void ReceiverConfigurationRequestBB(link::SerialLink& link);      // report 0xBB
void ComprehensiveTimeRequest8E0B(link::SerialLink& link);        // report 0x8F-0B
void DatumRequest8E15(link::SerialLink& link);                    // report 0x8F-15
void ManufacturingParametersRequest8E41(link::SerialLink& link);  // report 0x8F-41
void ProductionParametersRequest8E42(link::SerialLink& link);     // report 0x8F-42
void PpsCharacteristicsRequest8E4A(link::SerialLink& link);       // report 0x8F-4A
void SurveyLimitRequest8E4B(link::SerialLink& link);              // report 0x8F-4B
void AutomaticOutputMaskRequest8E4D(link::SerialLink& link);      // report 0x8F-4D
void PpsOutputRequest8E4E(link::SerialLink& link);                // report 0x8F-4E
void PpsWidthRequest8E4F(link::SerialLink& link);                 // report 0x8F-4F
void PacketBroadcastMaskRequest8EA5(link::SerialLink& link);      // report 0x8F-A5
void SelfSurveyParametersRequest8EA9(link::SerialLink& link);     // report 0x8F-A9
void PrimaryUtcTimeRequest8EAD(link::SerialLink& link);           // report 0x8F-AD

// ---------------------------------------------------------------------------
// B. Queries with one parameter

void AlmanacRequest20(link::SerialLink& link, std::uint8_t sv);  // report 0x40
// Operation 1 (fetch); answered by report 0x58.
void SatelliteDataRequest38(link::SerialLink& link, std::uint8_t type, std::uint8_t sv);
void RawMeasurementRequest3A(link::SerialLink& link, std::uint8_t sv);   // report 0x5A
void EphemerisStatusRequest3B(link::SerialLink& link, std::uint8_t sv);  // report 0x5B
void SerialPortRequestBC(link::SerialLink& link, std::uint8_t port);     // report 0xBC
// Reports 0x8F-AB and 0x8F-AC.
void TimingPacketRequest8EAB(link::SerialLink& link, std::uint8_t type);

// ---------------------------------------------------------------------------
// C. Commands with one value or none

void ResetCommand1E(link::SerialLink& link, std::uint8_t mode);  // see kReset*
void WarmResetCommand25(link::SerialLink& link);
void SetAltitude2A(link::SerialLink& link, float metres);
void ClearAltitude2A(link::SerialLink& link);
void OneSvSelect34(link::SerialLink& link, std::uint8_t sv);  // 0 = kHighestSv
void SetIoOptions35(link::SerialLink& link, std::uint8_t position, std::uint8_t velocity,
                    std::uint8_t timing, std::uint8_t auxiliary);
// Sub-code with one value byte; 0x0B and 0xAD carry a port A output mode.
void SuperPacketByteCommand8E(link::SerialLink& link, std::uint8_t subCode, std::uint8_t value);
void SetDatum8E15(link::SerialLink& link, std::uint16_t datumIndex);
void SaveSegmentsCommand8E26(link::SerialLink& link);
void RevertSegmentCommand8E45(link::SerialLink& link, std::uint8_t segment);  // kAllSegments
void SetSurveyLimit8E4B(link::SerialLink& link, std::uint32_t limit);
void SetAutomaticOutputMask8E4D(link::SerialLink& link, std::uint32_t mask);
void SetPpsOutput8E4E(link::SerialLink& link, std::uint8_t mode);  // see kPps*
void SetPpsWidth8E4F(link::SerialLink& link, double seconds);
void SetPacketBroadcastMask8EA5(link::SerialLink& link, std::uint8_t mask1, std::uint8_t mask2);
void SelfSurveyRestartCommand8EA6(link::SerialLink& link);
void SiCodeCommand8EAF(link::SerialLink& link, std::uint8_t code);

// ---------------------------------------------------------------------------
// D. Commands with several fields

// Answered by report 0x4E.
void SetInitialTime2E(link::SerialLink& link, float timeOfWeek, std::int16_t week);
void SetInitialPositionEcef31(link::SerialLink& link, float x, float y, float z);
// Latitude and longitude in radians, altitude in metres.
void SetInitialPositionLla32(link::SerialLink& link, float latitude, float longitude,
                             float altitude);
// Operation 2 (load); the n data bytes go out unchanged. Answered by report
// 0x58. A null data pointer with n > 0 sends nothing.
void SatelliteDataLoad38(link::SerialLink& link, std::uint8_t type, std::uint8_t sv,
                         const std::uint8_t* data, std::uint8_t n);
void SetNmeaOutput7A(link::SerialLink& link, std::uint8_t intervalSeconds, std::uint32_t mask);
void SetReceiverConfigurationBB(link::SerialLink& link, const ReceiverConfiguration& config);
// The record's baud code goes out as both the input and the output rate.
void SetSerialPortBC(link::SerialLink& link, const link::PortSettings& settings);
void SetPpsCharacteristics8E4A(link::SerialLink& link, const PpsCharacteristics& pps);
void SetSelfSurveyParameters8EA9(link::SerialLink& link, std::uint8_t enable, std::uint8_t save,
                                 std::uint32_t length);

}  // namespace halvix::commands
