// Arbitrary bytes as package.lst: the index pass, then the entries pass at
// every record the index found. Checked: the message matches the result,
// every record lies inside the file and after the one before it (so the
// walk cannot loop), no EntryTable outgrows the file (every entry takes at
// least 16 bytes), and nothing allocates beyond a small multiple of the
// input.

#include <cstddef>
#include <cstdint>
#include <string>

#include "allocation_meter.h"
#include "fake_view.h"
#include "fuzz_check.h"
#include "memory_file_system.h"
#include "packagelist/package_catalogue.h"

namespace {
const Text kRoot = "C:\\Game";
// Index, one EntryTable and their growth, the file's copy in the double.
constexpr std::int64_t kBytesPerInputByte = 64;
constexpr std::int64_t kFixedBytes = 1 << 20;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  allocation_meter::Install();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto length = static_cast<std::int64_t>(size);
  allocation_meter::Start();
  {
    MemoryFileSystem fs;
    fs.AddFile(PackageListPath(kRoot), std::string(reinterpret_cast<const char*>(data), size));
    FakeView view;
    PackageCatalogue catalogue;

    const bool accepted = catalogue.LoadIndex(fs, view, kRoot);
    FUZZ_CHECK(view.messages.size() == (accepted ? 0u : 1u));
    FUZZ_CHECK(accepted || catalogue.DirectoryIndex().empty());

    std::int64_t previous = -1;
    for (const DirectoryRecord& record : catalogue.DirectoryIndex()) {
      FUZZ_CHECK(record.offset >= 40 && record.offset < length - 8);
      FUZZ_CHECK(record.offset > previous);
      FUZZ_CHECK(static_cast<std::int64_t>(record.name.size()) <= length - record.offset);
      previous = record.offset;
    }

    const std::size_t records = catalogue.DirectoryIndex().size();
    for (std::size_t position = 0; position < records; ++position) {
      catalogue.LoadEntries(fs, kRoot, position);
      const auto& table = catalogue.EntryTable();
      FUZZ_CHECK(static_cast<std::int64_t>(table.size()) <= length / 16 + 1);
      for (const PackageEntry& entry : table) {
        FUZZ_CHECK(static_cast<std::int64_t>(entry.name.size()) <= length);
        FUZZ_CHECK(static_cast<std::int64_t>(entry.digest.size()) <= 2 * length);
      }
    }
    // A position past the index reads nothing.
    FUZZ_CHECK(!catalogue.LoadEntries(fs, kRoot, records));
    FUZZ_CHECK(catalogue.EntryTable().empty());
    FUZZ_CHECK(catalogue.DirectoryIndex().size() == records);
  }
  const std::int64_t peak = allocation_meter::Stop();
  FUZZ_CHECK(peak <= kBytesPerInputByte * length + kFixedBytes);
  return 0;
}
