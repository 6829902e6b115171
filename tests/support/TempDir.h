// A fresh temporary folder per test, removed afterwards.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace trellisor::test {

class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TRELLISOR_TEST_TMP");
        const std::filesystem::path root = base ? base : std::filesystem::temp_directory_path();
        std::filesystem::create_directories(root);
        m_path = (root / "trellisor-XXXXXX").string();
        ::mkdtemp(m_path.data());
    }
    ~TempDir() { std::filesystem::remove_all(m_path, m_removeError); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    std::string write(const std::string& name, std::span<const std::uint8_t> bytes) const {
        std::ofstream(file(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return file(name);
    }
    std::string writeText(const std::string& name, const std::string& text) const {
        return write(name, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    std::vector<std::uint8_t> read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

private:
    std::string m_path;
    std::error_code m_removeError;
};

}  // namespace trellisor::test
