#!/bin/sh
# Greets.

echo hi # inline
