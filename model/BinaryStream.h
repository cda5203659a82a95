#pragma once
// Little-endian field-by-field encoding of the binary files. Writers append to
// a byte buffer that is written to disk in one piece; readers work on the whole
// file in memory, never read past its end and remember the first failure, so
// a parser can read on and check Ok() once at the end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ByteWriter {
public:
    void I32(int32_t v);
    void U32(uint32_t v);
    void I16(int16_t v);
    void F32(float v);
    void F64(double v);
    void F32s(const float* v, std::size_t n);
    void I16s(const int16_t* v, std::size_t n);
    void Bytes(const void* data, std::size_t n);

    const std::vector<uint8_t>& Data() const { return buf_; }

private:
    std::vector<uint8_t> buf_;
};

class ByteReader {
public:
    ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::vector<uint8_t>& v) : data_(v.data()), size_(v.size()) {}

    // Each getter returns false (and leaves the target alone) once the stream
    // has failed or when the bytes run out.
    bool I32(int32_t& v);
    bool U32(uint32_t& v);
    bool I16(int16_t& v);
    bool F32(float& v);    // raw IEEE value, NaN and infinity included
    bool F64(double& v);
    bool FiniteF32(float& v);   // fails on NaN and infinity
    bool FiniteF64(double& v);
    // Arrays in one piece; nothing is stored unless every element is good.
    bool FiniteF32s(float* v, std::size_t n);
    bool I16s(int16_t* v, std::size_t n);
    bool Bytes(void* dest, std::size_t n);

    // An i32 that must lie in lo..hi; anything else fails the stream.
    bool I32InRange(int32_t& v, int32_t lo, int32_t hi);
    // A fixed text field that must hold its terminating NUL.
    bool Text(char* dest, std::size_t fieldSize);

    void Fail() { ok_ = false; }
    bool Ok() const { return ok_; }
    std::size_t Remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ == size_; }

private:
    bool Take(std::size_t n, const uint8_t*& p);
    bool Failed() {
        ok_ = false;
        return false;
    }

    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};
