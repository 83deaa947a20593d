// A whole file read, as text or bytes; empty when it cannot be opened.
#pragma once

#include "platform/types.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<BYTE> FileBytes(const std::string& path)
{
    const std::string text = FileText(path);
    return std::vector<BYTE>(text.begin(), text.end());
}
