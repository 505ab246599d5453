#pragma once
// Connects the framework and the configuration (core, below the renderer) to the global renderer,
// the video-mode list and the render-resource registry, and makes and ends the renderer for the
// frameworks.

// Fills the framework's and the configuration's renderer hooks. Call once at start, before the
// window is created; every hook looks the renderer up when it runs.
void InstallRenderHooks();

// Makes the renderer over the device layer (it becomes the global renderer) and fills the
// video-mode list from its modes. Ends the program when the display cannot be used.
void CreateRenderer();
// Deletes the global renderer: every render resource is released, then the device.
void DestroyRenderer();
