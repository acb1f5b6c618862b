# Sourced by the Windows scripts. install_missing PACKAGE...: installs with apt-get (as root) those of
# the packages that are not installed yet; nothing when all are. With UPDATE=1 the package lists are
# read afresh even then (a source entry was just added).
install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || [ -n "${UPDATE:-}" ] || return 0
    export DEBIAN_FRONTEND=noninteractive
    # Another apt-get may hold the lock for a while.
    apt-get -o DPkg::Lock::Timeout=600 update || return 1
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing ${missing[*]}"
    apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
}
