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
