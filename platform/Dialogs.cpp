#include "platform/Dialogs.h"

#include "platform/DialogBackend.h"

#include <cstring>
#include <string>

namespace {

constexpr const char* kWindowTitle = "Tidewalker";

std::string textOf(const char* text) { return text != nullptr ? std::string(text) : std::string{}; }

}  // namespace

void inputBox(const char* prompt, const char* title, char* text, std::size_t textBytes)
{
    if (text == nullptr || textBytes == 0) return;
    const std::string initial(text, strnlen(text, textBytes - 1));
    const auto reply = dialogBackend().askText(textOf(title), textOf(prompt), initial);
    text[0] = '\0';
    if (reply && reply->size() < textBytes && reply->find('\0') == std::string::npos) {
        std::memcpy(text, reply->c_str(), reply->size() + 1);
    }
}

void messageBox(const char* text, int kind)
{
    if (kind == 1) {
        dialogBackend().askOkCancel(kWindowTitle, textOf(text));
    } else {
        dialogBackend().showMessage(kWindowTitle, textOf(text));
    }
}

int messageBoxCancel(const char* text) { return dialogBackend().askOkCancel(kWindowTitle, textOf(text)) ? 1 : 2; }

bool fileSelectLoadDir(const char* title, const char* folder, const char* button, const char* filter,
                       char (&chosenFolder)[kPathBytes], char (&chosenPath)[kPathBytes])
{
    FileDialogRequest request;
    request.title = textOf(title);
    request.folder = textOf(folder);
    request.button = textOf(button);
    request.extensions = filterExtensions(textOf(filter));
    const auto path = dialogBackend().chooseFile(request);
    // The folder is a prefix of the path, so it fits whenever the path does.
    if (!path || path->empty() || !copyPath(chosenPath, *path)) return false;
    copyPath(chosenFolder, getFolderOnly(*path));
    return true;
}

bool fileSelectSaveDir(const char* title, const char* folder, const char* button, const char* proposedName,
                       char (&chosenFolder)[kPathBytes], char (&chosenPath)[kPathBytes])
{
    FileDialogRequest request;
    request.save = true;
    request.title = textOf(title);
    request.folder = textOf(folder);
    request.button = textOf(button);
    request.proposedName = textOf(proposedName);
    const auto chosen = dialogBackend().chooseFile(request);
    if (!chosen || getFileNameOnly(*chosen).empty()) return false;
    const std::string path = withProposedExtension(*chosen, request.proposedName);
    if (!copyPath(chosenPath, path)) return false;
    std::string_view folderPart = getFolderOnly(path);
    if (!folderPart.empty()) folderPart.remove_suffix(1);
    copyPath(chosenFolder, folderPart);
    return true;
}
