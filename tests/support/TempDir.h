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
        std::filesystem::path root = base ? base : std::filesystem::temp_directory_path();
        std::filesystem::create_directories(root);
        std::string tmpl = (root / "trellisor-XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        m_path = ::mkdtemp(buf.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    std::string write(const std::string& name, std::span<const std::uint8_t> bytes) const {
        std::ofstream out(file(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return file(name);
    }
    std::string writeText(const std::string& name, const std::string& text) const {
        std::ofstream out(file(name), std::ios::binary);
        out << text;
        return file(name);
    }
    std::vector<std::uint8_t> read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string m_path;
};

}  // namespace trellisor::test
