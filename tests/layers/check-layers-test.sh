#!/usr/bin/env bash
# The layer check passes a sound tree and fails each kind of wrong include.
set -euo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

tree() {  # tree FILE INCLUDE...: a fresh src/ with one file including each
  rm -rf "$tmp/src"
  mkdir -p "$tmp/src/$(dirname "$1")"
  local file=$1; shift
  for inc in "$@"; do printf '#include "%s"\n' "$inc"; done >"$tmp/src/$file"
}
expect() {  # expect pass|fail WHAT
  if "$check" "$tmp/src" 2>/dev/null; then got=pass; else got=fail; fi
  [ "$got" = "$1" ] || { echo "FAILED: $2 should $1" >&2; exit 1; }
}

tree scan/CScanThread.cpp scan/CScanThread.h catalogue/CCatalogue.h platform/File.h Local.h
expect pass "includes of the own and lower layers"
tree window/ui/Host.cpp window/ui/Host.h platform/ui/QtPrompt.h treeview/TreeView.h
expect pass "the Qt side of a layer including lower Qt sides"
tree platform/File.cpp scan/ScanMessages.h
expect fail "platform including scan"
tree catalogue/CCatalogue.cpp resources/CResource.h
expect fail "catalogue including resources"
tree treeview/TreeView.cpp window/ui/Host.h
expect fail "the core including the Qt side"
tree gadgets/Thing.cpp platform/File.h
expect fail "a folder that is no layer"
echo "layer check: all cases behave"
