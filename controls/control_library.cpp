// The control library's notification entry: registers its control types.
#include "controls/control_library.h"

#include "runtime/application_header.h"

uintptr_t ControlLibraryNotification(int32_t code, uintptr_t arg1, uintptr_t) {
  if (code != kLibraryNotifyStart || arg1 == 0) return 0;
  const auto callback = reinterpret_cast<RuntimeCallback>(arg1);
  const ControlType* const types[] = {ReportListControlType(), SuperButtonControlType(), HyperlinkControlType(),
                                      TransparentLabelControlType(), PopupMenuComponentControlType()};
  uintptr_t registered = 0;
  for (const ControlType* type : types)
    registered += callback(kRuntimeRequestRegisterType, reinterpret_cast<uintptr_t>(type), 0);
  return registered;
}
