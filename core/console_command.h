#pragma once
// The owner of a text console: the console parses a typed line and calls its owner for every
// registered name it reads. The handler reads the statement's name text and value text back from
// the console (YConsole::GetNameText, GetValueText, GetInt, GetFloat, GetBool), acts, and prints its
// answer with YConsole::Print.

class YConsoleCommand {
public:
    // A registered command was read. The name text holds the command word, the value text the word
    // after it (possibly empty).
    virtual void RunCommand(int id) = 0;
    // A registered variable was assigned. The name text holds the variable name followed by '=',
    // the value text the value (never empty).
    virtual void SetVariable(int id) = 0;

protected:
    ~YConsoleCommand() = default;
};
