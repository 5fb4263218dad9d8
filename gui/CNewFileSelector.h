// The system's open / save / folder dialog. On Linux it is zenity, started
// without a shell; without zenity (or a display for it) it answers as if the
// user cancelled.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/CBaseObject.h"

namespace VSTGUI {

class CFrame;

class CFileExtension {
public:
    CFileExtension(std::string description, std::string extension)
        : description(std::move(description)), extension(std::move(extension)) {}
    const std::string& getDescription() const { return description; }  // any
    const std::string& getExtension() const { return extension; }  // any

private:
    std::string description;
    std::string extension;
};

class CNewFileSelector : public CBaseObject {
public:
    enum Style { kSelectFile, kSelectSaveFile, kSelectDirectory };

    // The caller forget()s the selector when done.
    static CNewFileSelector* create(CFrame* parent = nullptr, Style style = kSelectFile);  // control

    void setTitle(const std::string& text) { title = text; }  // control
    void setInitialDirectory(const std::string& path) { initialDirectory = path; }  // control
    void setDefaultSaveName(const std::string& name) { defaultSaveName = name; }  // control
    // Listed first and selected when the dialog opens.
    void setDefaultExtension(const CFileExtension& extension);  // control
    void addFileExtension(const CFileExtension& extension);  // control
    void setAllowMultiFileSelection(bool state) { allowMultiple = state; }  // control

    // Runs the dialog; true when the user chose at least one file.
    bool runModal();  // control
    std::uint32_t getNumSelectedFiles() const { return static_cast<std::uint32_t>(selected.size()); }  // control
    // Null past the last selected file.
    const char* getSelectedFile(std::uint32_t index) const;  // control

    // The zenity arguments for the current settings (what runModal starts).
    std::vector<std::string> dialogArguments() const;  // control

private:
    explicit CNewFileSelector(Style style) : style(style) {}

    Style style;
    std::string title;
    std::string initialDirectory;
    std::string defaultSaveName;
    std::vector<CFileExtension> extensions;
    bool allowMultiple = false;
    std::vector<std::string> selected;
};

}  // namespace VSTGUI
