// Executable memory through mmap/mprotect: write while read-write, then read+execute.
#include "gfx/ExecutableMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <utility>

namespace trellisor {

ExecutableMemory::~ExecutableMemory() { release(); }

ExecutableMemory::ExecutableMemory(ExecutableMemory&& other) noexcept
    : m_base(std::exchange(other.m_base, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, 0)) {}

ExecutableMemory& ExecutableMemory::operator=(ExecutableMemory&& other) noexcept {
    if (this != &other) {
        release();
        m_base = std::exchange(other.m_base, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

void ExecutableMemory::release() {
    if (m_base) munmap(m_base, m_mapped);
    m_base = nullptr;
    m_size = m_mapped = 0;
}

ExecutableMemory makeExecutable(std::span<const std::uint8_t> code) {
    ExecutableMemory memory;
    if (code.empty()) return memory;
    const long page = sysconf(_SC_PAGESIZE);
    const std::size_t pageSize = page > 0 ? std::size_t(page) : 4096;
    if (code.size() > SIZE_MAX - pageSize) return memory;
    const std::size_t mapped = (code.size() + pageSize - 1) / pageSize * pageSize;

    void* base = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return memory;
    std::memcpy(base, code.data(), code.size());
    // Dropping write before adding execute keeps the pages W^X throughout.
    if (mprotect(base, mapped, PROT_READ | PROT_EXEC) != 0) {
        munmap(base, mapped);
        return memory;
    }
    memory.m_base = base;
    memory.m_size = code.size();
    memory.m_mapped = mapped;
    return memory;
}

}  // namespace trellisor
