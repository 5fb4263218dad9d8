// One entry of an option menu: a text, a separator, or a submenu.
#pragma once

#include <cstdint>
#include <string>

namespace VSTGUI {

class COptionMenu;

class CMenuItem {
public:
    enum Flags : std::int32_t {
        kNoFlags = 0,
        kDisabled = 1 << 0,
        kChecked = 1 << 2,
        kSeparator = 1 << 3,
    };

    // The item keeps its own reference to submenu.
    explicit CMenuItem(std::string title, std::int32_t flags = kNoFlags, COptionMenu* submenu = nullptr);  // control
    CMenuItem(const CMenuItem&) = delete;
    CMenuItem& operator=(const CMenuItem&) = delete;
    ~CMenuItem();

    const std::string& getTitle() const { return title; }  // control
    void setTitle(std::string text) { title = std::move(text); }  // control
    std::int32_t getFlags() const { return flags; }  // control
    bool isEnabled() const { return !(flags & kDisabled); }  // control
    void setEnabled(bool state) { flags = state ? (flags & ~kDisabled) : (flags | kDisabled); }  // control
    bool isChecked() const { return (flags & kChecked) != 0; }  // control
    void setChecked(bool state) { flags = state ? (flags | kChecked) : (flags & ~kChecked); }  // control
    bool isSeparator() const { return (flags & kSeparator) != 0; }  // control
    COptionMenu* getSubmenu() const { return submenu; }  // control

private:
    std::string title;
    std::int32_t flags;
    COptionMenu* submenu;
};

}  // namespace VSTGUI
