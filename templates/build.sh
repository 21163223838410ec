#!/bin/sh
# Converts the template sources (*.fods) into the Excel 97-2003 templates the
# program fills (resources/SetupDat/PrintFrm/*.xl). Needs LibreOffice; the
# generated files are committed, so building the program does not.
#
#   templates/build.sh            convert the .fods files
#   templates/build.sh --generate rewrite the .fods files first (make_fods.py)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
target="$here/../resources/SetupDat/PrintFrm"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "${1:-}" = "--generate" ]; then
    /usr/bin/python3 "$here/make_fods.py"
fi
command -v soffice >/dev/null || { echo "soffice (LibreOffice) is needed" >&2; exit 1; }
mkdir -p "$target"
for source in "$here"/*.fods; do
    name=$(basename "$source" .fods)
    # A private profile keeps the conversion independent of the user's settings.
    soffice -env:UserInstallation="file://$work/profile" --headless \
        --convert-to 'xls:MS Excel 97' --outdir "$work" "$source" >/dev/null
    mv "$work/$name.xls" "$target/$name.xl"
    echo "$target/$name.xl"
done
