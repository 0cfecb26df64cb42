// Reading of the hyperlink's stored property record (layout in hyperlink.h).
#include <windows.h>

#include "controls/hyperlink.h"
#include "controls/stored_blocks.h"

namespace {
constexpr uint32_t kNewestVersion = 1;
constexpr uint32_t kLastBorder = 5;
}  // namespace

HyperlinkRecord::HyperlinkRecord() : hover_color(GetSysColor(COLOR_HIGHLIGHT)) {}

LinkType ClampedLinkType(int32_t value) { return value >= 1 ? LinkType::kWeb : LinkType::kEmail; }

uint32_t ClampedBorder(int32_t value) {
  if (value < 0) return 0;
  return static_cast<uint32_t>(value) > kLastBorder ? kLastBorder : static_cast<uint32_t>(value);
}

bool ReadHyperlinkRecord(const uint8_t* bytes, size_t size, HyperlinkRecord* record) {
  *record = HyperlinkRecord();
  if (size == 0) return true;
  ByteCursor cursor(bytes, size);
  const uint32_t version = cursor.U32();
  if (!cursor.ok() || version > kNewestVersion) return false;
  record->link_type = ClampedLinkType(cursor.I32());
  record->normal_color = cursor.U32();
  record->visited_color = cursor.U32();
  record->hover_color = cursor.U32();
  record->back_color = cursor.U32();
  record->border = ClampedBorder(cursor.I32());
  ReadStoredBlock(cursor, &record->font);
  record->caption = cursor.Text();
  record->email = cursor.Text();
  record->web = cursor.Text();
  return cursor.AtEnd();
}
