// The telnet stream split into data and commands, and the COM-PORT messages
// as they go on the wire.
#include <gtest/gtest.h>

#include <vector>

#include "link/telnet_codec.h"
#include "tests/support/wire_frames.h"

using namespace halvix::link;
using namespace halvix::link::telnet;

namespace {

constexpr auto& B = halvix::testing::WireBytes;

struct Decoded {
  QByteArray data;
  std::vector<Event> events;
};

// Feeds the input cut into pieces of the given size, as reads may cut it.
Decoded decode(const QByteArray& input, int piece, bool binary = true) {
  Decoder d;
  d.setBinary(binary);
  Decoded out;
  for (qsizetype i = 0; i < input.size(); i += piece) {
    d.feed(input.mid(i, piece), out.data, [&out](const Event& e) { out.events.push_back(e); });
  }
  return out;
}

}  // namespace

TEST(TelnetDecoder, SplitsDataFromCommandsWhereverTheReadsCutTheStream) {
  struct Case {
    const char* what;
    QByteArray input;
    QByteArray data;
    std::vector<Event::Kind> kinds;
  };
  const std::vector<Case> cases = {
      {"doubled 0xFF is one data byte", B({0x10, 0xFF, 0xFF, 0x10, 0x03}), B({0x10, 0xFF, 0x10, 0x03}), {}},
      {"negotiation between data", B({0x41, 0xFF, 0xFB, 0x03, 0x42}), B({0x41, 0x42}), {Event::Kind::Negotiation}},
      {"subnegotiation with a doubled 0xFF inside",
       B({0x01, 0xFF, 0xFA, 44, 101, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xF0, 0x02}), B({0x01, 0x02}),
       {Event::Kind::Subnegotiation}},
      {"a two-byte command", B({0xFF, 0xF1, 0x7E}), B({0x7E}), {Event::Kind::Command}},
      {"end of subnegotiation without a start", B({0xFF, 0xF0, 0x55}), B({0x55}), {Event::Kind::Broken}},
      {"subnegotiation cut short by a negotiation",
       B({0xFF, 0xFA, 44, 101, 0xFF, 0xFB, 0x01, 0x66}), B({0x66}),
       {Event::Kind::Broken, Event::Kind::Negotiation}},
  };
  for (const Case& c : cases) {
    for (int piece : {1, 2, 3, 1000}) {
      const Decoded d = decode(c.input, piece);
      EXPECT_EQ(d.data.toHex(' '), c.data.toHex(' ')) << c.what << ", pieces of " << piece;
      ASSERT_EQ(d.events.size(), c.kinds.size()) << c.what << ", pieces of " << piece;
      for (size_t i = 0; i < c.kinds.size(); ++i) EXPECT_EQ(d.events[i].kind, c.kinds[i]) << c.what;
    }
  }
  const Decoded sb = decode(B({0xFF, 0xFA, 44, 101, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xF0}), 1);
  ASSERT_EQ(sb.events.size(), 1u);
  EXPECT_EQ(sb.events[0].option, kOptionComPort);
  EXPECT_EQ(sb.events[0].payload, B({101, 0x00, 0x00, 0xFF}));
}

