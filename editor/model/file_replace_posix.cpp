#include "file_replace.h"

#include <cstdio>

bool ReplaceFileWith(const std::string &temporary, const std::string &target) {
    return std::rename(temporary.c_str(), target.c_str()) == 0;
}
