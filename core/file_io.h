// Whole-file reads and writes with the sharing rules the tool relies on
// while another program (the download manager) may hold a task file open.
// Paths are texts in the ANSI code page. Nothing here throws.
#pragma once

#include <cstdint>
#include <string>

namespace fenlodar {

// The file's bytes, or the empty byte string when the path is empty, names
// no file or a folder, the file is held open for writing by another
// program, is empty, or cannot be read. Bytes that arrived before a failed
// read are kept.
std::string ReadWholeFile(const std::string& path);

// Puts `bytes` under `path` in one step: written to a temporary file in the
// same folder, flushed, then moved over the target. True only when every
// byte is on disk under the target's name; on false the target keeps its
// old bytes (or stays absent) and no temporary file is left behind.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// The size that the directory entry records, found without opening the
// file; -1 when nothing is found at the path (the empty path included).
std::int64_t FileSizeOf(const std::string& path);

}  // namespace fenlodar
