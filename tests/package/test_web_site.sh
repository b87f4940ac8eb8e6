#!/usr/bin/env bash
# The browser game's site as tools/web/package leaves it: the zip holds index.html at its
# root and every file the page loads, the site stays under its weight, the packed files
# are data/'s byte for byte, and tools/web/serve serves the site with the types a browser
# needs to run it.
#   test_web_site.sh SOURCE_DIR
root=$(readlink -f "$1")
site=$root/build/web/site
zip=$root/build/web/meadowgunner-1.0-web.zip
source "$(dirname "$0")/scratch.sh" web

unzip -q "$zip" -d "$work/zip" || fail "cannot unpack $zip"
for name in index.html page.js page.css meadowgunner.js meadowgunner.wasm game-data.bin \
    meadowgunner.png LICENSES.txt; do
    cmp -s "$work/zip/$name" "$site/$name" || fail "$name is not in the zip as in the site"
done
extra=$(cd "$work/zip" && find . -type f | sort | sed -n '9,$p')
[ -z "$extra" ] || fail "the zip holds more than the site: $extra"
size=$(du -sb "$site" | cut -f1)
[ "$size" -le $((3 * 1024 * 1024)) ] || fail "the site weighs $size bytes"
for library in zlib libpng SDL_net emscripten GNU; do
    grep -q "$library" "$site/LICENSES.txt" || fail "no licence of $library"
done

# The packed files, unpacked as the page does, are the game's files and nothing else.
/usr/bin/python3 - "$site/game-data.bin" "$root/data" <<'EOF' || fail "the packed files differ"
import gzip, os, sys
packed, data = sys.argv[1:]
blob, files, at = gzip.open(packed).read(), {}, 0
while at < len(blob):
    name_end = blob.index(b"\n", at)
    size_end = blob.index(b"\n", name_end + 1)
    name, size = blob[at:name_end].decode(), int(blob[name_end + 1:size_end])
    files[name] = blob[size_end + 1:size_end + 1 + size]
    at = size_end + 1 + size
wanted = {os.path.relpath(os.path.join(top, f), data)
          for top, _, names in os.walk(data) for f in names
          if f != "sdlaudio.raw" and not (top == data and f.startswith("meadowgunner"))}
assert set(files) == wanted, sorted(set(files) ^ wanted)
for name in wanted:
    assert files[name] == open(os.path.join(data, name), "rb").read(), name
EOF

port=$((20000 + RANDOM % 20000))
"$root/tools/web/serve" "$port" >"$work/serve.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    curl -sf -o /dev/null "http://127.0.0.1:$port/" && break || sleep 0.1
done
grep -q "http://127.0.0.1:$port/" "$work/serve.log" || fail "serve did not say where: $(cat "$work/serve.log")"
type_of() { curl -sfI "http://127.0.0.1:$port/$1" | tr -d '\r' | sed -n 's/^Content-type: //Ip'; }
[ "$(type_of index.html)" = "text/html" ] || fail "index.html is served as $(type_of index.html)"
[ "$(type_of meadowgunner.wasm)" = "application/wasm" ] || fail "the game is served as $(type_of meadowgunner.wasm)"
curl -sf "http://127.0.0.1:$port/game-data.bin" | cmp -s - "$site/game-data.bin" ||
    fail "the packed files are not served whole"
echo passed
