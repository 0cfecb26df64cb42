// Waiting for the thing itself: a test that waits for a file, a window, a
// state or a log line polls that condition until a deadline, never sleeps a
// fixed time and never asserts on how long it took.
#pragma once

#include <cstdint>
#include <functional>

// Polls `condition` until it holds (true) or `timeout_ms` has passed
// (false, after a last look at the deadline).
bool WaitForCondition(const std::function<bool()>& condition, uint32_t timeout_ms);
