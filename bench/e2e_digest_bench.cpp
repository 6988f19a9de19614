// Window-level figures of the digest scan, taken from outside the real
// OrvaneCleaner.exe under Wine: the throughput from the Start click to the
// closing message, the window's worst answer time to WM_NULL during the
// scan, and the program's peak memory over its idle working set; beside
// them CryptoAPI and the digest library streaming the same files in this
// process. Prints figures; bench/run_e2e_digest_bench runs it and times
// openssl natively over the same files.
//
//   e2e_digest_bench --exe=OrvaneCleaner.exe --root=C:\FOLDER [--files=N --bytes=B] [--runs=R] [--prepare]
//
// The game root is written once (N official files of B bytes in
// ImagePacks2, every tenth changed on disk at the same size) and kept for
// later runs; --prepare only writes it.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "game_root.h"
#include "package_list_builder.h"
#include "scan/file_digest.h"
#include "win32/control_ids.h"
#include "win32/cryptoapi_digest.h"
#include "window_driver.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPingInterval = 100ms;
constexpr std::size_t kChunk = 1 << 20;

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }
double MiB(double bytes) { return bytes / 1048576.0; }

struct Options {
  std::wstring exe;
  Text root;
  int files = 200;
  std::size_t bytes = (std::size_t{1} << 30) / 200;
  int runs = 3;
  bool prepareOnly = false;
};

Text PackFolder(const Options& options) { return JoinPath(JoinPath(options.root, "game"), "ImagePacks2"); }
Text NameOf(int i) { return "pack_" + std::to_string(i) + ".NPK"; }

// Writes the game root unless a complete one of the same shape is there.
bool PrepareRoot(const Options& options) {
  const Text game = JoinPath(options.root, "game");
  const Text stamp = JoinPath(options.root, "shape.txt");
  const std::string shape = std::to_string(options.files) + " x " + std::to_string(options.bytes) + "\n";
  if (ReadBytes(stamp) == shape) return true;
  std::printf("writing %d files of %zu bytes under %s ...\n", options.files, options.bytes, game.c_str());
  RemoveTree(options.root);
  if (!MakeFolders(PackFolder(options))) return false;
  PackageListBuilder::Directory record{"ImagePacks2", {}};
  for (int i = 0; i < options.files; ++i) {
    std::string content = ContentOf(NameOf(i), options.bytes);
    record.entries.push_back({NameOf(i), static_cast<std::int32_t>(content.size()),
                              BytesFromHex(FileDigest(content, kSha256))});
    if (i % 10 == 9) content[content.size() / 2] ^= 0x5A;
    if (!WriteBytes(JoinPath(PackFolder(options), NameOf(i)), content)) return false;
  }
  return WriteBytes(JoinPath(game, "package.lst"), PackageListBuilder::File({record})) && WriteBytes(stamp, shape);
}

// Streams every pack file through `open()`'s digest in 1 MiB chunks;
// returns the seconds taken, or a negative value when a file is missing.
template <typename Open>
double StreamAll(const Options& options, Open open) {
  std::vector<char> buffer(kChunk);
  const auto start = Clock::now();
  for (int i = 0; i < options.files; ++i) {
    const Text path = JoinPath(PackFolder(options), NameOf(i));
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    auto digest = open();
    DWORD read = 0;
    while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0) {
      digest->Add(std::string_view(buffer.data(), read));
    }
    CloseHandle(file);
    if (digest->Finish().size() != 64) return -1;
  }
  return Seconds(Clock::now() - start);
}

// The library's stream in the same shape as CryptoAPI's.
struct LibraryStream {
  DigestStream stream{kSha256};
  void Add(std::string_view chunk) { stream.Add(chunk); }
  Text Finish() { return stream.Finish(); }
};

struct ScanFigures {
  double seconds = 0;
  double worstAnswer = 0;  // seconds
  int pings = 0;
  SeenMessage message;
  int rows = 0;
};

