// The converter guide of Windows: ffmpeg.exe from a Windows build of FFmpeg, copied into the
// working folder. Each step is followed by an empty line.
#include "common/language.hpp"
#include "shell/converter_guide.hpp"

namespace {

const char* const kError[] = {
    N_("\nエラー!  ファイル[ ffmpeg.exe ]が見つかりません。\n\n"),
    N_("         お手数をお掛けしますが、アプリケーション[ FFmpeg ]をご自身でダウンロード\n"),
    N_("         して、指定の場所にファイル[ ffmpeg.exe ]をコピーしてください。\n"),
    N_("         詳細は、ファイル[ README.txt ]をご一読ください。また、インストール説明動画\n"),
    N_("         [ インストールの手順.mp4 ] もご覧ください。ご協力ありがとうございます。\n\n\n"),
};
const char* const kErrorInEnglish[] = {
    "ERROR! : Cannot find a file ->[ ffmpeg.exe ]\n\n",
    "         You need to download and install FFmpeg application by yourself\n",
    "         and copy [ ffmpeg.exe ] to the specified folder in advance.\n",
    N_("         Please refer to the file[ README.txt ] and [ インストールの手順.mp4 ]\n"),
    "         for details. Thank you for your cooperation.\n",
};
// Each text is one literal, as the message catalog takes it.
// clang-format off
const char* const kSteps[] = {
    "\n-------------------------------------------------------------------------------------\n",
    N_("（参考）FFmpeg のインストールとアンインストールの方法\n"),
    "-------------------------------------------------------------------------------------\n",
    "\n",
    N_("【手順１】FFmpeg のサイトのダウンロードのページを開き、緑色の[Download]の帯を押します。\n"),
    "\n",
    N_("【手順２】[Get packages & executable files]の下にある水色の Windows のアイコンを選びます。\n"),
    "\n",
    N_("【手順３】[Windows EXE Files]の下にある Windows 用ビルドへのリンクを開きます。\n"),
    "\n",
    N_("【手順４】[Auto-Build 20XX-XX-XX]の項目を選びます。\n"),
    "\n",
    N_("【手順５】win64 の \"gpl\" の zip ファイルをダウンロードします。\n"),
    "\n",
    N_("【手順６】zip ファイルを（たとえばデスクトップに）解凍し、その中の[bin]フォルダを開きます。\n"),
    "\n",
    N_("【手順７】[ffmpeg.exe]をインストールフォルダ\"ZELTRAN_120\"の中のフォルダ\"ApplicationData\"にコピーします。\n"),
    "\n",
    N_("以上でファイル[ffmpeg.exe] のインストールは完了です。\n"),
    "\n",
    N_("なお、アプリケーション[FFmpeg]をアンインストール（削除）したい場合、解凍した\n"),
    N_("フォルダを直接削除してください（インストーラはありません）。\n"),
    "\n",
    N_("◎詳細は上記手順を順番に確認できる動画[インストールの手順.mp4]をご覧ください◎\n"),
    "\n",
    N_("以上\n"),
};
// clang-format on

}  // namespace

const std::span<const char* const> kMissingConverter(kError);
const std::span<const char* const> kMissingConverterEnglish(kErrorInEnglish);
const std::span<const char* const> kConverterSteps(kSteps);
