// The value record: the one shape in which every command argument and result
// travels between the application, the runtime and the libraries.
//
//   word0  the value itself, its low half, or a pointer (text, byte set, array)
//   word1  the high half of a 64-bit value; 0 for 32-bit and pointer values
//   tag    what the words hold (ValueTag)
//
// Ownership: a text, byte set or array held in a variable owns its heap block;
// a command returns new blocks that the caller owns, and never frees or keeps
// the blocks of its arguments (they are lent). Constant blocks of the
// application live in the constant data block and are never freed.
//
// On the 32-bit target a pointer fits word0 and word1 stays 0. The portable
// engine and its tools are also built for 64-bit hosts, where a pointer takes
// both words; PointerOf/MakePointerWords hide that difference.
//
// Part of the runtime's public surface (runtime/README.md).
#pragma once

#include <cstdint>
#include <cstring>

enum ValueTag : uint32_t {
  kTagOmitted = 0,  // an optional argument the caller left out: all words 0
  kTagByte = 0x80000101,        // unsigned 8 bits, low byte of word0
  kTagShort = 0x80000201,       // signed 16 bits, low half of word0
  kTagInteger = 0x80000301,     // signed 32 bits in word0
  kTagLong = 0x80000401,        // signed 64 bits, word0 low, word1 high
  kTagSmallFloat = 0x80000501,  // IEEE single in word0
  kTagFloat = 0x80000601,       // IEEE double in word0 (low) and word1
  kTagLogical = 0x80000002,     // word0 is 0 (false) or 1 (true)
  kTagDateTime = 0x80000003,    // 8 bytes in word0 and word1
  kTagText = 0x80000004,        // pointer to NUL-terminated GBK text; 0 = ""
  kTagByteSet = 0x80000005,     // pointer to a byte-set block; 0 = empty
  kTagSubProgram = 0x80000006,  // code address of one of the application's routines
  kTagEightBytes = 0x80000008,  // 8 bytes in word0 and word1
};

struct Value {
  uint32_t word0;
  uint32_t word1;
  uint32_t tag;
};

static_assert(sizeof(Value) == 12, "the value record is three 32-bit words");
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "pointers take one or two words");
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(void*) <= sizeof(uint32_t), "on the target a pointer fits word 0");
#endif

// --- pointers in records -------------------------------------------------

inline void* PointerOf(const Value& value) {
  uintptr_t address = value.word0;
  if constexpr (sizeof(void*) == 8) address |= static_cast<uintptr_t>(value.word1) << 16 << 16;
  return reinterpret_cast<void*>(address);
}

inline void StorePointer(Value& value, const void* pointer) {
  const auto address = reinterpret_cast<uintptr_t>(pointer);
  value.word0 = static_cast<uint32_t>(address);
  value.word1 = static_cast<uint32_t>(static_cast<uint64_t>(address) >> 32);
}

// --- making records ---------------------------------------------------------

inline Value MakeInteger(int32_t number) {
  return Value{static_cast<uint32_t>(number), 0, kTagInteger};
}

inline Value MakeLogical(bool truth) { return Value{truth ? 1u : 0u, 0, kTagLogical}; }

inline Value MakeLong(int64_t number) {
  const auto bits = static_cast<uint64_t>(number);
  return Value{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), kTagLong};
}

inline Value MakeFloat(double number) {
  uint64_t bits;
  std::memcpy(&bits, &number, sizeof bits);
  return Value{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), kTagFloat};
}

// A text record that lends `text` (no copy): the caller keeps it alive.
inline Value LendText(const char* text) {
  Value value{0, 0, kTagText};
  StorePointer(value, text);
  return value;
}

inline Value OmittedArgument() { return Value{0, 0, kTagOmitted}; }

// --- reading records --------------------------------------------------------

inline bool IsOmitted(const Value& value) { return value.tag == kTagOmitted; }

// The two value words as one 64-bit quantity (long, float, date-time,
// 8-byte values).
inline uint64_t EightBytesOf(const Value& value) {
  return value.word0 | (static_cast<uint64_t>(value.word1) << 32);
}

// The IEEE values of the small float and float records.
inline float SmallFloatOf(const Value& value) {
  float number;
  std::memcpy(&number, &value.word0, sizeof number);
  return number;
}

inline double DoubleOf(const Value& value) {
  const uint64_t bits = EightBytesOf(value);
  double number;
  std::memcpy(&number, &bits, sizeof number);
  return number;
}

// The text a record points to; the empty text for a null pointer.
inline const char* TextOf(const Value& value) {
  const auto* text = static_cast<const char*>(PointerOf(value));
  return text ? text : "";
}

// The text of a property write, which hands over the value words without a
// tag: a pointer spans both words on 64-bit builds.
inline const char* TextOfWords(uint32_t word0, uint32_t word1) {
  return TextOf(Value{word0, word1, kTagText});
}

inline bool IsNumericTag(uint32_t tag) {
  return tag == kTagByte || tag == kTagShort || tag == kTagInteger || tag == kTagLong ||
         tag == kTagSmallFloat || tag == kTagFloat;
}

// Numeric conversion to a 32-bit integer: word0 of the integer types
// (sign-extended for the short integer, a long keeps its low word), floats
// truncated toward zero. Returns false for a tag that is not numeric; the
// runtime turns that into its fatal error, the engine into a bad argument.
bool TryToInteger(const Value& value, int32_t* result);

// --- commands ---------------------------------------------------------------

// Every library command has this shape: it writes its result into `result`
// (all zero on entry) and never frees its arguments.
using Command = void (*)(Value* result, int32_t count, const Value* args);

// The command-call frame: reserve a zeroed result record, call the command
// with the result record, the argument count and the first argument record.
inline Value CallCommand(Command command, int32_t count, const Value* args) {
  Value result{0, 0, 0};
  command(&result, count, args);
  return result;
}

template <size_t N>
Value CallCommand(Command command, const Value (&args)[N]) {
  return CallCommand(command, static_cast<int32_t>(N), args);
}
