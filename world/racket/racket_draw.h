#pragma once
// The target arrow's opacity for the hero that far from its target: none closer than the racket
// width, else 0.25 growing to 0.65 at 1.5 + 3.75 units and beyond.
float ArrowOpacity(float distance, float width);
