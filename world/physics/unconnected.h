#pragma once
// What a call into one of the world's connections does before the world set-up has made it: the
// connection's name goes to the log and to standard error, and the program stops. A world that
// runs without a connection it needs would lose bonuses, scores or captions without a word.

// Logs "World connection not made: <name>" and aborts.
[[noreturn]] void UnconnectedWorldCall(const char* name);
