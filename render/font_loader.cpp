#include "render/font_loader.h"

#include "core/log.h"
#include "render/font.h"
#include "render/render.h"
#include "render/shader.h"

YFontLoader::YFontLoader() {
    XMLTag t;
    AddTag(MakeTag(t, "font", "name", "", "shader", "", "data", "", nullptr));
}

void YFontLoader::Parse(const char* file) {
    fileName_ = file ? file : "";
    LogPrintf(g_Log, "Parse fonts from file, %s", fileName_.c_str());
    Load(fileName_.c_str());
}

void YFontLoader::OnTag(int id) {
    if (id != TAG_FONT) return;
    const std::vector<XMLAttribute>& a = tags[TAG_FONT].attributes;
    YFont* font = FindFont(a[0].value);
    font->shader = FindShader(a[1].value);
    font->LoadData(a[2].value.c_str());
}

bool YFontLoader::OnError(const char* message) {
    LogPrintf(g_Log, "Font parser error, %s, file: %s, line: %d", message ? message : "", fileName_.c_str(), GetLine());
    return true;
}

void ParseFontFile(const char* file) {
    if (!g_Render) {
        LogLine("Font parser error, render must be created.");
        return;
    }
    YFontLoader loader;
    loader.Parse(file);
}
