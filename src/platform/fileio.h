// Whole files read and replaced with every failure seen and named by the
// system's reason.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// Reads the regular file at path into bytes, at most maxSize of them. Devices,
// pipes and directories are refused without reading, so the call neither waits
// for a writer nor reads without end. False, with the reason in error, on failure.
bool ReadRegularFile(const std::string& path, std::size_t maxSize, std::vector<BYTE>& bytes, std::string& error);

// Writes data to a new file beside path, flushes it to the disk and only then
// renames it over path (through a symbolic link, over the file it names). On
// any failure the old file is left as it was, the new one is removed, and
// error holds the reason. A replaced file keeps its permissions.
bool ReplaceFile(const std::string& path, std::span<const BYTE> data, std::string& error);
