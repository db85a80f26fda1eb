#include "contents/display_settings.hpp"

#include <cstdint>
#include <iterator>

#include "common/console.hpp"
#include "common/settings_reader.hpp"
#include "common/state.hpp"
#include "platform/files.hpp"

int32_t Fullscreen = 0;
int32_t DisplayIndex = 0;
int32_t HidePointer = 0;

namespace {

constexpr char kDisplaySettingsFile[] = "SetDisplay.txt";

// The index stays as read: the window checks it against the monitors present.
const IntSetting kSettings[] = {
    {&Fullscreen, "SET: Fullscreen   = %d ( 1-> Fullscreen ) \n", 0, 1},
    {&DisplayIndex, "SET: DisplayIndex = %d ( Monitor number ) \n", INT32_MIN, INT32_MAX},
    {&HidePointer, "SET: HidePointer  = %d ( 1-> Hide Mouse Pointer ) \n", 0, 1},
};

void PrintLegend() {
    PrintText("\n--------------------------------------\n");
    PrintText(" 1 : [ Fullscreen   (Set 0 or 1)] \n");
    PrintText(" 2 : [ DisplayIndex (Set 0 -- n)] \n");
    PrintText(" 3 : [ HidePointer  (Set 0 or 1)] \n");
    PrintText("--------------------------------------\n");
}

}  // namespace

void LoadDisplaySettings() {
    FILE* file = OpenFile(kDisplaySettingsFile, "r");
    if (!file) return;
    PrintLegend();
    ReadIntSettings(file, kSettings, std::size(kSettings));
    std::fclose(file);
}
