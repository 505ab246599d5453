#pragma once
// What the program start does with its command line: only the first two characters of the text
// after the program name count ("-2x" is "-2").
#include <string>

enum class StartChoice { Game, Editor, Exit };

// `anotherCopy`: the single-instance lock said a copy was already running.
StartChoice ChooseStart(const std::string& commandText, bool anotherCopy);

// The command-line text after the program name, as one string: argv[1..] joined by spaces.
std::string CommandText(int argc, char** argv);
