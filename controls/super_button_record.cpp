// Reading of the owner-drawn button's stored property record (layout in
// super_button.h).
#include "controls/stored_blocks.h"
#include "controls/super_button.h"

namespace {

constexpr uint32_t kNewestVersion = 2;
constexpr uint32_t kFirstVersionWithDisabledPicture = 2;

bool ReadChoice(ByteCursor& cursor, uint32_t last, uint32_t* value) {
  *value = cursor.U32();
  if (*value > last) cursor.Fail();
  return cursor.ok();
}

bool ReadFlag(ByteCursor& cursor) { return cursor.U32() != 0; }

}  // namespace

bool ReadSuperButtonRecord(const uint8_t* bytes, size_t size, SuperButtonRecord* record) {
  return ReadVersionedRecord(bytes, size, kNewestVersion, record, [record](ByteCursor& cursor, uint32_t version) {
    uint32_t choice = 0;
    ReadChoice(cursor, static_cast<uint32_t>(ButtonStyle::kLast), &choice);
    record->style = static_cast<ButtonStyle>(choice);
    record->check_box = ReadFlag(cursor);
    record->checked = ReadFlag(cursor);
    ReadChoice(cursor, static_cast<uint32_t>(PictureAlign::kLast), &choice);
    record->align = static_cast<PictureAlign>(choice);
    ReadChoice(cursor, kLastPressStyle, &record->press_style);
    record->draw_border = ReadFlag(cursor);
    record->draw_focus = ReadFlag(cursor);
    ReadStoredBlock(cursor, &record->picture_out);
    record->transparent_out = cursor.U32();
    ReadStoredBlock(cursor, &record->picture_in);
    record->transparent_in = cursor.U32();
    ReadStoredBlock(cursor, &record->font);
    record->default_colors = ReadFlag(cursor);
    for (uint32_t& color : record->colors) color = cursor.U32();
    record->standard_sound = ReadFlag(cursor);
    ReadStoredBlock(cursor, &record->over_sound);
    ReadStoredBlock(cursor, &record->click_sound);
    record->tool_tip = cursor.Text();
    ReadChoice(cursor, kLastDefaultStyle, &choice);
    record->default_button = choice == kDefaultButton;
    if (version >= kFirstVersionWithDisabledPicture) {
      record->transparent_disabled = cursor.U32();
      ReadStoredBlock(cursor, &record->picture_disabled);
    }
  });
}
