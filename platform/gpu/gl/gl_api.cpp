#include "platform/gpu/gl/gl_api.h"

#include <SDL2/SDL.h>

#include <cstring>

namespace gpu {

GlApi& Gl() {
    static GlApi api;
    return api;
}

namespace {

template <class F>
bool Find(F& out, const char* name, const char* fallback = nullptr) {
    out = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
    if (!out && fallback) out = reinterpret_cast<F>(SDL_GL_GetProcAddress(fallback));
    return out != nullptr;
}

bool HasExtension(const char* name) {
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all) return false;
    size_t n = std::strlen(name);
    for (const char* p = all; (p = std::strstr(p, name)) != nullptr; p += n)
        if ((p == all || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    return false;
}

} // namespace

bool GlApi::Load() {
    bool ok = true;
    ok &= Find(ActiveTexture, "glActiveTexture", "glActiveTextureARB");
    ok &= Find(ClientActiveTexture, "glClientActiveTexture", "glClientActiveTextureARB");
    ok &= Find(MultiTexCoord4f, "glMultiTexCoord4f", "glMultiTexCoord4fARB");
    ok &= Find(GenFramebuffers, "glGenFramebuffers");
    ok &= Find(DeleteFramebuffers, "glDeleteFramebuffers");
    ok &= Find(BindFramebuffer, "glBindFramebuffer");
    ok &= Find(FramebufferRenderbuffer, "glFramebufferRenderbuffer");
    ok &= Find(CheckFramebufferStatus, "glCheckFramebufferStatus");
    ok &= Find(BlitFramebuffer, "glBlitFramebuffer");
    ok &= Find(GenRenderbuffers, "glGenRenderbuffers");
    ok &= Find(DeleteRenderbuffers, "glDeleteRenderbuffers");
    ok &= Find(BindRenderbuffer, "glBindRenderbuffer");
    ok &= Find(RenderbufferStorage, "glRenderbufferStorage");
    ok &= Find(GenBuffers, "glGenBuffers", "glGenBuffersARB");
    ok &= Find(DeleteBuffers, "glDeleteBuffers", "glDeleteBuffersARB");
    ok &= Find(BindBuffer, "glBindBuffer", "glBindBufferARB");
    ok &= Find(BufferData, "glBufferData", "glBufferDataARB");
    ok &= Find(BufferSubData, "glBufferSubData", "glBufferSubDataARB");
    ok &= Find(BlendFuncSeparate, "glBlendFuncSeparate", "glBlendFuncSeparateEXT");
    GLint major = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    const GLint minor = [] {
        GLint m = 0;
        glGetIntegerv(GL_MINOR_VERSION, &m);
        return m;
    }();
    glGetError(); // the version queries are unknown before OpenGL 3.0
    const int version = major * 10 + minor;
    MapBufferRange = nullptr;
    UnmapBuffer = nullptr;
    if (version >= 30 || HasExtension("GL_ARB_map_buffer_range")) {
        if (!Find(MapBufferRange, "glMapBufferRange") || !Find(UnmapBuffer, "glUnmapBuffer", "glUnmapBufferARB"))
            MapBufferRange = nullptr;
    }
    BufferStorage = nullptr;
    if (MapBufferRange && (version >= 44 || HasExtension("GL_ARB_buffer_storage")) &&
        (version >= 32 || HasExtension("GL_ARB_sync"))) {
        if (!Find(BufferStorage, "glBufferStorage") || !Find(FenceSync, "glFenceSync") ||
            !Find(ClientWaitSync, "glClientWaitSync") || !Find(DeleteSync, "glDeleteSync"))
            BufferStorage = nullptr;
    }
    GenSamplers = nullptr;
    if (version >= 33 || HasExtension("GL_ARB_sampler_objects")) {
        if (!Find(GenSamplers, "glGenSamplers") || !Find(DeleteSamplers, "glDeleteSamplers") ||
            !Find(BindSampler, "glBindSampler") || !Find(SamplerParameteri, "glSamplerParameteri"))
            GenSamplers = nullptr;
    }
    combine3 = HasExtension("GL_ATI_texture_env_combine3");
    mirrorClamp = HasExtension("GL_ARB_texture_mirror_clamp_to_edge") || HasExtension("GL_EXT_texture_mirror_clamp") ||
                  HasExtension("GL_ATI_texture_mirror_once");
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    maxTextureUnits = units < 1 ? 1 : units;
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    maxTextureSize = size;
    return ok;
}

} // namespace gpu
