// libheif reads the file's boxes when the reader opens it and the coded
// picture when it decodes; both go with the context. Grid tiles are decoded
// on as many threads as ConversionCores() has processors left over.
#include "imaging/readers/heif_reader.h"

#include <libheif/heif.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core_budget.h"
#include "imaging/memory_budget.h"
#include "imaging/picture_limits.h"
#include "imaging/readers/exif_block.h"
#include "imaging/readers/primaries_to_srgb.h"
#include "imaging/readers/stdio_file.h"

struct HeifDecoderState {
  heif_context* context = nullptr;
  heif_image_handle* handle = nullptr;
  int bits = 8;  // per sample, as coded
  bool alpha = false;
  // Set when the colours are described by primaries other than BT.709's.
  bool to_srgb = false;
  ColourPrimaries primaries = {};

  ~HeifDecoderState() {
    if (handle != nullptr) heif_image_handle_release(handle);
    if (context != nullptr) heif_context_free(context);
  }
};

namespace {

// Brands of the ftyp box that name HEIF pictures, HEVC or AV1 coded.
constexpr char kBrands[][5] = {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis"};
constexpr size_t kMostFtypBytes = 256;
constexpr uint64_t kLibraryBytes = 4 << 20;  // boxes, decoder tables, a tile in flight
constexpr int kMostTileThreads = 8;

// The file starts with an ftyp box whose major or a compatible brand is a
// HEIF one. Brands are 4-byte fields from offset 8 (the minor version at 12
// is skipped).
bool HasHeifBrand(const char* path) {
  StdioFile file;
  uint8_t box[kMostFtypBytes];
  if (!file.Open(path) || !file.ReadExactly(box, 16) || std::memcmp(box + 4, "ftyp", 4) != 0) return false;
  const uint32_t size = static_cast<uint32_t>(box[0]) << 24 | box[1] << 16 | box[2] << 8 | box[3];
  if (size < 16) return false;
  const size_t length = std::min<size_t>(size, kMostFtypBytes);
  if (!file.ReadExactly(box + 16, length - 16)) return false;
  for (size_t at = 8; at + 4 <= length; at += 4) {
    if (at == 12) continue;
    for (const char* brand : kBrands)
      if (std::memcmp(box + at, brand, 4) == 0) return true;
  }
  return false;
}

// Registers the built-in decoders once; never undone while the process runs.
bool LibraryReady() {
  static const bool ready = heif_init(nullptr).code == heif_error_Ok;
  return ready;
}

// Three pictures' worth of planes at the coded depth: the decoder's own
// frame, the decoded planes and libheif's RGB picture (a rotation's copy
// takes the frame's place once the decoder is gone).
uint64_t DecodingBytes(uint64_t pixels, int bits, bool alpha) {
  const uint64_t sample = bits > 8 ? 2 : 1;
  return 3 * pixels * sample * (alpha ? 4 : 3) + kLibraryBytes;
}

// The first metadata item of `type` (and content type, when given).
std::string MetadataItem(const heif_image_handle* handle, const char* type, const char* content_type) {
  const int count = heif_image_handle_get_number_of_metadata_blocks(handle, type);
  if (count <= 0) return std::string();
  std::vector<heif_item_id> ids(static_cast<size_t>(count));
  heif_image_handle_get_list_of_metadata_block_IDs(handle, type, ids.data(), count);
  for (heif_item_id id : ids) {
    const char* content = heif_image_handle_get_metadata_content_type(handle, id);
    if (content_type != nullptr && (content == nullptr || std::strcmp(content, content_type) != 0)) continue;
    std::string bytes(heif_image_handle_get_metadata_size(handle, id), '\0');
    if (!bytes.empty() && heif_image_handle_get_metadata(handle, id, &bytes[0]).code == heif_error_Ok) return bytes;
  }
  return std::string();
}

// A HEIF EXIF item starts with the 32-bit offset of the TIFF structure
// from the end of that field.
std::string ExifOfItem(const std::string& item) {
  if (item.size() < 4) return std::string();
  const auto* data = reinterpret_cast<const uint8_t*>(item.data());
  const uint32_t offset = static_cast<uint32_t>(data[0]) << 24 | data[1] << 16 | data[2] << 8 | data[3];
  if (offset > item.size() - 4) return std::string();
  return ExifBlockFromPayload(data + 4 + offset, item.size() - 4 - offset);
}

// Hands on EXIF (marked upright: libheif turns the rows), XMP and the
// profile; a coded description of other primaries than BT.709's (or
// unspecified ones) asks for the pixels to be converted instead.
void CollectColoursAndMetadata(HeifDecoderState* state, PictureDescription* description) {
  const heif_image_handle* handle = state->handle;
  std::string exif = ExifOfItem(MetadataItem(handle, "Exif", nullptr));
  if (!exif.empty() && MarkExifUpright(&exif)) description->metadata.push_back({MetadataKind::kExif, std::move(exif)});
  std::string xmp = MetadataItem(handle, "mime", "application/rdf+xml");
  if (!xmp.empty()) description->metadata.push_back({MetadataKind::kXmp, std::move(xmp)});

  const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
  if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
    std::string profile(heif_image_handle_get_raw_color_profile_size(handle), '\0');
    if (!profile.empty() && heif_image_handle_get_raw_color_profile(handle, &profile[0]).code == heif_error_Ok)
      description->metadata.push_back({MetadataKind::kIcc, std::move(profile)});
    return;
  }
  if (type != heif_color_profile_type_nclx) return;
  // libheif hands out the description even when it refuses its primaries
  // code; it is ours to free either way, and unknown primaries stay as they are.
  heif_color_profile_nclx* nclx = nullptr;
  const bool known = heif_image_handle_get_nclx_color_profile(handle, &nclx).code == heif_error_Ok;
  if (nclx == nullptr) return;
  const int primaries = nclx->color_primaries;
  if (known && primaries != heif_color_primaries_ITU_R_BT_709_5 && primaries != heif_color_primaries_unspecified) {
    state->to_srgb = true;
    state->primaries = {nclx->color_primary_red_x,   nclx->color_primary_red_y,   nclx->color_primary_green_x,
                        nclx->color_primary_green_y, nclx->color_primary_blue_x,  nclx->color_primary_blue_y,
                        nclx->color_primary_white_x, nclx->color_primary_white_y,
                        static_cast<uint16_t>(nclx->transfer_characteristics)};
  }
  heif_nclx_color_profile_free(nclx);
}

// Copies libheif's interleaved rows (RGB or RGBA, one byte a sample, or two
// little-endian bytes with `bits` significant ones) into the engine's
// layout, alpha moved in front, deeper samples rounded to 8 bits.
void CopyRows(const uint8_t* in, size_t in_stride, int bits, bool alpha, uint8_t* out, size_t out_stride,
              int32_t width, int32_t height) {
  const int channels = alpha ? 4 : 3;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(channels);
  std::vector<uint8_t> rounded;
  if (bits > 8) {
    const uint32_t most = (uint32_t{1} << bits) - 1;
    rounded.resize(most + 1);
    for (uint32_t v = 0; v <= most; ++v) rounded[v] = static_cast<uint8_t>((v * 255 + most / 2) / most);
  }
  std::vector<uint8_t> samples(count);
  for (int32_t y = 0; y < height; ++y, in += in_stride, out += out_stride) {
    const uint8_t* row = in;
    if (bits > 8) {
      const uint32_t most = static_cast<uint32_t>(rounded.size() - 1);
      for (size_t i = 0; i < count; ++i) samples[i] = rounded[std::min<uint32_t>(in[2 * i] | in[2 * i + 1] << 8, most)];
      row = samples.data();
    }
    if (!alpha) {
      std::memcpy(out, row, count);
      continue;
    }
    for (int32_t x = 0; x < width; ++x) {
      out[4 * x] = row[4 * x + 3];
      std::memcpy(out + 4 * x + 1, row + 4 * x, 3);
    }
  }
}

}  // namespace

