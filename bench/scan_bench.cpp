// Figures for reading package.lst and for the scan: prints times, rates and
// peak memory. Natively the files live in memory; in the Windows build
// (under Wine) they are real files in a temporary folder.
//
//   scan_bench [--quick] [--keep FOLDER]
//
// With --keep (Windows build) the files are written under FOLDER and left
// there, so that a script can time other tools over the same bytes.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fake_view.h"
#include "memory_file_system.h"
#include "package_list_builder.h"
#include "packagelist/package_catalogue.h"
#include "scan/digest_pool.h"
#include "scan/file_digest.h"
#include "scan/scan.h"
#include "shell/result_list.h"
#include "shell/shared_state.h"
#include "shell/tool.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>

#include "win32/cryptoapi_digest.h"
#include "win32/win32_file_system.h"
#else
#include <sys/resource.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double SecondsOf(const std::function<void()>& work, int repeats = 1) {
  const auto start = Clock::now();
  for (int i = 0; i < repeats; ++i) work();
  return std::chrono::duration<double>(Clock::now() - start).count() / repeats;
}

double PeakMemoryMiB() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize / 1048576.0;
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
#endif
}

// Where the benchmark's game root lives, and how files get there.
class Disk {
 public:
  virtual ~Disk() = default;
  virtual FileSystem& fs() = 0;
  virtual Text Root() = 0;
  virtual void Write(const Text& path, const std::string& content) = 0;
  virtual void MakeFolder(const Text& path) = 0;
  virtual const char* Name() = 0;
  // A file of `size` bytes `z`, written a piece at a time.
  virtual void WriteFilled(const Text& path, std::size_t size) { Write(path, std::string(size, 'z')); }
};

class MemoryDisk : public Disk {
 public:
  FileSystem& fs() override { return fs_; }
  Text Root() override { return "C:\\Bench"; }
  void Write(const Text& path, const std::string& content) override { fs_.AddFile(path, content); }
  void MakeFolder(const Text& path) override { fs_.AddFolder(path); }
  const char* Name() override { return "in-memory file system"; }
  MemoryFileSystem fs_;
};

#ifdef _WIN32
class RealDisk : public Disk {
 public:
  explicit RealDisk(Text keep) : keep_(!keep.empty()) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = keep_ ? keep : Text(temp) + "orvane_bench_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root_.c_str(), nullptr);
  }
  ~RealDisk() override {
    if (keep_) return;
    std::string command = "cmd /c rd /s /q \"" + root_ + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
      WaitForSingleObject(pi.hProcess, INFINITE);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }
  FileSystem& fs() override { return fs_; }
  Text Root() override { return root_; }
  void Write(const Text& path, const std::string& content) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    for (std::size_t at = 0; at < content.size(); at += written) {
      if (!WriteFile(file, content.data() + at, static_cast<DWORD>(std::min<std::size_t>(content.size() - at, 1 << 24)),
                     &written, nullptr)) break;
    }
    CloseHandle(file);
  }
  void MakeFolder(const Text& path) override { CreateDirectoryA(path.c_str(), nullptr); }
  const char* Name() override { return "Win32 file system (real files under Wine)"; }
  void WriteFilled(const Text& path, std::size_t size) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string piece(1 << 20, 'z');
    DWORD written = 0;
    for (std::size_t at = 0; at < size; at += piece.size()) {
      if (!WriteFile(file, piece.data(), static_cast<DWORD>(std::min(piece.size(), size - at)), &written, nullptr)) break;
    }
    CloseHandle(file);
  }

 private:
  Win32FileSystem fs_;
  Text root_;
  bool keep_;
};
#endif

struct Harness {
  explicit Harness(Disk& d) : disk(d), state(CreateSharedState()), results(view),
                              tool{d.fs(), view, *state, results, d.Root(), std::chrono::milliseconds(5)} {}
  Disk& disk;
  FakeView view;
  std::unique_ptr<SharedState> state;
  ResultList results;
  Tool tool;
};

std::string Content(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  std::uint32_t x = seed * 2654435761u + 1;
  for (char& c : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x);
  }
  return bytes;
}

