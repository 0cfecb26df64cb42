// tulvex-convert: runs the engine's ConvertPictureToJpeg command from the
// command line, one conversion or a list of them, and prints one result
// code a line. Arguments reach the command as the application passes them:
// numbers as numeric records, converted from text the way the application
// converts text to numbers (so "-q abc" is quality 0, a bad argument).
// A list is converted by up to -j entries at once, the largest pictures
// first so that the last ones to finish are small; its lines are still
// printed in list order.
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "imaging/convert_command.h"
#include "imaging/core_budget.h"
#include "imaging/picture_loader.h"
#include "runtime/value.h"

namespace {

// The process's exit codes.
constexpr int kExitAllConverted = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitUsageError = 2;

const char kUsage[] =
    "usage: tulvex-convert [OPTIONS] SOURCE DEST\n"
    "       tulvex-convert [OPTIONS] [-j N] --list LISTFILE\n"
    "options: [-q QUALITY] [-g] [-s SMOOTHING] [-n] [--strip] [--keep-dates]\n"
    "         [--flatten RRGGBB]\n"
    "\n"
    "Converts pictures to JPEG. LISTFILE holds one SOURCE<TAB>DEST a line; '-'\n"
    "reads standard input. Prints CODE<TAB>SOURCE for every conversion (1 is\n"
    "success), in list order. Defaults: quality 100, colour, optimised Huffman\n"
    "tables, smoothing 0, the picture's EXIF, XMP and colour profile kept,\n"
    "transparency dropped. -g writes grayscale, -n turns optimisation off.\n"
    "--strip writes no metadata. --keep-dates gives each JPEG its source's\n"
    "last-write time. --flatten lays transparent pixels on the colour RRGGBB\n"
    "(six hexadecimal digits, e.g. ffffff for white).\n"
    "-j N converts up to N list entries at once (default: one per processor),\n"
    "the largest pictures first.\n"
    "Exit status: 0 when every code is 1, 1 otherwise, 2 for a usage error.\n";

struct Options {
  double quality = 100;
  double smoothing = 0;
  bool grayscale = false;
  bool optimise = true;
  bool strip = false;
  bool keep_dates = false;
  int32_t background = -1;  // 0xRRGGBB, -1: transparency dropped
  const char* list = nullptr;
  std::vector<const char*> paths;
  unsigned jobs = 0;  // 0: one per processor
};

// -j takes a whole positive number, nothing else.
bool ParseJobs(const char* text, unsigned* jobs) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > 1024) return false;
  *jobs = static_cast<unsigned>(value);
  return true;
}

// --flatten takes exactly six hexadecimal digits.
bool ParseColour(const char* text, int32_t* colour) {
  if (std::strlen(text) != 6 || std::strspn(text, "0123456789abcdefABCDEF") != 6) return false;
  *colour = static_cast<int32_t>(std::strtol(text, nullptr, 16));
  return true;
}

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
    } else if (argument == "-j" && has_value) {
      if (!ParseJobs(argv[++i], &options->jobs)) return false;
    } else if (argument == "--list" && has_value && options->list == nullptr) {
      options->list = argv[++i];
    } else if (argument == "--flatten" && has_value) {
      if (!ParseColour(argv[++i], &options->background)) return false;
    } else if (argument == "--strip") {
      options->strip = true;
    } else if (argument == "--keep-dates") {
      options->keep_dates = true;
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

struct Conversion {
  std::string source, destination;
};

// One conversion through the command frame; returns the code.
int32_t ConvertOne(const Options& options, const Conversion& conversion) {
  const Value args[] = {LendText(conversion.source.c_str()),
                        LendText(conversion.destination.c_str()),
                        MakeLogical(options.grayscale),
                        MakeFloat(options.quality),
                        MakeLogical(options.optimise),
                        MakeFloat(options.smoothing),
                        OmittedArgument(),  // no cancel request
                        MakeLogical(options.keep_dates),
                        MakeLogical(options.strip),
                        options.background < 0 ? OmittedArgument() : MakeInteger(options.background)};
  const Value result = CallCommand(ConvertPictureToJpeg, args);
  return static_cast<int32_t>(result.word0);
}

void PrintResult(int32_t code, const std::string& source) {
  std::printf("%d\t%s\n", code, source.c_str());
  std::fflush(stdout);
}

// Every SOURCE<TAB>DEST line of `list`; a line without a tab has an empty
// destination, which the command refuses. Empty lines are skipped.
std::vector<Conversion> ReadList(FILE* list) {
  std::vector<Conversion> conversions;
  std::string line;
  for (int c = std::fgetc(list);; c = std::fgetc(list)) {
    if (c != EOF && c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) {
      const size_t tab = line.find('\t');
      conversions.push_back(Conversion{line.substr(0, tab), tab == std::string::npos
                                                                ? std::string()
                                                                : line.substr(tab + 1)});
    }
    line.clear();
    if (c == EOF) break;
  }
  return conversions;
}

// The pixels of each entry's picture, from its header; 0 for a file that
// no reader takes (it fails at once when converted).
int64_t PixelsOf(const std::string& path) {
  std::unique_ptr<PictureReader> reader;
  if (PictureLoader::OpenReader(path.c_str(), &reader) != kLoaderAccepted) return 0;
  return int64_t{reader->description().width} * reader->description().height;
}

// List positions, the largest picture first; equal sizes keep list order.
std::vector<size_t> LargestFirst(const std::vector<Conversion>& conversions) {
  std::vector<int64_t> pixels;
  for (const Conversion& conversion : conversions) pixels.push_back(PixelsOf(conversion.source));
  std::vector<size_t> order(conversions.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return pixels[a] > pixels[b]; });
  return order;
}

