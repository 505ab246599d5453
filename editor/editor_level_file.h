#pragma once
// The editor's side of the level file: the whole editor level written in the current layout, and
// a file of either layout read back into it. Both go through the shared level codec.
#include <string>

class EditorLevel;
class EditorScene;

// Writes the level, the scene's scale, table and environment to `path` ('\' separated),
// atomically. False, with `error` set and any old file kept whole, when the level cannot be stored
// (a string over 99 bytes) or the file cannot be written.
bool SaveEditorLevel(const EditorLevel& level, const EditorScene& scene, const std::string& path, std::string& error);

// Reads `path` into the level: scale, table and environment into the scene, groups, blocks and
// counts into the level, then rebuilds the scene. A missing, empty, truncated or invalid file
// gives false with `error` set and leaves the level and the scene as they were.
bool LoadEditorLevel(EditorLevel& level, EditorScene& scene, const std::string& path, std::string& error);

// The level file operations behind the console's "save" and "load": `name` in the "levels\"
// folder. A failure is logged with its reason and the file name.
bool SaveEditorLevelNamed(const EditorLevel& level, const EditorScene& scene, const std::string& name);
bool LoadEditorLevelNamed(EditorLevel& level, EditorScene& scene, const std::string& name);
