// Whole files read and replaced with every failure seen and named by the
// system's reason.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include <sys/types.h>

// The largest drawing or DXF file this program reads: one of 2 GB or more is
// refused from its size. What writes those files keeps within it.
inline constexpr std::size_t kMaxFileBytes = (std::size_t(1) << 31) - 1;

// Reads the regular file at path into bytes, at most maxSize of them. Devices,
// pipes and directories are refused without reading, so the call neither waits
// for a writer nor reads without end. False, with the reason in error, on failure.
bool ReadRegularFile(const std::string& path, std::size_t maxSize, std::vector<BYTE>& bytes, std::string& error);

// Writes data to a new file beside path, flushes it to the disk and only then
// renames it over path; data of more than maxSize bytes is refused before
// anything is written (through symbolic links, over the file they name,
// which is created when missing). On any failure the old file is left as it
// was, the new one is removed, and error holds the reason. Saving onto a file
// needs the right to write it; a folder, device, pipe or socket at path is
// refused, named in error. A replaced file keeps its permissions, and its
// owner and group where the process may give them; when it may not, or the
// file has other hard links, the new bytes are written into the file itself
// once they are safe on the disk and the disk room for all of them is
// secured. When that fails, error says whether the file was left as it was
// (its old bytes are put back after a failed write) and where the new bytes are.
bool ReplaceFile(const std::string& path, std::size_t maxSize, std::span<const BYTE> data, std::string& error);

// Takes the bytes of a file in pieces, in order.
using ByteSink = std::function<void(std::span<const BYTE>)>;

// As ReplaceFile, with the bytes written as produce gives them to its sink,
// so that they need not be held whole. Once they pass maxSize, produce is
// stopped (by an exception through it) and nothing is replaced; an exception
// of produce's own leaves nothing behind either and goes on to the caller.
bool ReplaceFileWith(const std::string& path, std::size_t maxSize,
                     const std::function<void(const ByteSink&)>& produce, std::string& error);

// The call through which every write to a file goes: ::write, or a stand-in
// a test gives to see how failures are met (null puts ::write back). Returns
// the call it replaces.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
WriteCall SetWriteCall(WriteCall call);
