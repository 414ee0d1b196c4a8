#!/usr/bin/env bash
# Builds the Debian package from the built tree into a scratch folder and checks its control
# fields, that it depends on the package of every shared library its programs link, and that it
# carries the program's files.
# Usage: debian_package_test.sh BUILD_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/test_lib.sh"

build=$1
for tool in dpkg-deb dpkg cpack objdump; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
done
ldconfig=$(command -v ldconfig || echo /sbin/ldconfig)
[ -x "$ldconfig" ] || skip "ldconfig is missing"
[ -f "$build/CPackConfig.cmake" ] || skip "the build has no package configuration"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deb=$(build_debian_package "$build" "$work") || {
    failed "cpack -G DEB failed"
    finish
}
root=$work/root
dpkg-deb -x "$deb" "$root"

expect "the package is not named vela-keystride" \
    test "$(dpkg-deb -f "$deb" Package)" = vela-keystride

# The package names of a relation field, one a line: alternatives split, versions and
# architecture qualifiers dropped.
relation_names() { # field text
    tr ',|' '\n\n' <<<"$1" | sed -e 's/(.*)//' -e 's/:[a-z0-9-]*//' -e 's/[[:space:]]//g' |
        grep -v '^$'
}

depends=$(dpkg-deb -f "$deb" Depends)
depends_names=$(relation_names "$depends")
# Not linked, but keeps the system font cache that the window reads up to date when the marking
# typefaces arrive below /usr/share/fonts.
expect "Depends '$depends' lacks fontconfig" grep -qxF fontconfig <<<"$depends_names"

# ---------------------------------------------------------------------------------------------
# Every shared library that a program or module of the package links comes from a package that
# Depends names, so that installing the package brings everything the window needs to start.

# The file that the dynamic linker would load for NAME into an object of ELF file format FORMAT
# (as objdump says it, e.g. elf64-x86-64): the linker cache first, then the usual folders.
library_path() { # name, format
    local name=$1 format=$2 candidate
    for candidate in $("$ldconfig" -p | awk -v n="$name" '$1 == n {print $NF}') \
        /lib/*/"$name" /usr/lib/*/"$name" /lib/"$name" /usr/lib/"$name"; do
        [ -f "$candidate" ] || continue
        objdump -f "$candidate" 2>/dev/null | grep -q "file format $format\$" || continue
        echo "$candidate"
        return 0
    done
    return 1
}

# The Debian package that installed PATH. With /lib a link to /usr/lib, the linker cache may
# name a library by the other of its two paths than the one dpkg recorded.
package_of() { # path
    local path=$1 candidate owner
    for candidate in "$path" "$(readlink -f "$path")" "/usr$path" "${path#/usr}"; do
        owner=$(dpkg -S "$candidate" 2>/dev/null | grep -v '^diversion' | head -n 1)
        [ -n "$owner" ] || continue
        owner=${owner%%: *}
        owner=${owner%%,*}
        echo "${owner%%:*}"
        return 0
    done
    return 1
}

is_elf() { # file
    head -c 4 "$1" | cmp -s - <(printf '\177ELF')
}

elf_count=0
while IFS= read -r -d '' file; do
    is_elf "$file" || continue
    elf_count=$((elf_count + 1))
    name=${file#"$root"/}
    format=$(objdump -f "$file" | sed -n 's/.*file format //p')
    for library in $(objdump -p "$file" | awk '$1 == "NEEDED" {print $2}'); do
        # A library of the package itself comes with it.
        if [ -n "$(find "$root" -name "$library" -print -quit)" ]; then
            continue
        fi
        if ! path=$(library_path "$library" "$format"); then
            failed "$name needs $library, which is not installed here"
            continue
        fi
        if ! package=$(package_of "$path"); then
            failed "$name needs $library ($path), which belongs to no Debian package"
            continue
        fi
        expect "$name needs $library from $package, which Depends '$depends' lacks" \
            grep -qxF -- "$package" <<<"$depends_names"
    done
done < <(find "$root" -type f -print0)
expect "the package holds no programs" test "$elf_count" -gt 0

# ---------------------------------------------------------------------------------------------
# Recommends: a Writer that opens a window for the export to the word processor, which also
# converts documents without one; never the window-less Writer as the first choice, since apt
# installs the first alternative and the export would then show nothing.

recommends=$(dpkg-deb -f "$deb" Recommends)
first_choices=$(tr ',' '\n' <<<"$recommends" | sed -e 's/|.*//' -e 's/(.*)//' -e 's/[[:space:]]//g')
expect "Recommends '$recommends' does not offer libreoffice-writer first" \
    grep -qxF libreoffice-writer <<<"$first_choices"
expect "Recommends '$recommends' makes the window-less Writer a first choice" \
    lacks_line libreoffice-writer-nogui "$first_choices"
expect "Recommends '$recommends' lacks a desktop integration for the Writer" \
    grep -qxF libreoffice-gtk3 <<<"$(relation_names "$recommends")"

# ---------------------------------------------------------------------------------------------
# The program's files.

dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/contents"
expect_in_package() {
    expect "the package lacks $1" grep -qxF -- "./usr/$1" "$work/contents"
}
for program in keystride keystride-class keystride-mark keystride-doc Docx2Rtf; do
    if [ -f "$build/bin/$program" ]; then
        expect_in_package "bin/$program"
    fi
done
expect_in_package share/vela-keystride/Settings
expect_in_package share/applications/vela-keystride.desktop
if [ -f "$build/bin/keystride-class" ]; then
    expect_in_package share/applications/vela-keystride-class.desktop
fi
expect_in_package share/icons/hicolor/scalable/apps/vela-keystride.svg
if [ -f "$build/fonts/Cour1.ttf" ]; then
    for file in Cour1.ttf CourRaam.ttf Cour2.ttf Cour3.ttf cournuut.ttf OFL.txt; do
        expect_in_package "share/vela-keystride/fonts/$file"
        expect_in_package "share/fonts/truetype/vela-keystride/$file"
    done
fi

finish
