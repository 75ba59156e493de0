// Tables A and B: the queries, each answered by one report.
#include "commands/catalogue.h"
#include "commands/catalogue_send.h"

namespace halvix::commands {

using detail::Send;
using detail::SendSuperQuery;
using Bytes1 = std::array<std::uint8_t, 1>;
using Bytes2 = std::array<std::uint8_t, 2>;

// A. Fixed payloads

// Two zero bytes follow the id: the receiver expects three bytes here.
void SoftwareVersionRequest1F(link::SerialLink& link) {
  Send(link, std::array<std::uint8_t, 3>{0x1F, 0x00, 0x00});
}

void TimeRequest21(link::SerialLink& link) { Send(link, Bytes1{0x21}); }
void SvSelectionRequest24(link::SerialLink& link) { Send(link, Bytes1{0x24}); }
void HealthRequest26(link::SerialLink& link) { Send(link, Bytes1{0x26}); }
void AlmanacHealthRequest29(link::SerialLink& link) { Send(link, Bytes1{0x29}); }
void AltitudeRequest2A(link::SerialLink& link) { Send(link, Bytes1{0x2A}); }
void UtcParametersRequest2F(link::SerialLink& link) { Send(link, Bytes1{0x2F}); }
void IoOptionsRequest35(link::SerialLink& link) { Send(link, Bytes1{0x35}); }

// SV 0 asks for every tracked satellite.
void TrackingStatusRequest3C(link::SerialLink& link) { Send(link, Bytes2{0x3C, 0x00}); }

void SegmentStatusRequest3F11(link::SerialLink& link) { Send(link, Bytes2{0x3F, 0x11}); }
void NmeaOutputRequest7A(link::SerialLink& link) { Send(link, Bytes2{0x7A, 0x00}); }
void ReceiverConfigurationRequestBB(link::SerialLink& link) { Send(link, Bytes2{0xBB, 0x00}); }

void ComprehensiveTimeRequest8E0B(link::SerialLink& link) { SendSuperQuery(link, 0x0B); }
void DatumRequest8E15(link::SerialLink& link) { SendSuperQuery(link, 0x15); }
void ManufacturingParametersRequest8E41(link::SerialLink& link) { SendSuperQuery(link, 0x41); }
void ProductionParametersRequest8E42(link::SerialLink& link) { SendSuperQuery(link, 0x42); }
void PpsCharacteristicsRequest8E4A(link::SerialLink& link) { SendSuperQuery(link, 0x4A); }
void SurveyLimitRequest8E4B(link::SerialLink& link) { SendSuperQuery(link, 0x4B); }
void AutomaticOutputMaskRequest8E4D(link::SerialLink& link) { SendSuperQuery(link, 0x4D); }
void PpsOutputRequest8E4E(link::SerialLink& link) { SendSuperQuery(link, 0x4E); }
void PpsWidthRequest8E4F(link::SerialLink& link) { SendSuperQuery(link, 0x4F); }
void PacketBroadcastMaskRequest8EA5(link::SerialLink& link) { SendSuperQuery(link, 0xA5); }
void SelfSurveyParametersRequest8EA9(link::SerialLink& link) { SendSuperQuery(link, 0xA9); }
void PrimaryUtcTimeRequest8EAD(link::SerialLink& link) { SendSuperQuery(link, 0xAD); }

// B. One parameter

void AlmanacRequest20(link::SerialLink& link, std::uint8_t sv) { Send(link, Bytes2{0x20, sv}); }

void SatelliteDataRequest38(link::SerialLink& link, std::uint8_t type, std::uint8_t sv) {
  constexpr std::uint8_t kOperationFetch = 1;
  Send(link, std::array<std::uint8_t, 4>{0x38, kOperationFetch, type, sv});
}

void RawMeasurementRequest3A(link::SerialLink& link, std::uint8_t sv) {
  Send(link, Bytes2{0x3A, sv});
}

void EphemerisStatusRequest3B(link::SerialLink& link, std::uint8_t sv) {
  Send(link, Bytes2{0x3B, sv});
}

void SerialPortRequestBC(link::SerialLink& link, std::uint8_t port) {
  Send(link, Bytes2{0xBC, port});
}

void TimingPacketRequest8EAB(link::SerialLink& link, std::uint8_t type) {
  Send(link, std::array<std::uint8_t, 3>{0x8E, 0xAB, type});
}

}  // namespace halvix::commands
