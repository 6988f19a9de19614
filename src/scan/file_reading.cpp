#include "scan/file_reading.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {
constexpr std::int64_t kChunkBytes = std::int64_t{1} << 20;
}  // namespace

Text DigestOfFile(FileSystem& fs, const Text& path, DigestAlgorithm algorithm,
                  const std::function<bool()>& between_chunks) {
  const std::unique_ptr<RandomAccessFile> file = fs.OpenForReading(path);
  if (!file) return FileDigest(std::string_view(), algorithm);
  const std::int64_t length = file->Length();

  // Left uninitialised and no larger than the file: a scan digests many
  // small files.
  const std::int64_t bufferBytes = std::clamp<std::int64_t>(length, 1, kChunkBytes);
  const std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(bufferBytes)]);

  DigestStream stream(algorithm);
  for (std::int64_t offset = 0; offset < length;) {
    const std::int64_t got = file->ReadAt(offset, buffer.get(), std::min(bufferBytes, length - offset));
    if (got <= 0) return FileDigest(std::string_view(), algorithm);
    stream.Add(std::string_view(buffer.get(), static_cast<std::size_t>(got)));
    offset += got;
    if (between_chunks && !between_chunks()) return Text();
  }
  return stream.Finish();
}
