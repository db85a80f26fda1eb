// Layout and drawing of the panels. Sizes are given in pixels of windows from 640 x 480 (the
// meter then fits) to 853 x 640; the panels grow in proportion beyond that, so the text stays
// readable up to 3840 x 2160 while a large picture stays mostly in sight, and shrink in
// proportion in smaller windows (down to half), so the meter still fits them.
// A panel is drawn into a texture of its own when its content changes and copied over the
// picture at each presentation: one copy costs a fraction of drawing it anew.
#include "platform/overlay_sdl.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/overlay.hpp"
#include "platform/panel_text_sdl.hpp"

namespace {

constexpr double kSmallWidth = 640.0;  // below: the panels shrink
constexpr double kSmallHeight = 480.0;
constexpr double kLargeWidth = 853.0;  // above: they grow
constexpr double kLargeHeight = 640.0;
constexpr double kSmallestScale = 0.5;
constexpr int kMargin = 8;  // between the window's edge and a panel
constexpr int kPad = 6;     // inside a panel
constexpr int kGap = 8;     // between the parts of the meter
constexpr int kBarWidth = 14;
constexpr int kBarGap = 4;
constexpr int kGraphWidth = 404;  // the meter is then 624 wide: it fits 640 x 480
constexpr int kLineWidth = 2;     // the threshold line
constexpr int kFontPixels = 13;
constexpr int kColumnGap = 24;  // between the two columns of the key list
constexpr int kKeyGap = 10;     // between a key and what it does
constexpr int kMaxKeyLines = 40;
constexpr int kMaxNoticeLines = 8;
constexpr int kNoticeFontPixels = 18;
constexpr int kSmallestNoticePixels = 8;
constexpr double kMeterDecades = 4.0;  // the bars show the top 4 decades of the measurement

constexpr SDL_Color kBackground = {0, 0, 0, 255};
constexpr SDL_Color kTrack = {48, 48, 48, 255};
constexpr SDL_Color kOwnBar = {80, 220, 80, 255};
constexpr SDL_Color kTotalBar = {80, 170, 255, 255};
constexpr SDL_Color kThresholdLine = {255, 220, 0, 255};

const MeterPanel* meter = nullptr;
const char* keys_title = nullptr;
std::string key_names[kMaxKeyLines];
std::string key_uses[kMaxKeyLines];
int key_count = 0;
std::string notice_lines[kMaxNoticeLines];
int notice_count = 0;

bool switched = false;       // a panel went on or off since the last presentation
bool hidden = false;         // no panel is drawn (the pause)
bool meter_changed = false;  // the meter's content changed since it was last drawn
bool meter_fresh = false;    // the meter was switched on and is not drawn yet
bool keys_fresh = false;     // the key list was shown anew and is not drawn yet
Uint64 meter_drawn_ms = 0;   // when the meter was last drawn
Uint64 presented_ms = 0;     // when the window last presented its picture

// A panel as last drawn, and the scale it was drawn at.
struct PanelImage {
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
    double factor = 0.0;
};
PanelImage meter_image;
PanelImage keys_image;

SDL_Texture* camera_texture = nullptr;
uint32_t camera_texture_serial = 0;  // camera_serial of the picture in camera_texture
PanelText meter_text;
PanelText title_text;
PanelText key_name_texts[kMaxKeyLines];
PanelText key_use_texts[kMaxKeyLines];
PanelText notice_texts[kMaxNoticeLines];

// Pixels of the window for a length given for the base size.
struct Scale {
    double factor;
    int operator()(int base) const { return static_cast<int>(std::lround(base * factor)); }
};

Scale ScaleOf(int out_w, int out_h) {
    const double small = std::min(out_w / kSmallWidth, out_h / kSmallHeight);
    if (small < 1.0) return {std::max(kSmallestScale, small)};
    return {std::max(1.0, std::min(out_w / kLargeWidth, out_h / kLargeHeight))};
}

// The panels are opaque. An empty rectangle is not drawn: SDL would still fill a row of it.
void Fill(SDL_Renderer* renderer, const SDL_Rect& rect, SDL_Color colour) {
    if (rect.w <= 0 || rect.h <= 0) return;
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, 255);
    SDL_RenderFillRect(renderer, &rect);
}

// Height fraction of value on the meter's logarithmic scale: the top kMeterDecades decades
// below the highest value, so the threshold and a camera's noise both show.
double MeterFraction(double value, int32_t full_scale) {
    const double top = std::max(1, full_scale);
    const double bottom = top / std::pow(10.0, kMeterDecades);
    if (value <= bottom) return 0.0;
    return std::min(1.0, std::log(value / bottom) / std::log(top / bottom));
}

