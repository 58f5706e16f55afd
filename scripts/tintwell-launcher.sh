#!/bin/sh
# Starts the installed program from its program folder.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/tintwell/tintwell" "$@"
