// A TIFF directory is a 16-bit entry count, twelve bytes an entry (tag,
// type, count, and the value itself when it fits four bytes, else its
// offset) and the offset of the next directory. Offsets count from the
// start of the file, or of the block.
#include "imaging/readers/tiff_exif_block.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "imaging/readers/stdio_file.h"

namespace {

// Pointer tags: to the EXIF and GPS directories (from the first one), and
// to the interoperability directory (from the EXIF one).
constexpr uint16_t kExifPointer = 34665;
constexpr uint16_t kGpsPointer = 34853;
constexpr uint16_t kInteropPointer = 40965;
// The first directory's descriptive tags that are EXIF's too.
constexpr uint16_t kDescriptiveTags[] = {270, 271, 272, 305, 306, 315, 33432};
// A real EXIF directory has a few dozen entries; more is not a picture's.
constexpr uint16_t kMaxEntries = 1000;

// Bytes of one value of each TIFF field type 1..13; 0 for unknown types.
size_t TypeBytes(uint16_t type) {
  static const uint8_t kBytes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
  return type < sizeof kBytes ? kBytes[type] : 0;
}

struct Entry {
  uint16_t tag = 0;
  uint16_t type = 0;
  uint32_t count = 0;
  std::string value;     // count * TypeBytes(type) bytes, in the file's byte order
  int child_index = -1;  // for a followed pointer: its directory among the children
};

class TiffSource {
 public:
  bool Open(const char* path) {
    if (!file_.Open(path)) return false;
    size_ = file_.Size();
    uint8_t header[8];
    if (size_ < 8 || !file_.ReadExactly(header, 8)) return false;
    if (header[0] == 'I' && header[1] == 'I') little_ = true;
    else if (header[0] != 'M' || header[1] != 'M') return false;
    std::copy(header, header + 4, order_);
    return Load16(header + 2) == 42;  // classic TIFF only
  }
  const uint8_t* order() const { return order_; }
  bool little() const { return little_; }
  uint32_t first_directory() {
    uint8_t offset[4];
    return file_.Seek(4) && file_.ReadExactly(offset, 4) ? Load32(offset) : 0;
  }

  uint16_t Load16(const uint8_t* at) const {
    return static_cast<uint16_t>(little_ ? at[0] | at[1] << 8 : at[0] << 8 | at[1]);
  }
  uint32_t Load32(const uint8_t* at) const {
    return little_ ? LoadLittle32(at)
                   : static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
                         static_cast<uint32_t>(at[2]) << 8 | at[3];
  }

  // The entries of the directory at `offset` whose type is known and whose
  // value lies inside the file; `budget` bounds the value bytes read.
  bool ReadDirectory(uint32_t offset, size_t* budget, std::vector<Entry>* entries) {
    uint8_t count_bytes[2];
    if (offset < 8 || !file_.Seek(offset) || !file_.ReadExactly(count_bytes, 2)) return false;
    const uint16_t count = Load16(count_bytes);
    if (count > kMaxEntries) return false;
    std::vector<uint8_t> raw(size_t{count} * 12);
    if (!file_.ReadExactly(raw.data(), raw.size())) return false;
    for (uint16_t i = 0; i < count; ++i) {
      const uint8_t* field = raw.data() + size_t{i} * 12;
      Entry entry;
      entry.tag = Load16(field);
      entry.type = Load16(field + 2);
      entry.count = Load32(field + 4);
      const size_t unit = TypeBytes(entry.type);
      if (unit == 0 || entry.count > *budget / unit) continue;
      const size_t bytes = unit * entry.count;
      if (bytes <= 4) {
        entry.value.assign(reinterpret_cast<const char*>(field + 8), bytes);
      } else {
        const uint32_t at = Load32(field + 8);
        entry.value.resize(bytes);
        if (static_cast<int64_t>(at) + static_cast<int64_t>(bytes) > size_ || !file_.Seek(at) ||
            !file_.ReadExactly(&entry.value[0], bytes))
          continue;
      }
      *budget -= bytes;
      entries->push_back(std::move(entry));
    }
    return true;
  }

