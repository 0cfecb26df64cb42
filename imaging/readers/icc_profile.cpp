// The profile header holds its size in bytes 0-3 (big-endian), the data
// colour space in bytes 16-19 and the "acsp" file signature in bytes 36-39.
#include "imaging/readers/icc_profile.h"

#include <cstdint>
#include <utility>

namespace {

constexpr size_t kHeaderBytes = 128;

uint32_t BigEndian32(const std::string& bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3]));
}

}  // namespace

ProfileSpace SpaceOfProfile(const std::string& bytes) {
  if (bytes.size() < kHeaderBytes || BigEndian32(bytes, 0) != bytes.size() || bytes.compare(36, 4, "acsp") != 0)
    return ProfileSpace::kInvalid;
  const std::string space = bytes.substr(16, 4);
  if (space == "GRAY") return ProfileSpace::kGray;
  if (space == "RGB ") return ProfileSpace::kRgb;
  if (space == "CMYK") return ProfileSpace::kCmyk;
  return ProfileSpace::kOther;
}

void HandOnProfile(std::string profile, bool gray_picture, PictureDescription* description) {
  const ProfileSpace space = SpaceOfProfile(profile);
  if (space != (gray_picture ? ProfileSpace::kGray : ProfileSpace::kRgb)) return;
  description->metadata.push_back(MetadataBlock{MetadataKind::kIcc, std::move(profile)});
}
