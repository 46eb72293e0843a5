// Loading and rewriting task files of 1, 10 and 100 KiB, in a realistic
// shape and in shapes that stress the cutting and the character walk,
// each beside a baseline on the same bytes: a plain read of the file and
// one memchr pass over it. After Google Benchmark's own table comes a
// summary per shape: the CPU times, the ratio to the baseline and the growth
// from 10 to 100 KiB, checked against the goals (exit 1 when one is missed).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "address_rewrite.h"
#include "current_task.h"
#include "recording_window.h"
#include "task_file_builder.h"
#include "task_loading.h"

namespace {

using fenlodar::Box;
using fenlodar::testing::RecordingWindow;
using fenlodar::testing::TaskFileBuilder;

constexpr double kMaxLoadRatio = 5;
constexpr double kMaxGrowth = 12;
constexpr std::size_t kSizes[] = {1024, 10240, 102400};

const std::string kAddress = "http://dl.example.com/files/archive-2013.zip";
const std::string kNewAddress = "http://mirror.example.net/files/archive-2013.zip";
const std::string kSeparator("\0\0\0", 3);

// `unit` over and over, cut at exactly `size` bytes.
std::string Repeat(const std::string& unit, std::size_t size) {
  std::string bytes;
  while (bytes.size() < size) bytes += unit;
  bytes.resize(size);
  return bytes;
}

// What a download manager writes: fields, numbers, and a block map that
// fills the rest (half done).
std::string Realistic(std::size_t size) {
  TaskFileBuilder file;
  file.Header()
      .Field(fenlodar::testing::kGbkDownloadName)
      .Field(kAddress)
      .Field("http://www.example.com/downloads/index.html")
      .Field("Cookie: sid=8f3a9c0d; lang=zh-CN; track=0")
      .Field("Mozilla/5.0 (Windows NT 6.1) download agent")
      .Number(73400320)
      .Number(0)
      .Number(52428800);
  const std::size_t blocks = size - file.bytes().size() - 4;
  return file.BlockMap(blocks, blocks / 2).bytes();
}

std::string Zeros(std::size_t size) { return std::string(size, '\0'); }
std::string TinyPieces(std::size_t size) { return Repeat("a//b" + kSeparator, size); }
std::string LeadBytes(std::size_t size) {
  std::string unit;
  for (int b = 0x81; b <= 0xFE; ++b) unit.push_back(static_cast<char>(b));
  return Repeat(unit, size);
}
std::string Hashes(std::size_t size) {
  return Repeat("h//#####a#b##c###" + kSeparator + "###", size);
}

struct Shape {
  const char* name;
  std::string (*make)(std::size_t);
  // Whether the shape holds the address itself; the others get it at both
  // ends for the rewrite, so both passes search the whole file.
  bool has_address;
};

const Shape kShapes[] = {
    {"realistic", Realistic, true},     {"zeros", Zeros, false},
    {"tiny_pieces", TinyPieces, false}, {"lead_bytes", LeadBytes, false},
    {"hashes", Hashes, false},
};

std::string RewriteInput(const Shape& shape, std::size_t size) {
  if (shape.has_address) return shape.make(size);
  const std::string front = kAddress + kSeparator;
  const std::string back = kSeparator + kAddress;
  return front + shape.make(size - front.size() - back.size()) + back;
}

// One folder for the run's files, removed at exit.
std::string g_folder;
std::vector<std::string> g_files;

void RemoveFiles() {
  for (const std::string& f : g_files) unlink(f.c_str());
  for (const std::string& f : g_files) unlink((f + ".bak").c_str());
  rmdir(g_folder.c_str());
}

void Put(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0 ||
      write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::perror(path.c_str());
    std::exit(2);
  }
  close(fd);
}

std::string PutFile(const std::string& name, const std::string& bytes) {
  if (g_folder.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp && *tmp ? tmp : "/tmp") + "/fenlodar-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::exit(2);
    }
    g_folder = pattern;
    std::atexit(RemoveFiles);
  }
  std::string path = g_folder + "/" + name;
  Put(path, bytes);
  g_files.push_back(path);
  return path;
}

// A byte value the bytes lack, so that memchr passes over all of them.
int AbsentByte(const std::string& bytes) {
  bool seen[256] = {};
  for (char c : bytes) seen[static_cast<unsigned char>(c)] = true;
  for (int b = 0; b < 256; ++b)
    if (!seen[b]) return b;
  return 0;
}

void Baseline(benchmark::State& state, const std::string& path, int absent) {
  std::vector<char> buffer(fenlodar::MaxTaskFileSize + 1);
  for (auto _ : state) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t n = read(fd, buffer.data(), buffer.size());
    close(fd);
    const void* hit = std::memchr(buffer.data(), absent, static_cast<std::size_t>(n));
    benchmark::DoNotOptimize(hit);
  }
}

