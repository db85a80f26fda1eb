// Layout and drawing of the panels. Sizes are given for a 640 x 480 window and scaled with the
// window (never below that size), so the text stays readable from 640 x 480 to 3840 x 2160.
#include "platform/overlay_sdl.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/overlay.hpp"
#include "platform/panel_text_sdl.hpp"

namespace {

constexpr double kBaseWidth = 640.0;
constexpr double kBaseHeight = 480.0;
constexpr int kMargin = 8;  // between the window's edge and a panel
constexpr int kPad = 6;     // inside a panel
constexpr int kGap = 8;     // between the parts of the meter
constexpr int kBarWidth = 14;
constexpr int kBarGap = 4;
constexpr int kGraphWidth = 380;
constexpr int kLineWidth = 2;  // the threshold line
constexpr int kFontPixels = 13;
constexpr int kColumnGap = 24;  // between the two columns of the key list
constexpr int kKeyGap = 10;     // between a key and what it does
constexpr int kMaxKeyLines = 40;
constexpr double kMeterDecades = 4.0;  // the bars show the top 4 decades of the measurement

constexpr SDL_Color kBackground = {0, 0, 0, 176};
constexpr SDL_Color kTrack = {48, 48, 48, 255};
constexpr SDL_Color kOwnBar = {80, 220, 80, 255};
constexpr SDL_Color kTotalBar = {80, 170, 255, 255};
constexpr SDL_Color kThresholdLine = {255, 220, 0, 255};

const MeterPanel* meter = nullptr;
const char* keys_title = nullptr;
std::string key_names[kMaxKeyLines];
std::string key_uses[kMaxKeyLines];
int key_count = 0;

bool switched = false;       // a panel went on or off since the last drawing
bool meter_changed = false;  // the meter's content changed since the last drawing
Uint64 meter_drawn_ms = 0;

SDL_Texture* camera_texture = nullptr;
PanelText meter_text;
PanelText title_text;
PanelText key_name_texts[kMaxKeyLines];
PanelText key_use_texts[kMaxKeyLines];

// Pixels of the window for a length given at 640 x 480.
struct Scale {
    double factor;
    int operator()(int base) const { return static_cast<int>(std::lround(base * factor)); }
};

Scale ScaleOf(int out_w, int out_h) {
    return {std::max(1.0, std::min(out_w / kBaseWidth, out_h / kBaseHeight))};
}

void Fill(SDL_Renderer* renderer, const SDL_Rect& rect, SDL_Color colour) {
    SDL_SetRenderDrawBlendMode(renderer,
                               colour.a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, colour.a);
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
    }
    if (!camera_texture || SDL_UpdateTexture(camera_texture, nullptr, picture.data,
                                             static_cast<int>(picture.step)) != 0) {
        Fill(renderer, target, kTrack);
        return;
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
        columns[count++] = {left, area.y + area.h - height, right - left, height};
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, kTotalBar.r, kTotalBar.g, kTotalBar.b, 255);
    SDL_RenderFillRects(renderer, columns, count);
}

// Top left: camera picture with its changes, bars of this copy and of the total, the graph of
// the total, all against the threshold line, and the status line below.
void DrawMeter(SDL_Renderer* renderer, const Scale& px) {
    const int pad = px(kPad);
    const SDL_Rect camera{px(kMargin) + pad, px(kMargin) + pad, px(kMeterCameraWidth),
                          px(kMeterCameraHeight)};
    const SDL_Rect own_bar{camera.x + camera.w + px(kGap), camera.y, px(kBarWidth), camera.h};
    const SDL_Rect total_bar{own_bar.x + own_bar.w + px(kBarGap), camera.y, own_bar.w, camera.h};
    const SDL_Rect graph{total_bar.x + total_bar.w + px(kGap), camera.y, px(kGraphWidth), camera.h};
    const int font = px(kFontPixels);
    const int text_y = camera.y + camera.h + pad;
    const int right = std::max(graph.x + graph.w, camera.x + PanelTextWidth(meter->text, font));
    const int bottom = text_y + PanelLineHeight(font);
    Fill(renderer,
         {px(kMargin), px(kMargin), right + pad - px(kMargin), bottom + pad - px(kMargin)},
         kBackground);
    DrawCamera(renderer, camera);
    DrawBar(renderer, own_bar, meter->own, kOwnBar);
    DrawBar(renderer, total_bar, meter->total, kTotalBar);
    DrawGraph(renderer, graph);
    const int line = std::max(kLineWidth, px(kLineWidth));
    const int line_y =
        camera.y + camera.h - HeightOf(meter->threshold, meter->full_scale, camera.h) - line / 2;
    Fill(renderer, {own_bar.x, line_y, graph.x + graph.w - own_bar.x, line}, kThresholdLine);
    PanelTextDraw(meter_text, renderer, meter->text, font, camera.x, text_y);
}

