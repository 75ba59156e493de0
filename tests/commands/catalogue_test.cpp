// Every catalogue routine, byte for byte on the wire, through a real
// SerialLink over a scripted device on virtual time.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/catalogue.h"
#include "link/serial_link.h"
#include "tests/support/scripted_device.h"

using namespace halvix::commands;
using namespace halvix::link;
using namespace halvix::testing;

namespace {

// Frames a packet the way the wire carries it, so expectations can be written
// unstuffed and stuffing is checked separately.
Bytes Framed(const Bytes& packet) {
  Bytes frame{0x10};
  for (auto b : packet) {
    if (b == 0x10) frame.push_back(0x10);
    frame.push_back(b);
  }
  frame.push_back(0x10);
  frame.push_back(0x03);
  return frame;
}

class CatalogueTest : public ::testing::Test {
 protected:
  VirtualClock clock{5000};
  ScriptedDevice device{&clock};
  SerialLink link{device, clock};

  void SetUp() override { ASSERT_EQ(link.OpenLink(QStringLiteral("/dev/test")), 0); }

  // The one frame a routine put on the wire.
  Bytes sent(const std::function<void(SerialLink&)>& routine) {
    device.clearWrites();
    routine(link);
    if (device.writes().size() != 1) {
      ADD_FAILURE() << "expected one frame, got " << device.writes().size();
      return {};
    }
    return device.writes()[0].bytes;
  }
};

struct Case {
  const char* name;
  std::function<void(SerialLink&)> routine;
  Bytes packet;  // id and payload, before stuffing
};

std::vector<Case> AllRoutines() {
  ReceiverConfiguration config;
  config.receiverMode = kReceiverModeFullPosition;
  config.dgpsMode = kDgpsAuto;
  config.dynamicsCode = 4;
  config.elevationMask = 0.5f;   // 3F 00 00 00
  config.signalLevelMask = 2.0f; // 40 00 00 00
  config.pdopMask = 12.0f;       // 41 40 00 00
  config.pdopSwitch = 8.0f;      // 41 00 00 00
  config.dgpsAgeLimit = 30;

  PpsCharacteristics pps;
  pps.driverSwitch = 1;
  pps.timeBase = 1;
  pps.polarity = 1;
  pps.ppsOffset = -2.0;                 // C0 00 00 00 00 00 00 00
  pps.biasUncertaintyThreshold = 300.0f; // 43 96 00 00

  const Bytes almanac{0x01, 0x82, 0x83, 0xFF};

  return {
      // A. Fixed payloads
      {"1F", SoftwareVersionRequest1F, {0x1F, 0x00, 0x00}},
      {"21", TimeRequest21, {0x21}},
      {"24", SvSelectionRequest24, {0x24}},
      {"26", HealthRequest26, {0x26}},
      {"29", AlmanacHealthRequest29, {0x29}},
      {"2A", AltitudeRequest2A, {0x2A}},
      {"2F", UtcParametersRequest2F, {0x2F}},
      {"35", IoOptionsRequest35, {0x35}},
      {"3C", TrackingStatusRequest3C, {0x3C, 0x00}},
      {"3F-11", SegmentStatusRequest3F11, {0x3F, 0x11}},
      {"7A", NmeaOutputRequest7A, {0x7A, 0x00}},
      {"BB", ReceiverConfigurationRequestBB, {0xBB, 0x00}},
      {"8E-0B", ComprehensiveTimeRequest8E0B, {0x8E, 0x0B}},
      {"8E-15", DatumRequest8E15, {0x8E, 0x15}},
      {"8E-41", ManufacturingParametersRequest8E41, {0x8E, 0x41}},
      {"8E-42", ProductionParametersRequest8E42, {0x8E, 0x42}},
      {"8E-4A", PpsCharacteristicsRequest8E4A, {0x8E, 0x4A}},
      {"8E-4B", SurveyLimitRequest8E4B, {0x8E, 0x4B}},
      {"8E-4D", AutomaticOutputMaskRequest8E4D, {0x8E, 0x4D}},
      {"8E-4E", PpsOutputRequest8E4E, {0x8E, 0x4E}},
      {"8E-4F", PpsWidthRequest8E4F, {0x8E, 0x4F}},
      {"8E-A5", PacketBroadcastMaskRequest8EA5, {0x8E, 0xA5}},
      {"8E-A9", SelfSurveyParametersRequest8EA9, {0x8E, 0xA9}},
      {"8E-AD", PrimaryUtcTimeRequest8EAD, {0x8E, 0xAD}},
      // B. One parameter
      {"20", [](SerialLink& l) { AlmanacRequest20(l, 32); }, {0x20, 0x20}},
      {"38 request", [](SerialLink& l) { SatelliteDataRequest38(l, kSatelliteDataAlmanac, 7); },
       {0x38, 0x01, 0x02, 0x07}},
      {"38 request UTC", [](SerialLink& l) { SatelliteDataRequest38(l, kSatelliteDataUtc, 0); },
       {0x38, 0x01, 0x05, 0x00}},
      {"3A", [](SerialLink& l) { RawMeasurementRequest3A(l, 12); }, {0x3A, 0x0C}},
      {"3B", [](SerialLink& l) { EphemerisStatusRequest3B(l, 31); }, {0x3B, 0x1F}},
      {"BC request", [](SerialLink& l) { SerialPortRequestBC(l, 1); }, {0xBC, 0x01}},
      {"8E-AB", [](SerialLink& l) { TimingPacketRequest8EAB(l, kTimingRequestBoth); },
       {0x8E, 0xAB, 0x02}},
      // C. One value or none
      {"1E cold", [](SerialLink& l) { ResetCommand1E(l, kResetCold); }, {0x1E, 'K'}},
      {"1E factory", [](SerialLink& l) { ResetCommand1E(l, kResetFactoryAll); }, {0x1E, 'F'}},
      {"1E navigation", [](SerialLink& l) { ResetCommand1E(l, kResetFactoryNavigation); },
       {0x1E, 'N'}},
      {"1E configuration", [](SerialLink& l) { ResetCommand1E(l, kResetFactoryConfiguration); },
       {0x1E, 'R'}},
      {"25", WarmResetCommand25, {0x25}},
      {"2A set", [](SerialLink& l) { SetAltitude2A(l, 100.0f); }, {0x2A, 0x42, 0xC8, 0x00, 0x00}},
      {"2A clear", ClearAltitude2A, {0x2A, 0xFF}},
      {"34", [](SerialLink& l) { OneSvSelect34(l, kHighestSv); }, {0x34, 0x00}},
      {"35 set", [](SerialLink& l) { SetIoOptions35(l, 0x33, 0x03, 0x01, 0x03); },
       {0x35, 0x33, 0x03, 0x01, 0x03}},
      {"8E-0B mode", [](SerialLink& l) { SuperPacketByteCommand8E(l, 0x0B, 3); },
       {0x8E, 0x0B, 0x03}},
      {"8E-AD mode", [](SerialLink& l) { SuperPacketByteCommand8E(l, 0xAD, 0); },
       {0x8E, 0xAD, 0x00}},
      {"8E-15 set", [](SerialLink& l) { SetDatum8E15(l, 5); }, {0x8E, 0x15, 0x00, 0x05}},
      {"8E-15 none", [](SerialLink& l) { SetDatum8E15(l, 0xFFFF); }, {0x8E, 0x15, 0xFF, 0xFF}},
      {"8E-26", SaveSegmentsCommand8E26, {0x8E, 0x26}},
      {"8E-45", [](SerialLink& l) { RevertSegmentCommand8E45(l, kAllSegments); },
       {0x8E, 0x45, 0xFF}},
      {"8E-4B set", [](SerialLink& l) { SetSurveyLimit8E4B(l, 0x80000001u); },
       {0x8E, 0x4B, 0x80, 0x00, 0x00, 0x01}},
      {"8E-4D set", [](SerialLink& l) { SetAutomaticOutputMask8E4D(l, 0x01020304u); },
       {0x8E, 0x4D, 0x01, 0x02, 0x03, 0x04}},
      {"8E-4E set", [](SerialLink& l) { SetPpsOutput8E4E(l, kPpsAlways); }, {0x8E, 0x4E, 0x02}},
      {"8E-4F set", [](SerialLink& l) { SetPpsWidth8E4F(l, 1.0); },
       {0x8E, 0x4F, 0x3F, 0xF0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"8E-A5 set", [](SerialLink& l) { SetPacketBroadcastMask8EA5(l, 0x32, 0xE1); },
       {0x8E, 0xA5, 0x32, 0xE1, 0x00, 0x00}},
      {"8E-A6", SelfSurveyRestartCommand8EA6, {0x8E, 0xA6, 0x00}},
      {"8E-AF", [](SerialLink& l) { SiCodeCommand8EAF(l, 9); }, {0x8E, 0xAF, 0x09}},
      // D. Several fields
      {"2E", [](SerialLink& l) { SetInitialTime2E(l, 1.0f, -2); },
       {0x2E, 0x3F, 0x80, 0x00, 0x00, 0xFF, 0xFE}},
      {"31", [](SerialLink& l) { SetInitialPositionEcef31(l, 1.0f, -2.0f, 0.5f); },
       {0x31, 0x3F, 0x80, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00}},
      {"32", [](SerialLink& l) { SetInitialPositionLla32(l, 0.5f, -2.0f, 100.0f); },
       {0x32, 0x3F, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x42, 0xC8, 0x00, 0x00}},
      {"38 load",
       [almanac](SerialLink& l) {
         SatelliteDataLoad38(l, kSatelliteDataAlmanac, 3, almanac.data(),
                             static_cast<std::uint8_t>(almanac.size()));
       },
       {0x38, 0x02, 0x02, 0x03, 0x04, 0x01, 0x82, 0x83, 0xFF}},
      {"38 load empty", [](SerialLink& l) { SatelliteDataLoad38(l, kSatelliteDataHealthPage, 0, nullptr, 0); },
       {0x38, 0x02, 0x03, 0x00, 0x00}},
      {"7A set", [](SerialLink& l) { SetNmeaOutput7A(l, 10, 1); },
       {0x7A, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x01}},
      {"BB set", [config](SerialLink& l) { SetReceiverConfigurationBB(l, config); },
       {0xBB, 0x00, 0x04, 0x03, 0x04, 0x01, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00,
        0x41, 0x40, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00, 0x1E, 0x00, 0x00, 0x00, 0x00, 0x00,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF}},
      {"BC set",
       [](SerialLink& l) { SetSerialPortBC(l, PortSettings{1, 7, 3, 1, 0, 2, 2}); },
       {0xBC, 0x01, 0x07, 0x07, 0x03, 0x01, 0x00, 0x00, 0x02, 0x02, 0x00}},
      {"8E-4A set", [pps](SerialLink& l) { SetPpsCharacteristics8E4A(l, pps); },
       {0x8E, 0x4A, 0x01, 0x01, 0x01, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x43,
        0x96, 0x00, 0x00}},
      {"8E-A9 set", [](SerialLink& l) { SetSelfSurveyParameters8EA9(l, 1, 0, 100); },
       {0x8E, 0xA9, 0x01, 0x00, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x00}},
  };
}

}  // namespace

TEST_F(CatalogueTest, EveryRoutinePutsItsPacketOnTheWire) {
  for (const Case& c : AllRoutines()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(sent(c.routine), Framed(c.packet));
  }
}

// The examples the receiver documentation pins down, spelled out on the wire.
TEST_F(CatalogueTest, DocumentedVectorsOnTheWire) {
  EXPECT_EQ(sent(SoftwareVersionRequest1F), (Bytes{0x10, 0x1F, 0x00, 0x00, 0x10, 0x03}));
  EXPECT_EQ(sent([](SerialLink& l) { SetAltitude2A(l, 100.0f); }),
            (Bytes{0x10, 0x2A, 0x42, 0xC8, 0x00, 0x00, 0x10, 0x03}));
  EXPECT_EQ(sent([](SerialLink& l) { SetDatum8E15(l, 5); }),
            (Bytes{0x10, 0x8E, 0x15, 0x00, 0x05, 0x10, 0x03}));
  EXPECT_EQ(sent([](SerialLink& l) { SetSerialPortBC(l, PortSettings{1, 7, 3, 1, 0, 2, 2}); }),
            (Bytes{0x10, 0xBC, 0x01, 0x07, 0x07, 0x03, 0x01, 0x00, 0x00, 0x02, 0x02, 0x00,
                   0x10, 0x03}));
  EXPECT_EQ(sent([](SerialLink& l) { SatelliteDataLoad38(l, 4, 0x21, nullptr, 0); }),
            (Bytes{0x10, 0x38, 0x02, 0x04, 0x21, 0x00, 0x10, 0x03}));
  EXPECT_EQ(sent([](SerialLink& l) { SetPacketBroadcastMask8EA5(l, 0x32, 0xE1); }),
            (Bytes{0x10, 0x8E, 0xA5, 0x32, 0xE1, 0x00, 0x00, 0x10, 0x03}));
  // SV 16 is a 0x10 value byte: it reaches the wire stuffed.
  EXPECT_EQ(sent([](SerialLink& l) { AlmanacRequest20(l, 16); }),
            (Bytes{0x10, 0x20, 0x10, 0x10, 0x10, 0x03}));
  // A 0x10 inside a multi-byte field is stuffed too: PutLong of 16.
  EXPECT_EQ(sent([](SerialLink& l) { SetSurveyLimit8E4B(l, 16); }),
            (Bytes{0x10, 0x8E, 0x4B, 0x00, 0x00, 0x00, 0x10, 0x10, 0x10, 0x03}));
}

TEST_F(CatalogueTest, ReceiverConfigurationIsAlwaysFortyFourBytesEndingInSixteenOnes) {
  ReceiverConfiguration extreme;
  extreme.receiverMode = 0xFF;
  extreme.dgpsMode = 0xFF;
  extreme.dynamicsCode = 0xFF;
  extreme.elevationMask = -1.0f;
  extreme.signalLevelMask = 1e30f;
  extreme.pdopMask = 0.0f;
  extreme.pdopSwitch = -0.0f;
  extreme.dgpsAgeLimit = 0xFF;
  for (const ReceiverConfiguration& config : {ReceiverConfiguration{}, extreme}) {
    device.clearWrites();
    SetReceiverConfigurationBB(link, config);
    ASSERT_EQ(device.writes().size(), 1u);
    // Unstuff the frame to count the packet bytes.
    const Bytes& frame = device.writes()[0].bytes;
    Bytes packet;
    for (std::size_t i = 1; i + 2 < frame.size(); ++i) {
      packet.push_back(frame[i]);
      if (frame[i] == 0x10) ++i;
    }
    ASSERT_EQ(packet.size(), 44u);
    EXPECT_EQ(packet[0], 0xBB);
    EXPECT_EQ(packet[5], 0x01);
    EXPECT_EQ(Bytes(packet.begin() + 23, packet.begin() + 28), Bytes(5, 0x00));
    EXPECT_EQ(Bytes(packet.end() - 16, packet.end()), Bytes(16, 0xFF));
  }
}

TEST_F(CatalogueTest, SatelliteDataLoadCarriesTheFullBlockUnchanged) {
  Bytes block(kSatelliteDataMax);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i + 1);
  SatelliteDataLoad38(link, kSatelliteDataAlmanacRaw, 32, block.data(), 255);
  Bytes packet{0x38, 0x02, 0x01, 0x20, 0xFF};
  packet.insert(packet.end(), block.begin(), block.end());
  ASSERT_EQ(device.writes().size(), 1u);
  EXPECT_EQ(device.writes()[0].bytes, Framed(packet));

  // No data behind a non-zero length: nothing is read and nothing is sent.
  device.clearWrites();
  SatelliteDataLoad38(link, kSatelliteDataAlmanac, 1, nullptr, 10);
  EXPECT_TRUE(device.writes().empty());
}

// The routines go through SendPacket, so its pacing and send gate apply.
TEST_F(CatalogueTest, RoutinesArePacedAndDroppedWhileSendingIsOff) {
  TimeRequest21(link);
  HealthRequest26(link);
  ASSERT_EQ(device.writes().size(), 2u);
  EXPECT_GE(device.writes()[1].atMs - device.writes()[0].atMs, SerialLink::kSendSpacingMs);

  device.clearWrites();
  link.sendEnabled = false;
  SetPpsWidth8E4F(link, 0.5);
  EXPECT_TRUE(device.writes().empty());
}
