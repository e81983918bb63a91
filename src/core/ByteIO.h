#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

using Bytes = std::vector<std::uint8_t>;

// Little-endian field access inside a record buffer. Reads past the end give zeros,
// so a short record reads as if it were padded with zero bytes.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const Bytes& bytes) : ByteReader(bytes.data(), bytes.size()) {}

    std::uint8_t u8(std::size_t offset) const { return offset < size_ ? data_[offset] : 0; }
    std::int16_t i16(std::size_t offset) const;
    std::uint16_t u16(std::size_t offset) const;
    std::int32_t i32(std::size_t offset) const;
    float f32(std::size_t offset) const;
    double f64(std::size_t offset) const;
    // The raw cp1254 bytes of a fixed-width field (NULs kept), decoded to UTF-8.
    std::string text(std::size_t offset, std::size_t width) const;
    std::string raw(std::size_t offset, std::size_t width) const;

private:
    void copy(std::size_t offset, void* out, std::size_t n) const;
    const std::uint8_t* data_;
    std::size_t size_;
};

// Little-endian field writes into a fixed-size record buffer.
class ByteWriter {
public:
    explicit ByteWriter(std::size_t size) : bytes_(size, 0) {}
    explicit ByteWriter(Bytes bytes) : bytes_(std::move(bytes)) {}

    void u8(std::size_t offset, std::uint8_t v) { bytes_.at(offset) = v; }
    void i16(std::size_t offset, std::int16_t v);
    void u16(std::size_t offset, std::uint16_t v);
    void i32(std::size_t offset, std::int32_t v);
    void f32(std::size_t offset, float v);
    void f64(std::size_t offset, double v);
    // UTF-8 text written as cp1254, cut to width or padded with spaces.
    void text(std::size_t offset, std::size_t width, std::string_view utf8);
    void raw(std::size_t offset, std::string_view bytes);

    const Bytes& bytes() const { return bytes_; }
    Bytes take() { return std::move(bytes_); }

private:
    void put(std::size_t offset, const void* in, std::size_t n);
    Bytes bytes_;
};

} // namespace korvel
