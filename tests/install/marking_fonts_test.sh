#!/usr/bin/env bash
# Runs the marking-font generator into a scratch folder and checks what it made: the face names
# fontconfig reports (the names the marking selects), and, read from the TrueType tables
# themselves, the advance widths against Liberation Mono, the frame pieces and the licence.
# Usage: marking_fonts_test.sh SOURCE_DIR [LIBERATION_DIR]
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/test_lib.sh"

source_dir=$1
liberation_dir=${2:-/usr/share/fonts/truetype/liberation2}
script=$source_dir/scripts/make-marking-fonts.py

fontforge_python=""
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c "import fontforge" >/dev/null 2>&1; then
        fontforge_python=$candidate
        break
    fi
done
[ -n "$fontforge_python" ] || skip "no python3 with FontForge's module (python3-fontforge)"
[ -f "$liberation_dir/LiberationMono-Bold.ttf" ] || skip "no Liberation Mono 2.x in $liberation_dir"
command -v fc-scan >/dev/null || skip "fc-scan (fontconfig) is missing"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$fontforge_python" "$script" --out-dir "$work/fonts" --source-dir "$liberation_dir" \
        >"$work/log" 2>&1; then
    cat "$work/log"
    failed "the generator failed"
    finish
fi

while read -r face file; do
    expect_file "$work/fonts/$file"
    family=$(fc-scan --format '%{family}' "$work/fonts/$file" 2>/dev/null)
    expect "$file: fontconfig reports the family '$family', not '$face'" test "$family" = "$face"
    spacing=$(fc-scan --format '%{spacing}' "$work/fonts/$file" 2>/dev/null)
    expect "$file: fontconfig does not see a monospaced face (spacing '$spacing')" \
        test "$spacing" = 100
done <<'FACES'
Courier1 Cour1.ttf
Courierraam CourRaam.ttf
Courier2 Cour2.ttf
Courier3 Cour3.ttf
DoCourier cournuut.ttf
FACES
expect_no_file "$work/fonts/.partial-Cour1.ttf"

expect "the font tables do not hold what the marking needs" \
    python3 "$here/check_marking_fonts.py" "$work/fonts" "$liberation_dir"

# Refusals: a folder without the source faces, and the 1.x faces, which are not under the OFL.
mkdir "$work/empty"
"$fontforge_python" "$script" --out-dir "$work/none" --source-dir "$work/empty" >"$work/log" 2>&1
status=$?
expect "a missing source face is not refused (status $status)" test "$status" -eq 1
expect "the refusal does not name the package to install" grep -q fonts-liberation2 "$work/log"
expect "the refusal shows a Python traceback" test "$(grep -c Traceback "$work/log")" -eq 0
expect_no_file "$work/none/Cour1.ttf"

old=/usr/share/fonts/truetype/liberation
if command -v strings >/dev/null && [ -f "$old/LiberationMono-Bold.ttf" ] &&
    [ -f "$old/LiberationMono-Regular.ttf" ] && ! strings -e b "$old/LiberationMono-Bold.ttf" | grep -q "Open Font License"; then
    "$fontforge_python" "$script" --out-dir "$work/old" --source-dir "$old" >"$work/log" 2>&1
    status=$?
    expect "Liberation Mono 1.x (not OFL) is not refused (status $status)" test "$status" -eq 1
    expect "the 1.x refusal does not say why" grep -q "Open Font License" "$work/log"
    expect_no_file "$work/old/Cour1.ttf"
fi

finish
