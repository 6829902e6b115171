// Little-endian field access over byte buffers; every read is bounds-checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace trellisor {

// Reads little-endian fields from a span. A read past the end returns 0 and
// sets the overflow flag, so a parser can read a record and test once.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t position() const { return m_pos; }
    std::size_t size() const { return m_bytes.size(); }
    std::size_t remaining() const { return m_pos < m_bytes.size() ? m_bytes.size() - m_pos : 0; }
    bool overflowed() const { return m_overflow; }
    bool canRead(std::size_t n) const { return n <= remaining(); }
    void seek(std::size_t pos) {
        if (pos > m_bytes.size()) m_overflow = true;
        m_pos = pos;
    }
    void skip(std::size_t n) { seek(m_pos + n); }

    std::uint8_t u8() {
        if (!canRead(1)) return fail<std::uint8_t>();
        return m_bytes[m_pos++];
    }
    std::uint16_t u16() {
        if (!canRead(2)) return fail<std::uint16_t>();
        std::uint16_t v = std::uint16_t(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    std::int16_t i16() { return std::int16_t(u16()); }
    std::uint32_t u32() {
        if (!canRead(4)) return fail<std::uint32_t>();
        std::uint32_t v = std::uint32_t(m_bytes[m_pos]) | (std::uint32_t(m_bytes[m_pos + 1]) << 8) |
                          (std::uint32_t(m_bytes[m_pos + 2]) << 16) | (std::uint32_t(m_bytes[m_pos + 3]) << 24);
        m_pos += 4;
        return v;
    }
    std::int32_t i32() { return std::int32_t(u32()); }
    // Takes n bytes as a sub-span; an empty span (and the overflow flag) when they are not there.
    std::span<const std::uint8_t> take(std::size_t n) {
        if (!canRead(n)) {
            m_overflow = true;
            return {};
        }
        auto s = m_bytes.subspan(m_pos, n);
        m_pos += n;
        return s;
    }

private:
    template <class T>
    T fail() {
        m_overflow = true;
        m_pos = m_bytes.size();
        return T(0);
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
    bool m_overflow = false;
};

inline std::uint16_t loadLe16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::uint32_t loadLe32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
inline void storeLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
inline void storeLe32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

// Appends little-endian fields to a growing byte vector.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : m_out(out) {}
    void u8(std::uint8_t v) { m_out.push_back(v); }
    void u16(std::uint16_t v) {
        m_out.push_back(std::uint8_t(v));
        m_out.push_back(std::uint8_t(v >> 8));
    }
    void i16(std::int16_t v) { u16(std::uint16_t(v)); }
    void u32(std::uint32_t v) {
        u16(std::uint16_t(v));
        u16(std::uint16_t(v >> 16));
    }
    void bytes(std::span<const std::uint8_t> b) { m_out.insert(m_out.end(), b.begin(), b.end()); }

private:
    std::vector<std::uint8_t>& m_out;
};

}  // namespace trellisor
