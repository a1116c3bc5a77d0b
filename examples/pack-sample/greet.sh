#!/bin/sh
# Greets the user.

name=${1:-world}
echo "hello $name" # say it
