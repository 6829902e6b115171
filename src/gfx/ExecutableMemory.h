// Executable copies of generated machine code: pages are mapped read-write,
// filled, then flipped to read+execute, so they are never writable and executable at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace trellisor {

// Owns one mapping that holds machine code; read-only and executable once made.
class ExecutableMemory {
public:
    ExecutableMemory() = default;
    ~ExecutableMemory();
    ExecutableMemory(ExecutableMemory&& other) noexcept;
    ExecutableMemory& operator=(ExecutableMemory&& other) noexcept;
    ExecutableMemory(const ExecutableMemory&) = delete;
    ExecutableMemory& operator=(const ExecutableMemory&) = delete;

    explicit operator bool() const { return m_base != nullptr; }
    const std::uint8_t* data() const { return static_cast<const std::uint8_t*>(m_base); }
    std::size_t size() const { return m_size; }
    std::span<const std::uint8_t> bytes() const { return {data(), m_size}; }

private:
    friend ExecutableMemory makeExecutable(std::span<const std::uint8_t> code);
    void release();

    void* m_base = nullptr;
    std::size_t m_size = 0;    // bytes of code
    std::size_t m_mapped = 0;  // bytes mapped (whole pages)
};

// The one way to get executable memory: maps a copy of the code and makes it
// executable. Empty when the code is empty or the system refuses the mapping.
ExecutableMemory makeExecutable(std::span<const std::uint8_t> code);

}  // namespace trellisor
