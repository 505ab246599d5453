#pragma once
// The game's keys and mouse: each event goes, by game state, to the console, the UI root, the
// racket, the orbit camera, the level picker or the state machine. Also the right-button camera
// drag and the cursor that follows the racket.
class YConsole;
class YGameShellHost;
class YGameStates;
class YOrbitView;

class YGameInput {
public:
    YGameInput(YGameShellHost& host, YGameStates& states, YOrbitView& orbit)
        : host_(host), states_(states), orbit_(orbit) {}

    void SetConsole(YConsole* console) { console_ = console; }

    void KeyDown(int key);
    void OnChar(int code);
    void MouseDown(int button, int x, int y);
    void MouseUp(int button, int x, int y);
    void MouseMove(int x, int y);
    // Wheel units, 120 a notch, positive away from the user.
    void MouseWheel(int delta);
    // Ends a right-button drag: the orbit view keeps its angles and the cursor goes back.
    void EndOrbitDrag();
    // Pulls the cursor to where the racket stands (position -1 .. 1 across the client width).
    void SyncCursorToRacket(float position);

    bool suppressChar = false;  // the character of the last key is not typed (console toggle, end of game)
    bool cursorSync = false;    // the program is moving the cursor itself
    int savedX = 0, savedY = 0; // where the drag began

private:
    bool ConsoleShown() const;
    void StateKey(int key);
    // A key on the game-over or all-done screen: on to the score check, without the key's character.
    void LeaveGameEndScreen(int scoreCheck);

    YGameShellHost& host_;
    YGameStates& states_;
    YOrbitView& orbit_;
    YConsole* console_ = nullptr;
};
