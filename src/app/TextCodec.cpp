// Windows-1252 <-> Unicode: Latin-1 except for 0x80..0x9F, which hold the
// typographic characters listed below.
#include "app/TextCodec.h"

#include <array>

namespace trellisor {

namespace {

// 0x80..0x9F; the unassigned bytes 81, 8D, 8F, 90, 9D map to themselves.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString fromWindows1252(const std::string& bytes) {
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        text.append(QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b)));
    }
    return text;
}

std::string toWindows1252(const QString& text) {
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (QChar qc : text) {
        char16_t u = qc.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.push_back(char(u));
            continue;
        }
        char out = '?';
        for (std::size_t i = 0; i < kHighControls.size(); ++i) {
            if (kHighControls[i] == u) {
                out = char(0x80 + i);
                break;
            }
        }
        bytes.push_back(out);
    }
    return bytes;
}

}  // namespace trellisor
