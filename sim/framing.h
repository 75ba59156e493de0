// The receiver's own QLIP framing: DLE id payload DLE ETX with every DLE in
// the id and payload doubled, and the receive-side frame assembler.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/wire.h"

namespace halvix::sim {

inline constexpr std::uint8_t kDle = 0x10;
inline constexpr std::uint8_t kEtx = 0x03;

struct Packet {
  std::uint8_t id = 0;
  Bytes payload;
};

// One framed packet, ready for the line.
Bytes EncodeFrame(std::uint8_t id, const Bytes& payload);

// Assembles packets from line bytes. Bytes outside a frame are dropped; a DLE
// followed by anything but DLE or ETX inside a frame starts a new packet.
class FrameDecoder {
 public:
  // Longest payload accepted; the largest command (a satellite data load)
  // is far below it.
  static constexpr std::size_t kMaxPayload = 512;

  // Returns true when b completed a packet, which packet() then holds.
  bool feed(std::uint8_t b);
  const Packet& packet() const { return packet_; }
  // Forgets a partly received frame (a BREAK or line change cut it).
  void reset();

 private:
  enum class State { Hunting, StartDle, InPacket, InPacketDle };
  // A DLE and this id begin a packet.
  void begin(std::uint8_t id);
  // One payload byte; past kMaxPayload the frame is dropped.
  void append(std::uint8_t b);

  State state_ = State::Hunting;
  Packet packet_;
};

}  // namespace halvix::sim
