#pragma once
// What the racket tells the game about play: the game shell implements it and hands it to the
// racket at construction. Every call is skipped while the racket has no listener.
class YGameEvent {
public:
    // Slot 0: the last life is gone.
    virtual void OnGameOver() = 0;
    // Slot 1: no block is left (every frame while that holds), or the Next bonus was caught.
    virtual void OnLevelComplete() = 0;
    // Slot 2: the racket was cleared for a new serve (the shell centres the cursor).
    virtual void OnServe() = 0;
    // Slot 3: the racket's hit count, while the hero stands still in play.
    virtual void OnRacketHits(int hits) = 0;

protected:
    ~YGameEvent() = default;
};
