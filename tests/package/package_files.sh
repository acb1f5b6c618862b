# Checks an installed tree (a prefix such as /usr) for what a desktop user expects of Dravik.
# Sourced by the install and .deb tests; every failure prints why and returns 1.

dravik_app_id=io.github.dravik_app.dravik
dravik_icon_sizes="16 22 24 32 48 64 128 256"

fail() {
    echo "FAIL: $*" >&2
    return 1
}

# check_package_files PREFIX WITH_PROGRAM(0|1)
check_package_files() {
    local prefix=$1 with_program=$2
    local desktop=$prefix/share/applications/$dravik_app_id.desktop
    local metainfo=$prefix/share/metainfo/$dravik_app_id.metainfo.xml
    local icons=$prefix/share/icons/hicolor

    if [ "$with_program" = 1 ]; then
        [ -x "$prefix/bin/dravik" ] || fail "no program at $prefix/bin/dravik" || return 1
        file -L "$prefix/bin/dravik" | grep -q 'ELF 64-bit' || fail "bin/dravik is not a program" || return 1
    fi
    [ -f "$desktop" ] || fail "no desktop entry at $desktop" || return 1
    desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop" || return 1
    grep -qx 'Exec=dravik' "$desktop" || fail "the desktop entry does not start dravik" || return 1
    grep -qx 'Icon=dravik' "$desktop" || fail "the desktop entry does not name the icon dravik" || return 1
    grep -qx 'Name=Dravik' "$desktop" || fail "the desktop entry is not named Dravik" || return 1

    [ -f "$metainfo" ] || fail "no AppStream metainfo at $metainfo" || return 1
    appstreamcli validate --no-net "$metainfo" >/dev/null ||
        { appstreamcli validate --no-net "$metainfo"; fail "appstreamcli refused $metainfo"; return 1; }
    grep -q "<launchable type=\"desktop-id\">$dravik_app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch the desktop entry" || return 1

    [ -f "$icons/scalable/apps/dravik.svg" ] || fail "no scalable icon" || return 1
    local size
    for size in $dravik_icon_sizes; do
        local png=$icons/${size}x$size/apps/dravik.png
        file "$png" | grep -q "PNG image data, $size x $size," || fail "no ${size}x$size PNG icon at $png" ||
            return 1
    done
}
