// Reading of the hyperlink's stored property record (layout in hyperlink.h).
#include <windows.h>

#include "controls/border_styles.h"
#include "controls/hyperlink.h"
#include "controls/stored_blocks.h"

namespace {
constexpr uint32_t kNewestVersion = 1;
}  // namespace

HyperlinkRecord::HyperlinkRecord() : hover_color(GetSysColor(COLOR_HIGHLIGHT)) {}

LinkType ClampedLinkType(int32_t value) {
  return value >= static_cast<int32_t>(LinkType::kWeb) ? LinkType::kWeb : LinkType::kEmail;
}

bool ReadHyperlinkRecord(const uint8_t* bytes, size_t size, HyperlinkRecord* record) {
  return ReadVersionedRecord(bytes, size, kNewestVersion, record, [record](ByteCursor& cursor, uint32_t) {
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
  });
}
