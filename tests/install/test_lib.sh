# Shared by the install tests: counts failed expectations and ends the test with the exit code
# that ctest reads (77 = skipped).

failures=0
checks=0

skip() {
    echo "SKIPPED: $*"
    exit 77
}

failed() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

expect() { # description, command...
    local description=$1
    shift
    checks=$((checks + 1))
    "$@" || failed "$description"
}

expect_file() { # path
    expect "$1 is missing" test -f "$1"
}

expect_no_file() { # path
    expect "$1 should not be there" test ! -e "$1"
}

expect_executable() { # path
    expect "$1 is missing or not executable" test -x "$1"
}

expect_line() { # file, exact line
    expect "$1 has no line '$2'" grep -qxF -- "$2" "$1"
}

finish() {
    echo "$checks checks, $failures failed"
    [ "$failures" -eq 0 ]
    exit $?
}

# Builds the Debian package from the built tree BUILD into WORK/out and prints its path; on
# failure prints the end of cpack's log and returns 1.
build_debian_package() { # build, work
    local build=$1 work=$2
    if ! (cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out") \
            >"$work/cpack.log" 2>&1; then
        tail -n 30 "$work/cpack.log" >&2
        return 1
    fi
    local debs=("$work"/out/vela-keystride_*.deb)
    if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
        echo "expected one package, found: ${debs[*]}" >&2
        return 1
    fi
    echo "${debs[0]}"
}

lacks_line() { # exact line, text
    ! grep -qxF -- "$1" <<<"$2"
}

lacks_match() { # basic regular expression, text
    ! grep -q -- "$1" <<<"$2"
}