TEST(TelnetDecoder, ASubnegotiationThatNeverEndsIsDroppedAndTheStreamGoesOn) {
  QByteArray input = B({0xFF, 0xFA, 44});
  input += QByteArray(100'000, 'x');  // never closed
  input += B({0x10, 0x8F, 0x10, 0x03});
  const Decoded d = decode(input, 4096);
  ASSERT_FALSE(d.events.empty());
  EXPECT_EQ(d.events.front().kind, Event::Kind::Broken);
  // Whatever followed the cut is data again: the frame at the end arrives.
  EXPECT_TRUE(d.data.endsWith(B({0x10, 0x8F, 0x10, 0x03})));
  EXPECT_LT(d.data.size(), input.size());

  // A doubled 0xFF at the limit is bounded too.
  QByteArray ff = B({0xFF, 0xFA, 44});
  for (int i = 0; i < kMaxSubnegotiation + 10; ++i) ff += B({0xFF, 0xFF});
  const Decoded f = decode(ff, 7);
  ASSERT_FALSE(f.events.empty());
  EXPECT_EQ(f.events.front().kind, Event::Kind::Broken);
}

TEST(TelnetDecoder, OutsideBinaryACarriageReturnsPaddingIsDropped) {
  EXPECT_EQ(decode(B({0x0D, 0x00, 0x0A}), 1, false).data, B({0x0D, 0x0A}));
  EXPECT_EQ(decode(B({0x0D, 0x00, 0x0A}), 1, true).data, B({0x0D, 0x00, 0x0A}));
  EXPECT_EQ(decode(B({0x0D, 0xFF, 0xFF}), 1, false).data, B({0x0D, 0xFF}));
}

TEST(TelnetEncoder, DataAndComPortMessagesOnTheWire) {
  const QByteArray data = B({0x10, 0xFF, 0x0D, 0x10, 0x03});
  const auto* p = reinterpret_cast<const std::uint8_t*>(data.constData());
  EXPECT_EQ(EscapeData(p, data.size(), true), B({0x10, 0xFF, 0xFF, 0x0D, 0x10, 0x03}));
  EXPECT_EQ(EscapeData(p, data.size(), false), B({0x10, 0xFF, 0xFF, 0x0D, 0x00, 0x10, 0x03}));

  // 19200 baud, 8 bits, even parity, 2 stop bits, in the order servers expect.
  EXPECT_EQ(LineSettingsMessages({19200, 8, Parity::Even, StopBits::Two}),
            B({0xFF, 0xFA, 44, 1, 0x00, 0x00, 0x4B, 0x00, 0xFF, 0xF0,  //
               0xFF, 0xFA, 44, 2, 8, 0xFF, 0xF0,                       //
               0xFF, 0xFA, 44, 3, 3, 0xFF, 0xF0,                       //
               0xFF, 0xFA, 44, 4, 2, 0xFF, 0xF0}));
  // A rate with 0xFF in it is escaped inside the subnegotiation.
  EXPECT_EQ(LineSettingsMessages({255, 7, Parity::Odd, StopBits::One}).left(11),
            B({0xFF, 0xFA, 44, 1, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xF0}));
  EXPECT_EQ(ControlMessage(kControlBreakOn), B({0xFF, 0xFA, 44, 5, 5, 0xFF, 0xF0}));

  // What goes out comes back through the decoder unchanged.
  Decoder d;
  QByteArray back;
  std::vector<Event> events;
  d.feed(EscapeData(p, data.size(), true) + ControlMessage(kControlRtsOff), back,
         [&events](const Event& e) { events.push_back(e); });
  EXPECT_EQ(back, data);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].payload, B({5, kControlRtsOff}));
}

TEST(TelnetComPort, ServerRepliesAreReadAndOthersRefused) {
  const auto baud = ParseComPortReply(B({101, 0x00, 0x00, 0x25, 0x80}));
  ASSERT_TRUE(baud);
  EXPECT_EQ(baud->command, ComPortCommand::SetBaudRate);
  EXPECT_EQ(BaudFromValue(baud->value), 9600u);
  EXPECT_FALSE(ParseComPortReply(B({1, 0, 0, 0x25, 0x80}))) << "a client command is no reply";
  EXPECT_FALSE(ParseComPortReply(B({113}))) << "past the last command";
  EXPECT_FALSE(ParseComPortReply(QByteArray()));
  EXPECT_FALSE(BaudFromValue(B({0, 0, 0})));
  EXPECT_FALSE(BaudFromValue(B({0, 0, 0, 0})));
  EXPECT_FALSE(ParityFromValue(4)) << "mark parity is not ours";
  EXPECT_FALSE(StopBitsFromValue(3)) << "1.5 stop bits are not ours";
}
