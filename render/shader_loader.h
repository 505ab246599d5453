#pragma once
// The shader files: flat sequences of "shader" elements, each holding elements that set its render
// states ("blend", "state", "stencil"), its material ("material", "materialcolor", "lighting") and
// its texture stages ("map"); each "map" holds elements that set its stage states ("colorblend",
// "alphablend", "filter") and its texture-coordinate modifiers ("mod_*"). A shader named again is
// defined again, so a later file overrides an earlier one.
//
// Faults are logged and the reading goes on: "Shader parser error, <message>, file: <file>, line:
// <line>" for the markup and the structure, and "Shader parser, error value "<text>", file: <file>,
// line: <line>" for a value a state does not take (the state keeps what it had). Lines count from 0.
#include <string>

#include "core/xml_parser.h"

class YShader;
class YShaderStage;

class YShaderLoader : public XMLParser {
public:
    // Tag ids, in registration order.
    enum Tag {
        TAG_SHADER,
        TAG_BLEND,
        TAG_MAP,
        TAG_COLORBLEND,
        TAG_ALPHABLEND,
        TAG_FILTER,
        TAG_MATERIAL,
        TAG_MATERIALCOLOR,
        TAG_LIGHTING,
        TAG_STATE,
        TAG_STENCIL,
        TAG_MOD_ROTATE,
        TAG_MOD_SCROLL,
        TAG_MOD_PULSE,
        TAG_MOD_FLIP,
        TAG_MOD_OFFSET,
        TAG_MOD_SWING,
        TAG_MOD_TURN,
    };

    YShaderLoader();

    // Logs "Parse shaders from file, <file>" and reads the file. Needs the renderer, which turns
    // the files' words into state values.
    void Parse(const char* file);

    // One render state (engine index) or stage state of the current shader or stage from its text.
    void SetRenderState(int index, const std::string& text);
    void SetStageState(int index, const std::string& text);

protected:
    void OnTag(int id) override;
    void OnCloseTag(int id) override;
    bool OnError(const char* message) override;

private:
    void OpenShader();
    void AddModifier(int id);
    // A decimal number; 0 for text that does not start with one. A value that is no finite number
    // ("inf", "nan", out of range) is logged as an error value and read as 0.
    float Number(int tag, int attribute);
    void LogBadValue(const std::string& text);

    std::string fileName_;
    YShader* shader_ = nullptr;     // between <shader> and </shader>
    YShaderStage* stage_ = nullptr; // between <map> and </map>
};

// Reads one shader file. Without a renderer logs "Shader parser error, render must be created."
// and reads nothing. A missing file defines nothing.
void ParseShaderFile(const char* file);
