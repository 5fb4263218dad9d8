#pragma once

// What the effect needs from the windowing system: a text input window, a
// message window with OK or with OK and Cancel, and the open and save file
// dialogs. Every operation is modal and answers as if cancelled when its
// window cannot be shown. Tests install a backend with scripted replies.

#include <optional>
#include <string>
#include <vector>

struct FileDialogRequest {
    bool save = false;                    // save dialog, else open dialog
    std::string title;
    std::string folder;                   // start folder, may be empty
    std::string button;                   // label of the accepting button
    std::string proposedName;             // save dialog only
    std::vector<std::string> extensions;  // open dialog: "ecs"; the last is the default
};

class DialogBackend {
public:
    virtual ~DialogBackend() = default;

    // The reply, or nothing when cancelled.
    virtual std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                               const std::string& initialText) = 0;  // control
    virtual void showMessage(const std::string& title, const std::string& text) = 0;  // control
    // True for OK, false for Cancel.
    virtual bool askOkCancel(const std::string& title, const std::string& text) = 0;  // control
    // The chosen file's full path, or nothing.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;  // control
};

// The backend the dialogs use: the installed one, else the platform's own.
DialogBackend& dialogBackend();  // control

// Installs backend (not owned; it must outlive its use) in place of the
// platform's own; nullptr goes back to the platform's own.
void setDialogBackend(DialogBackend* backend);  // control
