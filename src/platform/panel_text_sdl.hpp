// Text of the panels over the picture, with SDL2_ttf: one font (DejaVu Sans from Debian's
// fonts-dejavu-core, or the file named by ZELTRAN_FONT) at the size the window needs. Without the
// font the panels show without text after one warning line.
#pragma once

#include <SDL.h>

#include <string>

// A piece of text kept as a texture; rendered again only when its text or size changes.
struct PanelText {
    std::string text;
    int pixels = 0;
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
};

// Height of one line of text at pixels (the font's size in pixels); an estimate without a font.
int PanelLineHeight(int pixels);

// Width of text at pixels; 0 without a font.
int PanelTextWidth(const char* text, int pixels);

// Draws text with its top-left corner at (x, y) through piece, rendering it first when the text
// or the size changed. Nothing without a font.
void PanelTextDraw(PanelText& piece, SDL_Renderer* renderer, const char* text, int pixels, int x,
                   int y);

// Frees the texture of piece (before its renderer goes).
void PanelTextRelease(PanelText& piece);
