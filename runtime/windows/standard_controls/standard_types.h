// The type records of the standard controls, one function per control file,
// collected by RegisterStandardControlTypes.
#pragma once

#include "runtime/control_types.h"

const ControlType* WindowControlType();
const ControlType* ButtonControlType();
const ControlType* EditBoxControlType();
const ControlType* ComboBoxControlType();
const ControlType* ProgressBarControlType();
const ControlType* MenuControlType();
const ControlType* MenuItemControlType();
const ControlType* CheckBoxControlType();
