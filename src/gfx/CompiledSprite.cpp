// The sprite compiler: two passes over the pixels choose the same stores, the
// first counting bytes, the second writing them; slots 24-28 of Image.
#include "gfx/CompiledSprite.h"

#include <cstring>
#include <initializer_list>
#include <limits>

#include "gfx/Image.h"

namespace trellisor {

namespace {

// Larger routines are refused rather than mapped: a sprite this big gains
// nothing from compiling and would only tie up memory.
constexpr std::uint64_t kMaxCodeBytes = std::uint64_t(256) << 20;

// The SysV entry in front of the routine: keeps RBX and RDI, loads RAX with the
// destination (RDI) and RBX with the pitch (RSI), calls the routine just after it.
constexpr std::uint8_t kBridge[] = {
    0x53,                          // push rbx
    0x57,                          // push rdi
    0x48, 0x89, 0xF8,              // mov rax, rdi
    0x48, 0x89, 0xF3,              // mov rbx, rsi
    0xE8, 0x03, 0x00, 0x00, 0x00,  // call +3 (the routine follows the ret below)
    0x5F,                          // pop rdi
    0x5B,                          // pop rbx
    0xC3,                          // ret
};
constexpr std::size_t kBridgeSize = sizeof(kBridge);

// Emits instructions into a buffer, or only counts their bytes when it has
// none, so that both passes run exactly the same choices.
class CodeWriter {
public:
    CodeWriter(CodeForm form, std::uint8_t* out, std::size_t capacity)
        : m_form(form), m_out(out), m_capacity(capacity) {}

    std::uint64_t length() const { return m_length; }

    void startRow() {  // mov edi, eax
        if (m_form == CodeForm::X86_64) put(0x48);
        put({0x8B, 0xF8});
    }
    void nextRow() {  // add eax, ebx
        if (m_form == CodeForm::X86_64) put(0x48);
        put({0x03, 0xC3});
    }
    void ret() { put(0xC3); }

    // mov byte/word/dword [edi + displacement], immediate; d8 below 128, else d32.
    void storeByte(std::uint32_t displacement, std::uint32_t value) {
        put(0xC6);
        address(displacement);
        little(value, 1);
    }
    void storeWord(std::uint32_t displacement, std::uint32_t value) {
        put({0x66, 0xC7});
        address(displacement);
        little(value, 2);
    }
    void storeDword(std::uint32_t displacement, std::uint32_t value) {
        put(0xC7);
        address(displacement);
        little(value, 4);
    }

private:
    void address(std::uint32_t displacement) {
        if (displacement < 128) {
            put({0x47, std::uint8_t(displacement)});
        } else {
            put(0x87);
            little(displacement, 4);
        }
    }
    void little(std::uint32_t value, int count) {
        for (int n = 0; n < count; ++n) put(std::uint8_t(value >> (8 * n)));
    }
    void put(std::initializer_list<std::uint8_t> bytes) {
        for (std::uint8_t b : bytes) put(b);
    }
    void put(std::uint8_t b) {
        // The writing pass never goes past the length the counting pass found.
        if (m_out && m_length < m_capacity) m_out[m_length] = b;
        ++m_length;
    }

    CodeForm m_form;
    std::uint8_t* m_out;
    std::size_t m_capacity;
    std::uint64_t m_length = 0;
};

// Four 8-bit pixels become one dword; otherwise each half is a word or single bytes.
void emitRow8(CodeWriter& code, const std::vector<std::uint32_t>& row, bool transparent) {
    const int width = int(row.size());
    auto visible = [&](std::uint32_t v) { return !transparent || v != 0; };
    auto half = [&](int col) {
        const std::uint32_t a = row[col], b = row[col + 1];
        if (visible(a) && visible(b)) {
            code.storeWord(std::uint32_t(col), a | (b << 8));
            return;
        }
        if (visible(a)) code.storeByte(std::uint32_t(col), a);
        if (visible(b)) code.storeByte(std::uint32_t(col + 1), b);
    };
    auto single = [&](int col) {
        if (visible(row[col])) code.storeByte(std::uint32_t(col), row[col]);
    };
    for (int col = 0; col + 4 <= width; col += 4) {
        const std::uint32_t p0 = row[col], p1 = row[col + 1], p2 = row[col + 2], p3 = row[col + 3];
        if (!transparent || (p0 && p1 && p2 && p3)) {
            code.storeDword(std::uint32_t(col), p0 | (p1 << 8) | (p2 << 16) | (p3 << 24));
        } else {
            half(col);
            half(col + 2);
        }
    }
    switch (width % 4) {
        case 1:
            single(width - 1);
            break;
        case 2:
            half(width - 2);
            break;
        case 3:
            half(width - 3);
            single(width - 1);
            break;
        default:
            break;
    }
}

// Pairs of 16-bit pixels become one dword when both are stored, else words.
void emitRow16(CodeWriter& code, const std::vector<std::uint32_t>& row, bool transparent) {
    const int width = int(row.size());
    auto visible = [&](std::uint32_t v) { return !transparent || v != 0; };
    for (int col = 0; col + 2 <= width; col += 2) {
        const std::uint32_t p0 = row[col], p1 = row[col + 1];
        const std::uint32_t at = std::uint32_t(col) * 2;
        if (visible(p0) && visible(p1)) {
            code.storeDword(at, p0 | (p1 << 16));
            continue;
        }
        if (visible(p0)) code.storeWord(at, p0);
        if (visible(p1)) code.storeWord(at + 2, p1);
    }
    if (width % 2 && visible(row[width - 1])) code.storeWord(std::uint32_t(width) * 2 - 2, row[width - 1]);
}

void emitRow32(CodeWriter& code, const std::vector<std::uint32_t>& row, bool transparent) {
    for (std::size_t col = 0; col < row.size(); ++col)
        if (!transparent || row[col] != 0) code.storeDword(std::uint32_t(col) * 4, row[col]);
}

// One pass over the image: counts (out null) or writes the routine.
std::uint64_t emitRoutine(Image& image, bool transparent, CodeForm form, std::uint8_t* out,
                          std::size_t capacity) {
    CodeWriter code(form, out, capacity);
    const int bytes = image.bytesPerPixel();
    const std::uint32_t mask = bytes == 1 ? 0xFFu : bytes == 2 ? 0xFFFFu : 0xFFFFFFFFu;
    std::vector<std::uint32_t> row(std::size_t(image.width()));
    code.startRow();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) row[std::size_t(x)] = image.getPixel(x, y) & mask;
        if (bytes == 1)
            emitRow8(code, row, transparent);
        else if (bytes == 2)
            emitRow16(code, row, transparent);
        else
            emitRow32(code, row, transparent);
        code.nextRow();
        code.startRow();
        if (code.length() > kMaxCodeBytes) break;  // refused below; no need to go on counting
    }
    code.ret();
    return code.length();
}

}  // namespace

