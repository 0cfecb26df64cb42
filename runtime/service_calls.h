// What the application's code calls: a small surface over the service table
// so that handlers read like their algorithm. Every runtime service here is
// reached through Services(); only reading value blocks (array layout, the
// numeric conversion) uses the runtime's helpers directly.
//
//   services::OwnedValue text(services::Call(ToText, {MakeInteger(row)}));
//   services::SetProperty(kMainWindow, kQualityEdit, kEditBoxText, text.get());
//
// Part of the runtime's public surface (runtime/README.md).
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "runtime/values/arrays.h"
#include "runtime/values/numeric.h"
#include "runtime/process/service_table.h"

struct ApplicationHeader;
using CleanupRoutine = void (*)(int32_t index);

namespace services {

// Owns the heap block a text, byte set or array record points to and frees
// it through slot 8; an array of texts or byte sets frees its elements
// first. Records of other types hold no block.
class OwnedValue {
 public:
  OwnedValue() = default;
  explicit OwnedValue(const Value& value) : value_(value) {}
  ~OwnedValue() { Release(); }
  OwnedValue(OwnedValue&& other) noexcept : value_(std::exchange(other.value_, Value{0, 0, 0})) {}
  OwnedValue& operator=(OwnedValue&& other) noexcept {
    if (this != &other) {
      Release();
      value_ = std::exchange(other.value_, Value{0, 0, 0});
    }
    return *this;
  }
  OwnedValue(const OwnedValue&) = delete;
  OwnedValue& operator=(const OwnedValue&) = delete;

  const Value& get() const { return value_; }
  // Hands the block over, e.g. to a variable that will own it.
  Value release() { return std::exchange(value_, Value{0, 0, 0}); }
  // The text it holds; "" for null. Valid while this holder lives.
  const char* text() const { return TextOf(value_); }

 private:
  void Release() {
    void* block = PointerOf(value_);
    if (block && IsArrayTag(value_.tag) && HoldsBlock(ElementTagOf(value_.tag))) {
      void* const* elements = reinterpret_cast<void* const*>(ArrayElements(block));
      for (uint64_t i = 0; i < ArrayElementCount(block); ++i) Services().free(elements[i]);
    }
    if (HoldsBlock(value_.tag)) Services().free(block);
    value_ = Value{0, 0, 0};
  }
  static bool HoldsBlock(uint32_t tag) {
    return tag == kTagText || tag == kTagByteSet || IsArrayTag(tag);
  }
  Value value_{0, 0, 0};
};

// A new text record holding a heap copy of `text` (null for "").
inline OwnedValue MakeText(const char* text) {
  Value value{0, 0, kTagText};
  const size_t length = text ? std::strlen(text) : 0;
  if (length) {
    auto* copy = static_cast<char*>(Services().allocate(static_cast<uint32_t>(length + 1)));
    std::memcpy(copy, text, length + 1);
    StorePointer(value, copy);
  }
  return OwnedValue(value);
}

// A number where one is required; anything else is the fatal conversion
// error.
inline int32_t ReadInteger(const Value& value) { return ToInteger(value); }

// Calls a core-library command (slot 3) or a support-library command
// (slot 2) with the argument records in order.
inline Value Call(Command command, std::initializer_list<Value> args) {
  return Services().call_core_command(command, static_cast<int32_t>(args.size()), args.begin());
}
inline Value CallLibrary(Command command, std::initializer_list<Value> args) {
  return Services().call_library_command(command, static_cast<int32_t>(args.size()), args.begin());
}

// The address of DLL command `index` (slot 1), as the function type the
// application declared for it.
template <typename Function>
Function DllCommand(int32_t index) {
  return reinterpret_cast<Function>(Services().dll_command_address(index));
}

// Properties (slots 4 and 5); the fourth selector is always -1. A text read
// is a new block the caller owns, hence the holder.
inline OwnedValue GetProperty(uint32_t window_id, uint32_t control_id, int32_t property) {
  return OwnedValue(Services().read_property(window_id, control_id, property, -1));
}
inline void SetProperty(uint32_t window_id, uint32_t control_id, int32_t property, const Value& value) {
  Services().write_property(window_id, control_id, property, -1, value.word0, value.word1);
}

// The routines of slot 12.
inline OwnedValue FindFile(const char* pattern, uint32_t mask, bool files_only, uintptr_t* handle) {
  const uintptr_t name = Services().run_routine(kRoutineFindFile, reinterpret_cast<uintptr_t>(pattern),
                                                mask, files_only ? 1 : 0,
                                                reinterpret_cast<uintptr_t>(handle));
  return OwnedValue(LendText(reinterpret_cast<const char*>(name)));
}
inline void CloseFileSearch(uintptr_t handle) { Services().run_routine(kRoutineCloseSearch, handle, 0, 0, 0); }
inline void MakeArrayWritable(void** array, uint32_t element_width) {
  Services().run_routine(kRoutineMakeArrayWritable, reinterpret_cast<uintptr_t>(array), element_width, 0, 0);
}
inline void RegisterCleanup(CleanupRoutine routine) {
  Services().run_routine(kRoutineRegisterCleanup, reinterpret_cast<uintptr_t>(routine), 0, 0, 0);
}
inline void Initialise(const ApplicationHeader& header) {
  Services().run_routine(kRoutineInitialise, reinterpret_cast<uintptr_t>(&header), 0, 0, 0);
}

// Slots 0, 9, 10, 11.
[[noreturn]] inline void ReportErrorCode(int32_t code) {
  Services().report_error_code(code);
  __builtin_unreachable();
}
[[noreturn]] inline void Exit(int32_t code) {
  Services().exit(code);
  __builtin_unreachable();
}
inline void RunMessageLoop() { Services().run_message_loop(); }
inline void LoadStartWindow(uint32_t window_id) { Services().load_start_window(window_id); }

}  // namespace services
