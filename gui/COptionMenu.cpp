#include "gui/COptionMenu.h"

#include <algorithm>
#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/IMenuPresenter.h"

namespace VSTGUI {

namespace {
constexpr const char* kSeparatorText = "-";
constexpr const char* kDisabledPrefix = "-G";
}  // namespace

CMenuItem::CMenuItem(std::string title, std::int32_t flags, COptionMenu* submenu)
    : title(std::move(title)), flags(flags), submenu(submenu) {
    if (submenu) submenu->remember();
}

CMenuItem::~CMenuItem() {
    if (submenu) submenu->forget();
}

COptionMenu::COptionMenu(const CRect& size, IControlListener* listener, std::int32_t tag, CBitmap* background,
                         CBitmap* backgroundWhenClicked, std::int32_t style)
    : CParamDisplay(size, background, style), backgroundWhenClicked(backgroundWhenClicked) {
    setListener(listener);
    setTag(tag);
    if (backgroundWhenClicked) backgroundWhenClicked->remember();
    entriesChanged();
}

COptionMenu::COptionMenu() : COptionMenu(CRect(), nullptr, -1) {}

COptionMenu::~COptionMenu() {
    if (backgroundWhenClicked) backgroundWhenClicked->forget();
}

void COptionMenu::entriesChanged() {
    vmin = 0;
    vmax = static_cast<float>(std::max<std::int32_t>(getNbEntries() - 1, 0));
    bounceValue();
    setDirty(true);
}

CMenuItem* COptionMenu::insert(std::unique_ptr<CMenuItem> item, std::int32_t index) {
    CMenuItem* added = item.get();
    if (index < 0 || index >= getNbEntries())
        entries.push_back(std::move(item));
    else
        entries.insert(entries.begin() + index, std::move(item));
    entriesChanged();
    return added;
}

CMenuItem* COptionMenu::addEntry(const std::string& title, std::int32_t index, std::int32_t itemFlags) {
    if (title == kSeparatorText) return addSeparator(index);
    if (title.rfind(kDisabledPrefix, 0) == 0)
        return insert(std::make_unique<CMenuItem>(title.substr(2), itemFlags | CMenuItem::kDisabled), index);
    return insert(std::make_unique<CMenuItem>(title, itemFlags), index);
}

CMenuItem* COptionMenu::addEntry(COptionMenu* submenu, const std::string& title) {
    // A menu inside itself would never be released and never end when drawn.
    if (!submenu || submenu->contains(this)) return nullptr;
    return insert(std::make_unique<CMenuItem>(title, CMenuItem::kNoFlags, submenu), -1);
}

CMenuItem* COptionMenu::addSeparator(std::int32_t index) {
    return insert(std::make_unique<CMenuItem>(kSeparatorText, CMenuItem::kSeparator), index);
}

bool COptionMenu::removeEntry(std::int32_t index) {
    if (index < 0 || index >= getNbEntries()) return false;
    entries.erase(entries.begin() + index);
    entriesChanged();
    return true;
}

void COptionMenu::removeAllEntry() {
    entries.clear();
    entriesChanged();
}

CMenuItem* COptionMenu::getEntry(std::int32_t index) const {
    return index >= 0 && index < getNbEntries() ? entries[static_cast<std::size_t>(index)].get() : nullptr;
}

CMenuItem* COptionMenu::getCurrent() const { return getEntry(static_cast<std::int32_t>(value)); }

std::int32_t COptionMenu::getCurrentIndex(bool countSeparator) const {
    const auto current = static_cast<std::int32_t>(value);
    if (!getEntry(current)) return -1;
    if (countSeparator) return current;
    std::int32_t index = 0;
    for (std::int32_t i = 0; i < current; ++i)
        if (!entries[static_cast<std::size_t>(i)]->isSeparator()) ++index;
    return index;
}

std::int32_t COptionMenu::getCurrent(char* text, std::size_t textSize, bool countSeparator) const {
    const CMenuItem* item = getCurrent();
    if (text && textSize > 0) {
        const std::string& title = item ? item->getTitle() : std::string();
        const std::size_t length = std::min(title.size(), textSize - 1);
        std::memcpy(text, title.data(), length);
        text[length] = 0;
    }
    return item ? getCurrentIndex(countSeparator) : -1;
}

std::int32_t COptionMenu::toEntryIndex(std::int32_t index, bool countSeparator) const {
    if (countSeparator) return index;
    for (std::int32_t i = 0, seen = 0; i < getNbEntries(); ++i) {
        if (entries[static_cast<std::size_t>(i)]->isSeparator()) continue;
        if (seen++ == index) return i;
    }
    return -1;
}

bool COptionMenu::setCurrent(std::int32_t index, bool countSeparator) {
    const std::int32_t entry = toEntryIndex(index, countSeparator);
    if (!getEntry(entry)) return false;
    value = static_cast<float>(entry);
    setDirty(true);
    return true;
}

bool COptionMenu::checkEntry(std::int32_t index, bool state) {
    CMenuItem* item = getEntry(index);
    if (!item || item->isSeparator()) return false;
    item->setChecked(state);
    return true;
}

bool COptionMenu::isCheckedEntry(std::int32_t index) const {
    const CMenuItem* item = getEntry(index);
    return item && item->isChecked();
}

bool COptionMenu::showsCheck(std::int32_t index) const {
    return isCheckedEntry(index) || ((style & kCheckStyle) && getEntry(index) && index == static_cast<std::int32_t>(value));
}

bool COptionMenu::contains(const COptionMenu* menu) const {
    if (menu == this) return true;
    for (const auto& item : entries)
        if (item->getSubmenu() && item->getSubmenu()->contains(menu)) return true;
    return false;
}

bool COptionMenu::popup() {
    CFrame* frame = getFrame();
    IMenuPresenter* presenter = frame ? frame->getMenuPresenter() : nullptr;
    if (!presenter) return false;
    // The owner may drop the menu while the pop-up runs.
    remember();
    poppedUp = true;
    invalid();
    const MenuChoice choice = presenter->present(*this, CRect(localToFrame(size.getTopLeft()), size.getSize()));
    poppedUp = false;
    invalid();
    bool chosen = false;
    if (choice.menu && contains(choice.menu)) {
        const CMenuItem* item = choice.menu->getEntry(choice.index);
        if (item && item->isEnabled() && !item->isSeparator() && !item->getSubmenu()) {
            choice.menu->value = static_cast<float>(choice.index);
            choice.menu->setDirty(true);
            choice.menu->valueChanged();
            chosen = true;
        }
    }
    forget();
    return chosen;
}

void COptionMenu::doPopup() {
    popup();
    if (isEditing()) endEdit();
}

std::string COptionMenu::getDisplayText() const {
    const CMenuItem* item = getCurrent();
    return item ? item->getTitle() : std::string();
}

void COptionMenu::draw(CDrawContext* context) {
    if (context && !(style & kNoDrawStyle)) {
        drawBack(context, poppedUp && backgroundWhenClicked ? backgroundWhenClicked : background);
        drawText(context, getDisplayText());
    }
    setDirty(false);
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!getMouseEnabled()) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    if (listener && buttons.getModifierState() != 0 && listener->controlModifierClicked(this, buttons) != 0)
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    if (!(buttons & (kLButton | kRButton | kApple))) return kMouseEventNotHandled;
    beginEdit();
    doPopup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace VSTGUI
