#pragma once
// Draws the text console through the renderer: the panel with the shader "console", the text in
// the font "sysfont". Both are the shared named records, so the drawer may be made before the font
// and shader files are read; it draws with whatever they hold when it draws.
#include <string>

#include "core/console.h"

class YFont;
class YShader;

class YConsoleFontDrawer final : public YConsoleDrawer {
public:
    // Looks up "sysfont" and "console".
    YConsoleFontDrawer();

    // The font's unscaled width of the character.
    float CharWidth(unsigned char c) const override;
    // The console shader with its material, then the quad (its corners keep their texture
    // coordinates). Nothing without a renderer.
    void DrawPanel(const YConsoleVertex (&quad)[4]) override;
    // The text in the console font; returns the width drawn (0 without a renderer).
    float DrawText(float x, float y, float size, const std::string& text) override;

private:
    YFont* font_;
    YShader* shader_;
};

// Gives the console the drawer shared by all consoles (made on the first call). A null console is
// ignored.
void InstallConsoleDrawer(YConsole* console);
