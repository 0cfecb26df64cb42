// What one conversion run decides for each row, without touching a window:
// the save mode chosen in the combo box, the destination of a row, the
// status text of a result code and the progress bar's position. Texts are
// GBK like every text of the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tulvex {

enum class SaveMode {
  kOverwrite,     // "a": the JPEG replaces the source file under its name
  kSaveInFolder,  // "b": "<folder>\<row number>_<base name>.jpg"
};

// The combo box's item for overwriting; any other text saves into a folder.
inline constexpr char kOverwriteChoice[] = "覆盖原图";
inline constexpr char kSaveInFolderChoice[] = "保存在：";
// A row's status while it converts; an unknown result code leaves it.
inline constexpr char kConvertingStatus[] = "正在转换";
// The progress bar's range.
inline constexpr int32_t kProgressRange = 10000;

// Exact byte comparison with kOverwriteChoice.
SaveMode SaveModeOfChoice(const std::string& combo_text);
// The settings-file value of a mode: "a" or "b".
const char* SettingsValueOf(SaveMode mode);
// A stored value: "a" overwrites, anything else (even "") saves in a folder.
SaveMode SaveModeOfSettingsValue(const std::string& value);

// The file name up to its first "." (the whole name without one).
std::string BaseNameOf(const std::string& source);

// Mode a: the source itself. Mode b: folder + "\" + number + "_" + base
// name + ".jpg"; one "\" is always inserted. `number` counts from 1.
std::string DestinationOf(SaveMode mode, const std::string& folder, size_t number,
                          const std::string& source);

// The status text of a result code; null for a code without one, whose row
// keeps kConvertingStatus. A conversion stopped by a cancel shows "已取消".
const char* StatusTextOf(int32_t result_code);

// finished / total * 10000, cut toward zero; 0 for an empty total.
int32_t ProgressPositionOf(size_t finished, size_t total);

}  // namespace tulvex