void PackageListFigures(Disk& disk, int entries) {
  std::vector<PackageListBuilder::Directory> dirs = {{"ImagePacks2", {}}, {"SoundPacks", {}}};
  for (auto& dir : dirs) {
    for (int i = 0; i < entries; ++i) {
      dir.entries.push_back({"sprite_" + std::to_string(i) + ".NPK", 1000 + i, std::string(32, static_cast<char>(i))});
    }
  }
  const std::string bytes = PackageListBuilder::File(dirs);
  disk.MakeFolder(disk.Root());
  disk.Write(JoinPath(disk.Root(), "package.lst"), bytes);
  FakeView view;
  PackageCatalogue catalogue;
  auto* memory = dynamic_cast<MemoryDisk*>(&disk);
  const std::int64_t before = memory ? memory->fs_.BytesRead() : 0;
  catalogue.LoadIndex(disk.fs(), view, disk.Root());
  const std::int64_t indexBytes = memory ? memory->fs_.BytesRead() - before : -1;
  const double index = SecondsOf([&] { catalogue.LoadIndex(disk.fs(), view, disk.Root()); }, 20);
  const double load = SecondsOf([&] { catalogue.LoadEntries(disk.fs(), disk.Root(), 1); }, 20);
  std::printf("package.lst of 2 directories x %d entries (%.1f MiB):\n", entries, bytes.size() / 1048576.0);
  std::printf("  LoadIndex    %8.2f ms\n", index * 1e3);
  if (indexBytes >= 0) {
    std::printf("  bytes read by the index pass: %lld of %zu (%.1f%%)\n", static_cast<long long>(indexBytes),
                bytes.size(), 100.0 * indexBytes / bytes.size());
  }
  std::printf("  LoadEntries  %8.2f ms (%zu entries)\n", load * 1e3, catalogue.EntryTable().size());
}

// A game root `name` under the disk's root with an empty ImagePacks2.
struct BenchRoot {
  BenchRoot(Disk& d, const char* name) : disk(d), root(JoinPath(d.Root(), name)), folder(JoinPath(root, "ImagePacks2")) {
    disk.MakeFolder(root);
    disk.MakeFolder(folder);
  }
  // Writes package.lst with `record` and chooses the root as the chooser does.
  void Choose(Harness& h, const PackageListBuilder::Directory& record) {
    disk.Write(JoinPath(root, "package.lst"), PackageListBuilder::File({record}));
    h.state->gameDirectory = root;
    h.state->catalogue.LoadIndex(disk.fs(), h.view, root);
  }
  Disk& disk;
  const Text root;
  const Text folder;
};

// A pack folder of `files` files against a record of as many entries; every
// tenth file is unlisted.
void ScanFigures(Disk& disk, int files) {
  Harness h(disk);
  BenchRoot bench(disk, "scan");
  const Text& folder = bench.folder;
  PackageListBuilder::Directory dir{"ImagePacks2", {}};
  for (int i = 0; i < files; ++i) {
    const Text name = "img_" + std::to_string(i) + ".NPK";
    const std::string content(16, static_cast<char>(i));
    disk.Write(JoinPath(folder, name), content);
    if (i % 10 != 0) dir.entries.push_back({name, 16, BytesFromHex(FileDigest(content, kSha256))});
  }
  for (int i = 0; static_cast<int>(dir.entries.size()) < files; ++i) dir.entries.push_back({"extra_" + std::to_string(i), 1, "x"});
  bench.Choose(h, dir);

  std::vector<Text> names;
  const double listing = SecondsOf([&] { disk.fs().ListFiles(folder, &names); }, 5);
  auto scan = [&](bool size) {
    h.view.ticked[Control::选择框_大小对比] = size;
    h.view.ticked[Control::选择框_哈希对比] = false;
    return SecondsOf([&] { StartScan(h.tool); }, 3);
  };
  const double plain = scan(false);
  const double sized = scan(true);
  std::printf("scan of %d files against %zu entries (%d rows):\n", files, dir.entries.size(), h.results.Count());
  std::printf("  bare listing        %8.2f ms  (%.0f files/s)\n", listing * 1e3, files / listing);
  std::printf("  scan, no option     %8.2f ms  (%.0f files/s, %.2fx the listing)\n", plain * 1e3, files / plain,
              plain / listing);
  std::printf("  scan, size option   %8.2f ms  (%.0f files/s, %.2fx the listing)\n", sized * 1e3, files / sized,
              sized / listing);
}

