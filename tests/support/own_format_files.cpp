#include "tests/support/own_format_files.h"

#include "imaging/picture_loader.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

void Append16(std::string& bytes, uint16_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>(value >> 8);
}

void Append32(std::string& bytes, uint32_t value) {
  Append16(bytes, static_cast<uint16_t>(value & 0xFFFF));
  Append16(bytes, static_cast<uint16_t>(value >> 16));
}

}  // namespace

void PutLittle16(std::string& bytes, size_t offset, uint16_t value) {
  bytes[offset] = static_cast<char>(value & 0xFF);
  bytes[offset + 1] = static_cast<char>(value >> 8);
}

void PutLittle32(std::string& bytes, size_t offset, uint32_t value) {
  PutLittle16(bytes, offset, static_cast<uint16_t>(value & 0xFFFF));
  PutLittle16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

std::string MakeBmp(int32_t width, int32_t height, const std::vector<uint8_t>& rgb,
                    const BmpOptions& options) {
  const uint32_t info_size = options.os2 ? 12 : 40;
  const uint32_t offset = 14 + info_size;
  const size_t row_size = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  std::string bytes = "BM";
  Append32(bytes, static_cast<uint32_t>(offset + row_size * height));
  Append32(bytes, 0);
  Append32(bytes, offset);
  Append32(bytes, info_size);
  if (options.os2) {
    Append16(bytes, static_cast<uint16_t>(width));
    Append16(bytes, static_cast<uint16_t>(height));
    Append16(bytes, 1);
    Append16(bytes, options.bits);
  } else {
    Append32(bytes, static_cast<uint32_t>(width));
    Append32(bytes, static_cast<uint32_t>(options.top_down ? -height : height));
    Append16(bytes, 1);
    Append16(bytes, options.bits);
    Append32(bytes, 0);  // no compression
    Append32(bytes, static_cast<uint32_t>(row_size * height));
    Append32(bytes, 2835);
    Append32(bytes, 2835);
    Append32(bytes, 0);
    Append32(bytes, 0);
  }
  for (int32_t i = 0; i < height; ++i) {
    const int32_t y = options.top_down ? i : height - 1 - i;
    std::string row;
    for (int32_t x = 0; x < width; ++x) {
      const size_t at = (static_cast<size_t>(y) * width + x) * 3;
      row += static_cast<char>(rgb[at + 2]);
      row += static_cast<char>(rgb[at + 1]);
      row += static_cast<char>(rgb[at]);
    }
    row.resize(row_size, '\x5A');  // padding that must not show up
    bytes += row;
  }
  return bytes;
}

std::vector<uint8_t> MakeColours(int count, int seed) {
  std::vector<uint8_t> rgb;
  for (int i = 0; i < count; ++i)
    rgb.insert(rgb.end(), {static_cast<uint8_t>(i * 7 + seed), static_cast<uint8_t>(i * 53 + 3 * seed),
                           static_cast<uint8_t>(250 - i * 3 - seed)});
  return rgb;
}

std::string MakeBmpFile(const BmpParts& parts) {
  const bool os2 = parts.info_size == 12;
  const bool masks_after = parts.info_size < 108 && !parts.masks.empty();
  const uint32_t entries = static_cast<uint32_t>(parts.palette.size() / 3);
  const uint32_t offset = 14 + parts.info_size + (masks_after ? 4 * static_cast<uint32_t>(parts.masks.size()) : 0) +
                          entries * (os2 ? 3 : 4);
  std::string info;
  Append32(info, parts.info_size);
  if (os2) {
    for (int32_t field : {parts.width, parts.height, 1, int32_t{parts.bits}}) Append16(info, static_cast<uint16_t>(field));
  } else {
    // Width, height, one plane and the bit count, compression, pixel bytes,
    // resolutions, colours used and important.
    for (uint32_t field : {static_cast<uint32_t>(parts.width), static_cast<uint32_t>(parts.height), 1u | uint32_t{parts.bits} << 16,
                           parts.compression, static_cast<uint32_t>(parts.pixels.size()), 2835u, 2835u, parts.colours_used, 0u})
      Append32(info, field);
    for (size_t i = 0; i < 4 && parts.info_size >= 108; ++i) Append32(info, i < parts.masks.size() ? parts.masks[i] : 0);
    if (parts.info_size >= 124 && !parts.profile.empty()) {
      info.replace(56, 4, "DEBM");  // "MBED" stored little-endian: the profile is embedded
      info.resize(112, '\0');
      Append32(info, static_cast<uint32_t>(offset - 14 + parts.pixels.size()));
      Append32(info, static_cast<uint32_t>(parts.profile.size()));
    }
    info.resize(parts.info_size, '\0');
  }
  std::string bytes = "BM";
  Append32(bytes, static_cast<uint32_t>(offset + parts.pixels.size() + parts.profile.size()));
  Append32(bytes, 0);
  Append32(bytes, offset);
  bytes += info;
  for (size_t i = 0; masks_after && i < parts.masks.size(); ++i) Append32(bytes, parts.masks[i]);
  for (uint32_t i = 0; i < entries; ++i) {
    for (int c = 2; c >= 0; --c) bytes += static_cast<char>(parts.palette[3 * i + c]);
    if (!os2) bytes += '\x7F';  // the unused fourth byte, which must not matter
  }
  return bytes + parts.pixels + parts.profile;
}

std::string PackBmpRows(int32_t width, int32_t height, const std::vector<uint8_t>& values, uint16_t bits,
                        const std::vector<uint32_t>& masks, bool top_down) {
  const size_t row_size = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  const size_t components = masks.size();
  std::string bytes;
  for (int32_t i = 0; i < height; ++i) {
    const int32_t y = top_down ? i : height - 1 - i;
    std::vector<uint8_t> row(row_size, 0);
    for (int32_t x = 0; x < width; ++x) {
      const size_t at = static_cast<size_t>(y) * width + x;
      if (bits <= 8) {
        const size_t bit = static_cast<size_t>(x) * bits;
        row[bit / 8] |= static_cast<uint8_t>(values[at] << (8 - bits - bit % 8));
        continue;
      }
      uint32_t pixel = 0;
      for (size_t c = 0; c < components; ++c) {
        uint32_t shift = 0;
        while (((masks[c] >> shift) & 1) == 0) ++shift;
        const uint32_t top = masks[c] >> shift;
        pixel |= ((values[at * components + c] * top + 127) / 255) << shift;
      }
      for (int b = 0; b < bits / 8; ++b) row[static_cast<size_t>(x) * (bits / 8) + b] = static_cast<uint8_t>(pixel >> (8 * b));
    }
    bytes.append(reinterpret_cast<const char*>(row.data()), row.size());
  }
  return bytes;
}

namespace {

// A textbook LZW encoder: the longest known string, then a new entry of it
// and the next pixel; the width grows once the entries pass it.
std::string LzwEncode(const std::vector<uint8_t>& pixels, int code_size, bool clear_when_full) {
  const uint32_t clear = 1u << code_size;
  std::map<std::pair<uint32_t, uint8_t>, uint32_t> table;
  uint32_t next = clear + 2;
  int size = code_size + 1;
  // Codes are packed low bit first.
  std::string bytes;
  uint32_t bits = 0;
  int count = 0;
  auto put = [&](uint32_t code) {
    bits |= code << count;
    for (count += size; count >= 8; count -= 8, bits >>= 8) bytes += static_cast<char>(bits & 0xFF);
  };
  put(clear);
  uint32_t string = pixels[0];
  for (size_t i = 1; i < pixels.size(); ++i) {
    const uint8_t pixel = pixels[i];
    auto known = table.find({string, pixel});
    if (known != table.end()) {
      string = known->second;
      continue;
    }
    put(string);
    if (next < 4096) {
      table[{string, pixel}] = next++;
      if (next > (1u << size) && size < 12) ++size;
    } else if (clear_when_full) {
      put(clear);
      table.clear();
      next = clear + 2;
      size = code_size + 1;
    }
    string = pixel;
  }
  put(string);
  // The decoder adds an entry for the last string too, which may widen the
  // end code.
  if (next == (1u << size) && size < 12) ++size;
  put(clear + 1);
  return count > 0 ? bytes + static_cast<char>(bits & 0xFF) : bytes;
}

// A colour table padded to a power of two entries; its size bits.
int AppendGifTable(std::string& bytes, const std::vector<uint8_t>& rgb) {
  int bits = 0;
  while ((2u << bits) * 3 < rgb.size()) ++bits;
  std::string table(reinterpret_cast<const char*>(rgb.data()), rgb.size());
  table.resize((2u << bits) * 3, '\0');
  bytes += table;
  return bits;
}

}  // namespace

std::string MakeGifFrame(const GifPicture& picture) {
  std::string frame = "\x2C";
  for (int32_t value : {picture.left, picture.top, picture.width, picture.height})
    Append16(frame, static_cast<uint16_t>(value));
  frame += '\0';
  std::string table;
  if (!picture.local.empty()) frame.back() = static_cast<char>(0x80 | AppendGifTable(table, picture.local));
  if (picture.interlaced) frame.back() = static_cast<char>(frame.back() | 0x40);
  frame += table + static_cast<char>(picture.code_size);
  // Interlaced frames store every 8th row from 0, from 4, every 4th from 2,
  // every 2nd from 1.
  std::vector<uint8_t> stored;
  const int32_t passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
  for (int pass = 0; pass < (picture.interlaced ? 4 : 1); ++pass)
    for (int32_t y = passes[pass][0]; y < picture.height; y += picture.interlaced ? passes[pass][1] : 1)
      stored.insert(stored.end(), picture.indices.begin() + static_cast<size_t>(y) * picture.width,
                    picture.indices.begin() + static_cast<size_t>(y + 1) * picture.width);
  const std::string data = LzwEncode(stored, picture.code_size, picture.clear_when_full);
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t block = std::min<size_t>(255, data.size() - at);
    frame += static_cast<char>(block);
    frame += data.substr(at, block);
  }
  return frame + '\0';
}

