#include "core/file_list.h"

#include <algorithm>
#include <cstring>

#include "platform/sys/files.h"

void ListFiles(std::vector<std::string>& names, const char* pattern, bool directories) {
    names.clear();
    if (!pattern || !*pattern) return;
    for (plat::DirEntry& entry : plat::ListDirectory(pattern)) {
        if (entry.name == "." || entry.name == "..") continue;
        if (entry.isDir != directories) continue;
        names.push_back(std::move(entry.name));
    }
    // std::string compares through char_traits<char>, which orders bytes as unsigned values.
    std::sort(names.begin(), names.end());
}

bool FileExists(const char* path, bool directory) {
    if (!path || !*path) return false;
    std::vector<plat::DirEntry> found = plat::ListDirectory(path);
    if (found.empty()) return false;

    // The listing matches ignoring case, so a folder may offer several spellings of the name.
    const char* last = std::strrchr(path, '\\');
    const char* wanted = last ? last + 1 : path;
    const plat::DirEntry* first = nullptr;
    for (const plat::DirEntry& entry : found) {
        if (entry.name == wanted) return entry.isDir == directory;
        if (!first || entry.name < first->name) first = &entry;
    }
    return first->isDir == directory;
}

void YFileList::Scan(const char* pattern, bool directories) {
    directory.clear();
    if (pattern) {
        const char* last = std::strrchr(pattern, '\\');
        if (last) directory.assign(pattern, static_cast<std::size_t>(last - pattern) + 1);
    }
    ListFiles(entries, pattern, directories);
}

std::string YFileList::GetPath(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
    return directory + entries[static_cast<std::size_t>(index)];
}

std::string YFileList::GetName(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
    const std::string& entry = entries[static_cast<std::size_t>(index)];
    return entry.substr(0, entry.find('.'));
}

std::vector<std::string> YFileList::GetNames() const {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) names.push_back(GetName(static_cast<int>(i)));
    return names;
}

int YFileList::IndexOf(const std::string& name, int fallback) const {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (GetName(static_cast<int>(i)) == name) return static_cast<int>(i);
    return fallback;
}
