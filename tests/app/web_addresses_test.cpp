// The window template repeats the program's web endpoints; this keeps the
// template and app/web_addresses.h saying the same.
#include "app/web_addresses.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

namespace tulvex {
namespace {

// The template source is UTF-8; the program's texts are GBK.
std::string Utf8ToGbk(const std::string& utf8) {
  const int wide_length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), wide_length);
  const int length = WideCharToMultiByte(936, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string gbk(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(936, 0, wide.data(), wide_length, gbk.data(), length, nullptr, nullptr);
  return gbk;
}

TEST(WebAddressesTest, TheWindowTemplateSaysWhatTheProgramSays) {
  const std::string source = ReadFileBytes(TULVEX_APP_SOURCE_DIR "\\main_window.tvw");
  ASSERT_FALSE(source.empty());
  const std::string tvw = Utf8ToGbk(source);
  EXPECT_NE(tvw.find(std::string("caption \"Tulvex V3.0 免费版     Moravin ") + kProjectPageAddress + "\""),
            std::string::npos);
  EXPECT_NE(tvw.find(std::string("\"") + kHyperlinkTarget + "\""), std::string::npos);
  EXPECT_NE(tvw.find(std::string("caption \"") + kAdvertisingText + "\""), std::string::npos);
}

}  // namespace
}  // namespace tulvex
