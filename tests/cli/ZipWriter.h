#pragma once

// Zip archives made in the tests, entry by entry, with the faults a test wants written into them.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zzcli::test {

struct ZipItem {
  std::string Name;
  std::string Data;
  bool Deflate = true;
  uint16_t Flags = 0;
  int ListedSizeChange = 0;  // the size the directory lists, off by this much
  uint32_t CrcChange = 0;    // xor-ed into the listed checksum
  int Method = -1;           // the listed method, when not the real one
};

inline std::string Deflated(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

inline std::string MakeZip(const std::vector<ZipItem>& items, uint16_t listedCount = 0) {
  const auto u16 = [](std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
  };
  const auto u32 = [&](std::string& s, uint32_t v) {
    u16(s, v & 0xFFFF);
    u16(s, v >> 16);
  };
  std::string body;
  std::string directory;
  for (const ZipItem& item : items) {
    const std::string packed = item.Deflate ? Deflated(item.Data) : item.Data;
    const uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(item.Data.data()),
                                                     static_cast<uInt>(item.Data.size()))) ^
                         item.CrcChange;
    const uint16_t method = static_cast<uint16_t>(item.Method >= 0 ? item.Method : item.Deflate ? 8 : 0);
    const uint32_t size = static_cast<uint32_t>(static_cast<int64_t>(item.Data.size()) + item.ListedSizeChange);
    const uint32_t offset = static_cast<uint32_t>(body.size());
    std::string common;
    u16(common, 20);  // version needed
    u16(common, item.Flags);
    u16(common, method);
    u32(common, 0);  // time and date
    u32(common, crc);
    u32(common, static_cast<uint32_t>(packed.size()));
    u32(common, size);
    u16(common, static_cast<uint32_t>(item.Name.size()));
    u16(common, 0);  // extra
    u32(body, 0x04034b50);
    body += common + item.Name + packed;
    u32(directory, 0x02014b50);
    u16(directory, 20);  // made by
    directory += common;
    u16(directory, 0);  // comment
    u16(directory, 0);  // disk
    u16(directory, 0);  // internal attributes
    u32(directory, 0);  // external attributes
    u32(directory, offset);
    directory += item.Name;
  }
  const uint16_t count = listedCount != 0 ? listedCount : static_cast<uint16_t>(items.size());
  std::string end;
  u32(end, 0x06054b50);
  u16(end, 0);
  u16(end, 0);
  u16(end, count);
  u16(end, count);
  u32(end, static_cast<uint32_t>(directory.size()));
  u32(end, static_cast<uint32_t>(body.size()));
  u16(end, 0);
  return body + directory + end;
}

}  // namespace zzcli::test
