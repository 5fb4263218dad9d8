#pragma once

// The Linux dialogs: each one is a run of zenity. Without zenity (or without
// a display for it) every dialog answers as cancelled.

#include "platform/DialogBackend.h"

class ZenityDialogs final : public DialogBackend {
public:
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& initialText) override;  // control
    void showMessage(const std::string& title, const std::string& text) override;  // control
    bool askOkCancel(const std::string& title, const std::string& text) override;  // control
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;  // control
};
