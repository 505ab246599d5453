#pragma once
// The folders of the game folder that neither the game nor the editor can run without. Every file
// the program reads is found relative to the working folder; started elsewhere, or from a folder
// whose content was not installed, it would open a window with nothing to show. The check says
// what is missing instead.
#include <functional>
#include <string>
#include <vector>

// Folder names, relative to the working folder, in the order they are checked.
const std::vector<std::string>& RequiredDataFolders();

// The required folders that do not exist (as folders) below `root`.
std::vector<std::string> MissingDataFolders(const std::string& root = ".");

// Logs the missing folders and tells the user in a message box (`messageBox`(text, title));
// returns false when anything is missing and the program must end.
bool CheckDataFolders(const std::function<void(const char* text, const char* title)>& messageBox,
                      const std::string& root = ".");
