#pragma once
// Where the game's one camera stands in each game state: the player's orbit view over the table
// during play, pause and tips; a slowly wandering orbit round the table in the menus and end
// screens; a still, randomly turned view for level pictures. The sound listener follows the
// camera (except for the still view).
#include "math/matrix.h"
#include "math/vector.h"
#include "render/camera.h"
#include "shell/orbiter.h"

// Game states in which the player's orbit view is used (play, pause, tips).
constexpr int SCENE_CAMERA_PLAY_STATES = 8 | 64 | 2048;

// 1 / sin(22.5 degrees): the distance at which a sphere of radius 1 fills a 45-degree view.
constexpr float CAMERA_DISTANCE_FACTOR = 2.6131259f;

// The distance that fits a table of these half sizes into the picture.
float CameraFitDistance(float halfWidth, float halfDepth);

// The right-handed look-at view: z axis along eye - target, x axis up x z, y axis z x x; the
// view maps eye to the origin.
YMatrix LookAtView(const YVector& eye, const YVector& target, const YVector& up);

class YSceneCamera {
public:
    // Orbit view: yaw within 35 degrees, pitch -40 in [-65, -25]. Menu orbiter: yaw 180, speeds
    // 9 / 19 / 13, radius 10 +- 1, height 19 +- 2.
    YSceneCamera();

    // Places g_Camera for `gameState` over a table of these half sizes. dt == 0 gives the still
    // view (view only). Play states: orbit view, fov 45. Other states: the menu orbiter advances
    // by dt, fov 45. Except for the still view the sound listener is moved. Returns true when the
    // cached scene background is out of date (the menu camera moves every frame).
    bool Update(float dt, int gameState, float halfWidth, float halfDepth);

    YOrbitView orbitView;
    YOrbiter menuOrbiter;
    // Moves the sound listener: position, front and top. By default the sound layer's listener;
    // tests watch it here.
    void (*moveListener)(const YVector* position, const YVector* front, const YVector* top);
};

// The sound layer's listener setters.
void MoveSoundListener(const YVector* position, const YVector* front, const YVector* top);