// cppcheck-suppress constParameterCallback ; the range-for needs a mutable State
void Load(benchmark::State& state, const std::string& path) {
  fenlodar::CurrentTaskPath = path;
  for (auto _ : state) {
    RecordingWindow window;
    fenlodar::LoadTaskFile(window);
    benchmark::DoNotOptimize(window.boxes);
  }
}

void Rewrite(benchmark::State& state, const std::string& path, const std::string& bytes) {
  fenlodar::CurrentTaskPath = path;
  for (auto _ : state) {
    state.PauseTiming();
    Put(path, bytes);
    RecordingWindow window;
    window.boxes[Box::OriginalAddressBox] = kAddress;
    window.boxes[Box::NewAddressBox] = kNewAddress;
    state.ResumeTiming();
    fenlodar::RewriteAddress(window, path);
    benchmark::DoNotOptimize(window.boxes);
  }
  if (fenlodar::ReplaceFirstTwo(bytes, kAddress, kNewAddress).replaced == 0) {
    state.SkipWithError("the address is not in the file");
  }
}

void RegisterAll() {
  for (const Shape& shape : kShapes) {
    for (std::size_t size : kSizes) {
      const std::string suffix = std::string(shape.name) + "/" + std::to_string(size);
      const std::string stem = std::string(shape.name) + "-" + std::to_string(size);
      const std::string bytes = shape.make(size);
      const std::string path = PutFile(stem + ".td.cfg", bytes);
      const std::string rewrite_bytes = RewriteInput(shape, size);
      const std::string rewrite_path = PutFile(stem + "-rw.td.cfg", rewrite_bytes);
      const int absent = AbsentByte(bytes);
      benchmark::RegisterBenchmark(("baseline/" + suffix).c_str(), Baseline, path, absent)
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("load/" + suffix).c_str(), Load, path)
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("rewrite/" + suffix).c_str(), Rewrite, rewrite_path,
                                   rewrite_bytes)
          ->Unit(benchmark::kMicrosecond);
    }
  }
}

// Keeps each run's CPU time per iteration (in microseconds) for the summary:
// on a shared machine it varies far less than the wall-clock time, and it
// includes the time the kernel spends on the process's reads and writes
// (not the wait for the disk: the rewrite's flushes show in the wall-clock
// column of the table above).
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  SummaryReporter() : ConsoleReporter(OO_Tabular) {}
  std::map<std::string, double> micros;

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (!run.error_occurred) micros[run.benchmark_name()] = run.GetAdjustedCPUTime();
  }
};

double TimeOf(const SummaryReporter& r, const std::string& name) {
  const auto it = r.micros.find(name);
  return it == r.micros.end() ? 0 : it->second;
}

// Prints the summary and gives the number of goals missed.
int Summarise(const SummaryReporter& r) {
  int missed = 0;
  std::printf("\n%-12s %-9s %11s %11s %11s %9s %9s %9s %8s\n", "shape", "what",
              "1 KiB us", "10 KiB us", "100 KiB us", "x base1", "x base10", "x base100",
              "growth");
  for (const Shape& shape : kShapes) {
    for (const char* what : {"baseline", "load", "rewrite"}) {
      double t[3], ratio[3];
      for (int i = 0; i < 3; ++i) {
        const std::string suffix =
            std::string(shape.name) + "/" + std::to_string(kSizes[i]);
        t[i] = TimeOf(r, std::string(what) + "/" + suffix);
        const double base = TimeOf(r, "baseline/" + suffix);
        ratio[i] = base > 0 ? t[i] / base : 0;
      }
      const double growth = t[1] > 0 ? t[2] / t[1] : 0;
      std::string verdict;
      if (std::string(what) != "baseline" && growth > kMaxGrowth) verdict += " growth>12";
      if (std::string(what) == "load")
        for (double x : ratio)
          if (x > kMaxLoadRatio) verdict += " ratio>5";
      if (!verdict.empty()) ++missed;
      std::printf("%-12s %-9s %11.2f %11.2f %11.2f %9.2f %9.2f %9.2f %8.2f%s\n",
                  shape.name, what, t[0], t[1], t[2], ratio[0], ratio[1], ratio[2],
                  growth, verdict.empty() ? "" : ("  MISSED:" + verdict).c_str());
    }
  }
  std::printf(
      "\ngoals: load at most %.0f x the baseline, growth 10->100 KiB at most %.0f: %s\n",
      kMaxLoadRatio, kMaxGrowth, missed == 0 ? "met" : "MISSED");
  return missed;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  RegisterAll();
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return Summarise(reporter) == 0 ? 0 : 1;
}
