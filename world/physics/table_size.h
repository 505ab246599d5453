#pragma once
// The size of the current table, as its last build set it (20 x 20 before any build). The physics
// layer reads it for the ball's height ceiling and the play-area test; the table writes it.
struct YTableSize {
    float width = 20.0f;
    float depth = 20.0f;
    float halfWidth = 10.0f;
    float halfDepth = 10.0f;

    void Set(float w, float d) {
        width = w;
        depth = d;
        halfWidth = w * 0.5f;
        halfDepth = d * 0.5f;
    }
};

extern YTableSize g_TableSize;