std::string MakeGif(const GifPicture& picture) {
  std::string bytes = "GIF89a";
  Append16(bytes, static_cast<uint16_t>(picture.screen_width));
  Append16(bytes, static_cast<uint16_t>(picture.screen_height));
  std::string table;
  const char flags = picture.global.empty() ? '\0' : static_cast<char>(0x80 | AppendGifTable(table, picture.global));
  bytes += std::string{flags, static_cast<char>(picture.background), '\0'} + table;
  bytes += std::string("\x21\xF9\x04\x01\x00\x00\x02\x00", 8);  // graphic control: index 2 transparent
  bytes += std::string("\x21\xFE\x03one\x00", 7);               // a comment
  return bytes + MakeGifFrame(picture) + ';';
}

std::string EncodePcxLine(const uint8_t* line, size_t size) {
  std::string out;
  for (size_t at = 0; at < size;) {
    size_t run = 1;
    while (at + run < size && run < 63 && line[at + run] == line[at]) ++run;
    if (run > 1 || line[at] >= 0xC0) out += static_cast<char>(0xC0 | run);
    out += static_cast<char>(line[at]);
    at += run;
  }
  return out;
}

std::string MakePcxHeader(int32_t width, int32_t height, int bits, int planes,
                          int32_t bytes_per_line) {
  std::string header(128, '\0');
  header[0] = 0x0A;
  header[1] = 5;  // version
  header[2] = 1;  // run-length encoded
  header[3] = static_cast<char>(bits);
  PutLittle16(header, 4, 10);  // xmin and ymin need not be 0
  PutLittle16(header, 6, 20);
  PutLittle16(header, 8, static_cast<uint16_t>(10 + width - 1));
  PutLittle16(header, 10, static_cast<uint16_t>(20 + height - 1));
  header[65] = static_cast<char>(planes);
  PutLittle16(header, 66, static_cast<uint16_t>(bytes_per_line));
  return header;
}

