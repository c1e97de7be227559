#!/usr/bin/env bash
# web_zip_offline.sh DIST WEB_BUILD BUILD: the web zip in DIST unpacked and served as it is, as a
# static host would, through the browser's offline checks (tests/web/offline_test.cjs): load,
# reach the main menu and play a point with the network cut, then take a new release whole.
# WEB_BUILD lends its puppeteer-core (make test-web installs it), BUILD the headless driver.
set -euo pipefail

dist=$(realpath "$1")
web_build=$(realpath "$2")
build=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
version=$("$here/../../scripts/project-version")
[[ -d $web_build/cache/node_modules/puppeteer-core ]] ||
    { echo "skipped: no puppeteer-core in $web_build/cache (make test-web installs it)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
    "$dist/drovana-$version-web.zip" "$work"
site=$work/drovana-$version-web
ln -s "$web_build/cache" "$site/cache"
DROVANA_WEB_BUILD=$site DROVANA_BUILD=$build node --test "$here/../web/offline_test.cjs"
