#!/usr/bin/env bash
# Builds the Debian package from the built tree and holds it to Debian's own checkers: its
# desktop entries pass desktop-file-validate and lintian reports no error. Also checks that the
# copyright file covers the marking typefaces with their licence.
# Usage: debian_lint_test.sh BUILD_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/test_lib.sh"

build=$1
for tool in dpkg-deb cpack lintian desktop-file-validate; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps.sh installs it)"
done
[ -f "$build/CPackConfig.cmake" ] || skip "the build has no package configuration"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deb=$(build_debian_package "$build" "$work") || {
    failed "cpack -G DEB failed"
    finish
}
root=$work/root
dpkg-deb -x "$deb" "$root"

entries=("$root"/usr/share/applications/*.desktop)
expect "the package has no desktop entry" test -f "${entries[0]}"
for entry in "${entries[@]}"; do
    [ -f "$entry" ] || continue
    report=$(desktop-file-validate "$entry" 2>&1)
    status=$?
    [ -z "$report" ] || echo "$report"
    expect "desktop-file-validate refuses ${entry#"$root"/}" test "$status" -eq 0
    expect "desktop-file-validate finds errors in ${entry#"$root"/}" \
        lacks_match 'error:' "$report"
done

# Run as root, lintian only warns about it. It exits non-zero for errors and when it could not
# read the package at all.
report=$(lintian --tag-display-limit 0 "$deb" 2>&1)
status=$?
echo "$report"
errors=$(grep '^E:' <<<"$report")
expect "lintian reports errors:
$errors" test -z "$errors"
expect "lintian could not check the package (status $status)" \
    test "$status" -eq 0 -o -n "$errors"

copyright=$root/usr/share/doc/vela-keystride/copyright
expect_file "$copyright"
if [ -f "$copyright" ]; then
    expect "the copyright file is not in the machine-readable format" \
        grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
        "$copyright"
    # The paragraph for the typefaces names both folders they are installed in and the OFL.
    fonts_paragraph=$(awk -v RS= '/usr\/share\/fonts\/truetype\/vela-keystride/' "$copyright")
    expect "the copyright file has no paragraph for the marking typefaces" \
        test -n "$fonts_paragraph"
    expect "the typefaces' paragraph does not cover usr/share/vela-keystride/fonts" \
        grep -q 'usr/share/vela-keystride/fonts/' <<<"$fonts_paragraph"
    expect "the typefaces' paragraph does not name the OFL" \
        grep -qx 'License: OFL-1.1' <<<"$fonts_paragraph"
    expect "the copyright file lacks the OFL's text" \
        grep -q 'SIL OPEN FONT LICENSE Version 1.1' "$copyright"
fi

finish
