#include "platform/panel_text_sdl.hpp"

#include <SDL_ttf.h>

#include <cstdlib>
#include <string>

#include "common/console.hpp"
#include "platform/font_default.hpp"

namespace {

constexpr SDL_Color kTextColour = {240, 240, 240, 255};

enum class FontState { kUntried, kReady, kMissing };
FontState font_state = FontState::kUntried;
TTF_Font* font = nullptr;
int font_pixels = 0;

const char* FontPath() {
    static const std::string default_font = DefaultFontPath();
    const char* chosen = std::getenv("ZELTRAN_FONT");
    return chosen && *chosen ? chosen : default_font.c_str();
}

// The font at pixels, opened on first use and again when the size changes; nullptr without one.
TTF_Font* FontAt(int pixels) {
    if (font_state == FontState::kMissing) return nullptr;
    if (font && font_pixels == pixels) return font;
    if (font_state == FontState::kUntried && TTF_Init() != 0) {
        font_state = FontState::kMissing;
        PrintError("WARNING: The panels show without text (SDL_ttf: %s).\n", TTF_GetError());
        return nullptr;
    }
    if (font) TTF_CloseFont(font);
    font = TTF_OpenFont(FontPath(), pixels);
    font_pixels = pixels;
    if (!font) {
        font_state = FontState::kMissing;
        PrintError("WARNING: The panels show without text: no font [ %s ] (%s).\n", FontPath(),
                   TTF_GetError());
        return nullptr;
    }
    font_state = FontState::kReady;
    return font;
}

}  // namespace

int PanelLineHeight(int pixels) {
    TTF_Font* at = FontAt(pixels);
    return at ? TTF_FontLineSkip(at) : pixels * 5 / 4;
}

int PanelTextWidth(const char* text, int pixels) {
    TTF_Font* at = FontAt(pixels);
    int width = 0;
    if (!at || TTF_SizeUTF8(at, text, &width, nullptr) != 0) return 0;
    return width;
}

void PanelTextDraw(PanelText& piece, SDL_Renderer* renderer, const char* text, int pixels, int x,
                   int y) {
    if (!piece.texture || piece.pixels != pixels || piece.text != text) {
        PanelTextRelease(piece);
        TTF_Font* at = FontAt(pixels);
        if (!at || !*text) return;
        SDL_Surface* surface = TTF_RenderUTF8_Blended(at, text, kTextColour);
        if (!surface) return;
        piece.texture = SDL_CreateTextureFromSurface(renderer, surface);
        piece.width = surface->w;
        piece.height = surface->h;
        SDL_FreeSurface(surface);
        if (!piece.texture) return;
        piece.text = text;
        piece.pixels = pixels;
    }
    const SDL_Rect target{x, y, piece.width, piece.height};
    SDL_RenderCopy(renderer, piece.texture, nullptr, &target);
}

void PanelTextRelease(PanelText& piece) {
    if (piece.texture) SDL_DestroyTexture(piece.texture);
    piece.texture = nullptr;
    piece.text.clear();
    piece.pixels = 0;
}
