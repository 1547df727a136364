#!/bin/sh
# Draws the libraries' link graph: CMake's own graph of our targets (CMakeGraphVizOptions.cmake
# keeps it to the layer libraries), shortened to the layer names, written into the dot block of
# docs/architecture.md and rendered to docs/build-graph.svg. Needs graphviz (`dot`).
set -eu
cd "$(dirname "$0")/.."
out=build/graph
cmake -S . -B "$out" --graphviz="$out/vorl.dot" >/dev/null
python3 - "$out/vorl.dot" docs/architecture.md "$out/layers.dot" <<'PY'
import re, sys
cmake_dot, doc, layers = sys.argv[1:]
edges = []
for line in open(cmake_dot):
    m = re.search(r'//\s*vorl_(\w+)\s*->\s*vorl_(\w+)', line)
    if m and 'legend' not in line:
        style = ' [style=dotted]' if 'dotted' in line else ''
        edges.append(f'  {m.group(1)} -> {m.group(2)}{style};')
graph = 'digraph vorl {\n  rankdir=BT;\n  node [shape=box, fontsize=11];\n' + '\n'.join(edges) + '\n}\n'
open(layers, 'w').write(graph)
text = open(doc).read()
text = re.sub(r'```dot\n.*?```', lambda _: '```dot\n' + graph + '```', text, count=1, flags=re.S)
open(doc, 'w').write(text)
PY
dot -Tsvg "$out/layers.dot" -o docs/build-graph.svg
echo "docs/architecture.md and docs/build-graph.svg drawn from $out/vorl.dot"
