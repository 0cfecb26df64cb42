// tulvex-convert: runs the engine's ConvertPictureToJpeg command from the
// command line, one conversion or a list of them, and prints one result
// code a line. Arguments reach the command as the application passes them:
// numbers as numeric records, converted from text the way the application
// converts text to numbers (so "-q abc" is quality 0, a bad argument).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/convert_command.h"
#include "runtime/value.h"

namespace {

const char kUsage[] =
    "usage: tulvex-convert [-q QUALITY] [-g] [-s SMOOTHING] [-n] SOURCE DEST\n"
    "       tulvex-convert [-q QUALITY] [-g] [-s SMOOTHING] [-n] --list LISTFILE\n"
    "\n"
    "Converts pictures to JPEG. LISTFILE holds one SOURCE<TAB>DEST a line; '-'\n"
    "reads standard input. Prints CODE<TAB>SOURCE for every conversion (1 is\n"
    "success). Defaults: quality 100, colour, optimised Huffman tables,\n"
    "smoothing 0. -g writes grayscale, -n turns optimisation off.\n"
    "Exit status: 0 when every code is 1, 1 otherwise, 2 for a usage error.\n";

struct Options {
  double quality = 100;
  double smoothing = 0;
  bool grayscale = false;
  bool optimise = true;
  const char* list = nullptr;
  std::vector<const char*> paths;
};

// The application's text-to-number: leading number, anything else is 0.
double TextToNumber(const char* text) { return std::strtod(text, nullptr); }

bool ParseArguments(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool has_value = i + 1 < argc;
    if (argument == "-q" && has_value) {
      options->quality = TextToNumber(argv[++i]);
    } else if (argument == "-s" && has_value) {
      options->smoothing = TextToNumber(argv[++i]);
    } else if (argument == "--list" && has_value && options->list == nullptr) {
      options->list = argv[++i];
    } else if (argument == "-g") {
      options->grayscale = true;
    } else if (argument == "-n") {
      options->optimise = false;
    } else if (argument.size() > 1 && argument[0] == '-') {
      return false;  // an unknown option, or one without its value
    } else {
      options->paths.push_back(argv[i]);
    }
  }
  return options->list != nullptr ? options->paths.empty() : options->paths.size() == 2;
}

// One conversion through the command frame; prints its line and returns
// the code.
int32_t ConvertOne(const Options& options, const std::string& source, const std::string& destination) {
  const Value args[] = {LendText(source.c_str()),
                        LendText(destination.c_str()),
                        MakeLogical(options.grayscale),
                        MakeFloat(options.quality),
                        MakeLogical(options.optimise),
                        MakeFloat(options.smoothing)};
  const Value result = CallCommand(ConvertPictureToJpeg, args);
  const auto code = static_cast<int32_t>(result.word0);
  std::printf("%d\t%s\n", code, source.c_str());
  std::fflush(stdout);
  return code;
}

// Runs every SOURCE<TAB>DEST line of `list`; a line without a tab has an
// empty destination, which the command refuses. Empty lines are skipped.
bool ConvertList(const Options& options, FILE* list) {
  bool all_succeeded = true;
  std::string line;
  for (int c = std::fgetc(list);; c = std::fgetc(list)) {
    if (c != EOF && c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) {
      const size_t tab = line.find('\t');
      const std::string source = line.substr(0, tab);
      const std::string destination = tab == std::string::npos ? std::string() : line.substr(tab + 1);
      all_succeeded = ConvertOne(options, source, destination) == kConvertSucceeded && all_succeeded;
    }
    line.clear();
    if (c == EOF) break;
  }
  return all_succeeded;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, &options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (options.list == nullptr)
    return ConvertOne(options, options.paths[0], options.paths[1]) == kConvertSucceeded ? 0 : 1;

  const bool from_input = std::strcmp(options.list, "-") == 0;
  FILE* list = from_input ? stdin : std::fopen(options.list, "rb");
  if (list == nullptr) {
    std::fprintf(stderr, "tulvex-convert: cannot read %s\n", options.list);
    return 2;
  }
  const bool all_succeeded = ConvertList(options, list);
  if (!from_input) std::fclose(list);
  return all_succeeded ? 0 : 1;
}
