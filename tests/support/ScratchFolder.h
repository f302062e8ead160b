// A fresh folder for one test's files, removed with everything in it when the test ends.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class ScratchFolder {
public:
    ScratchFolder() {
        static std::atomic<int> counter{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("tavrin-test-" + std::to_string(Unique()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // A file name inside the folder, as the narrow path the code under test takes.
    std::string File(std::string_view name) const { return (m_path / name).string(); }

    // The folder with a trailing separator, as the program folder is kept.
    std::string Folder() const { return (m_path / "").string(); }

    // A file name inside a folder made for it, so that the path has `length` characters: for
    // paths near the platform's limit. The scratch folder's own path is ASCII.
    std::string FileAtLength(std::string_view name, std::size_t length) const {
        const std::size_t folderLength = length - Folder().size() - 1 - name.size();
        const std::filesystem::path folder = m_path / std::string(folderLength, 'd');
        std::filesystem::create_directory(folder);
        return (folder / name).string();
    }

    void Write(std::string_view name, std::string_view bytes) const {
        std::ofstream(File(name), std::ios::binary).write(bytes.data(), bytes.size());
    }

private:
    static long long Unique() {
        return static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch().count() &
                                      0xFFFFFFF);
    }
    std::filesystem::path m_path;
};
