#include "gui/CNewFileSelector.h"

#include "platform/Process.h"

namespace VSTGUI {

namespace {
// Paths cannot hold a newline in the answer we parse, so it separates them.
constexpr char kPathSeparator = '\n';
}  // namespace

CNewFileSelector* CNewFileSelector::create(CFrame*, Style style) { return new CNewFileSelector(style); }

void CNewFileSelector::setDefaultExtension(const CFileExtension& extension) {
    extensions.insert(extensions.begin(), extension);
}

void CNewFileSelector::addFileExtension(const CFileExtension& extension) { extensions.push_back(extension); }

std::vector<std::string> CNewFileSelector::dialogArguments() const {
    std::vector<std::string> arguments{"zenity", "--file-selection"};
    if (!title.empty()) arguments.push_back("--title=" + title);
    if (style == kSelectSaveFile) {
        arguments.push_back("--save");
        arguments.push_back("--confirm-overwrite");
    }
    if (style == kSelectDirectory) arguments.push_back("--directory");
    if (allowMultiple && style == kSelectFile) {
        arguments.push_back("--multiple");
        arguments.push_back(std::string("--separator=") + kPathSeparator);
    }
    std::string start = initialDirectory;
    if (!start.empty() && start.back() != '/') start += '/';
    if (style == kSelectSaveFile) start += defaultSaveName;
    if (!start.empty()) arguments.push_back("--filename=" + start);
    for (const CFileExtension& extension : extensions)
        arguments.push_back("--file-filter=" + extension.getDescription() + " | *." + extension.getExtension());
    if (!extensions.empty()) arguments.push_back("--file-filter=All files | *");
    return arguments;
}

bool CNewFileSelector::runModal() {
    selected.clear();
    std::string answer;
    const ProcessResult result = runProcess(dialogArguments(), &answer);
    if (!result.started || result.exitStatus != 0) return false;
    std::size_t start = 0;
    while (start < answer.size()) {
        std::size_t end = answer.find(kPathSeparator, start);
        if (end == std::string::npos) end = answer.size();
        if (end > start) selected.push_back(answer.substr(start, end - start));
        start = end + 1;
    }
    return !selected.empty();
}

const char* CNewFileSelector::getSelectedFile(std::uint32_t index) const {
    return index < selected.size() ? selected[index].c_str() : nullptr;
}

}  // namespace VSTGUI
