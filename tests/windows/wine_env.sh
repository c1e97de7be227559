# wine_env.sh: one Wine prefix per Windows build folder (WINDOWS/wine), made once, quiet, without
# the .NET and HTML runtimes Wine offers to download.
wine_prepare() {
    export WINEPREFIX=$1/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        echo "making the Wine prefix $WINEPREFIX"
        wineboot --init >/dev/null 2>&1
        wineserver --wait
    fi
}
