#include "core/ByteIO.h"

#include "core/Cp1254.h"

#include <bit>
#include <stdexcept>

static_assert(std::endian::native == std::endian::little, "record access assumes a little-endian host");

namespace korvel {

void ByteReader::copy(std::size_t offset, void* out, std::size_t n) const {
    auto* dst = static_cast<std::uint8_t*>(out);
    for (std::size_t i = 0; i < n; ++i)
        dst[i] = u8(offset + i);
}

std::int16_t ByteReader::i16(std::size_t offset) const {
    std::int16_t v;
    copy(offset, &v, sizeof v);
    return v;
}

std::uint16_t ByteReader::u16(std::size_t offset) const {
    std::uint16_t v;
    copy(offset, &v, sizeof v);
    return v;
}

std::int32_t ByteReader::i32(std::size_t offset) const {
    std::int32_t v;
    copy(offset, &v, sizeof v);
    return v;
}

float ByteReader::f32(std::size_t offset) const {
    float v;
    copy(offset, &v, sizeof v);
    return v;
}

double ByteReader::f64(std::size_t offset) const {
    double v;
    copy(offset, &v, sizeof v);
    return v;
}

std::string ByteReader::raw(std::size_t offset, std::size_t width) const {
    std::string s(width, '\0');
    copy(offset, s.data(), width);
    return s;
}

std::string ByteReader::text(std::size_t offset, std::size_t width) const {
    return cp1254ToUtf8(raw(offset, width));
}

void ByteWriter::put(std::size_t offset, const void* in, std::size_t n) {
    if (offset + n > bytes_.size())
        throw std::out_of_range("field beyond the record");
    std::memcpy(bytes_.data() + offset, in, n);
}

void ByteWriter::i16(std::size_t offset, std::int16_t v) {
    put(offset, &v, sizeof v);
}
void ByteWriter::u16(std::size_t offset, std::uint16_t v) {
    put(offset, &v, sizeof v);
}
void ByteWriter::i32(std::size_t offset, std::int32_t v) {
    put(offset, &v, sizeof v);
}
void ByteWriter::f32(std::size_t offset, float v) {
    put(offset, &v, sizeof v);
}
void ByteWriter::f64(std::size_t offset, double v) {
    put(offset, &v, sizeof v);
}

void ByteWriter::text(std::size_t offset, std::size_t width, std::string_view utf8) {
    const std::string field = fixedField(utf8, width);
    put(offset, field.data(), width);
}

void ByteWriter::raw(std::size_t offset, std::string_view bytes) {
    put(offset, bytes.data(), bytes.size());
}

} // namespace korvel
