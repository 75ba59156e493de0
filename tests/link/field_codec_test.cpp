#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "link/field_codec.h"

using namespace halvix::link;

TEST(FieldCodec, ReadsIntegersBigEndian) {
  const std::uint8_t fffe[] = {0xFF, 0xFE};
  EXPECT_EQ(GetWord(fffe), 65534);
  EXPECT_EQ(GetSignedWord(fffe), -2);
  const std::uint8_t min[] = {0x80, 0x00, 0x00, 0x00};
  EXPECT_EQ(static_cast<std::int32_t>(GetLong(min)), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(GetLong(min), 0x80000000u);
}

TEST(FieldCodec, FloatsRoundTripBitForBit) {
  const std::uint8_t one[] = {0x3F, 0x80, 0x00, 0x00};
  EXPECT_EQ(GetSingle(one), 1.0);
  const std::uint8_t dbl[] = {0x3F, 0xF0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(GetDouble(dbl), 1.0);

  std::array<std::uint8_t, 8> out{};
  PutSingle(1.0f, out.data());
  EXPECT_EQ(out[0], 0x3F);
  EXPECT_EQ(out[1], 0x80);
  PutDouble(-2.0, out.data());
  EXPECT_EQ(out, (std::array<std::uint8_t, 8>{0xC0, 0, 0, 0, 0, 0, 0, 0}));

  PutSingle(std::numeric_limits<float>::infinity(), out.data());
  EXPECT_TRUE(std::isinf(GetSingle(out.data())));
  PutDouble(std::nan(""), out.data());
  EXPECT_TRUE(std::isnan(GetDouble(out.data())));
}

TEST(FieldCodec, WritersAndOddOffsets) {
  std::array<std::uint8_t, 7> buf{};
  PutWord(static_cast<std::uint16_t>(-1), buf.data());
  EXPECT_EQ(buf[0], 0xFF);
  EXPECT_EQ(buf[1], 0xFF);
  // A field after a super-packet sub-code sits at an odd offset.
  PutLong(16, buf.data() + 1);
  EXPECT_EQ(buf[1], 0);
  EXPECT_EQ(buf[4], 0x10);
  EXPECT_EQ(GetLong(buf.data() + 1), 16u);
  PutSingle(-123.25f, buf.data() + 3);
  EXPECT_EQ(GetSingle(buf.data() + 3), -123.25);
}
