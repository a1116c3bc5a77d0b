#!/bin/sh
# Builds the release and copies it to the share.
set -eu

out=build/release
mkdir -p "$out"  # keep old objects
echo "# not a comment"
echo 'also # not one'
msg="first line
# still inside the string
last line"
today=`date +%Y-%m-%d`

for f in src/*.c; do
  cc -c "$f" -o "$out/$(basename "$f" .c).o" # one object each
done
  # indented comment
cp -r "$out" /mnt/share/