 private:
  StdioFile file_;
  int64_t size_ = 0;
  bool little_ = false;
  uint8_t order_[4] = {};
};

// A directory to be written, with the directories its pointer tags lead to.
struct Directory {
  std::vector<Entry> entries;
  std::vector<Directory> children;
};

// Reads the directory at `offset`, keeping the entries `keep` accepts, and
// follows the pointer tags `pointers` names (each a LONG or IFD of count 1).
// A pointer whose directory cannot be read is dropped.
bool KeepAll(uint16_t) { return true; }
bool KeepDescriptive(uint16_t tag) {
  return std::find(std::begin(kDescriptiveTags), std::end(kDescriptiveTags), tag) != std::end(kDescriptiveTags);
}

bool Collect(TiffSource& source, uint32_t offset, bool (*keep)(uint16_t), std::initializer_list<uint16_t> pointers,
             size_t* budget, Directory* directory) {
  std::vector<Entry> entries;
  if (!source.ReadDirectory(offset, budget, &entries)) return false;
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
  for (Entry& entry : entries) {
    const bool pointer = std::find(pointers.begin(), pointers.end(), entry.tag) != pointers.end();
    if (!pointer) {
      if (keep(entry.tag)) directory->entries.push_back(std::move(entry));
      continue;
    }
    if ((entry.type != 4 && entry.type != 13) || entry.count != 1) continue;
    Directory child;
    const uint32_t child_offset = source.Load32(reinterpret_cast<const uint8_t*>(entry.value.data()));
    // Only the EXIF directory leads further, to the interoperability one.
    const bool exif = entry.tag == kExifPointer;
    if (!Collect(source, child_offset, KeepAll,
                 exif ? std::initializer_list<uint16_t>{kInteropPointer} : std::initializer_list<uint16_t>{},
                 budget, &child))
      continue;
    entry.child_index = static_cast<int>(directory->children.size());
    directory->entries.push_back(std::move(entry));
    directory->children.push_back(std::move(child));
  }
  return true;
}

class BlockWriter {
 public:
  explicit BlockWriter(const TiffSource& source) : source_(source) {
    block_.assign(reinterpret_cast<const char*>(source.order()), 4);
    Put32(8);
  }

  // Appends `directory` at the next even offset, then its values, then its
  // children, and returns where it starts.
  uint32_t Append(const Directory& directory) {
    if (block_.size() % 2 != 0) block_ += '\0';
    const size_t start = block_.size();
    Put16(static_cast<uint16_t>(directory.entries.size()));
    for (const Entry& entry : directory.entries) {
      Put16(entry.tag);
      Put16(entry.type);
      Put32(entry.count);
      Put32(0);  // the value, or its offset, below
    }
    Put32(0);  // no next directory
    for (size_t i = 0; i < directory.entries.size(); ++i) {
      const Entry& entry = directory.entries[i];
      const size_t value_at = start + 2 + i * 12 + 8;
      if (entry.child_index >= 0) {
        Patch32(value_at, Append(directory.children[static_cast<size_t>(entry.child_index)]));
      } else if (entry.value.size() <= 4) {
        block_.replace(value_at, entry.value.size(), entry.value);
      } else {
        if (block_.size() % 2 != 0) block_ += '\0';
        Patch32(value_at, static_cast<uint32_t>(block_.size()));
        block_ += entry.value;
      }
    }
    return static_cast<uint32_t>(start);
  }

  const std::string& bytes() const { return block_; }

 private:
  void Put16(uint16_t value) {
    const char a = static_cast<char>(value >> 8), b = static_cast<char>(value & 0xFF);
    block_ += source_.little() ? std::string{b, a} : std::string{a, b};
  }
  void Put32(uint32_t value) {
    block_.append(4, '\0');
    Patch32(block_.size() - 4, value);
  }
  void Patch32(size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      const int shift = source_.little() ? 8 * i : 24 - 8 * i;
      block_[at + static_cast<size_t>(i)] = static_cast<char>((value >> shift) & 0xFF);
    }
  }

  const TiffSource& source_;
  std::string block_;
};

}  // namespace

std::string ExifBlockOfTiffFile(const char* path) {
  TiffSource source;
  if (!source.Open(path)) return std::string();
  size_t budget = kMaxExifBlockBytes;
  Directory first;
  if (!Collect(source, source.first_directory(), KeepDescriptive, {kExifPointer, kGpsPointer}, &budget, &first) ||
      first.children.empty())
    return std::string();
  BlockWriter writer(source);
  writer.Append(first);
  return writer.bytes().size() <= kMaxExifBlockBytes ? writer.bytes() : std::string();
}
