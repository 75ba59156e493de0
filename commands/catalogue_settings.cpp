// Tables C and D: the commands that change the receiver's state or settings.
#include <algorithm>

#include "commands/catalogue.h"
#include "commands/catalogue_send.h"
#include "link/field_codec.h"

namespace halvix::commands {

using detail::Send;
using link::PutDouble;
using link::PutLong;
using link::PutSingle;
using link::PutWord;

// C. One value or none

void ResetCommand1E(link::SerialLink& link, std::uint8_t mode) {
  Send(link, std::array<std::uint8_t, 2>{0x1E, mode});
}

void WarmResetCommand25(link::SerialLink& link) { Send(link, std::array<std::uint8_t, 1>{0x25}); }

void SetAltitude2A(link::SerialLink& link, float metres) {
  std::array<std::uint8_t, 5> p{0x2A};
  PutSingle(metres, &p[1]);
  Send(link, p);
}

// The short form with a marker byte takes the receiver out of altitude hold.
void ClearAltitude2A(link::SerialLink& link) {
  Send(link, std::array<std::uint8_t, 2>{0x2A, kClearAltitudeMarker});
}

void OneSvSelect34(link::SerialLink& link, std::uint8_t sv) {
  Send(link, std::array<std::uint8_t, 2>{0x34, sv});
}

void SetIoOptions35(link::SerialLink& link, std::uint8_t position, std::uint8_t velocity,
                    std::uint8_t timing, std::uint8_t auxiliary) {
  Send(link, std::array<std::uint8_t, 5>{0x35, position, velocity, timing, auxiliary});
}

// Same sub-code as a query, told apart by the extra value byte.
void SuperPacketByteCommand8E(link::SerialLink& link, std::uint8_t subCode, std::uint8_t value) {
  Send(link, std::array<std::uint8_t, 3>{0x8E, subCode, value});
}

void SetDatum8E15(link::SerialLink& link, std::uint16_t datumIndex) {
  std::array<std::uint8_t, 4> p{0x8E, 0x15};
  PutWord(datumIndex, &p[2]);
  Send(link, p);
}

void SaveSegmentsCommand8E26(link::SerialLink& link) {
  Send(link, std::array<std::uint8_t, 2>{0x8E, 0x26});
}

void RevertSegmentCommand8E45(link::SerialLink& link, std::uint8_t segment) {
  Send(link, std::array<std::uint8_t, 3>{0x8E, 0x45, segment});
}

void SetSurveyLimit8E4B(link::SerialLink& link, std::uint32_t limit) {
  std::array<std::uint8_t, 6> p{0x8E, 0x4B};
  PutLong(limit, &p[2]);
  Send(link, p);
}

void SetAutomaticOutputMask8E4D(link::SerialLink& link, std::uint32_t mask) {
  std::array<std::uint8_t, 6> p{0x8E, 0x4D};
  PutLong(mask, &p[2]);
  Send(link, p);
}

void SetPpsOutput8E4E(link::SerialLink& link, std::uint8_t mode) {
  Send(link, std::array<std::uint8_t, 3>{0x8E, 0x4E, mode});
}

void SetPpsWidth8E4F(link::SerialLink& link, double seconds) {
  std::array<std::uint8_t, 10> p{0x8E, 0x4F};
  PutDouble(seconds, &p[2]);
  Send(link, p);
}

// The two trailing mask bytes are reserved and always zero.
void SetPacketBroadcastMask8EA5(link::SerialLink& link, std::uint8_t mask1, std::uint8_t mask2) {
  Send(link, std::array<std::uint8_t, 6>{0x8E, 0xA5, mask1, mask2, 0x00, 0x00});
}

void SelfSurveyRestartCommand8EA6(link::SerialLink& link) {
  Send(link, std::array<std::uint8_t, 3>{0x8E, 0xA6, 0x00});
}

void SiCodeCommand8EAF(link::SerialLink& link, std::uint8_t code) {
  Send(link, std::array<std::uint8_t, 3>{0x8E, 0xAF, code});
}

// D. Several fields

void SetInitialTime2E(link::SerialLink& link, float timeOfWeek, std::int16_t week) {
  std::array<std::uint8_t, 7> p{0x2E};
  PutSingle(timeOfWeek, &p[1]);
  PutWord(static_cast<std::uint16_t>(week), &p[5]);
  Send(link, p);
}

namespace {
void SendThreeSingles(link::SerialLink& link, std::uint8_t id, float a, float b, float c) {
  std::array<std::uint8_t, 13> p{id};
  PutSingle(a, &p[1]);
  PutSingle(b, &p[5]);
  PutSingle(c, &p[9]);
  Send(link, p);
}
}  // namespace

void SetInitialPositionEcef31(link::SerialLink& link, float x, float y, float z) {
  SendThreeSingles(link, 0x31, x, y, z);
}

void SetInitialPositionLla32(link::SerialLink& link, float latitude, float longitude,
                             float altitude) {
  SendThreeSingles(link, 0x32, latitude, longitude, altitude);
}

void SatelliteDataLoad38(link::SerialLink& link, std::uint8_t type, std::uint8_t sv,
                         const std::uint8_t* data, std::uint8_t n) {
  constexpr std::uint8_t kOperationLoad = 2;
  constexpr int kHeader = 5;  // id, operation, type, SV, length
  if (data == nullptr && n > 0) return;
  std::array<std::uint8_t, kHeader + kSatelliteDataMax> p{0x38, kOperationLoad, type, sv, n};
  if (n > 0) std::copy_n(data, n, p.begin() + kHeader);
  link.SendPacket(kHeader + n, p.data());
}

void SetNmeaOutput7A(link::SerialLink& link, std::uint8_t intervalSeconds, std::uint32_t mask) {
  std::array<std::uint8_t, 7> p{0x7A, 0x00, intervalSeconds};
  PutLong(mask, &p[3]);
  Send(link, p);
}

void SetReceiverConfigurationBB(link::SerialLink& link, const ReceiverConfiguration& config) {
  std::array<std::uint8_t, 44> p{};
  p[0] = 0xBB;
  p[1] = 0x00;  // sub-code
  p[2] = config.receiverMode;
  p[3] = config.dgpsMode;
  p[4] = config.dynamicsCode;
  p[5] = 0x01;
  PutSingle(config.elevationMask, &p[6]);
  PutSingle(config.signalLevelMask, &p[10]);
  PutSingle(config.pdopMask, &p[14]);
  PutSingle(config.pdopSwitch, &p[18]);
  p[22] = config.dgpsAgeLimit;
  // p[23..27] stay zero; the reserved tail is all ones.
  std::fill(p.begin() + 28, p.end(), std::uint8_t{0xFF});
  Send(link, p);
}

void SetSerialPortBC(link::SerialLink& link, const link::PortSettings& settings) {
  constexpr std::uint8_t kNoFlowControl = 0x00;
  Send(link, std::array<std::uint8_t, 11>{0xBC, settings.port, settings.baudCode,
                                          settings.baudCode, settings.dataBitsCode,
                                          settings.parityCode, settings.stopBitsCode,
                                          kNoFlowControl, settings.inputProtocol,
                                          settings.outputProtocol, 0x00});
}

void SetPpsCharacteristics8E4A(link::SerialLink& link, const PpsCharacteristics& pps) {
  std::array<std::uint8_t, 17> p{0x8E, 0x4A, pps.driverSwitch, pps.timeBase, pps.polarity};
  PutDouble(pps.ppsOffset, &p[5]);
  PutSingle(pps.biasUncertaintyThreshold, &p[13]);
  Send(link, p);
}

// A zero long always follows the survey length.
void SetSelfSurveyParameters8EA9(link::SerialLink& link, std::uint8_t enable, std::uint8_t save,
                                 std::uint32_t length) {
  std::array<std::uint8_t, 12> p{0x8E, 0xA9, enable, save};
  PutLong(length, &p[4]);
  PutLong(0, &p[8]);
  Send(link, p);
}

}  // namespace halvix::commands