HeifReader::HeifReader() = default;
HeifReader::~HeifReader() { Reset(); }

void HeifReader::ReleaseDecoder() { state_.reset(); }

bool HeifReader::ReadHeader(const char* path, PictureDescription* description) {
  if (!HasHeifBrand(path) || !LibraryReady()) return false;
  state_.reset(new HeifDecoderState);
  HeifDecoderState* state = state_.get();
  state->context = heif_context_alloc();
  if (state->context == nullptr || heif_context_read_from_file(state->context, path, nullptr).code != heif_error_Ok ||
      heif_context_get_primary_image_handle(state->context, &state->handle).code != heif_error_Ok)
    return false;

  // The size after libheif's cropping and rotation, checked before anything
  // is decoded, like the decoder's peak against the whole memory budget.
  const int width = heif_image_handle_get_width(state->handle);
  const int height = heif_image_handle_get_height(state->handle);
  if (!PictureFitsLimits(width, height, 4)) return false;
  state->bits = std::max(heif_image_handle_get_luma_bits_per_pixel(state->handle),
                         heif_image_handle_get_chroma_bits_per_pixel(state->handle));
  if (state->bits < 1 || state->bits > 16) return false;
  state->alpha = heif_image_handle_has_alpha_channel(state->handle) != 0;

  description->width = width;
  description->height = height;
  description->layout = state->alpha ? PixelLayout::kArgb32 : PixelLayout::kRgb24;
  description->alpha_premultiplied = state->alpha && heif_image_handle_is_premultiplied_alpha(state->handle) != 0;
  description->supply = RowSupply::kWholePicture;
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  description->working_bytes = DecodingBytes(pixels, state->bits, state->alpha) + PrimariesToSrgb::kWorkingBytes;
  if (description->working_bytes + description->WholePictureBytes() > PictureMemoryBudget().capacity()) return false;
  CollectColoursAndMetadata(state, description);
  return true;
}