// One digest scan from the Start click to its closing message, with the
// window pinged every 100 ms meanwhile.
bool TimeScan(const ToolProcess& app, ScanFigures* figures) {
  const HWND window = app.Window();
  Press(app.Control(kIdStartScan));
  const auto start = Clock::now();
  auto nextPing = start + kPingInterval;
  for (;;) {
    if (app.FindMessageBox()) break;
    if (!app.Running()) return false;
    if (Clock::now() >= nextPing) {
      const auto sent = Clock::now();
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
      figures->worstAnswer = std::max(figures->worstAnswer, Seconds(Clock::now() - sent));
      ++figures->pings;
      nextPing = sent + kPingInterval;
    }
    // Looking for the box costs the Wine server work; much more often than
    // this would take CPU from the scan being measured (about 10 ms of
    // error at most).
    Sleep(10);
  }
  figures->seconds = Seconds(Clock::now() - start);
  const auto message = app.CloseMessageBox();
  if (!message) return false;
  figures->message = *message;
  figures->rows = app.RowCount();
  return WaitUntil([&] { return IsEnabled(app.Control(kIdStartScan)); }, 30s);
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const std::string value = equals == std::string::npos ? std::string() : argument.substr(equals + 1);
    if (name == "--exe") {
      options->exe = DosPathOf(value);
    } else if (name == "--root") {
      options->root = value;
    } else if (name == "--files") {
      options->files = std::atoi(value.c_str());
    } else if (name == "--bytes") {
      options->bytes = static_cast<std::size_t>(std::atoll(value.c_str()));
    } else if (name == "--runs") {
      options->runs = std::atoi(value.c_str());
    } else if (argument == "--prepare") {
      options->prepareOnly = true;
    } else {
      return false;
    }
  }
  return !options->root.empty() && options->files > 0 && options->bytes > 0 && options->runs > 0 &&
         (options->prepareOnly || !options->exe.empty());
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: e2e_digest_bench --exe=OrvaneCleaner.exe --root=C:\\FOLDER [--files=N --bytes=B] "
                 "[--runs=R] [--prepare]\n");
    return 2;
  }
  if (!PrepareRoot(options)) {
    std::fprintf(stderr, "e2e_digest_bench: cannot write the game root under %s\n", options.root.c_str());
    return 1;
  }
  if (options.prepareOnly) return 0;
  const double bytes = static_cast<double>(options.bytes) * options.files;
  const int changed = options.files / 10;

  ToolProcess app(options.exe, Wide(options.root));
  if (!app.Started()) {
    std::fprintf(stderr, "e2e_digest_bench: the tool's window did not come up\n");
    return 1;
  }
  Sleep(1000);  // let the window settle before its idle working set is taken
  const HANDLE query = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.Id());
  PROCESS_MEMORY_COUNTERS idle{};
  idle.cb = sizeof idle;
  if (!query || !GetProcessMemoryInfo(query, &idle, sizeof idle)) {
    std::fprintf(stderr, "e2e_digest_bench: cannot read the tool's memory counters\n");
    return 1;
  }
  Press(app.Control(kIdChooseGameDir));
  const auto chosen = app.ChooseFolder(Wide(JoinPath(options.root, "game")), L"请选择Orvane根目录(存放[package.lst]的目录)");
  if (!chosen) {
    std::fprintf(stderr, "e2e_digest_bench: %s\n", chosen.message());
    return 1;
  }
  WaitUntil([&] { return !TextOf(app.Control(kIdGameDirEdit)).empty(); });
  PressAndWait(app.Control(kIdDigestOption));

  std::printf("Digest scan of ImagePacks2 through the window: %d files, %.1f MiB, %d changed at the same size\n",
              options.files, MiB(bytes), changed);
  std::printf("(the tool hashes on %u worker threads; Wine 8; a warm page cache)\n",
              std::max(1u, std::thread::hardware_concurrency()));
  const std::wstring expectedMessage = L"发现 " + std::to_wstring(changed) + L" 个补丁文件..请需要清理的文件!";
  double best = 0;
  for (int run = 0; run <= options.runs; ++run) {
    ScanFigures figures;
    if (!TimeScan(app, &figures)) {
      std::fprintf(stderr, "e2e_digest_bench: the scan did not end with a message box\n");
      return 1;
    }
    const bool right = figures.message.text == expectedMessage && figures.rows == changed;
    std::printf("  %-8s %7.3f s  %8.1f MiB/s  worst answer to WM_NULL %6.1f ms over %d pings  %s\n",
                run == 0 ? "warm-up" : ("run " + std::to_string(run)).c_str(), figures.seconds,
                MiB(bytes) / figures.seconds, figures.worstAnswer * 1e3, figures.pings,
                right ? "rows and message as expected" : "UNEXPECTED rows or message");
    if (!right) {
      std::printf("    message \"%s\", %d rows\n", Utf8(figures.message.text).c_str(), figures.rows);
      return 1;
    }
    if (run > 0) best = std::max(best, MiB(bytes) / figures.seconds);
  }
  PROCESS_MEMORY_COUNTERS after{};
  after.cb = sizeof after;
  GetProcessMemoryInfo(query, &after, sizeof after);
  CloseHandle(query);
  std::printf("  best of %d runs: %.1f MiB/s\n", options.runs, best);
  std::printf("  working set: idle %.1f MiB, peak %.1f MiB, growth over idle %.1f MiB\n", MiB(idle.WorkingSetSize),
              MiB(after.PeakWorkingSetSize), MiB(static_cast<double>(after.PeakWorkingSetSize) - idle.WorkingSetSize));

  std::printf("Streaming the same files in 1 MiB chunks on one thread in this process (same Wine):\n");
  const double library = StreamAll(options, [] { return std::make_unique<LibraryStream>(); });
  const double cryptoApi = StreamAll(options, [] { return OpenCryptoApiDigest(kSha256); });
  if (library < 0 || cryptoApi < 0) {
    std::fprintf(stderr, "e2e_digest_bench: a pack file could not be read or hashed\n");
    return 1;
  }
  std::printf("  digest library (the tool's)  %7.3f s  %8.1f MiB/s\n", library, MiB(bytes) / library);
  std::printf("  CryptoAPI (PROV_RSA_AES)     %7.3f s  %8.1f MiB/s\n", cryptoApi, MiB(bytes) / cryptoApi);
  return 0;
}
