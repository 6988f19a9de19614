#include "scan/file_reading.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {
constexpr std::int64_t kChunkBytes = std::int64_t{1} << 20;
}  // namespace

Text DigestOfFile(FileSystem& fs, const Text& path, DigestAlgorithm algorithm,
                  const std::function<bool()>& between_chunks, std::vector<char>& buffer) {
  const std::unique_ptr<RandomAccessFile> file = fs.OpenForReading(path);
  if (!file) return FileDigest(std::string_view(), algorithm);
  const std::int64_t length = file->Length();

  // No larger than the file (a scan digests many small files), and kept by
  // the caller: fresh pages for every file cost more than hashing small ones.
  const std::int64_t chunkBytes = std::clamp<std::int64_t>(length, 1, kChunkBytes);
  if (static_cast<std::int64_t>(buffer.size()) < chunkBytes) buffer.resize(static_cast<std::size_t>(chunkBytes));

  DigestStream stream(algorithm);
  for (std::int64_t offset = 0; offset < length;) {
    const std::int64_t got = file->ReadAt(offset, buffer.data(), std::min(chunkBytes, length - offset));
    if (got <= 0) return FileDigest(std::string_view(), algorithm);
    stream.Add(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    offset += got;
    if (between_chunks && !between_chunks()) return Text();
  }
  return stream.Finish();
}

Text DigestOfFile(FileSystem& fs, const Text& path, DigestAlgorithm algorithm,
                  const std::function<bool()>& between_chunks) {
  std::vector<char> buffer;
  return DigestOfFile(fs, path, algorithm, between_chunks, buffer);
}
