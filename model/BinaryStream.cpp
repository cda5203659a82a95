#include "model/BinaryStream.h"

#include <bit>
#include <cmath>
#include <cstring>

void ByteWriter::U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) buf_.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::I32(int32_t v) { U32(static_cast<uint32_t>(v)); }

void ByteWriter::I16(int16_t v) {
    uint16_t u = static_cast<uint16_t>(v);
    buf_.push_back(static_cast<uint8_t>(u));
    buf_.push_back(static_cast<uint8_t>(u >> 8));
}

void ByteWriter::U8(uint8_t v) { buf_.push_back(v); }

void ByteWriter::F32(float v) { U32(std::bit_cast<uint32_t>(v)); }

void ByteWriter::F64(double v) {
    uint64_t u = std::bit_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) buf_.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

void ByteWriter::Bytes(const void* data, std::size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    buf_.insert(buf_.end(), p, p + n);
}

void ByteWriter::Zeros(std::size_t n) { buf_.insert(buf_.end(), n, 0); }

bool ByteReader::Take(std::size_t n, const uint8_t*& p) {
    if (!ok_ || n > size_ - pos_) {
        ok_ = false;
        return false;
    }
    p = data_ + pos_;
    pos_ += n;
    return true;
}

bool ByteReader::U32(uint32_t& v) {
    const uint8_t* p;
    if (!Take(4, p)) return false;
    v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
        static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
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

bool ByteReader::U8(uint8_t& v) {
    const uint8_t* p;
    if (!Take(1, p)) return false;
    v = p[0];
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
    if (!std::isfinite(t)) {
        ok_ = false;
        return false;
    }
    v = t;
    return true;
}

bool ByteReader::FiniteF64(double& v) {
    double t;
    if (!F64(t)) return false;
    if (!std::isfinite(t)) {
        ok_ = false;
        return false;
    }
    v = t;
    return true;
}

bool ByteReader::Bytes(void* dest, std::size_t n) {
    const uint8_t* p;
    if (!Take(n, p)) return false;
    if (n) std::memcpy(dest, p, n);
    return true;
}

bool ByteReader::Skip(std::size_t n) {
    const uint8_t* p;
    return Take(n, p);
}

bool ByteReader::I32InRange(int32_t& v, int32_t lo, int32_t hi) {
    int32_t t;
    if (!I32(t)) return false;
    if (t < lo || t > hi) {
        ok_ = false;
        return false;
    }
    v = t;
    return true;
}

bool ByteReader::Text(char* dest, std::size_t fieldSize) {
    const uint8_t* p;
    if (!Take(fieldSize, p)) return false;
    if (!std::memchr(p, 0, fieldSize)) {
        ok_ = false;
        return false;
    }
    std::memcpy(dest, p, fieldSize);
    return true;
}
