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
//   AppendNumberedRows(list, texts, [column = 1], [scroll = false])
//       -> integer array: the number each new row was given. Each text of
//       the text array becomes a new last row whose column 0 holds its
//       number, the row count right after it went in, and whose `column`
//       (1 or more) holds the text. The whole batch goes in on the list's
//       own thread in one go with redraw off: a worker thread's rows cannot
//       be shifted by rows deleted in between, and a long batch costs one
//       trip to the window thread. `scroll` makes the last new row visible.
#pragma once

#include <windows.h>

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
void AppendNumberedRows(Value* result, int32_t count, const Value* args);

// AppendNumberedRows sends this to the list with its request as lParam; the
// list's window procedure hands it to AppendRowsOnListThread, which does
// the work when the request is one the command is waiting for (1), and
// ignores anything else (0).
constexpr UINT kAppendRowsMessage = WM_APP + 0x41;
LRESULT AppendRowsOnListThread(HWND list, LPARAM request);

// The 16 bits SetColumnWidth passes on for a requested width.
uint16_t ColumnWidthToPass(bool given, int32_t width);
