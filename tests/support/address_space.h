// Address-space tricks for the 64-bit Windows test programs.
//
// Under Wine a 64-bit process gets its heap, stacks and VirtualAlloc blocks
// below 4 GiB, where a pointer cut to 32 bits still works by luck. Reserving
// the free space below 4 GiB at start makes later blocks land above it, so
// a cut pointer faults at once. Elsewhere these do nothing.
#pragma once

#include <cstddef>

// Reserves (without committing) every free range below 4 GiB. Returns the
// number of bytes reserved; 0 on 32-bit and native builds.
size_t ReserveLowAddressSpace();

