#pragma once
// A rules file in a fresh temporary folder, read back as bytes.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

class TempRules {
public:
    explicit TempRules(std::string_view contents, const char *name = "Rules.ini") {
        static int serial = 0;
        dir_ = std::filesystem::temp_directory_path() /
               ("qvn_model_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / name).string();
        Write(contents);
    }
    ~TempRules() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string &path() const { return path_; }
    void Write(std::string_view contents) const {
        std::ofstream(path_, std::ios::binary) << contents;
    }
    std::string Read() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Nothing but the file itself is left in the folder (no temporary from a rewrite).
    size_t FilesInFolder() const {
        size_t n = 0;
        for ([[maybe_unused]] auto &e : std::filesystem::directory_iterator(dir_)) ++n;
        return n;
    }

private:
    std::filesystem::path dir_;
    std::string path_;
};
