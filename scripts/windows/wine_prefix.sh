# Sourced by the Windows scripts: where Wine is, and how a new Wine prefix (a Windows user's machine
# of its own) is made.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here uses .NET or HTML, and Wine would try to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# new_wine_prefix DIR: a new prefix in DIR. Wine passes no QT_* variable from the environment, so
# the one the test programs need (Qt Test writes to the debugger on Windows otherwise) is set as
# Windows sets a user's variables.
new_wine_prefix() {
    mkdir -p "$(dirname "$1")" &&
        WINEPREFIX=$1 "$wine" wineboot -i >/dev/null 2>&1 &&
        WINEPREFIX=$1 "$wine" reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /d 1 /f >/dev/null 2>&1 &&
        WINEPREFIX=$1 "$wineserver" -w
}

# end_wine_prefix DIR: stops the prefix's Wine processes and removes it.
end_wine_prefix() {
    WINEPREFIX=$1 "$wineserver" -k 2>/dev/null
    WINEPREFIX=$1 "$wineserver" -w 2>/dev/null
    rm -rf "$1"
}
