#!/usr/bin/env bash
# SDL2, OpenGL, OpenAL and Dear ImGui are reached only through platform/: any include of theirs
# elsewhere breaks the headless build and the seam. Prints the offending lines and fails.
set -euo pipefail
root="${1:?usage: platform_seam.sh <source root>}"
cd "$root"
pattern='^\s*#\s*include\s*[<"](SDL|SDL2/|epoxy/|GL/|AL/|al\.h|alc\.h|imgui|backends/imgui)'
offenders=$(grep -rnE "$pattern" --include='*.h' --include='*.cpp' \
    core objects meta physics graphics input gameplay ui audio editor game tools 2>/dev/null || true)
if [ -n "$offenders" ]; then
  echo "platform headers included outside platform/:"
  echo "$offenders"
  exit 1
fi
echo "platform seam intact"
