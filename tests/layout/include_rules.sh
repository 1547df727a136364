#!/usr/bin/env bash
# Repository include rules a compiler does not check. Prints each offending line and fails.
#   include_rules.sh <source root> platform   each outside library is reached only through its own
#                                              back-end folder of platform/ (SDL2 through sdl/,
#                                              OpenGL through gl/, OpenAL through openal/, Dear
#                                              ImGui through imgui/, whose back ends also speak
#                                              SDL): an include of theirs elsewhere breaks the
#                                              headless build and the seam.
#   include_rules.sh <source root> layers     no folder includes a layer above its own, as the
#                                              table tests/layout/include_layers.txt allows.
set -euo pipefail
root="${1:?usage: include_rules.sh <source root> platform|layers}"
rule="${2:-platform}"
cd "$root"
folders=()
for folder in core meta objects levels physics graphics input gameplay ui audio editor engine game tools; do
  if [ -d "$folder" ]; then
    folders+=("$folder")
  fi
done

case "$rule" in
platform)
  # A library's header pattern, then the platform folders that may include it.
  libraries=(
    'SDL|SDL2/'                     'platform/sdl platform/imgui'
    'epoxy/|GL/'                    'platform/gl'
    'AL/|al\.h|alc\.h'              'platform/openal'
    'imgui|backends/imgui'          'platform/imgui'
  )
  found=""
  for ((i = 0; i < ${#libraries[@]}; i += 2)); do
    pattern="^\s*#\s*include\s*[<\"](${libraries[i]})"
    read -r -a owners <<< "${libraries[i + 1]}"
    exclude=()
    for owner in "${owners[@]}"; do
      exclude+=(-e "^$owner/")
    done
    found+=$(grep -rnE "$pattern" --include='*.h' --include='*.cpp' platform "${folders[@]}" \
        2>/dev/null | grep -v "${exclude[@]}" || true)
  done
  if [ -n "$found" ]; then
    echo "outside libraries included beside their back-end folder of platform/:"
    echo "$found"
    exit 1
  fi
  echo "platform seam intact"
  ;;
layers)
  table="tests/layout/include_layers.txt"
  offenders=$(grep -rnE '^\s*#\s*include\s*"[a-z_]+/' --include='*.h' --include='*.cpp' \
      platform "${folders[@]}" |
    awk -v table="$table" '
      BEGIN {
        while ((getline line < table) > 0) {
          sub(/#.*/, "", line)
          n = split(line, field, /[ \t]+/)
          if (n < 2 || field[1] == "") continue
          for (i = 2; i <= n; ++i) allowed[field[1], field[i]] = 1
        }
      }
      {
        file = $0; sub(/:.*/, "", file)
        header = $0; sub(/^[^"]*"/, "", header); sub(/".*/, "", header)
        # Folders by their whole path: platform/sdl is a room of its own, apart from platform.
        folder = file; sub(/\/[^\/]*$/, "", folder)
        target = header; sub(/\/[^\/]*$/, "", target)
        ok = allowed[folder, "*"] || allowed[folder, target] || allowed[folder, header] ||
             allowed[file, "*"] || allowed[file, target] || allowed[file, header]
        if (!ok) print
      }')
  if [ -n "$offenders" ]; then
    echo "includes above the includer's layer (allowed: $table):"
    echo "$offenders"
    exit 1
  fi
  echo "include layers intact"
  ;;
*)
  echo "unknown rule: $rule (platform or layers)" >&2
  exit 2
  ;;
esac
