// The runtime's numeric conversions: where a number is required, a value
// that is not numeric is the fatal error "欲转换数据类型不是数值".
#pragma once

#include <cstdint>

#include "runtime/value.h"

// TryToInteger, with the fatal error for a tag that is not numeric.
int32_t ToInteger(const Value& value);

// The numeric types as a double (a long integer with all its 64 bits).
bool TryToFloat(const Value& value, double* result);
double ToFloat(const Value& value);
