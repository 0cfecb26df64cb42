// The system's file dialogs of another process, answered as a user would:
// the open-file dialog by typing into its file-name box, the folder dialog
// by clicking the folder in its tree.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Waits for a dialog (class #32770) of the process whose caption starts with
// `caption_prefix` (empty = any); null after `timeout_ms`.
HWND WaitForDialog(DWORD process_id, const std::string& caption_prefix, DWORD timeout_ms = 10000);

// In an open-file dialog: types `folder` and Enter to go there, then the
// names, each in double quotes when there are several, and confirms. Names
// are GBK. False with `error` set when a step does not take effect.
bool ChooseFilesInOpenDialog(HWND dialog, const std::string& folder, const std::vector<std::string>& names,
                             std::string* error);
// Presses the dialog's cancel button.
bool CancelDialog(HWND dialog);

// The text a message box shows (its static texts, joined).
std::string MessageBoxText(HWND box);
// Waits for a message box of the process captioned `caption`, reads its
// text into `text` and presses its OK button.
bool AnswerMessageBox(DWORD process_id, const std::string& caption, std::string* text);

// In a folder dialog: expands its tree down to `folder` (a full path with a
// drive letter), clicks the folder's item and presses OK.
bool ChooseFolderInTree(HWND dialog, const std::string& folder, std::string* error);
