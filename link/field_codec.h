// Big-endian field readers and writers for QLIP payloads. These are the only
// place where byte order is handled; everything above works with host numbers.
#pragma once

#include <cstdint>

namespace halvix::link {

// Readers do no bounds check: callers have already checked the payload length.
std::uint16_t GetWord(const std::uint8_t* p);
std::int16_t GetSignedWord(const std::uint8_t* p);
std::uint32_t GetLong(const std::uint8_t* p);
double GetSingle(const std::uint8_t* p);
double GetDouble(const std::uint8_t* p);

// Writers store exactly the field's width.
void PutWord(std::uint16_t value, std::uint8_t* p);
void PutLong(std::uint32_t value, std::uint8_t* p);
void PutSingle(float value, std::uint8_t* p);
void PutDouble(double value, std::uint8_t* p);

}  // namespace halvix::link