std::string MakePcx8(int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                     const std::vector<uint8_t>& palette, int32_t bytes_per_line) {
  if (bytes_per_line == 0) bytes_per_line = width;
  std::string bytes = MakePcxHeader(width, height, 8, 1, bytes_per_line);
  std::vector<uint8_t> line(static_cast<size_t>(bytes_per_line), 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) line[x] = indices[static_cast<size_t>(y) * width + x];
    bytes += EncodePcxLine(line.data(), line.size());
  }
  bytes += '\x0C';  // palette marker
  bytes.append(reinterpret_cast<const char*>(palette.data()), 768);
  return bytes;
}

std::string MakePcx24(int32_t width, int32_t height, const std::vector<uint8_t>& rgb,
                      int32_t bytes_per_line) {
  if (bytes_per_line == 0) bytes_per_line = width;
  std::string bytes = MakePcxHeader(width, height, 8, 3, bytes_per_line);
  std::vector<uint8_t> line(static_cast<size_t>(bytes_per_line) * 3, 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int plane = 0; plane < 3; ++plane)
      for (int32_t x = 0; x < width; ++x)
        line[plane * bytes_per_line + x] = rgb[(static_cast<size_t>(y) * width + x) * 3 + plane];
    bytes += EncodePcxLine(line.data(), line.size());
  }
  return bytes;
}

std::string MakePcd(int resolution, const std::vector<uint8_t>& luma,
                    const std::vector<uint8_t>& c1, const std::vector<uint8_t>& c2) {
  static const size_t kWidth[] = {192, 384, 768}, kHeight[] = {128, 256, 512};
  static const size_t kOffset[] = {8192, 0xB800, 0x30000};
  const size_t width = kWidth[resolution], height = kHeight[resolution];
  std::string bytes(kOffset[resolution], '\0');
  bytes.replace(2048, 7, "PCD_IPI");
  for (size_t pair = 0; pair < height / 2; ++pair) {
    bytes.append(reinterpret_cast<const char*>(&luma[2 * pair * width]), width);
    bytes.append(reinterpret_cast<const char*>(&luma[(2 * pair + 1) * width]), width);
    bytes.append(reinterpret_cast<const char*>(&c1[pair * width / 2]), width / 2);
    bytes.append(reinterpret_cast<const char*>(&c2[pair * width / 2]), width / 2);
  }
  if (bytes.size() < 1048576 + 4096) bytes.resize(1048576 + 4096, '\0');
  return bytes;
}

std::ostream& operator<<(std::ostream& out, ReadOutcome outcome) {
  switch (outcome) {
    case ReadOutcome::kRefused: return out << "refused";
    case ReadOutcome::kDecodeFailed: return out << "decode failed";
    case ReadOutcome::kDecoded: return out << "decoded";
  }
  return out << "?";
}

ReadOutcome ReadThrough(PictureReader& reader, const std::string& path, PictureBuffer* buffer) {
  if (!reader.Open(path.c_str())) return ReadOutcome::kRefused;
  return ReadWholePictureInto(reader, buffer) ? ReadOutcome::kDecoded : ReadOutcome::kDecodeFailed;
}
