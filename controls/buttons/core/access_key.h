#pragma once
// The access key of a caption: the character after the last single "&"
// ("&&" stands for a literal ampersand), in lower case; empty for none.
#include <string>

namespace lumio::buttons {

std::wstring pGetAccessKey(const std::wstring& caption);

}  // namespace lumio::buttons
