// What "查看文件" (and a double click on a row) does with a listed file. The
// folder scan lists every file, programs and scripts too, and the shell's
// "open" verb runs those: only a file whose content the engine recognises
// as a picture is opened, and only when its name does not make the shell
// run it anyway (a picture header can start a script). Any other row shows
// its file selected in its folder.
#pragma once

#include <string>

namespace tulvex {

enum class ViewAction {
  kOpenFile,      // the shell's "open" verb on the file
  kShowInFolder,  // the folder window, the file selected
};

ViewAction ViewActionOf(const std::string& path);

}  // namespace tulvex