int HeightOf(double value, int32_t full_scale, int height) {
    return static_cast<int>(std::lround(MeterFraction(value, full_scale) * height));
}

void DrawBar(SDL_Renderer* renderer, const SDL_Rect& track, int32_t value, SDL_Color colour) {
    Fill(renderer, track, kTrack);
    const int height = HeightOf(value, meter->full_scale, track.h);
    Fill(renderer, {track.x, track.y + track.h - height, track.w, height}, colour);
}

void DrawCamera(SDL_Renderer* renderer, const SDL_Rect& target) {
    const cv::Mat& picture = meter->camera;
    if (picture.cols != kMeterCameraWidth || picture.rows != kMeterCameraHeight ||
        picture.type() != CV_8UC3) {
        Fill(renderer, target, kTrack);
        return;
    }
    if (!camera_texture) {
        camera_texture =
            SDL_CreateTexture(renderer, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING,
                              kMeterCameraWidth, kMeterCameraHeight);
        // Square pixels: the changes stay sharp, at a fraction of the cost of smooth scaling.
        if (camera_texture) SDL_SetTextureScaleMode(camera_texture, SDL_ScaleModeNearest);
        camera_texture_serial = meter->camera_serial - 1;
    }
    if (!camera_texture) {
        Fill(renderer, target, kTrack);
        return;
    }
    if (camera_texture_serial != meter->camera_serial &&
        SDL_UpdateTexture(camera_texture, nullptr, picture.data, static_cast<int>(picture.step)) ==
            0) {
        camera_texture_serial = meter->camera_serial;
    }
    SDL_RenderCopy(renderer, camera_texture, nullptr, &target);
}

void DrawGraph(SDL_Renderer* renderer, const SDL_Rect& area) {
    Fill(renderer, area, kTrack);
    SDL_Rect columns[kMeterSlots];
    int count = 0;
    for (int i = 0; i < kMeterSlots; ++i) {
        if (meter->history[i] < 0) continue;
        const int left = area.x + i * area.w / kMeterSlots;
        const int right = area.x + (i + 1) * area.w / kMeterSlots;
        const int height = HeightOf(meter->history[i], meter->full_scale, area.h);
        if (height > 0) columns[count++] = {left, area.y + area.h - height, right - left, height};
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, kTotalBar.r, kTotalBar.g, kTotalBar.b, 255);
    SDL_RenderFillRects(renderer, columns, count);
}

struct MeterLayout {
    int width, height;
    SDL_Rect camera, own_bar, total_bar, graph;
    int font, text_y, line;  // line: thickness of the threshold line
};

MeterLayout LayOutMeter(const Scale& px) {
    MeterLayout at;
    const int pad = px(kPad);
    at.camera = {pad, pad, px(kMeterCameraWidth), px(kMeterCameraHeight)};
    at.own_bar = {at.camera.x + at.camera.w + px(kGap), pad, px(kBarWidth), at.camera.h};
    at.total_bar = {at.own_bar.x + at.own_bar.w + px(kBarGap), pad, at.own_bar.w, at.camera.h};
    at.graph = {at.total_bar.x + at.total_bar.w + px(kGap), pad, px(kGraphWidth), at.camera.h};
    at.font = px(kFontPixels);
    at.text_y = at.camera.y + at.camera.h + pad;
    at.width = at.graph.x + at.graph.w + pad;
    at.height = at.text_y + PanelLineHeight(at.font) + pad;
    at.line = std::max(kLineWidth, px(kLineWidth));
    return at;
}

// The camera picture with its changes, bars of this copy and of the total, the graph of the
// total, all against the threshold line, and the status line below; at (0, 0).
void DrawMeter(SDL_Renderer* renderer, const MeterLayout& at) {
    Fill(renderer, {0, 0, at.width, at.height}, kBackground);
    DrawCamera(renderer, at.camera);
    DrawBar(renderer, at.own_bar, meter->own, kOwnBar);
    DrawBar(renderer, at.total_bar, meter->total, kTotalBar);
    DrawGraph(renderer, at.graph);
    const int bottom = at.camera.y + at.camera.h;
    const int line_y =
        bottom - HeightOf(meter->threshold, meter->full_scale, at.camera.h) - at.line / 2;
    const int right = at.graph.x + at.graph.w;
    Fill(renderer, {at.own_bar.x, line_y, right - at.own_bar.x, at.line}, kThresholdLine);
    PanelTextDraw(meter_text, renderer, meter->text, at.font, at.camera.x, at.text_y);
}

