#include "platform/ZenityDialogs.h"

#include "platform/Process.h"

namespace {

// zenity prints its answer followed by one line feed.
std::optional<std::string> answerOf(const ProcessResult& result, std::string output)
{
    if (!result.started || result.exitStatus != 0) return std::nullopt;
    if (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

// zenity reads backslash escapes in the entry window's label and then takes
// "_" as a keyboard mnemonic; doubled, both show as typed.
std::string asEntryLabel(const std::string& prompt)
{
    std::string label;
    label.reserve(prompt.size());
    for (const char c : prompt) {
        if (c == '\\' || c == '_') label += c;
        label += c;
    }
    return label;
}

}  // namespace

std::optional<std::string> ZenityDialogs::askText(const std::string& title, const std::string& prompt,
                                                  const std::string& initialText)
{
    std::string output;
    const ProcessResult result = runProcess(
        {"zenity", "--entry", "--title=" + title, "--text=" + asEntryLabel(prompt), "--entry-text=" + initialText}, &output);
    return answerOf(result, std::move(output));
}

void ZenityDialogs::showMessage(const std::string& title, const std::string& text)
{
    runProcess({"zenity", "--info", "--no-markup", "--title=" + title, "--text=" + text});
}

bool ZenityDialogs::askOkCancel(const std::string& title, const std::string& text)
{
    const ProcessResult result = runProcess({"zenity", "--question", "--no-markup", "--title=" + title,
                                             "--text=" + text, "--ok-label=OK", "--cancel-label=Cancel"});
    return result.started && result.exitStatus == 0;
}

std::optional<std::string> ZenityDialogs::chooseFile(const FileDialogRequest& request)
{
    std::vector<std::string> argv{"zenity", "--file-selection", "--title=" + request.title};
    if (request.save) {
        argv.insert(argv.end(), {"--save", "--confirm-overwrite"});
    }
    std::string start = request.folder;
    if (!start.empty() && start.back() != '/') start += '/';
    if (request.save) start += request.proposedName;
    if (!start.empty()) argv.push_back("--filename=" + start);
    // zenity starts with its first filter, our default is the last one.
    for (auto extension = request.extensions.rbegin(); extension != request.extensions.rend(); ++extension) {
        argv.push_back("--file-filter=" + *extension + " | *." + *extension);
    }
    std::string output;
    const ProcessResult result = runProcess(argv, &output);
    auto path = answerOf(result, std::move(output));
    if (path && path->empty()) return std::nullopt;
    return path;
}
