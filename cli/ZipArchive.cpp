#include "cli/ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <random>
#include <system_error>

#include "cli/Utf8Path.h"

namespace zzcli {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kMaxComment = 0xFFFF;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kEncryptedFlag = 1;
constexpr std::size_t kChunk = 1 << 16;

uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

struct Entry {
  std::string Name;  // as stored, "\" read as "/"
  uint16_t Flags = 0;
  uint16_t Method = 0;
  uint32_t Crc = 0;
  uint64_t CompressedSize = 0;
  uint64_t Size = 0;
  uint64_t LocalOffset = 0;
};

class Archive {
 public:
  explicit Archive(const fs::path& path) : name_(Utf8FromPath(path)), in_(path, std::ios::binary) {
    std::error_code error;
    size_ = fs::file_size(path, error);
    if (!in_ || error) Fail("cannot be read");
  }

  [[noreturn]] void Fail(const std::string& what) const { throw ZipError(name_ + ": " + what); }
  [[noreturn]] void Fail(const Entry& entry, const std::string& what) const {
    throw ZipError(name_ + ": " + entry.Name + ": " + what);
  }

  void Read(uint64_t offset, void* bytes, std::size_t count) {
    if (offset > size_ || count > size_ - offset) Fail("truncated: it ends before the data it lists");
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(static_cast<char*>(bytes), static_cast<std::streamsize>(count));
    if (static_cast<std::size_t>(in_.gcount()) != count) Fail("cannot be read to its end");
  }

  std::vector<Entry> Directory(const ZipLimits& limits) {
    const std::size_t tail = static_cast<std::size_t>(std::min<uint64_t>(size_, kEndSize + kMaxComment));
    std::vector<unsigned char> bytes(tail);
    Read(size_ - tail, bytes.data(), tail);
    std::size_t at = std::string::npos;
    for (std::size_t i = tail >= kEndSize ? tail - kEndSize + 1 : 0; i-- > 0;) {
      if (U32(&bytes[i]) == kEndSignature) {
        at = i;
        break;
      }
    }
    if (at == std::string::npos) Fail("not a zip archive, or truncated: its central directory is missing");
    const unsigned char* end = &bytes[at];
    const uint16_t count = U16(end + 10);
    const uint32_t directorySize = U32(end + 12);
    const uint32_t directoryOffset = U32(end + 16);
    const bool locator = at >= 20 && U32(&bytes[at - 20]) == kZip64LocatorSignature;
    if (locator || count == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF) {
      Fail("a zip64 archive, which is not supported; pack it as a plain zip (under 4 GB, fewer than 65535 files)");
    }
    if (U16(end + 4) != 0 || U16(end + 6) != 0 || U16(end + 8) != count) Fail("a split archive is not supported");
    if (count > limits.MaxEntries) {
      Fail("holds " + std::to_string(count) + " entries, more than the " + std::to_string(limits.MaxEntries) +
           " allowed");
    }
    std::vector<unsigned char> directory(directorySize);
    Read(directoryOffset, directory.data(), directory.size());
    std::vector<Entry> entries;
    std::size_t p = 0;
    for (uint16_t i = 0; i < count; ++i) {
      if (p + kCentralSize > directory.size() || U32(&directory[p]) != kCentralSignature) {
        Fail("its central directory is damaged");
      }
      const unsigned char* h = &directory[p];
      Entry entry;
      entry.Flags = U16(h + 8);
      entry.Method = U16(h + 10);
      entry.Crc = U32(h + 16);
      entry.CompressedSize = U32(h + 20);
      entry.Size = U32(h + 24);
      const std::size_t nameSize = U16(h + 28);
      const std::size_t rest = nameSize + U16(h + 30) + U16(h + 32);
      entry.LocalOffset = U32(h + 42);
      if (p + kCentralSize + rest > directory.size()) Fail("its central directory is damaged");
      entry.Name.assign(reinterpret_cast<const char*>(h + kCentralSize), nameSize);
      std::replace(entry.Name.begin(), entry.Name.end(), '\\', '/');
      if (entry.CompressedSize == 0xFFFFFFFF || entry.Size == 0xFFFFFFFF || entry.LocalOffset == 0xFFFFFFFF) {
        Fail(entry, "a zip64 entry, which is not supported");
      }
      entries.push_back(std::move(entry));
      p += kCentralSize + rest;
    }
    return entries;
  }

  // The offset of the entry's data, after its local header.
  uint64_t DataOffset(const Entry& entry) {
    std::array<unsigned char, kLocalSize> local{};
    Read(entry.LocalOffset, local.data(), local.size());
    if (U32(local.data()) != kLocalSignature) Fail(entry, "its local header is damaged");
    const uint64_t offset = entry.LocalOffset + kLocalSize + U16(&local[26]) + U16(&local[28]);
    if (offset > size_ || entry.CompressedSize > size_ - offset) Fail(entry, "truncated: its data is cut off");
    return offset;
  }

  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  std::ifstream in_;
  uint64_t size_ = 0;
};

// Why an entry's name may not be written under the folder, or empty. Names are relative paths;
// ".." parts, roots, drives and control characters would reach beyond the folder or fool it.
std::string UnsafeName(std::string_view name) {
  if (name.empty()) return "an empty name";
  if (name.front() == '/') return "an absolute path";
  if (name.size() >= 2 && name[1] == ':') return "a path with a drive";
  if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == ':'; })) {
    return "a name with control characters or a colon";
  }
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t slash = std::min(name.find('/', start), name.size());
    const std::string_view part = name.substr(start, slash - start);
    if (part == "..") return "a path with \"..\", which would leave the folder it is extracted into";
    start = slash + 1;
  }
  return {};
}

