#pragma once
#include <string>

#include "editor/editor_transform.h"

// What the statements need of the editor's frame: the window, the camera and the end of the run.
class EditorHost {
public:
    // Saves "config.yml" and ends the main loop; false when "config.yml" could not be saved.
    virtual bool QuitEditor() = 0;
    // Trackball rotation := 40 degrees down about x.
    virtual void ResetCamera() = 0;
    virtual bool IsFullScreenWindow() const = 0;
    // Destroys the window and makes it again from the configuration.
    virtual void RecreateWindow() = 0;
    // The mode text resolved against the mode list, into the frame and the configuration.
    virtual void ApplyVideoModeText(const std::string& text) = 0;
    // The camera's axes as the last frame set them.
    virtual EditorCameraAxes CameraAxes() const = 0;

protected:
    ~EditorHost() = default;
};
