#include "file_replace.h"

#include <windows.h>

bool ReplaceFileWith(const std::string &temporary, const std::string &target) {
    return MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
