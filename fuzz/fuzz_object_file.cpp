// Fuzzes the object file reader; whatever it loads must save and read back to the same chunk,
// and that file, loaded and saved again, must come out byte for byte as it was.
#include <cstdlib>
#include <cstring>

#include "object/ObjectFile.h"

using namespace trellisor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PathObject obj;
    if (readObjectBytes(obj, {data, size}).outcome != LoadOutcome::Loaded) return 0;
    const auto texts = objectStrings(obj);
    auto file = serializeObjectFile(obj, "FUZZ.DAT", texts);
    if (file.empty()) std::abort();
    PathObject back;
    if (readObjectBytes(back, file).outcome != LoadOutcome::Loaded) std::abort();
    if (back.m_dataSize != obj.m_dataSize ||
        std::memcmp(back.m_data.get(), obj.m_data.get(), obj.m_dataSize) != 0)
        std::abort();
    if (back.m_sprites != obj.m_sprites || objectStrings(back) != objectStrings(obj)) std::abort();
    if (serializeObjectFile(back, "FUZZ.DAT", objectStrings(back)) != file) std::abort();
    return 0;
}
