// The hyperlink ("超级链接框", type 0x30002): one line of text in a window of
// its own class "_QZ_HyperLinker" that opens a web address or starts an
// e-mail when clicked, drawn in its normal, hover or visited colour.
//
// Stored property record (little-endian; "string" is a u32 byte count then
// the GBK bytes, no NUL; colours are 0x00BBGGRR words):
//
//   offset  field
//   0       u32    version           0 or 1; larger: the record is refused
//   4       u32    link type         0 e-mail, 1 web address (clamped)
//   8       u32    normal colour
//   12      u32    visited colour
//   16      u32    hover colour
//   20      u32    background colour the default code: the window's background
//   24      u32    border            controls/border_styles.h (clamped)
//   28      u32    font byte count   0, or 60 for a LOGFONTA-order font block
//   32      ..     font block
//   ..      string caption           the window text
//   ..      string e-mail address
//   ..      string web address
//
// Nothing may follow the web address. An empty record gives the defaults.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/stored_blocks.h"
#include "runtime/control_types.h"

constexpr uint32_t kHyperlinkTypeId = 0x30002;
constexpr char kHyperlinkClassName[] = "_QZ_HyperLinker";

enum HyperlinkProperty : int32_t {
  kHyperlinkCaption = 0,        // text
  kHyperlinkLinkType = 1,       // integer: 0 e-mail, 1 web address
  kHyperlinkEmail = 2,          // text
  kHyperlinkWeb = 3,            // text
  kHyperlinkNormalColor = 4,    // integer colour
  kHyperlinkVisitedColor = 5,   // integer colour
  kHyperlinkHoverColor = 6,     // integer colour
  kHyperlinkBackColor = 7,      // integer colour or kDefaultColorCode
  kHyperlinkBorder = 8,         // integer 0..5
  kHyperlinkFont = 9,           // byte set: a font block
};

enum class LinkType : uint32_t { kEmail = 0, kWeb = 1 };

struct HyperlinkRecord {
  LinkType link_type = LinkType::kEmail;
  uint32_t normal_color = 0xFF0000;  // blue
  uint32_t visited_color = 0x000080;  // dark red
  uint32_t hover_color;               // the system highlight colour
  uint32_t back_color = kDefaultColorCode;
  uint32_t border = 0;
  std::vector<uint8_t> font;
  std::string caption, email, web;

  HyperlinkRecord();
};

// An out-of-range link type is clamped, as the property write does.
LinkType ClampedLinkType(int32_t value);

// False for a version above 1, a string or block past the end, or bytes left
// over. An empty record gives the defaults.
bool ReadHyperlinkRecord(const uint8_t* bytes, size_t size, HyperlinkRecord* record);

const ControlType* HyperlinkControlType();
