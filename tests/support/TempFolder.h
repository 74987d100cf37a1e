// A folder of a test's own under the system's temporary folder, removed with everything in it
// when the test is done, so that tests never meet each other's files or the user's.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class TTempFolder {
public:
    TTempFolder() {
        static int made = 0;
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::temp_directory_path() /
               ("quillet-" + std::to_string(getpid()) + "-" + std::to_string(++made) + "-" +
                (test ? test->name() : "run"));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path / name; }

    // Writes the file (its folders made first) and answers its full path.
    template <class Data>
    std::string Write(const std::string& name, const Data& data) const {
        std::filesystem::path file = path / name;
        WriteFile(file, data);
        return file.string();
    }

    template <class Data>
    static void WriteFile(const std::filesystem::path& file, const Data& data) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
    }
    static std::vector<uint8_t> ReadFile(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path path;
};
