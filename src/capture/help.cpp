// The help screen: licence notices of the libraries, the key list and the camera state.
#include "capture/help.hpp"

#include "capture/camera_switch.hpp"
#include "common/console.hpp"
#include "common/language.hpp"
#include "common/state.hpp"

namespace {

// The published short notices of the image library (OpenCV 4, Apache License 2.0) and of the
// window library (SDL2, zlib licence), as their distributions state them.
const char* const kLicenceLines[] = {
    " OpenCV (Open Source Computer Vision Library)\n",
    "\n",
    " Copyright (C) 2000-2022, Intel Corporation, all rights reserved.\n",
    " Copyright (C) 2009-2011, Willow Garage Inc., all rights reserved.\n",
    " Copyright (C) 2009-2016, NVIDIA Corporation, all rights reserved.\n",
    " Copyright (C) 2010-2013, Advanced Micro Devices, Inc., all rights reserved.\n",
    " Copyright (C) 2015-2022, OpenCV Foundation, all rights reserved.\n",
    " Copyright (C) 2008-2016, Itseez Inc., all rights reserved.\n",
    " Copyright (C) 2019-2022, Xperience AI, all rights reserved.\n",
    (" Copyright (C) 2019-2022, Shenzhen Institute of Artificial Intelligence and Robotics for "
     "Society, all rights reserved.\n"),
    "\n",
    " Third party copyrights are property of their respective owners.\n",
    "\n",
    " Licensed under the Apache License, Version 2.0 (the \"License\");\n",
    " you may not use this file except in compliance with the License.\n",
    " You may obtain a copy of the License at\n",
    "\n",
    "     http://www.apache.org/licenses/LICENSE-2.0\n",
    "\n",
    " Unless required by applicable law or agreed to in writing, software\n",
    " distributed under the License is distributed on an \"AS IS\" BASIS,\n",
    " WITHOUT WARRANTIES OR CONDITIONS OF ANY KIND, either express or implied.\n",
    " See the License for the specific language governing permissions and\n",
    " limitations under the License.\n",
    "\n",
    " Simple DirectMedia Layer (SDL2)\n",
    "\n",
    " Copyright (C) 1997-2023 Sam Lantinga <slouken@libsdl.org>\n",
    "\n",
    " This software is provided 'as-is', without any express or implied\n",
    " warranty.  In no event will the authors be held liable for any damages\n",
    " arising from the use of this software.\n",
    "\n",
    " Permission is granted to anyone to use this software for any purpose,\n",
    " including commercial applications, and to alter it and redistribute it\n",
    " freely, subject to the following restrictions:\n",
    "\n",
    " 1. The origin of this software must not be misrepresented; you must not\n",
    "    claim that you wrote the original software. If you use this software\n",
    "    in a product, an acknowledgment in the product documentation would be\n",
    "    appreciated but is not required.\n",
    " 2. Altered source versions must be plainly marked as such, and must not be\n",
    "    misrepresented as being the original software.\n",
    " 3. This notice may not be removed or altered from any source distribution.\n",
};

// Groups of the key list; a blank line follows each group.
const char* const kKeyLines[] = {
    N_("     [ESC]　   アプリケーションの一時停止（待機状態になります）。\n"),
    N_("               さらに [Enter] で復帰し、[ESC] を押すと実行を終了します。\n"),
    nullptr,
    N_("     [ q ]　   Webカメラをオンオフできます。\n"),
    nullptr,
    N_("     [ z, x ]  通常速度（±１フレーム）で表示画像を進めたり戻したりできます。\n"),
    N_("     [ Z, X ]  高    速（±10フレーム）で表示画像を進めたり戻したりできます。\n"),
    nullptr,
    N_("     [ j ]     ランダムに表示画像を選択できます。\n"),
    N_("     [ l ]     フォルダ内の先頭の画像に戻ることができます。\n"),
    N_("     [ e ]     左右反転の表示モードを切替えます。\n"),
    nullptr,
    N_("     [ s, S ]　再生速度を調整できます（５段階）。\n"),
    nullptr,
    N_("     [ i ]     動き変化量の画面表示をオンオフします。\n"),
    N_("     [ v, V ]  動きしきい値を増減させることができます。\n"),
    nullptr,
    N_("     [TAB]     自動再生機能（ベストエフォート 30[fps]）をオンオフできます。\n"),
    N_("               [z],[x]キーで再生方向を変更できます。\n"),
    nullptr,
    N_("     [BS]      画像表示ウィンドウの再設定を行います（画像サイズに合わせます）。\n"),
    nullptr,
    N_("     [ p ]     １つ前のコンテンツフォルダに移動します。\n"),
    N_("     [ n ]     １つ後のコンテンツフォルダに移動します。\n"),
    nullptr,
    N_("     [ R ]     先頭のコンテンツフォルダである S001 へ復帰します。\n"),
    N_("     [ r ]     現在のコンテンツフォルダにある画像ファイルを再度読込みます（更新）。\n"),
    nullptr,
    N_("     [SPACE]   ランダムにコンテンツフォルダを選択できます。\n"),
    nullptr,
    N_("     [1,2,3,4,5,6,7,8,9,0]  S001～S010 のコンテンツフォルダに直接移動できます。\n"),
    N_("     [SHIFT+1,2,3,4,5,6,7,8,9]  10％～90％の再生位置にジャンプします。\n"),
    nullptr,
    N_("     [ENTER]   ZELTRAN  Ver.1.3  の機能一覧等を再表示します。\n"),
    nullptr,
};

constexpr char kLicenceRule[] =
    " ------------------------------------------------------------------------------\n";
constexpr char kRule[] =
    " --------------------------------------------------------------------------------\n";

void PrintLicence() {
    PrintText(kLicenceRule);
    PrintText("                                  License \n");
    PrintText(kLicenceRule);
    for (const char* line : kLicenceLines) PrintText(line);
    PrintText(kRule);
    PrintText("\n");
}

void PrintKeyList() {
    PrintText("\n");
    PrintText(kRule);
    PrintText(_("\n                   [ ZELTRAN  Ver.1.3  機能一覧 ]\n"));
    PrintText("\n");
    PrintText(kRule);
    PrintText(_("     ＜画像表示ウィンドウをアクティブにした後、以下のキーを入力してください＞\n"));
    PrintText("\n");
    for (const char* line : kKeyLines) PrintText(line != nullptr ? _(line) : "\n");
    PrintText(kRule);
    PrintText("\n");
}

}  // namespace

void ShowHelp() {
    PrintText("\n");
    PrintLicence();
    PrintKeyList();
    if (camera_on == 1) {
        PrintCameraOnBanner(0);
    } else {
        PrintCameraOffBanner(0);
    }
}
