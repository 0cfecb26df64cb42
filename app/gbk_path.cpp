// GBK-aware path pieces (see gbk_path.h).
#include "app/gbk_path.h"

namespace tulvex {
namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace

size_t LastSeparatorOf(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(byte) && i + 1 < path.size()) {
      ++i;  // the trail byte belongs to this character
    } else if (byte == '\\') {
      last = i;
    }
  }
  return last;
}

std::string FileNameOf(const std::string& path) {
  const size_t separator = LastSeparatorOf(path);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderOf(const std::string& path) {
  const size_t separator = LastSeparatorOf(path);
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

std::string FoldedPath(const std::string& path) {
  std::string folded = path;
  for (size_t i = 0; i < folded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(folded[i]);
    if (IsLeadByte(byte) && i + 1 < folded.size()) {
      ++i;
    } else if (byte >= 'A' && byte <= 'Z') {
      folded[i] = static_cast<char>(byte - 'A' + 'a');
    } else if (byte == '/') {
      folded[i] = '\\';
    }
  }
  return folded;
}

}  // namespace tulvex
