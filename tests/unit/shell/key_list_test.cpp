// The key list of F1, made from the key table that also dispatches the keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_window.hpp"
#include "shell/keys.hpp"

namespace {

TEST(KeyList, F1ShowsEveryKeyOfTheTableInItsOrderAndF1AgainHidesIt) {
    const std::vector<std::string> expected = {
        "F1\tthis key list on / off",
        "F2\tmotion meter on / off",
        "F4\tcalibrate the threshold (10 s of empty room)",
        "F11\tfullscreen / window",
        "q\tcamera on / off",
        "z  x\tone frame back / forward",
        "Z  X\tten frames back / forward",
        "!  \"  # .. )\tjump to 10 % .. 90 %",
        "l  j\tfirst frame / random frame",
        "TAB\tautomatic replay on / off",
        "s  S\treplay speed up / down",
        "v  V\tthreshold down / up",
        "e\tmirror the picture",
        "1 .. 9  0\tfolder S001 .. S010",
        "n  p\tnext / previous folder",
        "r  R\treload folder / back to S001",
        "SPACE\trandom folder",
        "i\tcamera line on the console",
        "BackSpace\twindow follows picture size",
        "Enter\thelp on the console",
        "ESC\tpause; then Enter resumes, ESC quits",
    };
    HandleFunctionKey(FunctionKey::kF1);
    EXPECT_EQ(fake::key_lines, expected);
    HandleFunctionKey(FunctionKey::kF1);
    EXPECT_TRUE(fake::key_lines.empty());
}

}  // namespace
