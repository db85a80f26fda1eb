// The help screen.
#include "capture/help.hpp"

#include <gtest/gtest.h>

#include <string>

#include "common/state.hpp"
#include "support/banners.hpp"

namespace {

const std::string kRule =
    " --------------------------------------------------------------------------------\n";

const std::string kKeyList =
    "\n" + kRule + "\n                   [ ZELTRAN  Ver.1.3  機能一覧 ]\n\n" + kRule +
    "     ＜画像表示ウィンドウをアクティブにした後、以下のキーを入力してください＞\n\n"
    "     [ESC]\u3000   アプリケーションの一時停止（待機状態になります）。\n"
    "               さらに [Enter] で復帰し、[ESC] を押すと実行を終了します。\n\n"
    "     [ q ]\u3000   Webカメラをオンオフできます。\n\n"
    "     [ z, x ]  通常速度（±１フレーム）で表示画像を進めたり戻したりできます。\n"
    "     [ Z, X ]  高    速（±10フレーム）で表示画像を進めたり戻したりできます。\n\n"
    "     [ j ]     ランダムに表示画像を選択できます。\n"
    "     [ l ]     フォルダ内の先頭の画像に戻ることができます。\n"
    "     [ e ]     左右反転の表示モードを切替えます。\n\n"
    "     [ s, S ]\u3000再生速度を調整できます（５段階）。\n\n"
    "     [ i ]     動き変化量の画面表示をオンオフします。\n"
    "     [ v, V ]  動きしきい値を増減させることができます。\n\n"
    "     [TAB]     自動再生機能（ベストエフォート 30[fps]）をオンオフできます。\n"
    "               [z],[x]キーで再生方向を変更できます。\n\n"
    "     [BS]      画像表示ウィンドウの再設定を行います（画像サイズに合わせます）。\n\n"
    "     [ p ]     １つ前のコンテンツフォルダに移動します。\n"
    "     [ n ]     １つ後のコンテンツフォルダに移動します。\n\n"
    "     [ R ]     先頭のコンテンツフォルダである S001 へ復帰します。\n"
    "     [ r ]     現在のコンテンツフォルダにある画像ファイルを再度読込みます（更新）。\n\n"
    "     [SPACE]   ランダムにコンテンツフォルダを選択できます。\n\n"
    "     [1,2,3,4,5,6,7,8,9,0]  S001～S010 のコンテンツフォルダに直接移動できます。\n"
    "     [SHIFT+1,2,3,4,5,6,7,8,9]  10％～90％の再生位置にジャンプします。\n\n"
    "     [ENTER]   ZELTRAN  Ver.1.3  の機能一覧等を再表示します。\n\n" +
    kRule + "\n";

// The banners as the help screen prints them: no leading line break, a blank line after.
const std::string kOnBanner = kCameraOnBanner.substr(1) + "\n";
const std::string kOffBanner = kCameraOffBanner.substr(1) + "\n";

std::string Help() {
    testing::internal::CaptureStdout();
    ShowHelp();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(HelpScreen, LicenceKeyListAndTheBannerOfTheCameraState) {
    const std::string licence_rule =
        " ------------------------------------------------------------------------------\n";
    const std::string head =
        "\n" + licence_rule + "                                  License \n" + licence_rule;
    for (const int on : {0, 1}) {
        camera_on = on;
        const std::string out = Help();
        ASSERT_EQ(out.substr(0, head.size()), head);
        const std::string tail = kRule + "\n" + kKeyList + (on ? kOnBanner : kOffBanner);
        ASSERT_GE(out.size(), tail.size());
        EXPECT_EQ(out.substr(out.size() - tail.size()), tail) << "camera_on " << on;
        // The other banner does not appear.
        const std::string& other = on ? kOffBanner : kOnBanner;
        EXPECT_EQ(out.find(other.substr(0, other.find('\n'))), std::string::npos);
        EXPECT_EQ(Help(), out);  // Enter prints the whole screen again, licence included
    }
}

TEST(HelpScreen, LicenceBlockHoldsTheLibrariesNotices) {
    camera_on = 0;
    const std::string out = Help();
    for (const char* line : {
             " Copyright (C) 2000-2022, Intel Corporation, all rights reserved.\n",
             " Third party copyrights are property of their respective owners.\n",
             " Licensed under the Apache License, Version 2.0 (the \"License\");\n",
             "     http://www.apache.org/licenses/LICENSE-2.0\n",
             " Copyright (C) 1997-2023 Sam Lantinga <slouken@libsdl.org>\n",
             " 3. This notice may not be removed or altered from any source distribution.\n"
             " --------------------------------------------------------------------------------\n"
             "\n\n --------",
         }) {
        EXPECT_NE(out.find(line), std::string::npos) << line;
    }
}
