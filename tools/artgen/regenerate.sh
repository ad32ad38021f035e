#!/usr/bin/env bash
# Rebuilds the artwork generator natively and writes the skins and their outlines, glyphs,
# banners, pictures, cursor and sounds into resources/. Commit the generator and its outputs
# together.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset native >/dev/null
cmake --build --preset native --target artgen -j2
build/native/tools/artgen/artgen resources
