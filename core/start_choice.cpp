#include "core/start_choice.h"

StartChoice ChooseStart(const std::string& commandText, bool anotherCopy) {
    const std::string head = commandText.substr(0, 2);
    if (head == "-2") return StartChoice::Game;
    if (head == "-e" || head == "-E") return StartChoice::Editor;
    return anotherCopy ? StartChoice::Exit : StartChoice::Game;
}

std::string CommandText(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) text += ' ';
        text += argv[i];
    }
    return text;
}
