#pragma once

// The effect's modal windows and file dialogs. Main thread only.

#include "platform/FilePaths.h"

#include <cstddef>

// Capacity of the text buffer every caller of inputBox passes.
inline constexpr std::size_t kInputBoxBytes = 256;

// Text input window: text carries the default in and the reply out (at most
// textBytes bytes with the terminator). Cancelled, not shown, or a reply that
// does not fit: text becomes empty, which callers read as no entry.
void inputBox(const char* prompt, const char* title, char* text, std::size_t textBytes);  // control

// kind 1 shows the OK/Cancel window, any other kind the OK window; both are
// titled "Tidewalker".
void messageBox(const char* text, int kind);  // control

// 1 for OK, 2 for Cancel (also when the window cannot be shown).
int messageBoxCancel(const char* text);  // control

// Open dialog. filter is like "*.ecs" or "*.ecs;*.txt". When one file is
// chosen: chosenPath = its path and chosenFolder = the path up to and
// including its last "/", and the answer is true. Otherwise (or when the path
// does not fit) both are left as they were and the answer is false.
bool fileSelectLoadDir(const char* title, const char* folder, const char* button, const char* filter,
                       char (&chosenFolder)[kPathBytes], char (&chosenPath)[kPathBytes]);  // control

// Save dialog. When one file is chosen: chosenPath = its path, renamed by the
// proposed name's extension (see withProposedExtension), chosenFolder = the
// path before its last "/", and the answer is true. Otherwise both are left
// as they were and the answer is false.
bool fileSelectSaveDir(const char* title, const char* folder, const char* button, const char* proposedName,
                       char (&chosenFolder)[kPathBytes], char (&chosenPath)[kPathBytes]);  // control
