// Drives the converter through one batch as a user would, for the run
// script on machines without a display: adds a folder of pictures, picks
// "保存在：" and an output folder, starts the run, waits for its end, prints
// every row and saves a picture of the finished window.
//   sample_run_driver PROGRAM SAMPLE_FOLDER OUTPUT_FOLDER SCREENSHOT.png
// Exit status: 0 the run ended, 1 the window did not react as expected,
// 2 the program did not start.
#include <windows.h>

#include <cstdio>

#include "tests/app/driver/main_window.h"

namespace {

int Stop(ProgramSession& program, int status, const char* step) {
  std::fprintf(stderr, "sample run: %s: %s\n", step, program.error().c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: sample_run_driver PROGRAM SAMPLE_FOLDER OUTPUT_FOLDER SCREENSHOT.png\n");
    return 1;
  }
  const std::string folder = argv[2], output = argv[3], picture = argv[4];
  ProgramSession program(argv[1], "Tulvex V3.0 免费版");
  if (!program.controls().window) return Stop(program, 2, "starting the program");
  if (!program.error().empty()) return Stop(program, 1, "finding the controls");
  if (!program.AddFolder(folder)) return Stop(program, 1, "adding the sample folder");
  if (!program.PickSaveMode("保存在：")) return Stop(program, 1, "choosing the save mode");
  if (!program.BrowseSaveFolder(output)) return Stop(program, 1, "choosing the output folder");
  if (!program.RunToEnd(600000)) return Stop(program, 1, "running the conversion");
  const JobRows rows = program.Rows();
  if (!program.error().empty()) return Stop(program, 1, "reading the job list");
  for (const auto& row : rows) std::printf("%4s  %-10s  %s\n", row[0].c_str(), row[2].c_str(), row[1].c_str());
  if (!SaveWindowPicture(program.controls().window, picture)) {
    std::fprintf(stderr, "sample run: cannot save the screenshot %s\n", picture.c_str());
    return 1;
  }
  return program.Close() ? 0 : Stop(program, 1, "closing the program");
}
