// The report list's commands. Argument 0 of each is the list, a control
// reference Value{window id, control id, 0x30004}; rows and columns count
// from 0; an argument with the omitted tag counts as not passed. The list
// lives on the window thread; the commands talk to it by sent messages, so
// worker threads may call them too.
//
//   InsertRow(list, [position], [text], [image], [state image], [indent], [data])
//       -> integer, the new row's index, -1 on failure. Omitted or negative
//       position appends; omitted image or one below -1 is -1 (none).
//   SetCellText(list, row, [column = 0], [text = ""])   -> logical
//   GetCellText(list, row, [column = 0])                -> text ("" if none)
//   GetRowCount(list)                                    -> integer
//   GetSelectedRows(list) -> integer array: dimension count 1, element
//       count, then the selected rows in ascending order
//   DeleteRow(list, row)                                 -> logical
//   DeleteAllRows(list)                                  -> logical
//   EnsureRowVisible(list, row)                          -> logical
//   SetColumnWidth(list, column, [width = -1])           -> logical; -1
//       fits the contents, -2 the header text, anything below -2 is -2;
//       the low 16 bits are passed on
#pragma once

#include <cstdint>

#include "runtime/value.h"

void InsertRow(Value* result, int32_t count, const Value* args);
void SetCellText(Value* result, int32_t count, const Value* args);
void GetCellText(Value* result, int32_t count, const Value* args);
void GetRowCount(Value* result, int32_t count, const Value* args);
void GetSelectedRows(Value* result, int32_t count, const Value* args);
void DeleteRow(Value* result, int32_t count, const Value* args);
void DeleteAllRows(Value* result, int32_t count, const Value* args);
void EnsureRowVisible(Value* result, int32_t count, const Value* args);
void SetColumnWidth(Value* result, int32_t count, const Value* args);

// The 16 bits SetColumnWidth passes on for a requested width.
uint16_t ColumnWidthToPass(bool given, int32_t width);
