#include "model/BinaryStream.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

void ByteWriter::U32(uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    buf_.insert(buf_.end(), b, b + 4);
}

void ByteWriter::I32(int32_t v) { U32(static_cast<uint32_t>(v)); }

void ByteWriter::I16(int16_t v) {
    uint16_t u = static_cast<uint16_t>(v);
    buf_.push_back(static_cast<uint8_t>(u));
    buf_.push_back(static_cast<uint8_t>(u >> 8));
}

void ByteWriter::F32(float v) { U32(std::bit_cast<uint32_t>(v)); }

void ByteWriter::F64(double v) {
    uint64_t u = std::bit_cast<uint64_t>(v);
    U32(static_cast<uint32_t>(u));
    U32(static_cast<uint32_t>(u >> 32));
}

void ByteWriter::F32s(const float* v, std::size_t n) {
    std::size_t at = buf_.size();
    buf_.resize(at + 4 * n);
    uint8_t* p = buf_.data() + at;
    for (std::size_t i = 0; i < n; ++i, p += 4) {
        uint32_t u = std::bit_cast<uint32_t>(v[i]);
        p[0] = static_cast<uint8_t>(u);
        p[1] = static_cast<uint8_t>(u >> 8);
        p[2] = static_cast<uint8_t>(u >> 16);
        p[3] = static_cast<uint8_t>(u >> 24);
    }
}

void ByteWriter::I16s(const int16_t* v, std::size_t n) {
    std::size_t at = buf_.size();
    buf_.resize(at + 2 * n);
    uint8_t* p = buf_.data() + at;
    for (std::size_t i = 0; i < n; ++i, p += 2) {
        uint16_t u = static_cast<uint16_t>(v[i]);
        p[0] = static_cast<uint8_t>(u);
        p[1] = static_cast<uint8_t>(u >> 8);
    }
}

void ByteWriter::Bytes(const void* data, std::size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    buf_.insert(buf_.end(), p, p + n);
}

static uint32_t LoadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool ByteReader::Take(std::size_t n, const uint8_t*& p) {
    if (!ok_ || n > size_ - pos_) return Failed();
    p = data_ + pos_;
    pos_ += n;
    return true;
}

bool ByteReader::U32(uint32_t& v) {
    const uint8_t* p;
    if (!Take(4, p)) return false;
    v = LoadU32(p);
    return true;
}

bool ByteReader::I32(int32_t& v) {
    uint32_t u;
    if (!U32(u)) return false;
    v = static_cast<int32_t>(u);
    return true;
}

bool ByteReader::I16(int16_t& v) {
    const uint8_t* p;
    if (!Take(2, p)) return false;
    v = static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
    return true;
}

bool ByteReader::F32(float& v) {
    uint32_t u;
    if (!U32(u)) return false;
    v = std::bit_cast<float>(u);
    return true;
}

bool ByteReader::F64(double& v) {
    const uint8_t* p;
    if (!Take(8, p)) return false;
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = u << 8 | p[i];
    v = std::bit_cast<double>(u);
    return true;
}

bool ByteReader::FiniteF32(float& v) {
    float t;
    if (!F32(t)) return false;
    if (!std::isfinite(t)) return Failed();
    v = t;
    return true;
}

bool ByteReader::FiniteF64(double& v) {
    double t;
    if (!F64(t)) return false;
    if (!std::isfinite(t)) return Failed();
    v = t;
    return true;
}

bool ByteReader::FiniteF32s(float* v, std::size_t n) {
    const uint8_t* p;
    if (n > SIZE_MAX / 4 || !Take(4 * n, p)) return Failed();
    // All exponent bits set: infinity or NaN.
    for (std::size_t i = 0; i < n; ++i)
        if ((LoadU32(p + 4 * i) & 0x7F800000u) == 0x7F800000u) return Failed();
    for (std::size_t i = 0; i < n; ++i) v[i] = std::bit_cast<float>(LoadU32(p + 4 * i));
    return true;
}

bool ByteReader::I16s(int16_t* v, std::size_t n) {
    const uint8_t* p;
    if (n > SIZE_MAX / 2 || !Take(2 * n, p)) return Failed();
    for (std::size_t i = 0; i < n; ++i, p += 2) v[i] = static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
    return true;
}

bool ByteReader::Bytes(void* dest, std::size_t n) {
    const uint8_t* p;
    if (!Take(n, p)) return false;
    if (n) std::memcpy(dest, p, n);
    return true;
}

bool ByteReader::I32InRange(int32_t& v, int32_t lo, int32_t hi) {
    int32_t t;
    if (!I32(t)) return false;
    if (t < lo || t > hi) return Failed();
    v = t;
    return true;
}

bool ByteReader::Text(char* dest, std::size_t fieldSize) {
    const uint8_t* p;
    if (!Take(fieldSize, p)) return false;
    if (!std::memchr(p, 0, fieldSize)) return Failed();
    std::memcpy(dest, p, fieldSize);
    return true;
}