// Workers take the next unconverted entry, the largest pictures first; the
// calling thread prints each result in list order, as soon as every entry
// before it has been printed. Each worker keeps a processor's seat until no
// entry is left, so a conversion takes a second thread for its decoding
// only once workers run out of pictures.
class ParallelList {
 public:
  ParallelList(const Options& options, const std::vector<Conversion>& conversions)
      : options_(options), conversions_(conversions), order_(LargestFirst(conversions)),
        codes_(conversions.size()), done_(conversions.size(), false) {}

  bool Run(unsigned jobs) {
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < jobs && i < conversions_.size(); ++i) workers.emplace_back([this] { Work(); });
    bool all_succeeded = true;
    for (size_t printed = 0; printed < conversions_.size(); ++printed) {
      int32_t code;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        finished_.wait(lock, [&] { return done_[printed]; });
        code = codes_[printed];
      }
      PrintResult(code, conversions_[printed].source);
      all_succeeded = code == kConvertSucceeded && all_succeeded;
    }
    for (std::thread& worker : workers) worker.join();
    return all_succeeded;
  }

 private:
  void Work() {
    CoreSeat seat;
    for (;;) {
      size_t index;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (next_ == order_.size()) return;
        index = order_[next_++];
      }
      const int32_t code = ConvertOne(options_, conversions_[index]);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        codes_[index] = code;
        done_[index] = true;
      }
      finished_.notify_all();
    }
  }

  const Options& options_;
  const std::vector<Conversion>& conversions_;
  const std::vector<size_t> order_;  // list positions in the order of work
  std::mutex mutex_;
  std::condition_variable finished_;
  size_t next_ = 0;              // the first place in order_ no worker has taken
  std::vector<int32_t> codes_;   // by list position, valid where done_
  std::vector<bool> done_;
};

unsigned DefaultJobs() {
  const unsigned processors = std::thread::hardware_concurrency();
  return processors == 0 ? 1 : processors;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, &options)) {
    std::fputs(kUsage, stderr);
    return kExitUsageError;
  }
  if (options.list == nullptr) {
    const Conversion conversion{options.paths[0], options.paths[1]};
    const int32_t code = ConvertOne(options, conversion);
    PrintResult(code, conversion.source);
    return code == kConvertSucceeded ? kExitAllConverted : kExitSomeFailed;
  }

  const bool from_input = std::strcmp(options.list, "-") == 0;
  FILE* list = from_input ? stdin : std::fopen(options.list, "rb");
  if (list == nullptr) {
    std::fprintf(stderr, "tulvex-convert: cannot read %s\n", options.list);
    return kExitUsageError;
  }
  const std::vector<Conversion> conversions = ReadList(list);
  if (!from_input) std::fclose(list);
  ParallelList run(options, conversions);
  return run.Run(options.jobs != 0 ? options.jobs : DefaultJobs()) ? kExitAllConverted : kExitSomeFailed;
}
