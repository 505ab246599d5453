#pragma once
// The font files ("data\fonts.yml", a language folder's "fonts.yml"): a flat sequence of "font"
// elements, each binding a font name to the shader that draws it and to its glyph data file:
//   <font name="sysfont" shader="font_sysfont" data="fonts\sysfont.dat"/>
// A name defined again gets the new shader and data, so a later file overrides an earlier one.
//
// Markup faults, unknown elements and unknown attributes are logged as "Font parser error,
// <message>, file: <file>, line: <line>" (lines count from 1) and the reading goes on; an element
// with a fault defines nothing.
#include <string>

#include "core/xml_parser.h"

class YFontLoader : public XMLParser {
public:
    enum Tag { TAG_FONT };

    YFontLoader();

    // Logs "Parse fonts from file, <file>" and reads the file.
    void Parse(const char* file);

protected:
    // "font": the font of that name takes the named shader (made empty when no shader file
    // defines it yet) and the glyph data of the file.
    void OnTag(int id) override;
    bool OnError(const char* message) override;

private:
    std::string fileName_;
};

// Reads one font file. Without a renderer logs "Font parser error, render must be created." and
// reads nothing.
void ParseFontFile(const char* file);