class Inflater {
 public:
  Inflater() {
    if (inflateInit2(&stream_, -MAX_WBITS) != Z_OK) throw ZipError("zlib could not be started");
  }
  ~Inflater() { inflateEnd(&stream_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  z_stream& Stream() { return stream_; }

 private:
  z_stream stream_{};
};

void WriteEntry(Archive& archive, const Entry& entry, const fs::path& target) {
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) throw ZipError(Utf8FromPath(target) + ": cannot be written");
  uint64_t offset = archive.DataOffset(entry);
  uint64_t left = entry.CompressedSize;
  uint64_t written = 0;
  uLong crc = crc32(0L, Z_NULL, 0);
  std::vector<unsigned char> input(kChunk);
  std::vector<unsigned char> output(kChunk);
  const auto put = [&](const unsigned char* bytes, std::size_t count) {
    written += count;
    // A size beyond the one listed is a lie the limits were checked against.
    if (written > entry.Size) archive.Fail(entry, "holds more than its listed size");
    crc = crc32(crc, bytes, static_cast<uInt>(count));
    out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
  };
  if (entry.Method == kStored) {
    while (left > 0) {
      const std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(left, kChunk));
      archive.Read(offset, input.data(), n);
      put(input.data(), n);
      offset += n;
      left -= n;
    }
  } else {
    Inflater inflater;
    z_stream& z = inflater.Stream();
    int status = Z_OK;
    while (status != Z_STREAM_END) {
      if (z.avail_in == 0) {
        if (left == 0) archive.Fail(entry, "truncated: its compressed data ends early");
        const std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(left, kChunk));
        archive.Read(offset, input.data(), n);
        offset += n;
        left -= n;
        z.next_in = input.data();
        z.avail_in = static_cast<uInt>(n);
      }
      z.next_out = output.data();
      z.avail_out = static_cast<uInt>(output.size());
      status = inflate(&z, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) {
        archive.Fail(entry,
                     std::string("its compressed data is damaged (") + (z.msg != nullptr ? z.msg : "zlib") + ")");
      }
      put(output.data(), output.size() - z.avail_out);
    }
  }
  if (written != entry.Size) archive.Fail(entry, "holds less than its listed size");
  if (crc != entry.Crc) archive.Fail(entry, "its checksum does not match: the archive is damaged");
  out.close();
  if (out.fail()) throw ZipError(Utf8FromPath(target) + ": writing failed");
}

}  // namespace

bool LooksLikeZip(std::string_view fileName, std::string_view head) {
  if (head.starts_with("PK\x03\x04") || head.starts_with("PK\x05\x06")) return true;
  if (fileName.size() < 4) return false;
  const std::string_view ext = fileName.substr(fileName.size() - 4);
  return ext[0] == '.' && std::tolower(static_cast<unsigned char>(ext[1])) == 'z' &&
         std::tolower(static_cast<unsigned char>(ext[2])) == 'i' &&
         std::tolower(static_cast<unsigned char>(ext[3])) == 'p';
}

std::vector<std::string> ExtractZip(const fs::path& archivePath, const fs::path& folder, const ZipLimits& limits) {
  Archive archive(archivePath);
  const std::vector<Entry> entries = archive.Directory(limits);
  // Every entry is judged before the first is written.
  uint64_t total = 0;
  for (const Entry& entry : entries) {
    if (const std::string why = UnsafeName(entry.Name); !why.empty()) archive.Fail(entry, "refused: " + why);
    if (entry.Name.back() == '/') continue;
    if ((entry.Flags & kEncryptedFlag) != 0) archive.Fail(entry, "encrypted, which is not supported");
    if (entry.Method != kStored && entry.Method != kDeflated) {
      archive.Fail(entry, "compressed by method " + std::to_string(entry.Method) +
                              "; only stored and deflated entries are supported");
    }
    if (entry.Size > limits.MaxRatio * std::max<uint64_t>(entry.CompressedSize, 1)) {
      archive.Fail(entry, "refused: it would expand " +
                              std::to_string(entry.Size / std::max<uint64_t>(entry.CompressedSize, 1)) +
                              " times, more than the " + std::to_string(limits.MaxRatio) + " a real file does");
    }
    total += entry.Size;
    if (total > limits.MaxTotalBytes) {
      archive.Fail("refused: its files would take more than " + std::to_string(limits.MaxTotalBytes >> 20) +
                   " MiB uncompressed");
    }
  }
  std::vector<std::string> files;
  for (const Entry& entry : entries) {
    const fs::path target = folder / PathFromUtf8(entry.Name);
    std::error_code error;
    if (entry.Name.back() == '/') {
      fs::create_directories(target, error);
      continue;
    }
    fs::create_directories(target.parent_path(), error);
    if (fs::exists(target, error)) archive.Fail(entry, "listed twice");
    WriteEntry(archive, entry, target);
    files.push_back(entry.Name);
  }
  return files;
}

ScratchFolder::ScratchFolder() {
  std::random_device random;
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = base / ("zizozudu-" + std::to_string(random()));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      path_ = candidate;
      return;
    }
  }
  throw ZipError("no temporary folder could be made under " + Utf8FromPath(base));
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  fs::remove_all(path_, error);
}

}  // namespace zzcli