void DigestFigures(Disk& disk, int files, std::size_t fileSize, std::size_t bigFile) {
  Harness h(disk);
  BenchRoot bench(disk, "digest");
  const Text& folder = bench.folder;
  PackageListBuilder::Directory dir{"ImagePacks2", {}};
  double fromMemory = 0;
  for (int i = 0; i < files; ++i) {
    const Text name = "pack_" + std::to_string(i) + ".NPK";
    const std::string content = Content(fileSize, static_cast<unsigned>(i));
    std::string digest;
    fromMemory += SecondsOf([&] { digest = FileDigest(content, kSha256); });
    disk.Write(JoinPath(folder, name), content);
    dir.entries.push_back({name, static_cast<std::int32_t>(fileSize), BytesFromHex(digest)});
  }
  bench.Choose(h, dir);
  h.view.ticked[Control::选择框_哈希对比] = true;
  StartScan(h.tool);  // warms the cache
  const double scan = SecondsOf([&] { StartScan(h.tool); });
  const double mib = static_cast<double>(files) * fileSize / 1048576.0;
  std::printf("digest scan of %d files, %.0f MiB (%d rows):\n", files, mib, h.results.Count());
  std::vector<Text> paths;
  for (int i = 0; i < files; ++i) paths.push_back(JoinPath(folder, "pack_" + std::to_string(i) + ".NPK"));
  for (unsigned workers : {1u, DigestPool::DefaultWorkers()}) {
    const double pooled = SecondsOf([&] {
      DigestPool pool(disk.fs(), paths, workers, 2 * workers + 2, nullptr);
      for (std::size_t j = 0; j < paths.size(); ++j) {
        while (!pool.TryTake(j)) std::this_thread::yield();
      }
    });
    std::printf("  files hashed by %u worker(s), no window: %8.1f MB/s\n", workers, mib * 1.048576 / pooled);
  }
  std::printf("  digest from memory  %8.1f MB/s  (one thread)\n", mib * 1.048576 / fromMemory);
#ifdef _WIN32
  {
    const std::string sample = Content(fileSize, 1);
    const double cryptoApi = SecondsOf([&] { CryptoApiDigest(sample, kSha256); }, 3);
    std::printf("  CryptoAPI from memory %6.1f MB/s  (one thread)\n", fileSize / 1e6 / cryptoApi);
  }
#endif
  std::printf("  digest scan         %8.1f MB/s  (%.0f%% of hashing from memory)\n", mib * 1.048576 / scan,
              100.0 * fromMemory / scan);

  if (bigFile > 0) {
    const Text big = JoinPath(folder, "huge.NPK");
    disk.WriteFilled(big, bigFile);
    const double before = PeakMemoryMiB();
    dir.entries.push_back({"huge.NPK", static_cast<std::int32_t>(bigFile), std::string(32, '\0')});
    bench.Choose(h, dir);
    StartScan(h.tool);
    std::printf("  peak memory of the process: %.1f MiB before, %.1f MiB after a digest scan with a %zu MiB file\n",
                before, PeakMemoryMiB(), bigFile >> 20);
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;
  Text keep;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) quick = true;
    if (std::strcmp(argv[i], "--keep") == 0 && i + 1 < argc) keep = argv[++i];
  }
  std::unique_ptr<Disk> disk;
#ifdef _WIN32
  disk = std::make_unique<RealDisk>(keep);
#else
  (void)keep;
  disk = std::make_unique<MemoryDisk>();
#endif
  std::printf("== %s\n", disk->Name());
  PackageListFigures(*disk, quick ? 2000 : 20000);
  ScanFigures(*disk, quick ? 2000 : 20000);
  // Peak memory only means something on real files: in memory the file
  // system itself holds every byte.
  const bool realFiles = dynamic_cast<MemoryDisk*>(disk.get()) == nullptr;
  DigestFigures(*disk, quick ? 8 : 200, quick ? (1 << 20) : (5 << 20),
                quick || !realFiles ? 0 : (std::size_t{1} << 30));
  return 0;
}