// Widths of the key and use columns of the list half starting at first.
void ColumnWidths(int first, int last, int font, int* name_width, int* use_width) {
    *name_width = *use_width = 0;
    for (int i = first; i < last; ++i) {
        *name_width = std::max(*name_width, PanelTextWidth(key_names[i].c_str(), font));
        *use_width = std::max(*use_width, PanelTextWidth(key_uses[i].c_str(), font));
    }
}

// Bottom centre: the title, then the keys in two columns.
void DrawKeys(SDL_Renderer* renderer, const Scale& px, int out_w, int out_h) {
    const int font = px(kFontPixels);
    const int line = PanelLineHeight(font);
    const int pad = px(kPad);
    const int rows = (key_count + 1) / 2;
    int name_width[2], use_width[2];
    ColumnWidths(0, rows, font, &name_width[0], &use_width[0]);
    ColumnWidths(rows, key_count, font, &name_width[1], &use_width[1]);
    int width = name_width[0] + use_width[0] + name_width[1] + use_width[1] + 2 * px(kKeyGap) +
                px(kColumnGap);
    if (width <= 2 * px(kKeyGap) + px(kColumnGap)) width = px(kGraphWidth);  // no font
    const SDL_Rect panel{(out_w - width) / 2 - pad,
                         out_h - px(kMargin) - (rows + 1) * line - 2 * pad, width + 2 * pad,
                         (rows + 1) * line + 2 * pad};
    Fill(renderer, panel, kBackground);
    const int left = panel.x + pad;
    PanelTextDraw(title_text, renderer, keys_title, font, left, panel.y + pad);
    for (int i = 0; i < key_count; ++i) {
        const int column = i < rows ? 0 : 1;
        const int x = column == 0
                          ? left
                          : left + name_width[0] + use_width[0] + 2 * px(kKeyGap) + px(kColumnGap);
        const int y = panel.y + pad + (1 + i % rows) * line;
        PanelTextDraw(key_name_texts[i], renderer, key_names[i].c_str(), font, x, y);
        PanelTextDraw(key_use_texts[i], renderer, key_uses[i].c_str(), font,
                      x + name_width[column] + px(kKeyGap), y);
    }
}

}  // namespace

void OverlayShowMeter(const MeterPanel* panel) {
    if ((panel == nullptr) != (meter == nullptr)) switched = true;
    meter = panel;
    meter_changed = panel != nullptr;
}

void OverlayShowKeys(const char* title, const char* const* lines, int count) {
    const int kept = std::clamp(count, 0, kMaxKeyLines);
    if ((kept > 0) != (key_count > 0)) switched = true;
    key_count = kept;
    keys_title = title ? title : "";
    for (int i = 0; i < key_count; ++i) {
        const std::string line = lines[i];
        const size_t tab = line.find('\t');
        key_names[i] = line.substr(0, tab);
        key_uses[i] = tab == std::string::npos ? std::string() : line.substr(tab + 1);
    }
}

void OverlayDraw(SDL_Renderer* renderer) {
    switched = false;
    if (!meter && key_count == 0) return;
    int out_w = 0, out_h = 0;
    SDL_GetRendererOutputSize(renderer, &out_w, &out_h);
    const Scale px = ScaleOf(out_w, out_h);
    if (meter) {
        DrawMeter(renderer, px);
        meter_changed = false;
        meter_drawn_ms = SDL_GetTicks64();
    }
    if (key_count > 0) DrawKeys(renderer, px, out_w, out_h);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

bool OverlayWantsPresent() {
    if (switched) return true;
    return meter && meter_changed && SDL_GetTicks64() - meter_drawn_ms >= kMeterSlotMs;
}

void OverlayReleaseRenderer() {
    if (camera_texture) SDL_DestroyTexture(camera_texture);
    camera_texture = nullptr;
    PanelTextRelease(meter_text);
    PanelTextRelease(title_text);
    for (int i = 0; i < kMaxKeyLines; ++i) {
        PanelTextRelease(key_name_texts[i]);
        PanelTextRelease(key_use_texts[i]);
    }
}
