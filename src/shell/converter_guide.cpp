// The converter guide of Debian: the package, or a Linux build of the converter in the working
// folder.
#include "shell/converter_guide.hpp"

#include "common/language.hpp"

namespace {

const char* const kError[] = {
    N_("\nエラー!  ファイル[ ffmpeg ]が見つかりません。\n\n"),
    N_("         お手数をお掛けしますが、アプリケーション[ FFmpeg ]をご自身でダウンロード\n"),
    N_("         して、指定の場所にファイル[ ffmpeg ]をコピーしてください。\n"),
    N_("         詳細は、ファイル[ README.txt ]をご一読ください。また、インストール説明動画\n"),
    N_("         [ インストールの手順.mp4 ] もご覧ください。ご協力ありがとうございます。\n\n\n"),
};
const char* const kErrorInEnglish[] = {
    "ERROR! : Cannot find a file ->[ ffmpeg ]\n\n",
    "         You need to download and install FFmpeg application by yourself\n",
    "         and copy [ ffmpeg ] to the specified folder in advance.\n",
    N_("         Please refer to the file[ README.txt ] and [ インストールの手順.mp4 ]\n"),
    "         for details. Thank you for your cooperation.\n",
};
const char* const kSteps[] = {
    "\n-------------------------------------------------------------------------------------\n",
    N_("（参考）FFmpeg のインストールとアンインストールの方法\n"),
    "-------------------------------------------------------------------------------------\n",
    "\n",
    N_("【手順１】端末（ターミナル）を開きます。\n"),
    N_("【手順２】パッケージの一覧を更新します。　sudo apt-get update\n"),
    N_("【手順３】FFmpeg のパッケージをインストールします。　sudo apt-get install ffmpeg\n"),
    N_("【手順４】インストールを確かめます。　ffmpeg -version　（版数が表示されれば成功です）\n"),
    N_("【手順５】管理者の権限がない場合は、Linux 用の実行ファイル[ffmpeg]を入手します。\n"),
    N_("【手順６】そのファイルを作業フォルダ（このプログラムを起動するフォルダ）に置きます。\n"),
    N_("【手順７】実行できるようにします。　chmod +x ./ffmpeg\n"),
    N_("以上でファイル[ffmpeg] のインストールは完了です。\n"),
    "\n",
    N_("なお、アプリケーション[FFmpeg]をアンインストール（削除）したい場合、解凍した\n"),
    N_("フォルダを直接削除してください（インストーラはありません）。\n"),
    "\n",
    N_("◎詳細は上記手順を順番に確認できる動画[インストールの手順.mp4]をご覧ください◎\n"),
    "\n",
    N_("以上\n"),
};

}  // namespace

const std::span<const char* const> kMissingConverter(kError);
const std::span<const char* const> kMissingConverterEnglish(kErrorInEnglish);
const std::span<const char* const> kConverterSteps(kSteps);
