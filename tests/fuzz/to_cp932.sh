#!/bin/sh
# Converts a UTF-8 source file to code page 932 for the native fuzzing build, whose compiler has
# no Shift-JIS execution character set but keeps the bytes of a literal as they stand.
# Refuses a file in which a converted character holds the byte 0x5C: it would read as a
# backslash and could end a literal or a comment line.
# Usage: to_cp932.sh in.cpp out.cpp
set -eu
iconv -f UTF-8 -t CP932 "$1" > "$2.tmp"
before=$(tr -cd '\\' < "$1" | wc -c)
after=$(tr -cd '\\' < "$2.tmp" | wc -c)
if [ "$before" != "$after" ]; then
    rm -f "$2.tmp"
    echo "$1: a character's code page 932 form holds the byte 0x5C" >&2
    exit 1
fi
mv "$2.tmp" "$2"
