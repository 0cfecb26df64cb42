// The file is read whole into memory: the demux library finds the first
// frame and the metadata chunks in it, and the incremental decoder is fed
// that frame's bytes a slice at a time, so that a cancel request is seen
// between slices of a large picture.
#include "imaging/readers/webp_reader.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "imaging/memory_budget.h"
#include "imaging/picture_limits.h"
#include "imaging/readers/exif_block.h"
#include "imaging/readers/stdio_file.h"

struct WebpDecoderState {
  std::vector<uint8_t> file;
  WebPDemuxer* demuxer = nullptr;
  // The first frame: its coded bytes inside `file` and its place on the canvas.
  const uint8_t* frame = nullptr;
  size_t frame_size = 0;
  int x = 0, y = 0, width = 0, height = 0;

  ~WebpDecoderState() {
    if (demuxer != nullptr) WebPDemuxDelete(demuxer);
  }
};

namespace {

constexpr size_t kSliceBytes = 256 * 1024;
constexpr uint64_t kLibraryBytes = 4 << 20;  // entropy tables, row caches

// "RIFF", the chunk's size, "WEBP".
bool HasWebpSignature(const uint8_t* header) {
  return std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "WEBP", 4) == 0;
}

// What the decoder holds beside the file and the rows it writes: a
// lossless frame is decoded as 32-bit pixels with a few rows of cache; a
// lossy one keeps macroblock rows, and its alpha plane whole.
uint64_t DecoderBytes(const WebPBitstreamFeatures& features, uint64_t width, uint64_t height) {
  if (features.format == 2) return 4 * (width * height + 32 * width) + kLibraryBytes;
  return (features.has_alpha ? width * height : 0) + 1024 * width + kLibraryBytes;
}

// The first chunk of `fourcc`, or empty.
std::string Chunk(const WebPDemuxer* demuxer, const char* fourcc) {
  WebPChunkIterator chunk;
  if (!WebPDemuxGetChunk(demuxer, fourcc, 1, &chunk)) return std::string();
  std::string bytes(reinterpret_cast<const char*>(chunk.chunk.bytes), chunk.chunk.size);
  WebPDemuxReleaseChunkIterator(&chunk);
  return bytes;
}

void CollectMetadata(const WebPDemuxer* demuxer, PictureDescription* description) {
  const std::string exif_chunk = Chunk(demuxer, "EXIF");
  std::string exif = ExifBlockFromPayload(reinterpret_cast<const uint8_t*>(exif_chunk.data()), exif_chunk.size());
  if (!exif.empty()) description->metadata.push_back({MetadataKind::kExif, std::move(exif)});
  std::string xmp = Chunk(demuxer, "XMP ");
  if (!xmp.empty()) description->metadata.push_back({MetadataKind::kXmp, std::move(xmp)});
  std::string profile = Chunk(demuxer, "ICCP");
  if (!profile.empty()) description->metadata.push_back({MetadataKind::kIcc, std::move(profile)});
}

}  // namespace

WebpReader::WebpReader() = default;
WebpReader::~WebpReader() { Reset(); }

void WebpReader::ReleaseDecoder() { state_.reset(); }

bool WebpReader::ReadHeader(const char* path, PictureDescription* description) {
  StdioFile file;
  uint8_t header[12];
  if (!file.Open(path) || !file.ReadExactly(header, sizeof header) || !HasWebpSignature(header)) return false;
  // The whole file is held while the picture decodes; one larger than the
  // budget is refused unread.
  const int64_t size = file.Size();
  if (size < 12 || static_cast<uint64_t>(size) > PictureMemoryBudget().capacity() ||
      static_cast<uint64_t>(size) > SIZE_MAX)
    return false;
  state_.reset(new WebpDecoderState);
  WebpDecoderState* state = state_.get();
  state->file.resize(static_cast<size_t>(size));
  std::memcpy(state->file.data(), header, sizeof header);
  if (!file.ReadExactly(state->file.data() + sizeof header, state->file.size() - sizeof header)) return false;
  file.Close();

  const WebPData data = {state->file.data(), state->file.size()};
  state->demuxer = WebPDemux(&data);
  WebPIterator frame;
  if (state->demuxer == nullptr || !WebPDemuxGetFrame(state->demuxer, 1, &frame)) return false;
  state->frame = frame.fragment.bytes;
  state->frame_size = frame.fragment.size;
  state->x = frame.x_offset;
  state->y = frame.y_offset;
  state->width = frame.width;
  state->height = frame.height;
  const bool frame_alpha = frame.has_alpha != 0;
  WebPDemuxReleaseIterator(&frame);

  const auto canvas_width = static_cast<int64_t>(WebPDemuxGetI(state->demuxer, WEBP_FF_CANVAS_WIDTH));
  const auto canvas_height = static_cast<int64_t>(WebPDemuxGetI(state->demuxer, WEBP_FF_CANVAS_HEIGHT));
  WebPBitstreamFeatures features;
  if (!PictureFitsLimits(canvas_width, canvas_height, 4) || state->width < 1 || state->height < 1 ||
      state->x + int64_t{state->width} > canvas_width || state->y + int64_t{state->height} > canvas_height ||
      WebPGetFeatures(state->frame, state->frame_size, &features) != VP8_STATUS_OK ||
      features.width != state->width || features.height != state->height)
    return false;

  description->width = static_cast<int32_t>(canvas_width);
  description->height = static_cast<int32_t>(canvas_height);
  // Canvas the frame leaves uncovered is transparent.
  const bool covers = state->width == canvas_width && state->height == canvas_height;
  description->layout = frame_alpha || !covers ? PixelLayout::kArgb32 : PixelLayout::kRgb24;
  description->supply = RowSupply::kWholePicture;
  description->working_bytes = state->file.size() + DecoderBytes(features, static_cast<uint64_t>(state->width),
                                                                 static_cast<uint64_t>(state->height));
  if (description->working_bytes + description->WholePictureBytes() > PictureMemoryBudget().capacity()) return false;
  CollectMetadata(state->demuxer, description);
  return true;
}

bool WebpReader::DecodeWhole(uint8_t* pixels, size_t stride) {
  WebpDecoderState* state = state_.get();
  if (state == nullptr || state->frame == nullptr || stride > INT_MAX) return false;
  const PictureDescription& picture = description();
  const bool alpha = picture.layout == PixelLayout::kArgb32;
  const size_t pixel_bytes = alpha ? 4 : 3;
  if (state->width != picture.width || state->height != picture.height)
    for (int32_t y = 0; y < picture.height; ++y) std::memset(pixels + y * stride, 0, picture.stride());

  // The frame is written straight into its place on the canvas.
  uint8_t* frame = pixels + static_cast<size_t>(state->y) * stride + static_cast<size_t>(state->x) * pixel_bytes;
  const size_t frame_bytes = stride * static_cast<size_t>(state->height - 1) + pixel_bytes * static_cast<size_t>(state->width);
  WebPIDecoder* decoder = WebPINewRGB(alpha ? MODE_ARGB : MODE_RGB, frame, frame_bytes, static_cast<int>(stride));
  if (decoder == nullptr) return false;
  VP8StatusCode status = VP8_STATUS_SUSPENDED;
  for (size_t fed = 0; status == VP8_STATUS_SUSPENDED && fed < state->frame_size && !cancel_requested();) {
    fed = std::min(state->frame_size, fed + kSliceBytes);
    status = WebPIUpdate(decoder, state->frame, fed);
  }
  WebPIDelete(decoder);
  return status == VP8_STATUS_OK && !cancel_requested();
}
