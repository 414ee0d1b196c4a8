#!/usr/bin/env bash
# Installs the built tree into a scratch prefix and checks that every file the program and the
# desktop need is where the program's folder rule and fontconfig look for it.
# Usage: install_layout_test.sh BUILD_DIR SOURCE_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/test_lib.sh"

build=$1
source_dir=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log"
    rm -f "$prefix.log"
    failed "cmake --install failed"
    finish
fi
rm -f "$prefix.log"

data=$prefix/share/vela-keystride

# Programs: each one the build made.
for program in keystride keystride-class keystride-mark keystride-doc Docx2Rtf; do
    if [ -f "$build/bin/$program" ]; then
        expect_executable "$prefix/bin/$program"
    fi
done

# The default settings: eight lines with carriage return + line feed, only line 3 "J".
expect_file "$data/Settings"
expect "the installed Settings differs from the default" \
    cmp -s "$data/Settings" <(printf 'N\r\nN\r\nJ\r\nN\r\nN\r\nN\r\nN\r\nN\r\n')
expect "the source data/Settings differs from the default" \
    cmp -s "$source_dir/data/Settings" <(printf 'N\r\nN\r\nJ\r\nN\r\nN\r\nN\r\nN\r\nN\r\n')
# A program run from the build folder finds the same file beside it.
expect "build/bin/Settings differs from data/Settings" \
    cmp -s "$build/bin/Settings" "$source_dir/data/Settings"

for document in Speedhelp.RTF Spoedhelp.RTF; do
    if [ -f "$source_dir/data/$document" ]; then
        expect_file "$data/$document"
        expect "build/bin/$document is not a copy of data/$document" \
            cmp -s "$build/bin/$document" "$source_dir/data/$document"
    fi
done
if [ -f "$source_dir/data/cdverify.avi" ] || [ -f "$build/bin/cdverify.avi" ]; then
    expect_file "$data/cdverify.avi"
fi
# The clip decoder module, where the installed window looks for it when the clip first plays.
if [ -f "$build/bin/keystride-clip-decoder.so" ]; then
    expect_file "$prefix/lib/vela-keystride/keystride-clip-decoder.so"
fi

# The marking typefaces with their licence: in the data folder, where fontconfig finds them,
# and beside the built programs.
if [ -f "$build/fonts/Cour1.ttf" ]; then
    for file in Cour1.ttf CourRaam.ttf Cour2.ttf Cour3.ttf cournuut.ttf OFL.txt; do
        for folder in "$data/fonts" "$prefix/share/fonts/truetype/vela-keystride" "$build/bin/fonts"; do
            expect "$folder/$file is not the generated $file" \
                cmp -s "$folder/$file" "$build/fonts/$file"
        done
    done
else
    echo "note: the marking typefaces were not generated in this build; not checked"
fi

desktop=$prefix/share/applications/vela-keystride.desktop
expect_file "$desktop"
if [ -f "$desktop" ]; then
    for line in "[Desktop Entry]" "Type=Application" "Name=Vela Keystride" "Exec=keystride" \
        "Icon=vela-keystride" "Categories=Education;"; do
        expect_line "$desktop" "$line"
    done
fi
if [ -f "$build/bin/keystride-class" ]; then
    class_desktop=$prefix/share/applications/vela-keystride-class.desktop
    expect_file "$class_desktop"
    for line in "Name=Vela Keystride Class Marking" "Exec=keystride-class"; do
        expect_line "$class_desktop" "$line"
    done
fi
icon=$prefix/share/icons/hicolor/scalable/apps/vela-keystride.svg
expect_file "$icon"
expect "$icon is not an SVG picture" grep -q "<svg" "$icon"

# What Debian wants of every package: the copyright notice and a changelog whose latest entry
# is the version built.
doc=$prefix/share/doc/vela-keystride
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
expect_file "$doc/copyright"
expect_file "$doc/changelog.gz"
if [ -f "$doc/changelog.gz" ]; then
    expect "$doc/changelog.gz does not start with an entry for version $version" \
        test "$(gzip -dc "$doc/changelog.gz" | head -n 1)" = \
        "vela-keystride ($version) bookworm; urgency=medium"
fi

finish
