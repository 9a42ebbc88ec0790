# What the install checks share: their arguments, a temporary folder removed at exit, and how a
# check fails. Sourced; sets build, version and work.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "ÉCHEC : $*" >&2
    exit 1
}
