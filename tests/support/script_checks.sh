# Sourced by the shell tests: counted failures, a verdict at the end, and
# Unix paths as Wine's Z: drive sees them.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
winpath() { echo "Z:${1//\//\\}"; }
# Exits 1 when anything failed, else returns.
verdict() {
    if ((failures)); then
        echo "$failures failure(s)"
        exit 1
    fi
}