std::vector<std::uint8_t> generateSpriteCode(Image& image, bool transparent, CodeForm form) {
    const int bytes = image.bytesPerPixel();
    if (!image.isValid() || (bytes != 1 && bytes != 2 && bytes != 4)) return {};
    if (image.width() <= 0 || image.height() <= 0) return {};
    // Displacements are signed 32-bit; a row must fit in them.
    if (std::int64_t(image.width()) * bytes > std::numeric_limits<std::int32_t>::max()) return {};

    const std::uint64_t length = emitRoutine(image, transparent, form, nullptr, 0);
    if (length > kMaxCodeBytes) return {};
    std::vector<std::uint8_t> code(std::size_t(length), 0);
    if (emitRoutine(image, transparent, form, code.data(), code.size()) != length) return {};
    return code;
}

bool compiledSpritesSupported() {
#if defined(__x86_64__)
    return true;
#else
    return false;
#endif
}

std::unique_ptr<CompiledSprite> CompiledSprite::compile(Image& image, bool transparent) {
    if (!compiledSpritesSupported()) return nullptr;
    const std::vector<std::uint8_t> routine = generateSpriteCode(image, transparent, CodeForm::X86_64);
    if (routine.empty()) return nullptr;
    std::vector<std::uint8_t> block(kBridge, kBridge + kBridgeSize);
    block.insert(block.end(), routine.begin(), routine.end());
    ExecutableMemory memory = makeExecutable(block);
    if (!memory) return nullptr;
    return std::unique_ptr<CompiledSprite>(new CompiledSprite(std::move(memory)));
}

CompiledSprite::~CompiledSprite() = default;

std::span<const std::uint8_t> CompiledSprite::code() const { return m_memory.bytes().subspan(kBridgeSize); }

#if defined(__clang__)
// The routine carries no type signature for the indirect-call check to read.
__attribute__((no_sanitize("function")))
#endif
void CompiledSprite::run(std::uint8_t* destination, std::int32_t pitchBytes) const {
#if defined(__x86_64__)
    using Entry = void (*)(std::uint8_t*, std::int64_t);
    const auto entry = reinterpret_cast<Entry>(reinterpret_cast<std::uintptr_t>(m_memory.data()));
    entry(destination, pitchBytes);
#else
    (void)destination;
    (void)pitchBytes;
#endif
}

// --- slots 24-28 of Image ---

bool Image::buildCompiledSprite(bool transparent) {
    if (!m_valid) return false;
    freeCompiledSprite();
    if (m_bytesPerPixel != 1 && m_bytesPerPixel != 2 && m_bytesPerPixel != 4) return false;
    m_compiledCode = CompiledSprite::compile(*this, transparent);
    if (!m_compiledCode) return false;
    if (transparent)
        m_compiledTransparent = true;
    else
        m_compiledOpaque = true;
    return true;
}

bool Image::hasCompiledSprite() const { return m_compiledOpaque || m_compiledTransparent; }
bool Image::hasCompiledOpaque() const { return m_compiledOpaque; }
bool Image::hasCompiledTransparent() const { return m_compiledTransparent; }

void Image::freeCompiledSprite() {
    m_compiledCode.reset();
    m_compiledOpaque = m_compiledTransparent = false;
}

}  // namespace trellisor