bool HeifReader::DecodeWhole(uint8_t* pixels, size_t stride) {
  HeifDecoderState* state = state_.get();
  if (state == nullptr || state->handle == nullptr || cancel_requested()) return false;
  PrimariesToSrgb converter;
  if (state->to_srgb && !converter.Prepare(state->primaries, state->alpha)) return false;

  // Tiles are decoded on the processors the budget has left over, or on
  // this thread alone (0) when there are none.
  int helpers = 0;
  while (helpers < kMostTileThreads && ConversionCores().TryTakeHelper()) ++helpers;
  heif_context_set_max_decoding_threads(state->context, helpers);
  const bool deep = state->bits > 8;
  const heif_chroma chroma = state->alpha ? (deep ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RGBA)
                                          : (deep ? heif_chroma_interleaved_RRGGBB_LE : heif_chroma_interleaved_RGB);
  heif_image* image = nullptr;
  const heif_error decoded = heif_decode_image(state->handle, &image, heif_colorspace_RGB, chroma, nullptr);
  for (int i = 0; i < helpers; ++i) ConversionCores().GiveBackHelper();
  if (decoded.code != heif_error_Ok || image == nullptr) return false;

  const PictureDescription& picture = description();
  int in_stride = 0;
  const uint8_t* in = heif_image_get_plane_readonly(image, heif_channel_interleaved, &in_stride);
  const int bits = heif_image_get_bits_per_pixel_range(image, heif_channel_interleaved);
  const bool fits = in != nullptr && !cancel_requested() && (bits > 8) == deep && bits <= 16 &&
                    heif_image_get_width(image, heif_channel_interleaved) == picture.width &&
                    heif_image_get_height(image, heif_channel_interleaved) == picture.height;
  if (fits) {
    CopyRows(in, static_cast<size_t>(in_stride), bits, state->alpha, pixels, stride, picture.width, picture.height);
    converter.ConvertRows(pixels, stride, picture.width, picture.height);
  }
  heif_image_release(image);
  return fits;
}
