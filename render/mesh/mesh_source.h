#pragma once
// Where a model named by file name comes from, the same for plain and skinned meshes: its cache
// file (the name's last three characters replaced by the cache ending) when that exists as a file
// and reads cleanly, or when the name does not have the text ending (there is no text to import
// then); otherwise its text file, which the caller imports and, when the import was whole, caches.
#include <functional>
#include <string>

#include "core/streams.h"
#include "render/mesh/mesh_text_reader.h"

enum class YMeshSource {
    Done,        // the cache was read, or there is nothing to read (logged): the mesh is loaded
    Text,        // `text` holds the text file: import it, then write the cache
    MissingText, // the text file does not open: the import of the empty `text` logs its first
                 // word ("Error token: "), and no cache is written, so a text added later counts
};

// `readCache` reads an opened cache file (its name given for log lines) and says whether it was
// whole. When the text is opened, `loadLine` and the file name are logged ("Load mesh file <name>").
// `cacheName` receives the cache file's name.
YMeshSource OpenMeshSource(const std::string& fileName, const char* textEnding, const char* cacheEnding,
                           const char* loadLine, const std::function<bool(InStream&, const char*)>& readCache,
                           std::string& cacheName, YMeshTextReader& text);
