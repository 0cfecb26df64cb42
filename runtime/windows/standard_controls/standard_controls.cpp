// Registration of the standard control types at start-up.
#include "runtime/windows/standard_controls/standard_controls.h"

#include <windows.h>
#include <commctrl.h>

#include "runtime/windows/standard_controls/standard_types.h"

void RegisterStandardControlTypes() {
  // The progress bar is a common control.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  for (const ControlType* type : {WindowControlType(), ButtonControlType(), EditBoxControlType(),
                                  ComboBoxControlType(), ProgressBarControlType(), MenuControlType(),
                                  MenuItemControlType(), CheckBoxControlType()}) {
    RegisterControlType(type);
  }
}
