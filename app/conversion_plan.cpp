// Per-row decisions of a conversion run (see conversion_plan.h).
#include "app/conversion_plan.h"

#include "app/gbk_path.h"
#include "imaging/convert_result.h"

namespace tulvex {

SaveMode SaveModeOfChoice(const std::string& combo_text) {
  return combo_text == kOverwriteChoice ? SaveMode::kOverwrite : SaveMode::kSaveInFolder;
}

const char* SettingsValueOf(SaveMode mode) { return mode == SaveMode::kOverwrite ? "a" : "b"; }

SaveMode SaveModeOfSettingsValue(const std::string& value) {
  return value == "a" ? SaveMode::kOverwrite : SaveMode::kSaveInFolder;
}

std::string BaseNameOf(const std::string& source) {
  const std::string name = FileNameOf(source);
  // "." (0x2E) is never a GBK trail byte, so a plain search is safe.
  return name.substr(0, name.find('.'));
}

std::string DestinationOf(SaveMode mode, const std::string& folder, size_t number,
                          const std::string& source) {
  if (mode == SaveMode::kOverwrite) return source;
  return folder + "\\" + std::to_string(number) + "_" + BaseNameOf(source) + ".jpg";
}

const char* StatusTextOf(int32_t result_code) {
  switch (result_code) {
    case kConvertSucceeded: return "转换成功";
    case kConvertUnknownError: return "未知错误";
    case kConvertSourceMissing: return "文件不存在";
    case kConvertNoResources: return "系统资源不足";
    case kConvertUnreadable: return "文件格式不支持";
    case kConvertEncodeFailed: return "编码时出错";
    case kConvertNoEncodeResources: return "编码时系统资源不足";
    case kConvertBadArguments: return "编码参数错误";
    // Stopped part-way by a cancel or the window's close; nothing written.
    case kConvertCancelled: return "已取消";
    default: return nullptr;
  }
}

int32_t ProgressPositionOf(size_t finished, size_t total) {
  if (total == 0) return 0;
  // In floating point, as the bar has always been driven: 1/3 gives 3333.
  const double share = static_cast<double>(finished) / static_cast<double>(total);
  return static_cast<int32_t>(share * kProgressRange);
}

}  // namespace tulvex
