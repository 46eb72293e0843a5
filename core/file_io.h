// Whole-file reads and writes with the sharing rules the tool relies on
// while another program (the download manager) may hold a task file open.
// Paths are texts in the ANSI code page. Nothing here throws.
#pragma once

#include <cstdint>
#include <string>

namespace fenlodar {

// What a read of a whole file brought.
struct FileRead {
  // The bytes that arrived (all of them when `complete`).
  std::string bytes;
  // The file was found and opened for reading: false when the path is
  // empty, names no file or a folder, or another program holds the file
  // open for writing.
  bool opened = false;
  // Every byte the file held at the open arrived. False when it was not
  // opened, its size could not be learnt or exceeded `max_size`, the
  // memory for it could not be had, or a read failed or stopped early.
  bool complete = false;
};

// Reads the whole file at `path`, refusing (incomplete, no bytes) a file
// larger than `max_size` bytes at the open. Writes must only ever be made
// from a complete read.
FileRead ReadWholeFileChecked(const std::string& path, std::int64_t max_size = INT64_MAX);

// The file's bytes, or the empty byte string when the path is empty, names
// no file or a folder, the file is held open for writing by another
// program, is empty, or cannot be read. Bytes that arrived before a failed
// read are kept, which is right for showing a file, never for writing one.
std::string ReadWholeFile(const std::string& path);

// Puts `bytes` under `path`. True only when every byte is on disk under the
// target's name. An empty path, a folder, a read-only target and a target
// that another program holds open are refused with nothing touched.
//
// Where a temporary name fits beside the target (its path at most 259
// bytes, the longest the ANSI calls take), the write is atomic: written to
// the temporary file, flushed, then moved over the target; on false the
// target keeps its old bytes (or stays absent) and no temporary file is
// left behind. The one exception is a replace that the platform reports as
// having removed the target already: the temporary file, then the only
// copy of the bytes, is moved into the target's place, and is never
// deleted.
//
// Where no temporary name fits (the target's folder is within a few bytes
// of the limit), the bytes are written in place: a plain create-and-write,
// which is all the ANSI calls can still make there. Its failure can leave
// the target part-written, so it is sound only while another copy of the
// old bytes exists, which the callers make sure of: the rewrite writes the
// task file only after its backup holds the old bytes, the backup is
// written while the task file still holds them, and Restore writes from a
// backup that it leaves as it is, so a second press can finish the job.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// The size that the directory entry records, found without opening the
// file; -1 when nothing is found at the path (the empty path included).
std::int64_t FileSizeOf(const std::string& path);

}  // namespace fenlodar
