// The control library's commands as the program calls them: one include for
// the report list's commands and the thread, shell and folder commands.
#pragma once

#include "controls/control_library.h"
#include "controls/report_list_commands.h"
#include "controls/report_list.h"
#include "controls/folder_dialog.h"
#include "controls/shell_commands.h"
#include "controls/thread_commands.h"
