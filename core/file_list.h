#pragma once
// Folder listings by wildcard pattern ("ui\*", "levels\*.lev"). Patterns and paths use '\' as the
// separator; names are matched ignoring case, as the file system the game was made for did.
#include <string>
#include <vector>

// Replaces `names` with the entries matching `pattern` whose kind is folder when `directories` is
// true and file when it is false, sorted ascending by byte value. "." and ".." are never listed.
// No match, or a folder that cannot be read, gives an empty list.
void ListFiles(std::vector<std::string>& names, const char* pattern, bool directories);

// True when `path` names an entry whose kind is folder when `directory` is true and file when it
// is false. Where several entries match ignoring case, the one spelt exactly as `path` decides,
// else the first in byte order.
bool FileExists(const char* path, bool directory);

// The sorted entries of one folder pattern together with that folder's path.
class YFileList {
public:
    // directory := the pattern up to and including its last '\' (empty without one);
    // entries := ListFiles(pattern, directories).
    void Scan(const char* pattern, bool directories);

    // directory + entry. An index outside the list gives an empty text.
    std::string GetPath(int index) const;
    // The entry up to its first '.', or the whole entry without one. An index outside the list
    // gives an empty text.
    std::string GetName(int index) const;
    // GetName of every entry, in order.
    std::vector<std::string> GetNames() const;
    // The first index whose GetName equals `name` exactly (case counts), else `fallback`.
    // The fallback is returned as given, so callers must check it against an empty list.
    int IndexOf(const std::string& name, int fallback) const;

    std::string directory;
    std::vector<std::string> entries;
};
