#!/usr/bin/env bash
# Builds the Debian package from the built tree into a scratch folder and checks its control
# fields and that it carries the program's files.
# Usage: debian_package_test.sh BUILD_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/test_lib.sh"

build=$1
command -v dpkg-deb >/dev/null || skip "dpkg-deb is missing"
command -v cpack >/dev/null || skip "cpack is missing"
[ -f "$build/CPackConfig.cmake" ] || skip "the build has no package configuration"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! (cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out") \
        >"$work/log" 2>&1; then
    tail -n 30 "$work/log"
    failed "cpack -G DEB failed"
    finish
fi
debs=("$work"/out/vela-keystride_*.deb)
expect "expected one package, found: ${debs[*]}" test "${#debs[@]}" -eq 1 -a -f "${debs[0]}"
deb=${debs[0]}
[ -f "$deb" ] || finish

expect "the package is not named vela-keystride" \
    test "$(dpkg-deb -f "$deb" Package)" = vela-keystride
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libqt6printsupport6 fontconfig; do
    expect "Depends '$depends' lacks $package" grep -qw -- "$package" <<<"$depends"
done
expect "no Recommends on libreoffice-writer-nogui" \
    test "$(dpkg-deb -f "$deb" Recommends)" = libreoffice-writer-nogui
expect "the postinst does not refresh the font cache" \
    bash -c "dpkg-deb -I '$deb' postinst | grep -q 'fc-cache -f'"

dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/contents"
expect_in_package() {
    expect "the package lacks $1" grep -qxF -- "./usr/$1" "$work/contents"
}
for program in keystride keystride-mark keystride-doc Docx2Rtf; do
    if [ -f "$build/bin/$program" ]; then
        expect_in_package "bin/$program"
    fi
done
expect_in_package share/vela-keystride/Settings
expect_in_package share/applications/vela-keystride.desktop
expect_in_package share/icons/hicolor/scalable/apps/vela-keystride.svg
if [ -f "$build/fonts/Cour1.ttf" ]; then
    for file in Cour1.ttf CourRaam.ttf Cour2.ttf Cour3.ttf cournuut.ttf OFL.txt; do
        expect_in_package "share/vela-keystride/fonts/$file"
        expect_in_package "share/fonts/truetype/vela-keystride/$file"
    done
fi

finish
