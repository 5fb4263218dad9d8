// A control that pops up a list of entries and takes the chosen entry's
// index as its value (separators counted).
//
// Entry texts: "-" adds a separator; a text starting with "-G" adds a
// disabled entry showing the rest of the text.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "gui/CMenuItem.h"
#include "gui/CParamDisplay.h"

namespace VSTGUI {

class COptionMenu : public CParamDisplay {
public:
    COptionMenu(const CRect& size, IControlListener* listener, std::int32_t tag, CBitmap* background = nullptr,
                CBitmap* backgroundWhenClicked = nullptr, std::int32_t style = 0);  // control
    // An empty menu to be added to another as a submenu.
    COptionMenu();  // control
    COptionMenu(const COptionMenu&) = delete;
    COptionMenu& operator=(const COptionMenu&) = delete;
    ~COptionMenu() override;

    // index -1 (or past the end) appends. Returns the new entry.
    CMenuItem* addEntry(const std::string& title, std::int32_t index = -1,
                        std::int32_t itemFlags = CMenuItem::kNoFlags);  // control
    // The menu keeps its own reference to submenu. Null when submenu is null
    // or would contain this menu.
    CMenuItem* addEntry(COptionMenu* submenu, const std::string& title);  // control
    CMenuItem* addSeparator(std::int32_t index = -1);  // control
    bool removeEntry(std::int32_t index);  // control
    void removeAllEntry();  // control

    std::int32_t getNbEntries() const { return static_cast<std::int32_t>(entries.size()); }  // control
    CMenuItem* getEntry(std::int32_t index) const;  // control
    // The entry the value points at, or null.
    CMenuItem* getCurrent() const;  // control
    // Index of the current entry, -1 when there is none.
    std::int32_t getCurrentIndex(bool countSeparator = false) const;  // control
    // Copies the current entry's title into text (truncated to textSize - 1
    // bytes, always terminated) and returns its index; -1 and "" when there
    // is no current entry.
    std::int32_t getCurrent(char* text, std::size_t textSize, bool countSeparator = true) const;  // control
    template <std::size_t N>
    std::int32_t getCurrent(char (&text)[N], bool countSeparator = true) const {  // control
        return getCurrent(text, N, countSeparator);
    }
    bool setCurrent(std::int32_t index, bool countSeparator = true);  // control
    bool checkEntry(std::int32_t index, bool state);  // control
    bool isCheckedEntry(std::int32_t index) const;  // control
    // Whether an entry shows a check mark: its own flag, or the current entry
    // of a menu with kCheckStyle.
    bool showsCheck(std::int32_t index) const;  // control
    CBitmap* getBackgroundWhenClicked() const { return backgroundWhenClicked; }  // control

    // Shows the menu (modal) through the frame's presenter. A chosen entry
    // becomes the value of the menu holding it, whose listener is told.
    // False when dismissed, when there is no frame or presenter, or when the
    // choice was not a selectable entry.
    bool popup();  // control

    void draw(CDrawContext* context) override;  // control
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;  // control
    CView* newCopy() const override { return nullptr; }  // control

protected:
    // Pops up and ends the edit the click began.
    void doPopup();
    std::string getDisplayText() const override;

private:
    CMenuItem* insert(std::unique_ptr<CMenuItem> item, std::int32_t index);
    void entriesChanged();
    bool contains(const COptionMenu* menu) const;
    std::int32_t toEntryIndex(std::int32_t index, bool countSeparator) const;

    std::vector<std::unique_ptr<CMenuItem>> entries;
    CBitmap* backgroundWhenClicked;
    bool poppedUp = false;
};

}  // namespace VSTGUI