// Widths of the key and use columns of the list lines first .. last - 1.
void ColumnWidths(int first, int last, int font, int* name_width, int* use_width) {
    *name_width = *use_width = 0;
    for (int i = first; i < last; ++i) {
        *name_width = std::max(*name_width, PanelTextWidth(key_names[i].c_str(), font));
        *use_width = std::max(*use_width, PanelTextWidth(key_uses[i].c_str(), font));
    }
}

struct KeysLayout {
    int width, height, font, line, rows, pad, gap;  // gap: between a key and what it does
    int columns[2];                                 // x of the two columns
    int name_width[2];                              // width of the key names of each column
};

KeysLayout LayOutKeys(const Scale& px) {
    KeysLayout at;
    at.font = px(kFontPixels);
    at.line = PanelLineHeight(at.font);
    at.rows = (key_count + 1) / 2;
    int use_width[2];
    ColumnWidths(0, at.rows, at.font, &at.name_width[0], &use_width[0]);
    ColumnWidths(at.rows, key_count, at.font, &at.name_width[1], &use_width[1]);
    at.pad = px(kPad);
    at.gap = px(kKeyGap);
    at.columns[0] = at.pad;
    at.columns[1] = at.pad + at.name_width[0] + at.gap + use_width[0] + px(kColumnGap);
    at.width = at.columns[1] + at.name_width[1] + at.gap + use_width[1] + at.pad;
    if (at.name_width[0] == 0) at.width = px(kGraphWidth);  // no font: an empty panel
    at.height = (at.rows + 1) * at.line + 2 * at.pad;
    return at;
}

// The title, then the keys in two columns; at (0, 0).
void DrawKeys(SDL_Renderer* renderer, const KeysLayout& at) {
    Fill(renderer, {0, 0, at.width, at.height}, kBackground);
    PanelTextDraw(title_text, renderer, keys_title, at.font, at.pad, at.pad);
    for (int i = 0; i < key_count; ++i) {
        const int column = i < at.rows ? 0 : 1;
        const int x = at.columns[column];
        const int y = at.pad + (1 + i % at.rows) * at.line;
        PanelTextDraw(key_name_texts[i], renderer, key_names[i].c_str(), at.font, x, y);
        PanelTextDraw(key_use_texts[i], renderer, key_uses[i].c_str(), at.font,
                      x + at.name_width[column] + at.gap, y);
    }
}

// Points the renderer at image, made anew when its size changed. False when the renderer
// cannot draw into a texture; the panel is then drawn straight over the picture.
bool BeginPanel(SDL_Renderer* renderer, PanelImage& image, int width, int height) {
    if (!SDL_RenderTargetSupported(renderer)) return false;
    if (!image.texture || image.width != width || image.height != height) {
        if (image.texture) SDL_DestroyTexture(image.texture);
        const Uint32 format = SDL_GetWindowPixelFormat(SDL_RenderGetWindow(renderer));
        image.texture =
            SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_TARGET, width, height);
        image.width = width;
        image.height = height;
    }
    return image.texture && SDL_SetRenderTarget(renderer, image.texture) == 0;
}

// Draws a panel of width x height with draw (at 0, 0) and puts it at (x, y) of the window.
// redraw false: the image drawn before is put there again.
template <typename Draw>
void PutPanel(SDL_Renderer* renderer, PanelImage& image, bool redraw, int x, int y, int width,
              int height, const Draw& draw) {
    if (!redraw && image.texture) {
        const SDL_Rect target{x, y, image.width, image.height};
        SDL_RenderCopy(renderer, image.texture, nullptr, &target);
        return;
    }
    if (BeginPanel(renderer, image, width, height)) {
        draw();
        SDL_SetRenderTarget(renderer, nullptr);
        const SDL_Rect target{x, y, width, height};
        SDL_RenderCopy(renderer, image.texture, nullptr, &target);
        return;
    }
    const SDL_Rect viewport{x, y, width, height};
    SDL_RenderSetViewport(renderer, &viewport);
    draw();
    SDL_RenderSetViewport(renderer, nullptr);
}

void ReleaseImage(PanelImage& image) {
    if (image.texture) SDL_DestroyTexture(image.texture);
    image = PanelImage();
}

void PutMeter(SDL_Renderer* renderer, const Scale& px) {
    const Uint64 now = SDL_GetTicks64();
    const bool redraw = meter_fresh || meter_image.factor != px.factor ||
                        (meter_changed && now - meter_drawn_ms >= kMeterSlotMs);
    const MeterLayout at = LayOutMeter(px);
    PutPanel(renderer, meter_image, redraw, px(kMargin), px(kMargin), at.width, at.height,
             [&] { DrawMeter(renderer, at); });
    if (!redraw) return;
    meter_image.factor = px.factor;
    meter_fresh = meter_changed = false;
    meter_drawn_ms = now;
}

