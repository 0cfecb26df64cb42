// The transparent label ("透明标签", type 0x30003): a caption drawn straight
// over its parent, without a background of its own.
//
// Stored property record (little-endian; colours are 0x00BBGGRR words):
//
//   offset  field
//   0       u32    version          0; larger: the record is refused
//   4       u32    text colour      the default code: the system window-text colour
//   8       u32    alignment        LabelAlignment (text centred vertically)
//   12      u32    font byte count  0, or 60 for a LOGFONTA-order font block
//   16      ..     font block       none: the window's font
//
// The caption is the template's caption. Nothing may follow the font block.
// An empty record gives the defaults.
#pragma once

#include <cstdint>
#include <vector>

#include "controls/stored_blocks.h"
#include "runtime/control_types.h"

constexpr uint32_t kTransparentLabelTypeId = 0x30003;

enum TransparentLabelProperty : int32_t {
  kLabelCaption = 0,    // text
  kLabelTextColor = 1,  // integer colour or kDefaultColorCode
  kLabelAlignment = 2,  // integer, a LabelAlignment
  kLabelFont = 3,       // byte set: a font block
};

enum LabelAlignment : uint32_t {
  kLabelLeftAligned = 0,
  kLabelCentred = 1,
  kLabelRightAligned = 2,
  kLastLabelAlignment = kLabelRightAligned,
};

struct TransparentLabelRecord {
  uint32_t text_color = kDefaultColorCode;
  uint32_t alignment = kLabelLeftAligned;
  std::vector<uint8_t> font;
};

bool ReadTransparentLabelRecord(const uint8_t* bytes, size_t size, TransparentLabelRecord* record);

const ControlType* TransparentLabelControlType();
