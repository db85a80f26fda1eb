#!/usr/bin/env python3
"""The converter guide of the Windows build, byte for byte: guide_bytes.py OUTPUT.
OUTPUT (what zeltran.exe wrote to a pipe without ffmpeg.exe) must end with the guide, in UTF-8,
with plain "\\n" line ends."""
import sys

STEPS = [
    "【手順１】FFmpeg のサイトのダウンロードのページを開き、緑色の[Download]の帯を押します。\n",
    "【手順２】[Get packages & executable files]の下にある水色の Windows のアイコンを選びます。\n",
    "【手順３】[Windows EXE Files]の下にある Windows 用ビルドへのリンクを開きます。\n",
    "【手順４】[Auto-Build 20XX-XX-XX]の項目を選びます。\n",
    "【手順５】win64 の \"gpl\" の zip ファイルをダウンロードします。\n",
    "【手順６】zip ファイルを（たとえばデスクトップに）解凍し、その中の[bin]フォルダを開きます。\n",
    "【手順７】[ffmpeg.exe]をインストールフォルダ\"ZELTRAN_120\"の中のフォルダ\"ApplicationData\"にコピーします。\n",
]
GUIDE = [
    "\nエラー!  ファイル[ ffmpeg.exe ]が見つかりません。\n\n",
    "         お手数をお掛けしますが、アプリケーション[ FFmpeg ]をご自身でダウンロード\n",
    "         して、指定の場所にファイル[ ffmpeg.exe ]をコピーしてください。\n",
    "         詳細は、ファイル[ README.txt ]をご一読ください。また、インストール説明動画\n",
    "         [ インストールの手順.mp4 ] もご覧ください。ご協力ありがとうございます。\n\n\n",
    "ERROR! : Cannot find a file ->[ ffmpeg.exe ]\n\n",
    "         You need to download and install FFmpeg application by yourself\n",
    "         and copy [ ffmpeg.exe ] to the specified folder in advance.\n",
    "         Please refer to the file[ README.txt ] and [ インストールの手順.mp4 ]\n",
    "         for details. Thank you for your cooperation.\n",
    "\n-------------------------------------------------------------------------------------\n",
    "（参考）FFmpeg のインストールとアンインストールの方法\n",
    "-------------------------------------------------------------------------------------\n",
    "\n",
    *[text for step in STEPS for text in (step, "\n")],
    "以上でファイル[ffmpeg.exe] のインストールは完了です。\n",
    "\n",
    "なお、アプリケーション[FFmpeg]をアンインストール（削除）したい場合、解凍した\n",
    "フォルダを直接削除してください（インストーラはありません）。\n",
    "\n",
    "◎詳細は上記手順を順番に確認できる動画[インストールの手順.mp4]をご覧ください◎\n",
    "\n",
    "以上\n",
]


def main():
    output = open(sys.argv[1], "rb").read()
    expected = "".join(GUIDE).encode("utf-8")
    if b"\r" in output:
        print("the output holds \\r bytes")
        return 1
    if not output.endswith(expected):
        print("the output does not end with the guide; its last bytes:")
        print(output[-400:].decode("utf-8", "replace"))
        return 1
    print(f"the guide's {len(expected)} bytes end the output of {len(output)} bytes")
    return 0


sys.exit(main())
