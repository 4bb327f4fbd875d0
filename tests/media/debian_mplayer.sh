#!/bin/bash
# Debian's mplayer in place of the shipped player, for the commands both understand. It has no
# -muteset option (dropped here) and saves screenshots only through its screenshot filter.
args=()
while (($#)); do
  case "$1" in
    -muteset) shift; (($#)) && shift ;;
    *) args+=("$1"); shift ;;
  esac
done
exec /usr/bin/mplayer -noconfig all -nolirc "${args[@]}" -vf screenshot
