#!/bin/sh
# Records the demo's voices with the espeak-ng speech synthesiser and encodes
# them as Ogg Vorbis for vk_ogg1/ (packages espeak-ng and vorbis-tools).
# Each speaker has its own pitch and speed.
set -e
out="$(dirname "$0")/../source/vk_ogg1"
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

voice() { # NAME PITCH SPEED TEXT
    espeak-ng -v ja -p "$2" -s "$3" -w "$tmp/$1.wav" "$4"
    oggenc -Q -q 3 --resample 22050 -o "$out/$1.ogg" "$tmp/$1.wav"
}

voice MORI001 20 135 "ようこそ。今夜から君も、灯台守の見習いだ。"
voice MORI002 20 135 "カイか。光は消さん。"
voice NAGI001 85 165 "こんばんは、郵便です！"
voice NAGI002 85 175 "きゃっ！　いまの、すぐ近くに落ちました。"
voice KAI001 65 180 "灯台守さん！　親父の船が、まだ戻らないんだ！"
voice KAI002 65 180 "親父の船、ちゃんと戻ってきたよ！"
