#include "render/texture.h"

#include "render/render.h"

YTexture::YTexture() { typeMask = RESOURCE_TEXTURE; }

YTexture::~YTexture() { YTexture::Release(); }

void YTexture::Load(const char* fileName) {
    name = fileName ? fileName : "";
    Restore();
}

void YTexture::Restore() {
    if (!g_Render) return;
    if (deviceTexture) g_Render->ReleaseTexture(this);
    g_Render->LoadTexture(this);
}

void YTexture::Release() {
    if (g_Render) g_Render->ReleaseTexture(this);
}

YFilterTexture::YFilterTexture(YTexture* source_, YColorFilter* filter_) : source(source_), filter(filter_) {}

YFilterTexture::~YFilterTexture() {
    delete filter;
    filter = nullptr;
}

void YFilterTexture::Restore() {
    if (!g_Render) return;
    if (deviceTexture) g_Render->ReleaseTexture(this);
    deviceTexture = g_Render->CreateFilteredTexture(source, filter);
}

YTexture* FindTexture(const std::string& name) {
    return dynamic_cast<YTexture*>(FindRenderResource(name, RESOURCE_TEXTURE));
}

YTexture* GetTexture(const char* name) {
    const std::string key = name ? name : "";
    if (YTexture* found = FindTexture(key)) return found;
    auto* texture = new YTexture();
    texture->Load(key.c_str());
    return texture;
}
