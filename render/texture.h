#pragma once
// Textures: render resources loaded from image files by name and shared by that name, and textures
// made from another texture through a colour filter.
//
// Image files (BMP, JPEG, PNG; the kind is told by content) are read relative to the working
// directory with '\' paths. The device texture has a full mip chain, the file's format (alpha
// only when the file stores it) and at most 512 texels per side. A file that cannot be loaded
// leaves the texture without a device texture; it stays registered and is tried again at every
// restore.
#include <string>

#include "platform/gpu/device.h"
#include "render/render_resource.h"

class YTexture : public YRenderResource {
public:
    // Type mask RESOURCE_TEXTURE, no device texture.
    YTexture();
    ~YTexture() override;

    // name := fileName, then Restore.
    void Load(const char* fileName);
    // With a renderer: drops a held device texture, then loads the file (nothing while there is no
    // device).
    void Restore() override;
    // With a renderer: drops the device texture.
    void Release() override;

    gpu::TexturePtr deviceTexture;
};

// A colour transformation applied texel by texel; colours r, g, b, a in 0..1.
class YColorFilter {
public:
    virtual void Apply(float out[4], const float in[4]) = 0;
    virtual ~YColorFilter() = default;
};

// A texture whose texels are another texture's passed through a filter. Restored in registry
// order, so one made after its source sees the source's device texture.
class YFilterTexture : public YTexture {
public:
    // `source` is not owned; `filter` is, and is deleted with this texture.
    YFilterTexture(YTexture* source, YColorFilter* filter);
    ~YFilterTexture() override;

    // With a renderer: drops a held device texture, then makes the filtered one (none while the
    // source has none).
    void Restore() override;

    YTexture* source;
    YColorFilter* filter;
};

// The registered texture of exactly that name, or null.
YTexture* FindTexture(const std::string& name);
// The texture of that file name: found, or made and loaded. Never null; callers never delete it.
YTexture* GetTexture(const char* name);
