// Times the folder scan of the real program under Wine, driven as a user
// would: how soon the first rows show once the scan has the folder, how
// long the whole tree takes, how long the window keeps a message waiting at
// most meanwhile, and how soon a cancel ends a scan of the same tree.
//   scan_bench PROGRAM FOLDER FILE_COUNT
// A benchmark to run by hand (bench/run-scan-bench.sh), not a test.
#include <windows.h>

#include <cstdio>
#include <functional>

#include "tests/app/driver/main_window.h"
#include "tests/app/driver/user_input.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The window thread's answer time to one sent message, in seconds.
double AnswerTime(HWND window) {
  const double start = Now();
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, &answer);
  return Now() - start;
}

// Polls `done` every millisecond, measuring the window's answer time on the
// way; false after `limit` seconds.
bool Watch(ProgramSession& program, const std::function<bool()>& done, double limit, double* slowest_answer) {
  const double start = Now();
  while (!done()) {
    if (Now() - start > limit) return false;
    if (slowest_answer) {
      const double answer = AnswerTime(program.controls().window);
      if (answer > *slowest_answer) *slowest_answer = answer;
    }
    Sleep(1);
  }
  return true;
}

int Stop(ProgramSession& program, const char* step) {
  std::fprintf(stderr, "scan bench: %s: %s\n", step, program.error().c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: scan_bench PROGRAM FOLDER FILE_COUNT\n");
    return 1;
  }
  const std::string folder = argv[2];
  const int files = std::atoi(argv[3]);
  ProgramSession program(argv[1], "Tulvex V3.0 免费版");
  if (!program.error().empty()) return Stop(program, "starting the program");

  // The whole tree. The scan begins when the folder dialog hands over the
  // folder, which shows as the progress bar.
  if (!program.StartFolderScan(folder)) return Stop(program, "choosing the folder");
  const double chosen = Now();
  if (!Watch(program, [&] { return IsWindowVisible(program.controls().progress) || program.RowCount() > 0; }, 60,
             nullptr)) {
    return Stop(program, "the scan's start");
  }
  const double started = Now();
  double slowest_answer = 0;
  if (!Watch(program, [&] { return program.RowCount() > 0; }, 60, &slowest_answer)) return Stop(program, "first rows");
  const double first_rows = Now() - started;
  if (!Watch(program, [&] { return program.RowCount() >= files && program.Idle(); }, 600, &slowest_answer)) {
    return Stop(program, "all rows");
  }
  const double all_rows = Now() - started;
  std::printf("files                      %d\n", files);
  std::printf("dialog closed to scan      %.3f s (the folder dialog handing the folder over)\n", started - chosen);
  std::printf("first rows after           %.3f s\n", first_rows);
  std::printf("all rows after             %.3f s (%.0f rows/s)\n", all_rows, files / all_rows);
  std::printf("slowest window answer      %.3f s\n", slowest_answer);

  if (!program.Close(600000)) return Stop(program, "closing the program");

  // The same tree in a fresh program, cancelled as soon as rows show.
  ProgramSession again(argv[1], "Tulvex V3.0 免费版");
  if (!again.error().empty() || !again.StartFolderScan(folder)) return Stop(again, "choosing the folder again");
  if (!Watch(again, [&] { return again.RowCount() > 0 && IsWindowVisible(again.controls().cancel); }, 60, nullptr)) {
    return Stop(again, "first rows of the second scan");
  }
  const int rows_at_cancel = again.RowCount();
  const double clicked = Now();
  if (!again.Click(again.controls().cancel)) return Stop(again, "clicking cancel");
  if (!Watch(again, [&] { return again.Idle(); }, 60, nullptr)) return Stop(again, "the cancelled scan's end");
  std::printf("cancel ended the scan in   %.3f s (%d rows at the click, %d after)\n", Now() - clicked, rows_at_cancel,
              again.RowCount());
  return again.Close() ? 0 : Stop(again, "closing the program");
}
