#!/usr/bin/env bash
# install_test.sh BUILD_DIR VERSION: installs the build into an empty root and uses it as a user
# would: every installed file is in its place, the desktop entry and the metainfo pass their
# validators, --help and --version need no display, a start without one says so, and the first
# start of the installed program takes the shipped files from share/ into a fresh home.
set -uo pipefail
BUILD="$1"
VERSION="$2"
source "$(dirname "$0")/../app/shell_checks.sh"

DESTDIR="$WORK/root" cmake --install "$BUILD" --prefix /usr >/dev/null || fail "cmake --install"
USR="$WORK/root/usr"
PROGRAM="$USR/bin/korbi-programmer"
ID=se.talo.korbi_programmer

[ -x "$PROGRAM" ] || fail "no program in bin"
out=$(env -u DISPLAY "$USR/bin/korbi-cli" --version) || fail "korbi-cli --version exit $?"
[[ "$out" == "korbi-cli $VERSION"* ]] || fail "korbi-cli --version: $out"
for file in share/korbi-programmer/{Values.i,Default_v1.b,Default_v2.b} \
    lib/udev/rules.d/70-korbi-lpx.rules share/mime/packages/korbi-programmer.xml \
    share/doc/korbi-programmer/about.ini.example share/doc/korbi-programmer/handbuch.html \
    share/icons/hicolor/scalable/apps/korbi-programmer.svg; do
    [ -s "$USR/$file" ] || fail "missing $file"
done
# The print module, in the package's own library folder (lib/ or lib/<multiarch>/).
modules=("$USR"/lib{,/*}/korbi-programmer/korbi-print.so)
[ -s "${modules[0]}" ] || [ -s "${modules[1]:-}" ] || fail "missing the print module"
# The German pages where man finds them for a German user, the English ones for everybody; each
# renders without a warning.
for page in {,de/}man1/{korbi-programmer,korbi-cli}.1.gz; do
    [ -s "$USR/share/man/$page" ] || fail "missing $page"
    warnings=$(zcat "$USR/share/man/$page" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
done
# The completion scripts where bash, zsh and fish look; each one parses.
for script in "bash:share/bash-completion/completions/korbi-cli" \
    "zsh:share/zsh/vendor-completions/_korbi-cli" "fish:share/fish/vendor_completions.d/korbi-cli.fish"; do
    shell=${script%%:*}
    file="$USR/${script#*:}"
    grep -q restrictedZone3 "$file" || fail "no setting names in $file"
    if command -v "$shell" >/dev/null; then "$shell" -n "$file" || fail "$shell cannot parse $file"; fi
done
for size in 16 32 48 64 128 256; do
    file -b "$USR/share/icons/hicolor/${size}x$size/apps/korbi-programmer.png" |
        grep -q "PNG image data, $size x $size" || fail "no $size px icon"
done
desktop-file-validate "$USR/share/applications/$ID.desktop" || fail "desktop entry"
grep -q "^Icon=korbi-programmer$" "$USR/share/applications/$ID.desktop" || fail "entry's icon"
grep -q "^MimeType=application/x-korbi;$" "$USR/share/applications/$ID.desktop" || fail "entry's type"
grep -q "^Exec=korbi-programmer --simulate$" "$USR/share/applications/$ID.desktop" ||
    fail "entry's practice action"
appstreamcli validate --no-net "$USR/share/metainfo/$ID.metainfo.xml" >/dev/null ||
    fail "metainfo: $(appstreamcli validate --no-net "$USR/share/metainfo/$ID.metainfo.xml")"
# The MIME type is what the file manager makes of it.
cp -r "$USR/share/mime" "$WORK/mime"
update-mime-database "$WORK/mime" 2>/dev/null
grep -q "^application/x-korbi:\*\.korbi$" "$WORK/mime/globs" || fail "no MIME type for *.Korbi"

# No display: --help and --version answer on stdout; otherwise one line on stderr.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out=$("${nodisplay[@]}" "$PROGRAM" --version) || fail "--version exit $?"
[[ "$out" == "korbi-programmer $VERSION"* ]] || fail "--version: $out"
out=$("${nodisplay[@]}" "$PROGRAM" Anlage.Korbi --help) || fail "--help exit $?"
grep -q -- "--port=PFAD" <<<"$out" || fail "--help: $out"
err=$("${nodisplay[@]}" "$PROGRAM" 2>&1 >/dev/null)
rc=$?
[ $rc -eq 1 ] && [ "$(wc -l <<<"$err")" -eq 1 ] && grep -q "Anzeige" <<<"$err" ||
    fail "no display: exit $rc, $err"
# A bad value or a mistyped option never starts the program (nor reaches a real LPX).
for bad in --simulate=3 --simualte; do
    err=$(QT_QPA_PLATFORM=offscreen "$PROGRAM" $bad 2>&1 >/dev/null)
    rc=$?
    [ $rc -eq 2 ] && grep -q -- "${bad%%=*}" <<<"$err" || fail "$bad: exit $rc, $err"
done

# First start in a fresh home: the working copies come from share/korbi-programmer.
mkdir "$WORK/home"
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$WORK/home" QT_QPA_PLATFORM=offscreen \
    timeout 30 "$PROGRAM" --exit-after-start 2>/dev/null || fail "first start exit $?"
data="$WORK/home/.local/share/TALO/K-ORBI Programmer (DE)"
cmp -s "$data/Default_v1.bin" "$USR/share/korbi-programmer/Default_v1.b" || fail "v1 template"
cmp -s "$data/Default_v2.bin" "$USR/share/korbi-programmer/Default_v2.b" || fail "v2 template"
grep -q "^AppVersion=$VERSION$" "$data/Values.ini" || fail "settings file"

# korbi-cli runs its commands on the record and the report from its modules in the package's
# library folder.
cli=(env -u XDG_DATA_HOME HOME="$WORK/home" "$USR/bin/korbi-cli")
out=$("${cli[@]}" journal --csv) || fail "korbi-cli journal exit $?"
[[ "$out" == Zeit,* ]] || fail "korbi-cli journal: $out"
err=$("${cli[@]}" report -o "$WORK/Bericht.pdf" 2>&1)
rc=$?
[ $rc -eq 1 ] && grep -q "keinen Gerätevorgang" <<<"$err" || fail "korbi-cli report: exit $rc, $err"

finish
