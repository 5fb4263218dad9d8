#include "platform/FilePaths.h"

#include <cstring>

bool copyPath(char (&buffer)[kPathBytes], std::string_view path) noexcept
{
    if (path.size() >= kPathBytes || path.find('\0') != std::string_view::npos) return false;
    std::memcpy(buffer, path.data(), path.size());
    buffer[path.size()] = '\0';
    return true;
}

std::string_view getFileNameOnly(std::string_view path) noexcept
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view getFolderOnly(std::string_view path) noexcept
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash + 1);
}

std::string withProposedExtension(std::string_view chosenPath, std::string_view proposedName)
{
    const std::string_view proposed = getFileNameOnly(proposedName);
    const auto proposedDot = proposed.rfind('.');
    if (proposedDot == std::string_view::npos || proposed.size() - proposedDot != 4) {
        return std::string(chosenPath);
    }
    const std::string_view extension = proposed.substr(proposedDot);

    const std::string_view folder = getFolderOnly(chosenPath);
    const std::string_view name = getFileNameOnly(chosenPath);
    const std::string_view stem = name.substr(0, name.find('.'));
    std::string result;
    result.reserve(folder.size() + stem.size() + extension.size());
    result.append(folder).append(stem).append(extension);
    return result;
}

std::vector<std::string> filterExtensions(std::string_view filter)
{
    std::vector<std::string> extensions;
    while (!filter.empty()) {
        const auto end = filter.find(';');
        const std::string_view part = filter.substr(0, end);
        const auto dot = part.find('.');
        if (dot != std::string_view::npos && dot + 1 < part.size()) {
            extensions.emplace_back(part.substr(dot + 1));
        }
        if (end == std::string_view::npos) break;
        filter.remove_prefix(end + 1);
    }
    return extensions;
}
