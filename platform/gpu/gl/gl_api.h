#pragma once
// The OpenGL entry points the device needs beyond OpenGL 1.1, looked up once a context exists.
// Fixed-function OpenGL with framebuffer objects (OpenGL 3.0 or ARB_framebuffer_object) is enough.
#include <GL/gl.h>
#include <GL/glext.h>

namespace gpu {

struct GlApi {
    PFNGLACTIVETEXTUREPROC ActiveTexture = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC ClientActiveTexture = nullptr;
    PFNGLMULTITEXCOORD4FARBPROC MultiTexCoord4f = nullptr;
    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC BlitFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
    PFNGLGENBUFFERSPROC GenBuffers = nullptr;
    PFNGLDELETEBUFFERSPROC DeleteBuffers = nullptr;
    PFNGLBINDBUFFERPROC BindBuffer = nullptr;
    PFNGLBUFFERDATAPROC BufferData = nullptr;
    PFNGLBUFFERSUBDATAPROC BufferSubData = nullptr;
    PFNGLBLENDFUNCSEPARATEPROC BlendFuncSeparate = nullptr;
    // Optional (OpenGL 3.0 or ARB_map_buffer_range): unsynchronised writes into stream buffers.
    PFNGLMAPBUFFERRANGEPROC MapBufferRange = nullptr;
    PFNGLUNMAPBUFFERPROC UnmapBuffer = nullptr;
    // Optional (OpenGL 4.4 or ARB_buffer_storage, with fences): persistently mapped stream buffers.
    PFNGLBUFFERSTORAGEPROC BufferStorage = nullptr;
    PFNGLFENCESYNCPROC FenceSync = nullptr;
    PFNGLCLIENTWAITSYNCPROC ClientWaitSync = nullptr;
    PFNGLDELETESYNCPROC DeleteSync = nullptr;
    // Optional (OpenGL 3.3 or ARB_sampler_objects): filters and address modes per texture unit.
    PFNGLGENSAMPLERSPROC GenSamplers = nullptr;
    PFNGLDELETESAMPLERSPROC DeleteSamplers = nullptr;
    PFNGLBINDSAMPLERPROC BindSampler = nullptr;
    PFNGLSAMPLERPARAMETERIPROC SamplerParameteri = nullptr;

    // Optional: the combiners of ATI_texture_env_combine3 (MODULATE_ADD and friends).
    bool combine3 = false;
    // Optional: GL_MIRROR_CLAMP_TO_EDGE.
    bool mirrorClamp = false;
    int maxTextureUnits = 1;
    int maxTextureSize = 0;

    // Looks the functions up in the current context; false when a required one is missing.
    bool Load();
};

// The entry points of the current context (one device at a time).
GlApi& Gl();

} // namespace gpu
