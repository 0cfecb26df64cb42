// The coded messages and the body of the runtime error report.
#include "runtime/process/error_report_text.h"

namespace {

// Indexed by code - 1 (RuntimeErrorCode, runtime_error.h).
const char* const kCodedMessages[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

constexpr int32_t kCodedMessageCount = sizeof kCodedMessages / sizeof kCodedMessages[0];

}  // namespace

const char* CodedErrorMessage(int32_t code) {
  if (code < 1 || code > kCodedMessageCount) return nullptr;
  return kCodedMessages[code - 1];
}

std::string BuildErrorReportText(const char* message, int32_t code) {
  std::string text = "运行时出错!\r\n\r\n";
  if (code != 0) text += "错误代码：" + std::to_string(code) + "\r\n\r\n";
  if (message && *message) {
    text += "错误信息：";
    text += message;
    text += "\r\n";
  }
  return text;
}
