// The ConvertResult codes: what one conversion answers, from the engine's
// command to the job list's status texts and tulvex-convert's output.
#pragma once

#include <cstdint>

// The command itself produces 1, -1, -3, -4, -7 and -8; the application also
// has texts for the others.
inline constexpr int32_t kConvertSucceeded = 1;
inline constexpr int32_t kConvertUnknownError = 0;
inline constexpr int32_t kConvertSourceMissing = -1;
inline constexpr int32_t kConvertNoResources = -2;
inline constexpr int32_t kConvertUnreadable = -3;
inline constexpr int32_t kConvertEncodeFailed = -4;
inline constexpr int32_t kConvertNoEncodeResources = -6;
inline constexpr int32_t kConvertBadArguments = -7;
// Stopped by the caller's cancel request; the destination is untouched.
inline constexpr int32_t kConvertCancelled = -8;
