#pragma once
// Digests of files on disk, read in chunks so that neither memory nor the
// window suffers from a large file.

#include <functional>
#include <vector>

#include "scan/file_digest.h"
#include "shell/file_system.h"
#include "text/text.h"

// The digest text of the file at `path`, read in chunks of 1 MiB through one
// buffer. `between_chunks` runs after every chunk (it lets the window process
// its messages); when it returns false the reading stops and the result is
// the empty text. A file that cannot be opened, or whose reading fails before
// its length is reached, is judged as empty: the result is the digest of the
// empty content.
Text DigestOfFile(FileSystem& fs, const Text& path, DigestAlgorithm algorithm,
                  const std::function<bool()>& between_chunks);

// The same, reading through `buffer`, which it grows to at most one chunk
// and leaves to the caller for the next file.
Text DigestOfFile(FileSystem& fs, const Text& path, DigestAlgorithm algorithm,
                  const std::function<bool()>& between_chunks, std::vector<char>& buffer);
