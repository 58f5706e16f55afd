#!/usr/bin/env bash
# Fails when a source file of the Qt-free core includes a Qt header. The core
# folders may hold Qt code only in a qt/ subfolder.
set -u
top=${1:-.}
cd "$top" || exit 2
hits=$(grep -rnE '^\s*#\s*include\s*<Q' \
  --include='*.h' --include='*.cpp' \
  base pages painter pictures palette settings sound 2>/dev/null | grep -v '/qt/')
if [ -n "$hits" ]; then
  echo "Qt headers included in the core:"
  echo "$hits"
  exit 1
fi
echo "core is free of Qt"
