// Reads the program's window template data (stored form in
// window_template.h) into window template records, relocating every bound
// handler offset against the code base. The reader itself reports nothing:
// start-up turns a failure into the fatal "载入窗口模板数据段出错!".
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/windows/templates/window_template.h"

// False for any damage: a wrong magic or version, a length or count past the
// end, a duplicate or zero identifier, a parent or binding naming no earlier
// control, or bytes left over. `windows` is filled only on success.
bool ReadWindowTemplates(const void* data, size_t size, uintptr_t code_base,
                         std::vector<WindowTemplate>* windows);