// Bottom centre.
void PutKeys(SDL_Renderer* renderer, const Scale& px, int out_w, int out_h) {
    const bool redraw = keys_fresh || keys_image.factor != px.factor || !keys_image.texture;
    // The layout measures every line of text: only for a drawing.
    KeysLayout at{};
    if (redraw) {
        at = LayOutKeys(px);
    } else {
        at.width = keys_image.width;
        at.height = keys_image.height;
    }
    PutPanel(renderer, keys_image, redraw, (out_w - at.width) / 2, out_h - px(kMargin) - at.height,
             at.width, at.height, [&] { DrawKeys(renderer, at); });
    keys_image.factor = px.factor;
    keys_fresh = false;
}

// The notice in the middle of the window, its text set smaller when a line would not fit.
void PutNotice(SDL_Renderer* renderer, const Scale& px, int out_w, int out_h) {
    int font = px(kNoticeFontPixels);
    int widest = 0;
    for (int i = 0; i < notice_count; ++i) {
        widest = std::max(widest, PanelTextWidth(notice_lines[i].c_str(), font));
    }
    const int room = out_w - 2 * px(kMargin) - 2 * px(kPad);
    if (widest > room && room > 0) {
        font = std::max(kSmallestNoticePixels, font * room / widest);
        widest = room;
    }
    const int line = PanelLineHeight(font);
    const int pad = px(kPad);
    const SDL_Rect area{(out_w - widest) / 2 - pad, (out_h - notice_count * line) / 2 - pad,
                        widest + 2 * pad, notice_count * line + 2 * pad};
    Fill(renderer, area, kBackground);
    for (int i = 0; i < notice_count; ++i) {
        PanelTextDraw(notice_texts[i], renderer, notice_lines[i].c_str(), font, area.x + pad,
                      area.y + pad + i * line);
    }
}

}  // namespace

void OverlayShowNotice(const char* const* lines, int count) {
    notice_count = std::clamp(count, 0, kMaxNoticeLines);
    for (int i = 0; i < notice_count; ++i) notice_lines[i] = lines[i];
    switched = true;
}

void OverlayShowMeter(const MeterPanel* panel) {
    if ((panel == nullptr) != (meter == nullptr)) switched = meter_fresh = true;
    meter = panel;
    meter_changed = panel != nullptr;
}

void OverlayShowKeys(const char* title, const char* const* lines, int count) {
    const int kept = std::clamp(count, 0, kMaxKeyLines);
    if ((kept > 0) != (key_count > 0)) switched = true;
    keys_fresh = true;
    key_count = kept;
    keys_title = title ? title : "";
    for (int i = 0; i < key_count; ++i) {
        const std::string line = lines[i];
        const size_t tab = line.find('\t');
        key_names[i] = line.substr(0, tab);
        key_uses[i] = tab == std::string::npos ? std::string() : line.substr(tab + 1);
    }
}

void OverlayHidePanels(bool hide) {
    if (hide == hidden) return;
    hidden = hide;
    switched = true;
    meter_fresh = meter != nullptr;  // its image stood still while hidden
}

void OverlayDraw(SDL_Renderer* renderer) {
    switched = false;
    presented_ms = SDL_GetTicks64();
    if (notice_count == 0 && (hidden || (!meter && key_count == 0))) return;
    int out_w = 0, out_h = 0;
    SDL_GetRendererOutputSize(renderer, &out_w, &out_h);
    const Scale px = ScaleOf(out_w, out_h);
    if (!hidden && meter) PutMeter(renderer, px);
    if (!hidden && key_count > 0) PutKeys(renderer, px, out_w, out_h);
    if (notice_count > 0) PutNotice(renderer, px, out_w, out_h);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

bool OverlayWantsPresent() {
    if (switched) return true;
    // While new frames are presented the meter rides along with them; only a still picture is
    // presented again for it.
    return !hidden && meter && meter_changed && SDL_GetTicks64() - presented_ms >= kMeterSlotMs;
}

void OverlayReleaseRenderer() {
    if (camera_texture) SDL_DestroyTexture(camera_texture);
    camera_texture = nullptr;
    ReleaseImage(meter_image);
    ReleaseImage(keys_image);
    PanelTextRelease(meter_text);
    PanelTextRelease(title_text);
    for (int i = 0; i < kMaxKeyLines; ++i) {
        PanelTextRelease(key_name_texts[i]);
        PanelTextRelease(key_use_texts[i]);
    }
    for (PanelText& text : notice_texts) PanelTextRelease(text);
}
